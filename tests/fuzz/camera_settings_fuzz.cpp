// The whole-number settings files: camera and display.
#include "common/state.hpp"
#include "contents/camera_settings.hpp"
#include "contents/display_settings.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    WriteInputFile("SetCamera3.txt", data, size);
    WriteInputFile("SetDisplay.txt", data, size);
    LoadCameraSettings();
    LoadDisplaySettings();
    if (CamOnMemory < 1 || CamOnMemory > kCamOnMemoryMax) __builtin_trap();
    if (Fullscreen < 0 || Fullscreen > 1 || HidePointer < 0 || HidePointer > 1) __builtin_trap();
    return 0;
}
