// The settings files: camera and display (whole numbers), motion (KEY VALUE lines and the mask
// picture it names; the input is tried as both).
#include "capture/camera_settings.hpp"
#include "common/state.hpp"
#include "contents/display_settings.hpp"
#include "fuzz_support.hpp"
#include "motion/motion.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    WriteInputFile("SetCamera3.txt", data, size);
    WriteInputFile("SetDisplay.txt", data, size);
    WriteInputFile("SetMotion.txt", data, size);
    LoadCameraSettings();
    LoadDisplaySettings();
    LoadMotionSettings();
    if (CamOnMemory < 1 || CamOnMemory > kCamOnMemoryMax) __builtin_trap();
    if (Fullscreen < 0 || Fullscreen > 1 || HidePointer < 0 || HidePointer > 1) __builtin_trap();
    WriteInputFile("mask.png", data, size);
    static const uint8_t kNamesTheMask[] = "mask mask.png\nlight 1\n";
    WriteInputFile("SetMotion.txt", kNamesTheMask, sizeof kNamesTheMask - 1);
    LoadMotionSettings();
    const double excluded = LoadedMotionMask().excluded;
    if (excluded < 0.0 || excluded > 1.0) __builtin_trap();
    return 0;
}
