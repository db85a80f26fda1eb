#include "setup/check_schedule.hpp"

#include <string>
#include <vector>

#include "platform/clock.hpp"
#include "schedule/schedule.hpp"
#include "setup/report.hpp"

void CheckSchedule() {
    const char* label = "Opening hours";
    if (!SettingsFileToRead(label, kScheduleFile)) {
        Say(label, "no SetSchedule.txt: always open");
        return;
    }
    std::vector<std::string> skipped;
    LoadSchedule(false, &skipped);
    const Schedule& schedule = CurrentSchedule();
    if (!schedule.in_use) {
        Say(label, "no open or closed line: always open");
    } else {
        for (const std::string& line : ScheduleLines(schedule)) Say(label, line);
        const time_t now = WallClockSeconds();
        const OpenState state = OpenStateAt(schedule, now);
        const std::string until = state.next_change == 0
                                      ? ", no change ahead"
                                      : " until " + MomentText(now, state.next_change);
        Say("Opening now", std::string(state.open ? "open" : "closed") + until + " (local time " +
                               IsoLocalTime(now) + ")");
        if (!schedule.closed_picture.empty()) {
            Say("Closed picture",
                ClosedPicture().empty()
                    ? schedule.closed_picture + ": missing or not a picture; closed shows black"
                    : FormatText("%s: %d x %d", schedule.closed_picture.c_str(),
                                 ClosedPicture().cols, ClosedPicture().rows));
        }
    }
    for (const std::string& line : skipped) Warn(FormatText("%s %s", kScheduleFile, line.c_str()));
}
