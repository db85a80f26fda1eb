#include "support/temp_tree.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <sstream>

#include "common/path.hpp"

namespace fs = std::filesystem;

TempTree::TempTree() {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) previous_cwd_ = cwd;
    std::string pattern = (fs::temp_directory_path() / "zeltran-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    root_ = pattern;
    work_ = root_ + "/work";
    fs::create_directories(work_);
    if (chdir(work_.c_str()) != 0) ADD_FAILURE() << "chdir failed";
}

TempTree::~TempTree() {
    if (!previous_cwd_.empty() && chdir(previous_cwd_.c_str()) != 0) ADD_FAILURE() << "chdir back";
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

void TempTree::WriteFile(const std::string& path, const std::string& bytes) const {
    const fs::path full = fs::path(work_) / path;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempTree::ReadFile(const std::string& path) const {
    std::ifstream in(fs::path(work_) / path, std::ios::binary);
    if (!in) return "";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempTree::Exists(const std::string& path) const {
    return fs::exists(fs::path(work_) / path);
}

void TempTree::MakeFolder(const std::string& path) const {
    fs::create_directories(fs::path(work_) / path);
}

void TempTree::MakeFrames(int folder, const std::vector<int>& frames, int width, int height) const {
    for (int n : frames) {
        WriteJpeg(work_ + "/" + FormatPath("../S%3d/clip_%5d.jpg", folder, n), width, height,
                  FrameColour(n));
    }
}

void WriteJpeg(const std::string& path, int width, int height, const cv::Scalar& colour) {
    fs::create_directories(fs::path(path).parent_path());
    cv::Mat picture(height, width, CV_8UC3, colour);
    cv::imwrite(path, picture);
}

cv::Scalar FrameColour(int n) {
    return cv::Scalar((n * 40) % 256, (n * 90) % 256, 255 - (n * 20) % 256);
}

std::vector<int> FrameRange(int count) {
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) frames.push_back(i);
    return frames;
}
