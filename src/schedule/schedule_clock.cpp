// The player's share of the opening hours: the file read at start-up and by r / R, the clock
// looked at once a second, and the console lines at each change.
#include <cstdio>

#include "common/console.hpp"
#include "common/path.hpp"
#include "common/settings_reader.hpp"
#include "platform/clock.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "platform/picture.hpp"
#include "schedule/schedule.hpp"

#ifndef ZELTRAN_BUILD_TIME
#define ZELTRAN_BUILD_TIME 0
#endif

time_t schedule_clock_set_from = ZELTRAN_BUILD_TIME;

namespace {

constexpr uint64_t kCheckPeriodMicros = 1000000;  // the wall clock is read once a second
constexpr time_t kTechnicianSeconds = kTechnicianMinutes * 60;

Schedule schedule;
cv::Mat closed_picture;
bool checked = false;     // the clock was looked at ...
uint64_t checked_at = 0;  // ... at this ClockMicros reading
bool evaluated = false;   // state holds from evaluated_at until its next change
time_t evaluated_at = 0;
OpenState state;          // open until the first evaluation says otherwise
bool unset_said = false;  // the "clock is not set" line was printed
time_t technician_until = 0;

// Only a plain file is opened: a pipe named as the picture would hold the player.
cv::Mat LoadClosedPicture(const std::string& file) {
    if (file.empty() || LookAt(file.c_str()).kind != PathKind::kFile) return cv::Mat();
    return DecodePicture(file.c_str());
}

void PrintState(time_t now) {
    if (state.next_change == 0) {
        PrintText(state.open ? "SCHEDULE: open, no closing time ahead\n"
                             : "SCHEDULE: closed, no opening time ahead\n");
        return;
    }
    Print("SCHEDULE: %s until %s\n", state.open ? "open" : "closed",
          MomentText(now, state.next_change).c_str());
}

ScheduleChange Evaluate(time_t now) {
    const bool was_open = state.open;
    const bool first = !evaluated;
    if (now < schedule_clock_set_from) {
        // A computer without a battery clock starts in the past until the network sets it:
        // the room counts as open, and the next check looks again.
        state = OpenState();
        if (!unset_said) {
            unset_said = true;
            Print("SCHEDULE: the clock is not set (%s); open until it is\n",
                  IsoLocalTime(now).c_str());
        }
        evaluated = false;
        return was_open ? ScheduleChange::kNone : ScheduleChange::kOpened;
    }
    OpenState next = OpenStateAt(schedule, now);
    if (!next.open && technician_until > now) next = {true, technician_until};
    state = next;
    evaluated = true;
    evaluated_at = now;
    if (first || state.open != was_open) PrintState(now);
    if (state.open == was_open) return ScheduleChange::kNone;
    return state.open ? ScheduleChange::kOpened : ScheduleChange::kClosed;
}

}  // namespace

void LoadSchedule(bool report, std::vector<std::string>* skipped) {
    schedule = Schedule();
    closed_picture = cv::Mat();
    checked = evaluated = false;
    FILE* file = OpenFile(kScheduleFile, "r");
    if (!file) return;
    const std::string text = ReadSettingFile(file);
    std::fclose(file);
    std::vector<ScheduleLineError> errors;
    schedule = ParseSchedule(text, &errors);
    for (const ScheduleLineError& error : errors) {
        if (skipped) {
            skipped->push_back(FormatText("line %d: \"%s\" is not read: %s", error.line,
                                          error.text.c_str(), error.reason.c_str()));
        } else if (report) {
            PrintError("[ NG ] %s line %d skipped: %s\n", kScheduleFile, error.line,
                       error.reason.c_str());
        }
    }
    if (!schedule.in_use) {
        if (report) PrintText("\nSET: schedule = none (no open or closed line): always open\n");
        return;
    }
    closed_picture = LoadClosedPicture(schedule.closed_picture);
    if (!report) return;
    Print("\n");
    for (const std::string& line : ScheduleLines(schedule)) Print("SET: %s\n", line.c_str());
    const std::string& picture = schedule.closed_picture;
    if (!closed_picture.empty()) {
        Print("SET: closed_picture = %s (%d x %d)\n", picture.c_str(), closed_picture.cols,
              closed_picture.rows);
    } else if (!picture.empty()) {
        PrintError(
            "[ NG ] %s: the closed picture %s cannot be read as a picture; closed shows "
            "black\n",
            kScheduleFile, picture.c_str());
    }
    Print("SET: local time = %s\n", IsoLocalTime(WallClockSeconds()).c_str());
}

const Schedule& CurrentSchedule() {
    return schedule;
}

const cv::Mat& ClosedPicture() {
    return closed_picture;
}

ScheduleChange ScheduleCheck() {
    if (!schedule.in_use) return ScheduleChange::kNone;
    const uint64_t micros = ClockMicros();
    if (checked && micros - checked_at < kCheckPeriodMicros) return ScheduleChange::kNone;
    checked = true;
    checked_at = micros;
    const time_t now = WallClockSeconds();
    // The state holds until its next change unless the clock was set back meanwhile; a clock set
    // forward past the change is caught by the same test.
    const bool holds =
        evaluated && now >= evaluated_at && (state.next_change == 0 || now < state.next_change);
    return holds ? ScheduleChange::kNone : Evaluate(now);
}

void OpenForTechnician() {
    const time_t now = WallClockSeconds();
    technician_until = now + kTechnicianSeconds;
    state = {true, technician_until};
    evaluated = true;
    evaluated_at = now;
    Print("SCHEDULE: opened by a key for %d minutes, until %s\n", kTechnicianMinutes,
          MomentText(now, technician_until).c_str());
}

ScheduleStatus CurrentScheduleStatus() {
    return {schedule.in_use, state.open, state.next_change};
}

std::string UntilText() {
    if (state.next_change == 0) return "";
    return "until " + MomentText(WallClockSeconds(), state.next_change);
}
