// Key commands of the picture window: one table of every key, from which both the dispatch
// and the key list (F1) are made.
#pragma once

#include "platform/window.hpp"

// Runs the command of key (or the idle step). False when the user quit (ShutDown has run).
bool RunKeyCommand(int key);

// Runs the command of a function key; registered with WindowOnFunctionKey at start-up.
void HandleFunctionKey(FunctionKey key);

// The step of a cycle without a command key: one frame on at no more than 30 frames/s while
// AutoReplayFlag is on.
void IdleStep();
