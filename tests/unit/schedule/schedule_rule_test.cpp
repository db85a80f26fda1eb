#include <gtest/gtest.h>

#include "schedule/schedule.hpp"
#include "unit/schedule/zone.hpp"

namespace {

Schedule Parse(const std::string& text) {
    std::vector<ScheduleLineError> errors;
    Schedule schedule = ParseSchedule(text, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front().reason;
    return schedule;
}

// "open until Fri 18:00" style summary of the state at t, as the console shows it.
std::string StateAt(const Schedule& schedule, time_t t) {
    const OpenState state = OpenStateAt(schedule, t);
    const std::string until = state.next_change == 0 ? "-" : MomentText(t, state.next_change);
    return std::string(state.open ? "open " : "closed ") + until;
}

TEST(ScheduleFile, TakesDaysRangesListsDatesAndPrintsThemBack) {
    const Schedule schedule = Parse(
        "# the gallery\n"
        "open mon-fri 10:00-18:00\n"
        "open Sat, sun 11:00-13:00 14:00-17:00  # two ranges\n"
        "open fri 20:00-2:00\n"
        "open daily 9:30-24:00\n"
        "open fri-mon 06:00-07:00\n"
        "closed 2026-12-24..2026-12-26\n"
        "closed 2027-01-01\n"
        "closed_picture Closed Sign.jpg\n"
        "display_off wlr-randr --output HDMI-A-1 --off\n");
    EXPECT_TRUE(schedule.in_use);
    EXPECT_EQ(schedule.closed_picture, "Closed Sign.jpg");
    const std::vector<std::string> expected = {
        "open   = mon-fri 10:00-18:00",
        "open   = sat,sun 11:00-13:00",
        "open   = sat,sun 14:00-17:00",
        "open   = fri 20:00-02:00 (to the next day)",
        "open   = daily 09:30-24:00",
        "open   = mon,fri-sun 06:00-07:00",
        "closed = 2026-12-24..2026-12-26",
        "closed = 2027-01-01",
        "display_off = wlr-randr --output HDMI-A-1 --off",
    };
    EXPECT_EQ(ScheduleLines(schedule), expected);
}

TEST(ScheduleFile, BadLinesAreSkippedWithTheirNumberAndReason) {
    std::vector<ScheduleLineError> errors;
    const Schedule schedule = ParseSchedule(
        "open mon-fri 10:00-18:00\n"
        "opening mon 10:00-18:00\n"
        "open monday 10:00-18:00\n"
        "open mon 10:00-25:00\n"
        "open mon 10:00-10:00\n"
        "open mon\n"
        "open mon 24:00-02:00\n"
        "closed 2026-02-30\n"
        "closed 2026-12-26..2026-12-24\n"
        "closed tomorrow\n"
        "closed_picture\n"
        "open mon 9.00-17.00\n",
        &errors);
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "unknown setting (open, closed, closed_picture, display_off, display_on)"},
        {3, "days are mon..sun, a range (mon-fri), a list (sat,sun) or daily"},
        {4, "times are HH:MM-HH:MM, 00:00 to 24:00"},
        {5, "a range cannot open and close at the same time"},
        {6, "write open DAYS HH:MM-HH:MM"},
        {7, "times are HH:MM-HH:MM, 00:00 to 24:00"},
        {8, "dates are YYYY-MM-DD or YYYY-MM-DD..YYYY-MM-DD"},
        {9, "the last date is before the first"},
        {10, "dates are YYYY-MM-DD or YYYY-MM-DD..YYYY-MM-DD"},
        {11, "write closed_picture FILE"},
        {12, "write open DAYS HH:MM-HH:MM"},
    };
    ASSERT_EQ(errors.size(), expected.size());
    for (size_t i = 0; i < errors.size(); ++i) {
        EXPECT_EQ(errors[i].line, expected[i].first);
        EXPECT_EQ(errors[i].reason, expected[i].second) << "line " << errors[i].line;
    }
    EXPECT_EQ(errors[1].text, "open monday 10:00-18:00");
    EXPECT_EQ(schedule.ranges.size(), 1u);
}

