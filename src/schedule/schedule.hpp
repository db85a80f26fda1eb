// Opening hours: SetSchedule.txt in the working folder says when the room is open; outside those
// hours the player sleeps (camera closed, window dark, display powered down). Without the file
// nothing of it runs and every call costs a flag test.
#pragma once

#include <cstdint>
#include <ctime>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

constexpr char kScheduleFile[] = "SetSchedule.txt";
constexpr int kTechnicianMinutes = 10;  // a key typed while closed opens for this long

// ---- The file (pure: text in, schedule out) ---------------------------------------------------

// One `open DAYS HH:MM-HH:MM` range. A range whose end is not after its start runs past midnight
// and belongs to the day it starts on.
struct OpeningRange {
    unsigned days = 0;  // bit n: weekday n, 0 Sunday .. 6 Saturday (as struct tm counts)
    int start = 0;      // minutes after midnight, 0..1439
    int end = 0;        // minutes after midnight, 0..1440
};

// `closed FIRST..LAST` (or one date): whole days without opening hours.
struct ClosedDays {
    int64_t first = 0;  // days since 1970-01-01 of the calendar
    int64_t last = 0;
};

struct Schedule {
    std::vector<OpeningRange> ranges;  // no range at all: open every day, all day
    std::vector<ClosedDays> closed;
    std::string closed_picture;            // shown while closed instead of black; empty: black
    std::vector<std::string> display_off;  // program and arguments run at closing (optional)
    std::vector<std::string> display_on;   // ... and at opening
    bool in_use = false;                   // at least one open or closed line was taken
};

struct ScheduleLineError {
    int line;            // 1-based
    std::string text;    // the line without its comment and outer blanks
    std::string reason;  // why it was not taken
};

// Reads the text of SetSchedule.txt. Lines that cannot be taken are skipped and listed.
Schedule ParseSchedule(const std::string& text, std::vector<ScheduleLineError>* errors);

// The settings lines of schedule as the player prints them back after "SET: ".
std::vector<std::string> ScheduleLines(const Schedule& schedule);

// ---- The rule (pure apart from the C library's time zone) -------------------------------------

struct OpenState {
    bool open = true;
    time_t next_change = 0;  // first moment after t at which open flips; 0: none within a year
};

// Whether the room is open at t in local time (TZ honoured; a day on which the clocks change
// has 23 or 25 hours), and when that changes next.
OpenState OpenStateAt(const Schedule& schedule, time_t t);

// Day number (days since 1970-01-01) of a calendar date, and back.
int64_t DayNumber(int year, int month, int day);
void CalendarDate(int64_t day_number, int* year, int* month, int* day);

// How a console line names the moment at, seen at now (both local): "18:00" on the same day,
// "Tue 10:00" within the week, "Thu 2027-01-07 10:00" later.
std::string MomentText(time_t now, time_t at);

// at as local ISO 8601 with its offset, "2026-12-08T18:00:00+01:00".
std::string IsoLocalTime(time_t at);

// ---- The player's share -----------------------------------------------------------------------

// Reads SetSchedule.txt (start-up, r, R) and, with report, prints its settings as "SET:" lines and
// each bad line with its number on stderr. With skipped, bad lines go there instead, as
// "line N: \"TEXT\" is not read: REASON" (the installation check). A missing file leaves the
// player always open. The next ScheduleCheck evaluates at once.
void LoadSchedule(bool report = true, std::vector<std::string>* skipped = nullptr);

// The schedule last read, and its closed_picture decoded (empty: black).
const Schedule& CurrentSchedule();
const cv::Mat& ClosedPicture();

// A wall clock before this moment counts as not set (the program's build time; tests move it).
extern time_t schedule_clock_set_from;

enum class ScheduleChange { kNone, kOpened, kClosed };

// Once a cycle: looks at the wall clock at most once a second, and when the room opens or closes
// (or the clock jumped) prints one "SCHEDULE:" line and says so. A clock before the program's
// build date counts as not set: open, said once.
ScheduleChange ScheduleCheck();

// The technician's key while closed: open for kTechnicianMinutes from now, said on the console.
void OpenForTechnician();

// What the status page, the network and the service manager tell.
struct ScheduleStatus {
    bool in_use = false;
    bool open = true;
    time_t next_change = 0;  // 0: none known
};
ScheduleStatus CurrentScheduleStatus();

// "until Tue 10:00" for the service manager's status line (empty when nothing is known).
std::string UntilText();
