// Motion and control across computers: OSC over UDP, set up by SetNetwork.txt in the
// working folder. Without that file nothing here starts and every call does nothing.
#pragma once

#include "network/receive.hpp"
#include "network/settings.hpp"

// Reads SetNetwork.txt (after the camera and display settings), prints it back, and starts
// receiving and sending as it says.
void StartNetwork();

// The settings StartNetwork read (the defaults, with nothing on, without SetNetwork.txt).
const NetworkSettings& NetworkSettingsRead();

// True while receiving runs or a target can be sent to.
bool NetworkInUse();

// The key poll's share: received motion into the shared block, old remote values back to 0,
// this cycle's motion and the status to the targets, and the message counts once a second while
// the web-camera report is on.
void ServeNetwork();

// Received motion into the shared block and the expiry only (while paused nothing is sent).
// Works on whatever the dispatch queued, with or without a socket (the fuzz target has none).
void ApplyNetworkInput();

// The oldest key or folder message received and not taken yet; false when there is none.
bool TakeNetworkCommand(RemoteCommand* command);

// Stops receiving, returns the slots the network filled to 0 and closes the sockets.
void StopNetwork();
