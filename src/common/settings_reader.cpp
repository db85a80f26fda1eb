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

void ReadSettingText(const std::string& text,
                     const std::function<void(int, const std::string&, const std::string&)>& take) {
    std::string line;
    int number = 1;
    for (const char c : text) {
        if (c != '\n') {
            if (line.size() < kLongestSettingLine) line.push_back(c);
            continue;
        }
        TakeLine(line, number++, take);
        line.clear();
    }
    TakeLine(line, number, take);
}

std::string ReadSettingFile(FILE* file) {
    // The bytes past a line's cut are not kept: a file of one endless line costs no memory.
    std::string text;
    size_t line_bytes = 0;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        line_bytes = c == '\n' ? 0 : line_bytes + 1;
        if (line_bytes <= kLongestSettingLine) text.push_back(static_cast<char>(c));
    }
    return text;
}

void ReadSettingLines(
    FILE* file, const std::function<void(int, const std::string&, const std::string&)>& take) {
    ReadSettingText(ReadSettingFile(file), take);
}
