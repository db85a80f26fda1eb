// Number reading from text settings files, value by value like fscanf("%d") / fscanf("%lf"):
// leading white space is skipped; the result is 1 when a value was read, 0 when the next text is
// not a number, -1 at the end of the file. A failed read leaves *value unchanged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// A number outside the int32 range is limited to INT32_MIN / INT32_MAX instead of wrapping.
int ScanInt(FILE* file, int32_t* value);

int ScanDouble(FILE* file, double* value);

// One read as the installation check sees it: the file offsets around the read (leading white
// space included), its result and the value stored.
struct ScannedValue {
    long begin;
    long end;
    int result;
    bool whole;  // read with ScanInt
    double value;
};

// While trace is not null every read is appended to it, so the check learns exactly which text
// the player's readers take. The player never sets it.
void TraceScans(std::vector<ScannedValue>* trace);
