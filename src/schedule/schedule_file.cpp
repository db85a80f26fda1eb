// SetSchedule.txt: `open DAYS HH:MM-HH:MM`, `closed DATE[..DATE]`, `closed_picture FILE`,
// `display_off` / `display_on PROGRAM ARGUMENTS`, one a line; `#` starts a comment.
#include <cctype>
#include <cstdio>
#include <string_view>

#include "common/path.hpp"
#include "common/settings_reader.hpp"
#include "schedule/schedule.hpp"

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr unsigned kEveryDay = 0x7F;
constexpr const char* kDayNames[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
constexpr int kMondayFirst[] = {1, 2, 3, 4, 5, 6, 0};  // the order a week is written in
// More than a week of a real room ever needs; each range costs work at every change.
constexpr size_t kMostRanges = 64;
constexpr size_t kMostClosed = 512;

constexpr char kUnknown[] =
    "unknown setting (open, closed, closed_picture, display_off, display_on)";
constexpr char kWriteOpen[] = "write open DAYS HH:MM-HH:MM";
constexpr char kBadDays[] = "days are mon..sun, a range (mon-fri), a list (sat,sun) or daily";
constexpr char kBadTimes[] = "times are HH:MM-HH:MM, 00:00 to 24:00";
constexpr char kEmptyRange[] = "a range cannot open and close at the same time";
constexpr char kBadDates[] = "dates are YYYY-MM-DD or YYYY-MM-DD..YYYY-MM-DD";
constexpr char kDatesReversed[] = "the last date is before the first";

std::vector<std::string> Split(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    size_t start = text.find_first_not_of(separators);
    while (start != std::string::npos) {
        const size_t end = text.find_first_of(separators, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = text.find_first_not_of(separators, end);
    }
    return parts;
}

// Weekday 0..6 (Sunday 0) of a three-letter name in any case, or -1.
int DayOf(std::string_view name) {
    if (name.size() != 3) return -1;
    std::string lower;
    for (const char c : name)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    for (int day = 0; day < 7; ++day) {
        if (lower == kDayNames[day]) return day;
    }
    return -1;
}

// "daily", "mon-fri", "sat,sun", "fri-mon" (round the week end); 0 when not read.
unsigned DaysOf(const std::string& text) {
    if (text == "daily") return kEveryDay;
    unsigned days = 0;
    for (const std::string& item : Split(text, ",")) {
        const size_t dash = item.find('-');
        const int first = DayOf(std::string_view(item).substr(0, dash));
        const int last =
            dash == std::string::npos ? first : DayOf(std::string_view(item).substr(dash + 1));
        if (first < 0 || last < 0) return 0;
        for (int day = first;; day = (day + 1) % 7) {
            days |= 1u << day;
            if (day == last) break;
        }
    }
    return days;
}

// Reads exactly `digits` decimal digits at text[*at]; -1 when they are not there.
int Digits(const std::string& text, size_t* at, size_t digits) {
    if (*at + digits > text.size()) return -1;
    int value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const char c = text[*at + i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    *at += digits;
    return value;
}

// "H:MM" or "HH:MM" at text[*at], 00:00..24:00, as minutes; -1 when not read.
int MinutesOf(const std::string& text, size_t* at) {
    const size_t colon = text.find(':', *at);
    if (colon == std::string::npos || colon == *at || colon - *at > 2) return -1;
    const int hours = Digits(text, at, colon - *at);
    ++*at;
    const int minutes = Digits(text, at, 2);
    if (hours < 0 || minutes < 0 || minutes > 59 || hours * 60 + minutes > kMinutesPerDay)
        return -1;
    return hours * 60 + minutes;
}

// "10:00-18:00" into range; the reason when it cannot be read.
const char* ReadRange(const std::string& text, OpeningRange* range) {
    size_t at = 0;
    range->start = MinutesOf(text, &at);
    if (range->start < 0 || range->start == kMinutesPerDay || at >= text.size() ||
        text[at] != '-') {
        return kBadTimes;
    }
    ++at;
    range->end = MinutesOf(text, &at);
    if (range->end < 0 || at != text.size()) return kBadTimes;
    if (range->end == range->start) return kEmptyRange;
    return nullptr;
}

const char* TakeOpen(const std::string& value, Schedule* schedule) {
    const std::vector<std::string> words = Split(value, " \t,");
    if (words.size() < 2) return kWriteOpen;
    // A list of days may hold blanks after its commas: "sat, sun 10:00-16:00".
    size_t first_time = 0;
    while (first_time < words.size() && words[first_time].find(':') == std::string::npos) {
        ++first_time;
    }
    if (first_time == 0 || first_time == words.size()) return kWriteOpen;
    std::string day_text;
    for (size_t i = 0; i < first_time; ++i) day_text += (i > 0 ? "," : "") + words[i];
    const unsigned days = DaysOf(day_text);
    if (days == 0) return kBadDays;
    std::vector<OpeningRange> ranges;
    for (size_t i = first_time; i < words.size(); ++i) {
        OpeningRange range;
        range.days = days;
        if (const char* error = ReadRange(words[i], &range)) return error;
        ranges.push_back(range);
    }
    if (schedule->ranges.size() + ranges.size() > kMostRanges) return "at most 64 opening ranges";
    schedule->ranges.insert(schedule->ranges.end(), ranges.begin(), ranges.end());
    return nullptr;
}

// "2026-12-24" into a day number; false when it is no date of the calendar.
bool ReadDate(const std::string& text, int64_t* day_number) {
    size_t at = 0;
    const int year = Digits(text, &at, 4);
    if (year < 0 || at >= text.size() || text[at++] != '-') return false;
    const int month = Digits(text, &at, 2);
    if (month < 1 || month > 12 || at >= text.size() || text[at++] != '-') return false;
    const int day = Digits(text, &at, 2);
    if (day < 1 || at != text.size()) return false;
    *day_number = DayNumber(year, month, day);
    int y = 0;
    int m = 0;
    int d = 0;
    CalendarDate(*day_number, &y, &m, &d);
    return d == day;  // 2026-02-30 comes back as March 2
}

const char* TakeClosed(const std::string& value, Schedule* schedule) {
    const size_t dots = value.find("..");
    std::string first = value.substr(0, dots);
    std::string last = dots == std::string::npos ? first : value.substr(dots + 2);
    const std::vector<std::string> first_words = Split(first, " \t");
    const std::vector<std::string> last_words = Split(last, " \t");
    ClosedDays closed;
    if (first_words.size() != 1 || last_words.size() != 1 ||
        !ReadDate(first_words[0], &closed.first) || !ReadDate(last_words[0], &closed.last)) {
        return kBadDates;
    }
    if (closed.last < closed.first) return kDatesReversed;
    if (schedule->closed.size() >= kMostClosed) return "at most 512 closed lines";
    schedule->closed.push_back(closed);
    return nullptr;
}

const char* Take(const std::string& key, const std::string& value, Schedule* schedule) {
    if (key == "open") return TakeOpen(value, schedule);
    if (key == "closed") return TakeClosed(value, schedule);
    if (key == "closed_picture") {
        if (value.empty()) return "write closed_picture FILE";
        schedule->closed_picture = value;
        return nullptr;
    }
    if (key == "display_off" || key == "display_on") {
        std::vector<std::string> command = Split(value, " \t");
        if (command.empty())
            return key == "display_off" ? "write display_off PROGRAM ARGUMENTS"
                                        : "write display_on PROGRAM ARGUMENTS";
        (key == "display_off" ? schedule->display_off : schedule->display_on) = std::move(command);
        return nullptr;
    }
    return kUnknown;
}

std::string DaysText(unsigned days) {
    if (days == kEveryDay) return "daily";
    std::string text;
    for (int i = 0; i < 7; ++i) {
        if (!(days & (1u << kMondayFirst[i]))) continue;
        int j = i;
        while (j + 1 < 7 && (days & (1u << kMondayFirst[j + 1]))) ++j;
        if (!text.empty()) text += ",";
        text += kDayNames[kMondayFirst[i]];
        if (j > i) text += std::string(j > i + 1 ? "-" : ",") + kDayNames[kMondayFirst[j]];
        i = j;
    }
    return text;
}

std::string DateText(int64_t day_number) {
    int year = 0;
    int month = 0;
    int day = 0;
    CalendarDate(day_number, &year, &month, &day);
    return FormatText("%04d-%02d-%02d", year, month, day);
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

}  // namespace

Schedule ParseSchedule(const std::string& text, std::vector<ScheduleLineError>* errors) {
    Schedule schedule;
    ReadSettingText(text, [&](int number, const std::string& key, const std::string& value) {
        const char* error = Take(key, value, &schedule);
        if (error && errors) {
            errors->push_back({number, value.empty() ? key : key + " " + value, error});
        }
    });
    schedule.in_use = !schedule.ranges.empty() || !schedule.closed.empty();
    return schedule;
}

std::vector<std::string> ScheduleLines(const Schedule& schedule) {
    std::vector<std::string> lines;
    for (const OpeningRange& range : schedule.ranges) {
        lines.push_back(FormatText("open   = %s %02d:%02d-%02d:%02d%s",
                                   DaysText(range.days).c_str(), range.start / 60, range.start % 60,
                                   range.end / 60, range.end % 60,
                                   range.end < range.start ? " (to the next day)" : ""));
    }
    if (schedule.ranges.empty()) lines.push_back("open   = daily 00:00-24:00 (no open line)");
    for (const ClosedDays& closed : schedule.closed) {
        lines.push_back(closed.first == closed.last
                            ? "closed = " + DateText(closed.first)
                            : "closed = " + DateText(closed.first) + ".." + DateText(closed.last));
    }
    if (!schedule.display_off.empty())
        lines.push_back("display_off = " + Joined(schedule.display_off));
    if (!schedule.display_on.empty())
        lines.push_back("display_on  = " + Joined(schedule.display_on));
    return lines;
}
