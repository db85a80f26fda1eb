// The settings-file lines of the installation check. Each value file is read by the player's own
// reader while the number reads are traced, so the check sees exactly which text the player takes;
// a line with text it does not take (a typo such as "11,500" or "O" for "0", a value too many)
// is reported with what the player reads of it.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/camera_settings.hpp"
#include "common/path.hpp"
#include "common/scan.hpp"
#include "contents/display_settings.hpp"
#include "contents/naming.hpp"
#include "contents/parameters.hpp"
#include "motion/motion.hpp"
#include "network/settings.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "setup/check.hpp"
#include "setup/report.hpp"

namespace {

constexpr size_t kLongestLine = 60;       // longer lines are cut in the report
constexpr size_t kValuesShown = 8;        // values listed per line; more are shown as "..."
constexpr size_t kLargestFile = 1 << 20;  // bytes looked at; settings files are a few kilobytes

std::string FileText(const char* name) {
    std::string text(kLargestFile, '\0');
    FILE* file = OpenFile(name, "rb");
    if (!file) return {};
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

bool Blank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string ValueText(const ScannedValue& read) {
    return read.whole ? FormatText("%d", static_cast<int>(read.value))
                      : FormatText("%g", read.value);
}

// The line without the white space around it, cut when long.
std::string Shown(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\n\r\v\f");
    const size_t last = line.find_last_not_of(" \t\n\r\v\f");
    if (first == std::string::npos) return {};
    std::string text = line.substr(first, last - first + 1);
    if (text.size() > kLongestLine) text = text.substr(0, kLongestLine) + "...";
    // An editor's byte-order mark is invisible, yet the player cannot read a number after it.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.replace(0, 3, "<byte-order mark>");
    return text;
}

// Warns about each line of text (the file name) holding text that no read took whole.
void ReportLines(const char* name, const std::string& text,
                 const std::vector<ScannedValue>& trace) {
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') starts.push_back(i + 1);
    }
    const auto line_of = [&](size_t offset) {
        return static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                   starts.begin() - 1);
    };
    std::vector<bool> taken(text.size(), false);
    std::vector<std::vector<std::string>> values(starts.size());
    // When no read met text it could not take, the reader found every value it wants: lines
    // after the last value (a legend, a note) are not meant for it.
    bool stuck = false;
    size_t last_end = 0;
    for (const ScannedValue& read : trace) {
        stuck = stuck || read.result == 0;
        if (read.result != 1 || read.begin < 0 || read.end > static_cast<long>(text.size())) {
            continue;
        }
        size_t first = static_cast<size_t>(read.begin);
        const size_t end = static_cast<size_t>(read.end);
        while (first < end && Blank(text[first])) ++first;
        if (first == end) continue;
        std::fill(taken.begin() + first, taken.begin() + end, true);
        last_end = std::max(last_end, end);
        values[line_of(first)].push_back(ValueText(read));
    }
    for (size_t line = 0; line < starts.size(); ++line) {
        const size_t begin = starts[line];
        const size_t end = line + 1 < starts.size() ? starts[line + 1] : text.size();
        if (!stuck && values[line].empty() && begin >= last_end) continue;
        bool left = false;
        for (size_t i = begin; i < end && !left; ++i) left = !Blank(text[i]) && !taken[i];
        if (!left) continue;
        const std::string shown = Shown(text.substr(begin, end - begin));
        const std::vector<std::string>& read = values[line];
        if (read.empty()) {
            Warn(FormatText("%s line %zu: \"%s\" is not read", name, line + 1, shown.c_str()));
            continue;
        }
        std::string as;
        for (size_t i = 0; i < read.size() && i < kValuesShown; ++i) as += (i ? " " : "") + read[i];
        if (read.size() > kValuesShown) as += " ...";
        Warn(FormatText("%s line %zu: \"%s\" is read as %s", name, line + 1, shown.c_str(),
                        as.c_str()));
    }
}

// Runs the player's reader of the file name with the reads traced, then reports its lines. Only
// plain files: the other kinds are reported where the file's values are.
template <typename Read>
void CheckLines(const char* name, Read read) {
    if (LookAt(name).kind != PathKind::kFile) return;
    std::vector<ScannedValue> trace;
    TraceScans(&trace);
    Quietly(read);
    TraceScans(nullptr);
    ReportLines(name, FileText(name), trace);
}

// The network settings are read line by line: a line the player cannot read is skipped whole.
void CheckNetworkLines() {
    constexpr char kNetworkFile[] = "SetNetwork.txt";
    if (LookAt(kNetworkFile).kind != PathKind::kFile) return;
    NetworkSettings settings;
    std::vector<SkippedLine> skipped;
    Quietly([&] { ReadNetworkSettings(kNetworkFile, &settings, &skipped); });
    for (const SkippedLine& line : skipped) {
        Warn(FormatText("%s line %d: \"%s\" is not read: %s", kNetworkFile, line.number,
                        Shown(line.text).c_str(), line.reason.c_str()));
    }
}

}  // namespace

void CheckSettingsLines() {
    CheckLines("SetCamera3.txt", ReadCameraSettingsSilently);
    CheckLines("SetDisplay.txt", LoadDisplaySettings);
    CheckLines(kThresholdFile, ReadThresholdFile);
    CheckLines(kCommonParameterFile, [] { ReadParametersFrom(kCommonParameterFile); });
    for (const long long number : OwnParameterFolders()) {
        const std::string name = ParameterFileName(number);
        CheckLines(name.c_str(), [&] { ReadParametersFrom(name.c_str()); });
    }
    CheckNetworkLines();
}
