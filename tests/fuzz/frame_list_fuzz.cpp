// The frame-list file: a record block overlaid on the start of a zero 22000-record table, then
// the count text.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    const std::vector<std::string> parts = SplitParts(data, size);
    // Written sparse: the zero records between the block's start and the count cost no writing.
    const int fd = open("frame_data0002.dat", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const size_t head = std::min(parts[0].size(), sizeof(FrameData));
    if (write(fd, parts[0].data(), head) < 0) __builtin_trap();
    if (ftruncate(fd, sizeof(FrameData)) != 0) __builtin_trap();
    if (parts.size() > 1 && pwrite(fd, parts[1].data(), parts[1].size(), sizeof(FrameData)) < 0) {
        __builtin_trap();
    }
    close(fd);
    folder_index = 1;  // an unusable list falls back to S001, which holds a frame
    CheckContents();
    for (int i = 0; i < MaxCount; ++i) {
        if (std::strlen(FrameData[i].file) >= kPathBytes) __builtin_trap();
    }
    return 0;
}
