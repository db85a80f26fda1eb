// The frame-list file: a record block laid over the start of a zero 22000-record table, then the
// count text. One input in eight with a count part gets that whole table (chosen by a hash of the
// input, so that the mutants of one input fall both ways): reading the 16 MB costs as much as a
// few dozen inputs of the other kind, whose file is the block alone (a short file: no count is
// read).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "fuzz_support.hpp"

namespace {

bool WholeTable(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash % 8 == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    const std::vector<std::string> parts = SplitParts(data, size);
    const bool whole = parts.size() > 1 && WholeTable(data, size);
    // The file stays open from input to input; only its block and count are rewritten, and the
    // zero records between them are a hole that costs no writing.
    static const int fd = open("frame_data0002.dat", O_RDWR | O_CREAT | O_TRUNC, 0644);
    static size_t last_head = 0;
    const size_t head = std::min(parts[0].size(), sizeof(FrameData));
    if (last_head > head) {
        // The block the input before wrote, beyond this one's, becomes zero records again.
        const std::vector<char> zeros(last_head - head);
        if (pwrite(fd, zeros.data(), zeros.size(), static_cast<off_t>(head)) < 0) __builtin_trap();
    }
    if (pwrite(fd, parts[0].data(), head, 0) < 0) __builtin_trap();
    last_head = head;
    const size_t end = whole ? sizeof(FrameData) : head;
    if (ftruncate(fd, static_cast<off_t>(end)) != 0) __builtin_trap();
    if (whole && pwrite(fd, parts[1].data(), parts[1].size(), sizeof(FrameData)) < 0) {
        __builtin_trap();
    }
    folder_index = 1;  // an unusable list falls back to S001, which holds a frame
    CheckContents();
    for (int i = 0; i < MaxCount; ++i) {
        if (std::strlen(FrameData[i].file) >= kPathBytes) __builtin_trap();
    }
    return 0;
}