TEST(ScheduleFile, OnlyCommentsOrBadLinesLeaveItUnused) {
    EXPECT_FALSE(ParseSchedule("# nothing yet\n\nclosed_picture x.jpg\n", nullptr).in_use);
    EXPECT_FALSE(ParseSchedule("open someday\n", nullptr).in_use);
    EXPECT_TRUE(ParseSchedule("closed 2026-12-24\n", nullptr).in_use);
}

TEST(ScheduleFile, CalendarDaysRoundTrip) {
    for (const int64_t day : {-719468LL, -1LL, 0LL, 11016LL, 20819LL, 2932896LL}) {
        int year = 0;
        int month = 0;
        int date = 0;
        CalendarDate(day, &year, &month, &date);
        EXPECT_EQ(DayNumber(year, month, date), day);
    }
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);  // 2000 is a leap year
    EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 1);  // 2100 is not
}

TEST(ScheduleRule, WeekdaysOpenAndCloseOnTheMinute) {
    const Zone zone("Europe/Berlin");  // winter: UTC+1
    const Schedule schedule = Parse("open mon-fri 10:00-18:00\n");
    // Tuesday 2027-01-05.
    EXPECT_EQ(StateAt(schedule, Utc(2027, 1, 5, 8, 59) + 59), "closed 10:00");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 1, 5, 9, 0)), "open 18:00");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 1, 5, 16, 59) + 59), "open 18:00");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 1, 5, 17, 0)), "closed Wed 10:00");
    // Friday evening: closed over the week end.
    EXPECT_EQ(StateAt(schedule, Utc(2027, 1, 8, 17, 0)), "closed Mon 10:00");
    EXPECT_EQ(OpenStateAt(schedule, Utc(2027, 1, 8, 17, 0)).next_change, Utc(2027, 1, 11, 9, 0));
}

TEST(ScheduleRule, ARangePastMidnightBelongsToTheDayItStartsOn) {
    const Zone zone("Europe/Berlin");
    const Schedule late_friday = Parse("open fri 20:00-02:00\n");
    EXPECT_EQ(StateAt(late_friday, Utc(2027, 1, 8, 18, 59)), "closed 20:00");
    EXPECT_EQ(StateAt(late_friday, Utc(2027, 1, 9, 0, 59)), "open 02:00");  // Saturday 01:59
    EXPECT_EQ(StateAt(late_friday, Utc(2027, 1, 9, 1, 0)), "closed Fri 20:00");
    // A holiday on the Saturday leaves Friday's night alone; one on the Friday takes it all.
    const Schedule saturday_off = Parse("open fri 20:00-02:00\nclosed 2027-01-09\n");
    EXPECT_EQ(StateAt(saturday_off, Utc(2027, 1, 9, 0, 30)), "open 02:00");
    const Schedule friday_off = Parse("open fri 20:00-02:00\nclosed 2027-01-08\n");
    EXPECT_EQ(StateAt(friday_off, Utc(2027, 1, 8, 20, 0)), "closed Fri 2027-01-15 20:00");
    EXPECT_EQ(StateAt(friday_off, Utc(2027, 1, 9, 0, 30)), "closed Fri 20:00");
}

TEST(ScheduleRule, HolidaysCloseWholeDaysAndTheNextOpeningMayBeWeeksAway) {
    const Zone zone("Europe/Berlin");
    const Schedule schedule =
        Parse("open mon-sat 10:00-18:00\nclosed 2027-12-24..2028-01-06\nclosed 2028-01-08\n");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 12, 23, 12, 0)), "open 18:00");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 12, 23, 17, 0)), "closed Fri 2028-01-07 10:00");
    EXPECT_EQ(StateAt(schedule, Utc(2027, 12, 27, 12, 0)), "closed Fri 2028-01-07 10:00");
    EXPECT_EQ(StateAt(schedule, Utc(2028, 1, 7, 17, 0)), "closed Mon 10:00");
    // Only holidays, no open line: open at all other times.
    const Schedule holidays = Parse("closed 2027-12-25..2027-12-26\n");
    EXPECT_EQ(StateAt(holidays, Utc(2027, 12, 24, 12, 0)), "open Sat 00:00");
    EXPECT_EQ(StateAt(holidays, Utc(2027, 12, 25, 12, 0)), "closed Mon 00:00");
    EXPECT_EQ(StateAt(Parse("open daily 00:00-24:00\n"), Utc(2027, 6, 1, 0, 0)), "open -");
    EXPECT_EQ(StateAt(Parse("open mon 10:00-11:00\nclosed 2027-01-01..2028-12-31\n"),
                      Utc(2027, 6, 1, 0, 0)),
              "closed -");
}

