#include "fuzz_support.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

namespace {

std::filesystem::path fuzz_root;

void RemoveFuzzRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(fuzz_root, ignored);
}

}  // namespace

void FuzzSetUp() {
    static bool done = false;
    if (done) return;
    done = true;
    // In memory where the system offers it: a file rewritten per input on a disk file system is
    // flushed to the disk when it is replaced, which costs more than the reading fuzzed.
    const std::filesystem::path base =
        access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
    const auto root = base / ("zeltran-fuzz-" + std::to_string(getpid()));
    fuzz_root = root;
    std::atexit(RemoveFuzzRoot);  // a finding keeps it: the process ends without exit handlers
    std::filesystem::create_directories(root / "work");
    std::filesystem::create_directories(root / "S001");
    cv::imwrite((root / "S001" / "clip_00000.jpg").string(),
                cv::Mat(8, 8, CV_8UC3, cv::Scalar(1, 2, 3)));
    if (chdir((root / "work").c_str()) != 0) std::perror("chdir");
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);  // stderr stays: the fuzzer reports there
    close(null);
}

void WriteInputFile(const std::string& name, const uint8_t* data, size_t size) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void RemoveInputFile(const std::string& name) {
    unlink(name.c_str());
}

std::vector<std::string> SplitParts(const uint8_t* data, size_t size) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] == 0x00) {
            parts.emplace_back();
            ++i;
            continue;
        }
        parts.back() += static_cast<char>(data[i]);
    }
    return parts;
}
