#include "common/scan.hpp"

#include <climits>

namespace {

std::vector<ScannedValue>* scan_trace = nullptr;

// Runs read (one fscanf) and records it when a trace is on.
template <typename Read>
int Traced(FILE* file, bool whole, Read read) {
    if (!scan_trace) return read();
    const long begin = std::ftell(file);
    double value = 0.0;
    const int result = read(&value);
    scan_trace->push_back({begin, std::ftell(file), result, whole, value});
    return result;
}

}  // namespace

void TraceScans(std::vector<ScannedValue>* trace) {
    scan_trace = trace;
}

int ScanInt(FILE* file, int32_t* value) {
    return Traced(file, true, [&](double* seen = nullptr) {
        long long number = 0;
        const int result = std::fscanf(file, "%lld", &number);
        if (result == 1) {
            if (number > INT32_MAX) number = INT32_MAX;
            if (number < INT32_MIN) number = INT32_MIN;
            *value = static_cast<int32_t>(number);
            if (seen) *seen = *value;
        }
        return result;
    });
}

int ScanDouble(FILE* file, double* value) {
    return Traced(file, false, [&](double* seen = nullptr) {
        double number = 0.0;
        const int result = std::fscanf(file, "%lf", &number);
        if (result == 1) {
            *value = number;
            if (seen) *seen = number;
        }
        return result;
    });
}
