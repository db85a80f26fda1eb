// Counts the cycles in which a camera clip would move the picture: the clip is read through the
// player's own camera stand-in and capture (one picture a cycle, as fast as it decodes), measured
// with the SetMotion.txt of the current folder, and every measurement above the threshold is one
// frame moved. The first picture only fills the pair: the player's first measurement compares
// against black whatever the room does.
// Usage: motion_clip_count CLIP THRESHOLD   prints "moved N highest M cycles C"
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/camera_switch.hpp"
#include "capture/capture.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CLIP THRESHOLD\n", argv[0]);
        return 2;
    }
    setenv("ZELTRAN_CAMERA_SOURCE", argv[1], 1);
    setenv("ZELTRAN_CAMERA_PACE", "0", 1);
    const long threshold = std::strtol(argv[2], nullptr, 10);
    LoadMotionSettings(false);
    CamChan = -1;  // no shared-block slot: the block is not opened here
    camera_on = 1;
    OpenCamera();
    GLT_Capture();
    std::memcpy(grey_pair + kGreyFrameBytes, grey_pair, kGreyFrameBytes);
    int moved = 0, cycles = 0;
    int32_t highest = 0;
    for (;;) {
        GLT_Capture();
        if (camera_on == 0) break;
        MeasureDifference(grey_pair, true, VR_threshold);
        ++cycles;
        if (DifferenceSum > threshold) ++moved;
        if (DifferenceSum > highest) highest = DifferenceSum;
    }
    std::printf("moved %d highest %d cycles %d\n", moved, highest, cycles);
    return 0;
}
