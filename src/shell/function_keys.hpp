// The keys that are not bytes (F1, F2, F4, F11): the window hands them over while it waits.
#pragma once

#include "platform/window.hpp"

// Runs the command of a function key; registered with WindowOnFunctionKey at start-up.
void HandleFunctionKey(FunctionKey key);
