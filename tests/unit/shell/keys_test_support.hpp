// Helpers shared by the key command tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_window.hpp"
#include "shell/keys.hpp"

// Runs the command of key and returns what it printed; *result gets RunKeyCommand's answer.
inline std::string RunKey(int key, bool* result = nullptr) {
    testing::internal::CaptureStdout();
    const bool kept_running = RunKeyCommand(key);
    std::string out = testing::internal::GetCapturedStdout();
    if (result != nullptr) *result = kept_running;
    return out;
}

// The camera banners as the key commands print them (leading line break, then a blank line).
inline const std::string kCameraOnBanner =
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOOO    O     O   \n"
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O     O   OO    O   \n"
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O     O   O  O  O   \n"
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O     O   O    OO   \n"
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOOO    O     O   \n"
    "\n";

inline const std::string kCameraOffBanner =
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOO    OOOOO  OOOOO \n"
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O    O   O      O     \n"
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O    O   OOOO   OOOO  \n"
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O    O   O      O     \n"
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOO    O      O     \n"
    "\n";
