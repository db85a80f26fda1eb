#include "shell/main_loop.hpp"

#include "common/state.hpp"

int32_t REPLAY_SPEED = 3;
double speed_factor = 1.0;
double VR_step = 1.0;
int32_t AutoReplayFlag = 0;
double f_rate = 0.0;
int32_t GLT_threshold = 11500;
int32_t camera_log_mode = 2;
int32_t DISP_WEB_CAM_INFO = 0;
double shown_frame_no = -1.0;
int32_t pending_key = 0;
cv::Mat extra_picture;

void RunMainLoop() {}
void RunPrologue() {}
bool RunCycle() { return false; }
void ShowCurrentFrame() {}
