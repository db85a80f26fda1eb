#include "capture/camera_settings.hpp"

#include <cstdint>
#include <cstdio>
#include <iterator>

#include "capture/camera_device.hpp"
#include "common/console.hpp"
#include "common/settings_reader.hpp"
#include "common/state.hpp"
#include "platform/files.hpp"

int32_t CamFlipV = 0;
int32_t CamFlipH = 0;
int32_t CamChan = 0;
int32_t CamOnMemory = 1;
int32_t CamBeep = 0;

namespace {

constexpr char kCameraSettingsFile[] = "SetCamera3.txt";

constexpr int32_t kAny = INT32_MIN, kAll = INT32_MAX;

// The file's five values in their order, with the line that reports each one.
const IntSetting kSettings[] = {
    {&CamFlipV, "SET: CamFlipV     = %d ( 1-> Invert Camera Image Vertically) \n", kAny, kAll},
    {&CamFlipH, "SET: CamFlipH     = %d ( 1-> Invert Camera Image Horizontally) \n", kAny, kAll},
    {&CamChan, "SET: CamChan      = %d ( Camera ID number ) \n", kAny, kAll},
    {&CamOnMemory, "SET: CamOnMemory  = %d ( Number of On-Memory Frames ) \n", 1, kCamOnMemoryMax},
    {&CamBeep, "SET: CamBeep      = %d ( 1-> Beep ON ) \n", kAny, kAll},
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

namespace {

void ReadCameraSettings(bool report) {
    FILE* file = OpenFile(kCameraSettingsFile, "r");
    if (!file) return;
    if (report) PrintLegend();
    ReadIntSettings(file, kSettings, std::size(kSettings), report);
    std::fclose(file);
}

}  // namespace

void LoadCameraSettings() {
    ReadCameraSettings(true);
    LoadCameraDeviceSetting(true);
}

void ReadCameraSettingsSilently() {
    ReadCameraSettings(false);
    LoadCameraDeviceSetting(false);
}
