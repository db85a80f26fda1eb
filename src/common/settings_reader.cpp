#include "common/settings_reader.hpp"

#include <algorithm>

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

namespace {

constexpr char kBlanks[] = " \t\r\f\v";

void TakeLine(std::string line, int number,
              const std::function<void(int, const std::string&, const std::string&)>& take) {
    line = line.substr(0, line.find('#'));
    const size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string::npos) return;
    const size_t key_end = std::min(line.find_first_of(kBlanks, start), line.size());
    const size_t value_start = line.find_first_not_of(kBlanks, key_end);
    std::string value;
    if (value_start != std::string::npos) {
        value = line.substr(value_start, line.find_last_not_of(kBlanks) + 1 - value_start);
    }
    take(number, line.substr(start, key_end - start), value);
}

}  // namespace

void ReadSettingLines(
    FILE* file, const std::function<void(int, const std::string&, const std::string&)>& take) {
    std::string line;
    int number = 1;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c != '\n') {
            if (line.size() < kLongestSettingLine) line.push_back(static_cast<char>(c));
            continue;
        }
        TakeLine(line, number++, take);
        line.clear();
    }
    TakeLine(line, number, take);
}
