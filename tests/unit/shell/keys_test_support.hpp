// Helpers shared by the key command tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_window.hpp"
#include "shell/keys.hpp"
#include "support/banners.hpp"

// Runs the command of key and returns what it printed; *result gets RunKeyCommand's answer.
inline std::string RunKey(int key, bool* result = nullptr) {
    testing::internal::CaptureStdout();
    const bool kept_running = RunKeyCommand(key);
    std::string out = testing::internal::GetCapturedStdout();
    if (result != nullptr) *result = kept_running;
    return out;
}
