#include "setup/check_motion.hpp"

#include <string>
#include <vector>

#include "motion/motion.hpp"
#include "setup/report.hpp"

void CheckMotionSettings() {
    const char* label = "Motion";
    if (!SettingsFileToRead(label, kMotionSettingsFile)) {
        Say(label, "no SetMotion.txt: every change of the whole picture counts");
        return;
    }
    std::vector<std::string> skipped;
    LoadMotionSettings(false, &skipped);
    const MotionMaskReport& mask = LoadedMotionMask();
    if (mask.file.empty()) {
        Say("Motion mask", "none: the whole picture counts");
    } else if (!mask.read) {
        Say("Motion mask", FormatText("%s: missing or not a picture; the whole picture counts",
                                      mask.file.c_str()));
    } else {
        Say("Motion mask",
            FormatText("%s: %d x %d, %.0f %% of the camera picture excluded", mask.file.c_str(),
                       mask.width, mask.height, 100.0 * mask.excluded));
    }
    Say("Motion light",
        LoadedMotionFilter().light ? "1: a change of the whole picture is not motion" : "0: off");
    for (const std::string& line : skipped) {
        Warn(FormatText("%s %s", kMotionSettingsFile, line.c_str()));
    }
}