TEST(ScheduleRule, TheDaysTheClocksChangeHave23And25Hours) {
    const Zone zone("Europe/Berlin");
    const Schedule sundays = Parse("open sun 00:00-24:00\n");
    // 2027-03-28: 02:00 CET becomes 03:00 CEST. Midnight is 23:00 UTC the day before.
    const OpenState spring = OpenStateAt(sundays, Utc(2027, 3, 27, 23, 0));
    EXPECT_TRUE(spring.open);
    EXPECT_EQ(spring.next_change - Utc(2027, 3, 27, 23, 0), 23 * 3600);
    // 2027-10-31: 03:00 CEST becomes 02:00 CET.
    const OpenState autumn = OpenStateAt(sundays, Utc(2027, 10, 30, 22, 0));
    EXPECT_TRUE(autumn.open);
    EXPECT_EQ(autumn.next_change - Utc(2027, 10, 30, 22, 0), 25 * 3600);
    // A range starting in the skipped hour opens when the clock jumps (01:00 UTC).
    const Schedule skipped = Parse("open sun 02:30-05:00\n");
    EXPECT_EQ(OpenStateAt(skipped, Utc(2027, 3, 28, 0, 59)).next_change, Utc(2027, 3, 28, 1, 0));
    EXPECT_EQ(OpenStateAt(skipped, Utc(2027, 3, 28, 1, 0)).next_change, Utc(2027, 3, 28, 3, 0));
    // A range in the hour shown twice opens and closes once, at its first showing.
    const Schedule twice = Parse("open sun 02:30-02:45\n");
    EXPECT_EQ(OpenStateAt(twice, Utc(2027, 10, 31, 0, 0)).next_change, Utc(2027, 10, 31, 0, 30));
    EXPECT_EQ(OpenStateAt(twice, Utc(2027, 10, 31, 0, 30)).next_change, Utc(2027, 10, 31, 0, 45));
    EXPECT_FALSE(OpenStateAt(twice, Utc(2027, 10, 31, 1, 35)).open);  // 02:35 CET
    // A weekday range keeps its wall-clock times across the change.
    const Schedule weekdays = Parse("open mon-fri 10:00-18:00\n");
    EXPECT_EQ(OpenStateAt(weekdays, Utc(2027, 3, 26, 17, 0)).next_change, Utc(2027, 3, 29, 8, 0));
}

TEST(ScheduleRule, TimeZoneOfTheEnvironmentIsHonoured) {
    const Schedule schedule = Parse("open mon-fri 10:00-18:00\n");
    {
        const Zone zone("America/New_York");  // winter: UTC-5
        EXPECT_EQ(OpenStateAt(schedule, Utc(2027, 1, 5, 12, 0)).next_change,
                  Utc(2027, 1, 5, 15, 0));
        EXPECT_EQ(IsoLocalTime(Utc(2027, 1, 5, 15, 0)), "2027-01-05T10:00:00-05:00");
    }
    const Zone zone("Asia/Kolkata");  // UTC+5:30
    EXPECT_EQ(OpenStateAt(schedule, Utc(2027, 1, 5, 0, 0)).next_change, Utc(2027, 1, 5, 4, 30));
    EXPECT_EQ(IsoLocalTime(Utc(2027, 1, 5, 4, 30)), "2027-01-05T10:00:00+05:30");
}

}  // namespace
