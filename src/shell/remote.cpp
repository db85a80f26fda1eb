#include "shell/remote.hpp"

#include "common/state.hpp"
#include "network/network.hpp"
#include "platform/window.hpp"
#include "shell/keys_folders.hpp"

namespace {

constexpr int kHoldKey = '@';      // no command: the folder change is this cycle's command
constexpr int kPauseSliceMs = 10;  // how often the pause looks at the network

}  // namespace

int PollRemote(int window_key) {
    if (!NetworkInUse()) return window_key;
    ServeNetwork();
    // A received key waits for a cycle that takes keys instead of being dropped like a key typed
    // while a new picture is decoded.
    if (window_key != kNoKey || pending_key == 1) return window_key;
    RemoteCommand command;
    if (!TakeNetworkCommand(&command)) return window_key;
    if (command.folder == 0) return command.key;
    GoToFolder(command.folder - 1);
    return kHoldKey;
}

int WaitForAnyKey() {
    if (!NetworkInUse()) return WindowWaitKey(0);
    for (;;) {
        const int key = WindowWaitKey(kPauseSliceMs);
        if (key != kNoKey || QuitRequested()) return key;
        ApplyNetworkInput();
        RemoteCommand command;
        while (TakeNetworkCommand(&command)) {
            if (command.folder == 0) return command.key;
        }
    }
}
