// Whole-number settings files (SetCamera3.txt, SetDisplay.txt): values read one by one in a fixed
// order, each reported on its own line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct IntSetting {
    int32_t* variable;
    const char* report;  // printf format with one %d, printed with the value kept
    int32_t lowest;      // a value read outside lowest..highest is limited to it
    int32_t highest;
};

// Reads count values from file into their variables and prints each report (none when report is
// false). A value that cannot be read keeps the variable's current value.
void ReadIntSettings(FILE* file, const IntSetting* settings, size_t count, bool report = true);
