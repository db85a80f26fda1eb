#include "shell/console_report.hpp"

#include "block/shared_block.hpp"
#include "capture/stopwatch.hpp"
#include "common/console.hpp"
#include "common/state.hpp"

void ReportStatus() {
    if (DISP_WEB_CAM_INFO == 1 || DISP_WEB_CAM_INFO == 2) ReadSharedBlock();
    if (DISP_WEB_CAM_INFO == 1) {
        Print(
            "[S%d] [%5d /%5d] [DifferenceSum=%7d (SI.DiffSum=%7d )] [VR_threshold= %d ] "
            "[VR_step=%6.2f ] [f_rate=%6.2f [fps]]\n",
            folder_index + 1, static_cast<int>(frame_no), MaxCount - 1, DifferenceSum,
            SI[kDiffSumWord], VR_threshold, VR_step, f_rate);
    } else if (DISP_WEB_CAM_INFO == 2) {
        Print("*[SI.DiffSum=%7d ]", SI[kDiffSumWord]);
        for (int i = 0; i < kCameraSlots; ++i) {
            if (SI[1 + i] > 0) Print("[WebCam( %2d ) =%7d ]", i, SI[1 + i]);
        }
        Print("\n");
    }
    StartTimer();
    if (DISP_WEB_CAM_INFO == -1) DISP_WEB_CAM_INFO = 0;
}

void PrintKeyFunction(const char* line) {
    if (DISP_WEB_CAM_INFO != 0) PrintText(line);
}

void PrintFrameNames() {
    const int n = static_cast<int>(frame_no);
    if (n < 0 || n >= MaxCount || n >= kMaxFrames) return;
    if (FrameData[n].file2[0] != '\0') {
        Print("\nFrameData[ %5d ].http[2] = [%s]\n", n, FrameData[n].file2);
    }
    if (FrameData[n].file3[0] != '\0') {
        Print("FrameData[ %5d ].file[3] = [%s]\n", n, FrameData[n].file3);
    }
}
