#include "support/probe_scan.hpp"

#include <cstring>
#include <string>

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/frame_scan.hpp"
#include "contents/naming.hpp"
#include "platform/files.hpp"

void ScanFolderByProbing(long long folder_number) {
    int found = 0;
    int misses = 0;
    for (int j = 0;; ++j) {
        const std::string path = FramePath(folder_number, j);
        if (PathExists(path.c_str())) {
            std::strncpy(FrameData[found].file, path.c_str(), kPathBytes - 1);
            ++found;
            MaxCount = found;
            if (found % 200 == 0) {
                Print("\n [ %6d ]  MaxCount = [ %6d ]  ( %s )\n", j, found, path.c_str());
            }
            misses = 0;
        } else if (++misses > kMaxMisses) {
            break;
        }
        if (j + 1 > kLastFrameNumber || MaxCount >= kMaxFrames) break;
    }
}
