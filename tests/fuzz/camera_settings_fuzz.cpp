// The camera settings file.
#include "common/state.hpp"
#include "contents/camera_settings.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    WriteInputFile("SetCamera3.txt", data, size);
    LoadCameraSettings();
    if (CamOnMemory < 1 || CamOnMemory > kCamOnMemoryMax) __builtin_trap();
    return 0;
}
