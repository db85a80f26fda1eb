#include "shell/startup.hpp"

#include "common/console.hpp"
#include "common/state.hpp"
#include "shell/main_loop.hpp"

const char* window_title = kWindowTitle;
int32_t arg_count = 0;
char arg_path[kMaxArgs][kArgSlotBytes];
int32_t scratch_slot = 1;
cv::Mat side_pictures[2];
cv::Mat pause_picture;

int ZeltranMain(int, char**) {
    InitConsole();
    RunMainLoop();
    return 0;
}
