#include "contents/settings_reader.hpp"

#include "common/console.hpp"
#include "common/scan.hpp"

void ReadIntSettings(FILE* file, const IntSetting* settings, size_t count, bool report) {
    for (size_t i = 0; i < count; ++i) {
        const IntSetting& setting = settings[i];
        // Each value gets its own temporary seeded with the current value, so a number that
        // cannot be read keeps the variable as it was.
        int32_t value = *setting.variable;
        ScanInt(file, &value);
        if (value < setting.lowest) value = setting.lowest;
        if (value > setting.highest) value = setting.highest;
        *setting.variable = value;
        if (report) Print(setting.report, value);
    }
}
