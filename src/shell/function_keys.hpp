// The keys that are not bytes (F1, F2, F11): handled while the window serves its events, never
// seen by the cycle.
#pragma once

#include "platform/window.hpp"

// The one handler of the function keys, registered with WindowOnFunctionKey at start-up.
void HandleFunctionKey(FunctionKey key);
