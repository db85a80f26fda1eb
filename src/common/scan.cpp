#include "common/scan.hpp"

#include <climits>

int ScanInt(FILE* file, int32_t* value) {
    long long number = 0;
    const int result = std::fscanf(file, "%lld", &number);
    if (result == 1) {
        if (number > INT32_MAX) number = INT32_MAX;
        if (number < INT32_MIN) number = INT32_MIN;
        *value = static_cast<int32_t>(number);
    }
    return result;
}

int ScanDouble(FILE* file, double* value) {
    double number = 0.0;
    const int result = std::fscanf(file, "%lf", &number);
    if (result == 1) *value = number;
    return result;
}
