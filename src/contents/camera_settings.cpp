#include "contents/camera_settings.hpp"

#include <cstdio>

#include "common/console.hpp"
#include "common/scan.hpp"
#include "common/state.hpp"
#include "platform/files.hpp"

int32_t CamFlipV = 0;
int32_t CamFlipH = 0;
int32_t CamChan = 0;
int32_t CamOnMemory = 1;
int32_t CamBeep = 0;

namespace {

constexpr char kCameraSettingsFile[] = "SetCamera3.txt";

// The file's five values in their order, with the line that reports each one.
struct CameraSetting {
    int32_t* variable;
    const char* report;
};

const CameraSetting kSettings[] = {
    {&CamFlipV, "SET: CamFlipV     = %d ( 1-> Invert Camera Image Vertically) \n"},
    {&CamFlipH, "SET: CamFlipH     = %d ( 1-> Invert Camera Image Horizontally) \n"},
    {&CamChan, "SET: CamChan      = %d ( Camera ID number ) \n"},
    {&CamOnMemory, "SET: CamOnMemory  = %d ( Number of On-Memory Frames ) \n"},
    {&CamBeep, "SET: CamBeep      = %d ( 1-> Beep ON ) \n"},
};

void PrintLegend() {
    PrintText("\n--------------------------------------\n");
    PrintText(" 1 : [ CamFlipV    (Set 0 or 1)] \n");
    PrintText(" 2 : [ CamFlipH    (Set 0 or 1)] \n");
    PrintText(" 3 : [ CamChan     (Set 0 -- n)] \n");
    Print(" 4 : [ CamOnMemory (Set 1 -- %d)] \n", kCamOnMemoryMax);
    PrintText(" 5 : [ CamBeep     (Set 0 or 1)] \n");
    PrintText("--------------------------------------\n");
}

}  // namespace

void LoadCameraSettings() {
    FILE* file = OpenFile(kCameraSettingsFile, "r");
    if (!file) return;
    PrintLegend();
    for (const CameraSetting& setting : kSettings) {
        // Each value gets its own temporary seeded with the current value, so a number that
        // cannot be read keeps the variable as it was.
        int32_t value = *setting.variable;
        ScanInt(file, &value);
        if (setting.variable == &CamOnMemory) {
            if (value < 1) value = 1;
            if (value > kCamOnMemoryMax) value = kCamOnMemoryMax;
        }
        *setting.variable = value;
        Print(setting.report, value);
    }
    std::fclose(file);
}
