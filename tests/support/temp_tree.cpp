#include "support/temp_tree.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <random>
#include <sstream>

#include "common/path.hpp"

namespace fs = std::filesystem;

TempTree::TempTree() {
    std::error_code failed;
    previous_cwd_ = fs::current_path(failed).string();
    // A new folder of a random name, only the user's (as mkdtemp makes one, on both systems).
    std::random_device random;
    for (int tries = 0; tries < 100 && root_.empty(); ++tries) {
        const fs::path candidate =
            fs::temp_directory_path() / ("zeltran-test-" + std::to_string(random()));
        if (fs::create_directory(candidate, failed)) root_ = candidate.generic_string();
    }
    if (root_.empty()) ADD_FAILURE() << "cannot make a temporary folder";
    fs::permissions(root_, fs::perms::owner_all, failed);
    work_ = root_ + "/work";
    fs::create_directories(work_);
    fs::current_path(work_, failed);
    if (failed) ADD_FAILURE() << "cannot enter " << work_;
}

TempTree::~TempTree() {
    std::error_code failed;
    if (!previous_cwd_.empty()) fs::current_path(previous_cwd_, failed);
    if (failed) ADD_FAILURE() << "cannot go back to " << previous_cwd_;
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
