// Datagrams through the OSC reader (string and bundle validation, the message reader, nested
// bundles) into the dispatch, then into the shared block and the key queue at a key poll.
// The first byte chooses whether the sender is allowed, whether this copy's camera is on and its
// CamChan; the rest is the datagram.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "block/shared_block.hpp"
#include "common/state.hpp"
#include "fuzz_support.hpp"
#include "network/network.hpp"

namespace {

int32_t carried[kSharedWords];  // words 33..255 as set up; nothing may change them

bool SetUp() {
    FuzzSetUp();
    // The block under a name of its own, unlinked at once: the mapping stays, nothing is left.
    const std::string name = "zeltran-fuzz-osc-" + std::to_string(getpid());
    setenv("ZELTRAN_SHM_NAME", name.c_str(), 1);
    OpenSharedBlock();
    shm_unlink(("/" + name).c_str());
    for (int word = 1 + kCameraSlots; word < kSharedWords; ++word) SI[word] = 0x5A5A0000 + word;
    WriteSharedBlock();
    std::memcpy(carried, SI, sizeof carried);
    return true;
}

bool Holds(const uint8_t* data, size_t size, int byte) {
    return std::memchr(data, byte, size) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = SetUp();
    (void)ready;
    if (size < 1) return 0;
    const bool sender_allowed = (data[0] & 1) != 0;
    camera_on = (data[0] >> 1) & 1;
    CamChan = data[0] >> 2;  // 0..63: slots outside 0..31 must stay unwritten too
    std::vector<uint8_t> datagram(data + 1, data + size);
    DispatchDatagram(datagram.data(), datagram.size(), sender_allowed);

    ApplyNetworkInput();
    ReadSharedBlock();
    for (int word = 1 + kCameraSlots; word < kSharedWords; ++word) {
        if (SI[word] != carried[word]) __builtin_trap();
    }
    uint32_t total = 0;
    for (int slot = 1; slot <= kCameraSlots; ++slot) total += static_cast<uint32_t>(SI[slot]);
    if (SI[kDiffSumWord] != static_cast<int32_t>(total)) __builtin_trap();
    RemoteCommand command;
    while (TakeNetworkCommand(&command)) {
        if (command.folder == 0) {
            // A key is a byte of the datagram: an int32's last byte or a string's first.
            if (command.key < 1 || command.key > 254) __builtin_trap();
            if (!Holds(data + 1, size - 1, command.key)) __builtin_trap();
        } else if (command.key != 0 || command.folder < 1 || command.folder > 10000) {
            __builtin_trap();
        }
    }
    return 0;
}
