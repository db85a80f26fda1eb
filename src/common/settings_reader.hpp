// Settings files: whole numbers read one by one in a fixed order (SetCamera3.txt, SetDisplay.txt),
// each reported on its own line, and `KEY VALUE` lines (SetMotion.txt).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

struct IntSetting {
    int32_t* variable;
    const char* report;  // printf format with one %d, printed with the value kept
    int32_t lowest;      // a value read outside lowest..highest is limited to it
    int32_t highest;
};

// Reads count values from file into their variables and prints each report (none when report is
// false). A value that cannot be read keeps the variable's current value.
void ReadIntSettings(FILE* file, const IntSetting* settings, size_t count, bool report = true);

// `KEY VALUE` settings files (SetMotion.txt, SetSchedule.txt): for each line that holds more than
// blanks and a
// `#` comment, take(line number, first word, the rest without outer blanks). A line is read up to
// kLongestSettingLine bytes; the rest of a longer line is dropped.
constexpr size_t kLongestSettingLine = 4096;
void ReadSettingLines(
    FILE* file,
    const std::function<void(int number, const std::string& key, const std::string& value)>& take);
// The text of such a file, each line cut at kLongestSettingLine bytes.
std::string ReadSettingFile(FILE* file);
// ReadSettingLines on the text of such a file.
void ReadSettingText(
    const std::string& text,
    const std::function<void(int number, const std::string& key, const std::string& value)>& take);
