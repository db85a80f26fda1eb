#include "contents/frame_scan.hpp"

#include <bitset>
#include <cstring>
#include <string>
#include <vector>

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/naming.hpp"
#include "platform/files.hpp"

namespace {

constexpr char kFramePrefix[] = "clip_";
constexpr char kFrameSuffix[] = ".jpg";
constexpr size_t kFrameNameLength = 14;  // "clip_" + 5 digits + ".jpg"

// The frame number that name stands for when it is exactly a probed frame name, else -1.
int FrameNumberOf(const std::string& name) {
    if (name.size() != kFrameNameLength || name.compare(0, 5, kFramePrefix) != 0 ||
        name.compare(10, 4, kFrameSuffix) != 0) {
        return -1;
    }
    int number = 0;
    for (size_t i = 5; i < 10; ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number <= kLastFrameNumber ? number : -1;
}

}  // namespace

void ScanFolder(long long folder_number) {
    const std::string folder = ContentsFolderPath(folder_number);
    std::vector<std::string> names;
    if (!ListFolder(folder.c_str(), &names)) return;  // no folder: every probe would miss

    static std::bitset<kLastFrameNumber + 1> present;
    present.reset();
    for (const std::string& name : names) {
        const int number = FrameNumberOf(name);
        if (number >= 0) present.set(static_cast<size_t>(number));
    }

    // Every found frame's path is this prefix and its five digits: built once, not per frame.
    const std::string first = FramePath(folder_number, 0);
    const size_t digits_at = first.size() - 9;  // "00000.jpg"
    char path[kPathBytes];
    std::strncpy(path, first.c_str(), kPathBytes - 1);
    path[kPathBytes - 1] = '\0';
    const bool fits = first.size() < kPathBytes;

    int found = 0;
    int misses = 0;
    for (int j = 0; j <= kLastFrameNumber && MaxCount < kMaxFrames; ++j) {
        if (!present.test(static_cast<size_t>(j))) {
            if (++misses > kMaxMisses) break;
            continue;
        }
        if (fits) {
            for (int i = 4, rest = j; i >= 0; --i, rest /= 10) path[digits_at + i] = '0' + rest % 10;
        } else {
            std::strncpy(path, FramePath(folder_number, j).c_str(), kPathBytes - 1);
        }
        std::memcpy(FrameData[found].file, path, kPathBytes);
        ++found;
        MaxCount = found;
        if (found % 200 == 0) {
            Print("\n [ %6d ]  MaxCount = [ %6d ]  ( %s )\n", j, found, path);
        }
        misses = 0;
    }
}
