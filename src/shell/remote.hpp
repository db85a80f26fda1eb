// The network at the key poll: keys and folder messages from other computers enter the player
// where keys typed in the window do.
#pragma once

// Serves the network (see network.hpp) and returns the key of this poll: window_key, or, when
// the window gave none and this cycle takes keys, the next key received. A folder message is
// carried out here and a key without a command is returned in its place. Without the network:
// window_key.
int PollRemote(int window_key);

// Waits for a key typed in the window or received (the pause); a folder message received
// meanwhile is ignored like a digit key. Without the network: WindowWaitKey(0).
int WaitForAnyKey();
