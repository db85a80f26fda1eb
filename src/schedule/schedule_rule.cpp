// Open or closed at a moment, and the next change. Opening hours are wall-clock readings of the
// local time zone; each is turned into the first moment the clock shows it, so on the day the
// clocks go forward a time in the skipped hour opens when the clock jumps, and on the day they go
// back a range opens and closes once, at the first showing of its times.
#include <algorithm>
#include <cstdio>

#include "common/path.hpp"
#include "platform/local_time.hpp"
#include "schedule/schedule.hpp"

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kMinutesPerDay = 24 * 60;
constexpr int kThursday = 4;  // weekday of 1970-01-01
// Days looked ahead for the next change: a week first, then (long holidays) a year.
constexpr int64_t kHorizons[] = {8, 400};
constexpr const char* kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

struct Span {
    time_t start;
    time_t end;
};

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

int64_t DayOf(const tm& parts) {
    return DayNumber(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

// The local clock reading of t as seconds counted like UTC (the "naive" local time).
int64_t NaiveLocal(time_t t) {
    const tm parts = LocalTimeOf(t);
    return DayOf(parts) * kSecondsPerDay + parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec;
}

// Seconds the local clock is ahead of UTC at t.
int64_t OffsetAt(time_t t) {
    return NaiveLocal(t) - static_cast<int64_t>(t);
}

// The first moment whose local clock reading is naive or later: where naive happens twice (the
// clocks go back) its first showing, where it never happens (they go forward) the jump.
time_t FirstMoment(int64_t naive) {
    time_t best = 0;
    bool found = false;
    time_t low = 0;
    time_t high = 0;
    bool first = true;
    // The offsets in force a day either side cover any zone's offset and the change between.
    for (const int64_t probe : {naive - kSecondsPerDay, naive, naive + kSecondsPerDay}) {
        const time_t candidate = static_cast<time_t>(naive - OffsetAt(static_cast<time_t>(probe)));
        low = first ? candidate : std::min(low, candidate);
        high = first ? candidate : std::max(high, candidate);
        first = false;
        if (NaiveLocal(candidate) == naive && (!found || candidate < best)) {
            best = candidate;
            found = true;
        }
    }
    if (found) return best;
    while (low < high) {
        const time_t middle = low + (high - low) / 2;
        if (NaiveLocal(middle) >= naive) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

int Weekday(int64_t day_number) {
    return static_cast<int>(((day_number % 7) + 7 + kThursday) % 7);
}

bool ClosedOn(const Schedule& schedule, int64_t day_number) {
    for (const ClosedDays& closed : schedule.closed) {
        if (day_number >= closed.first && day_number <= closed.last) return true;
    }
    return false;
}

void AddSpan(int64_t day_number, int start_minute, int end_minute, std::vector<Span>* spans) {
    const int64_t midnight = day_number * kSecondsPerDay;
    const Span span = {FirstMoment(midnight + start_minute * 60),
                       FirstMoment(midnight + end_minute * 60)};
    if (span.start < span.end) spans->push_back(span);
}

// The opening spans of one day, a range past midnight included whole.
void SpansOfDay(const Schedule& schedule, int64_t day_number, std::vector<Span>* spans) {
    if (ClosedOn(schedule, day_number)) return;
    if (schedule.ranges.empty()) return AddSpan(day_number, 0, kMinutesPerDay, spans);
    const unsigned bit = 1u << Weekday(day_number);
    for (const OpeningRange& range : schedule.ranges) {
        if (!(range.days & bit)) continue;
        const int end = range.end <= range.start ? range.end + kMinutesPerDay : range.end;
        AddSpan(day_number, range.start, end, spans);
    }
}

// Spans of the days first .. last, sorted and joined where they touch or overlap.
std::vector<Span> JoinedSpans(const Schedule& schedule, int64_t first, int64_t last) {
    std::vector<Span> spans;
    for (int64_t day = first; day <= last; ++day) SpansOfDay(schedule, day, &spans);
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    std::vector<Span> joined;
    for (const Span& span : spans) {
        if (!joined.empty() && span.start <= joined.back().end) {
            joined.back().end = std::max(joined.back().end, span.end);
        } else {
            joined.push_back(span);
        }
    }
    return joined;
}

}  // namespace

int64_t DayNumber(int year, int month, int day) {
    // Days from civil: the year counted from March, so the leap day comes last.
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t year_of_era = y - era * 400;
    const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

void CalendarDate(int64_t day_number, int* year, int* month, int* day) {
    const int64_t z = day_number + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t day_of_era = z - era * 146097;
    const int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t shifted_month = (5 * day_of_year + 2) / 153;
    *day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
    *month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
    *year = static_cast<int>(year_of_era + era * 400 + (*month <= 2 ? 1 : 0));
}

OpenState OpenStateAt(const Schedule& schedule, time_t t) {
    const int64_t today = FloorDiv(NaiveLocal(t), kSecondsPerDay);
    OpenState state;
    for (const int64_t horizon : kHorizons) {
        // A span of the day before may still run; spans of days past the horizon start after
        // its last midnight, so only a change before that is sure.
        const std::vector<Span> spans = JoinedSpans(schedule, today - 1, today + horizon);
        const time_t sure_until = FirstMoment((today + horizon + 1) * kSecondsPerDay);
        state.open = false;
        state.next_change = 0;
        for (const Span& span : spans) {
            if (t >= span.start && t < span.end) {
                state.open = true;
                state.next_change = span.end;
                break;
            }
            if (span.start > t) {
                state.next_change = span.start;
                break;
            }
        }
        if (state.next_change != 0 && state.next_change < sure_until) return state;
    }
    state.next_change = 0;
    return state;
}

std::string MomentText(time_t now, time_t at) {
    const tm parts = LocalTimeOf(at);
    const int64_t days_ahead = DayOf(parts) - DayOf(LocalTimeOf(now));
    if (days_ahead == 0) return FormatText("%02d:%02d", parts.tm_hour, parts.tm_min);
    if (days_ahead > 0 && days_ahead < 7) {
        return FormatText("%s %02d:%02d", kShortDays[parts.tm_wday], parts.tm_hour, parts.tm_min);
    }
    return FormatText("%s %04d-%02d-%02d %02d:%02d", kShortDays[parts.tm_wday],
                      parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                      parts.tm_min);
}

std::string IsoLocalTime(time_t at) {
    const tm parts = LocalTimeOf(at);
    const long offset = static_cast<long>(OffsetAt(at));
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    return FormatText("%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", parts.tm_year + 1900,
                      parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                      offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}
