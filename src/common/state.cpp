// The state that lower rooms read but the player's shell sets: the command line, and the display
// and report settings that parameter files, frame lists and the network read. A file without
// calls, so that a program built on the lower rooms alone (zeltran-setup) does not bring the
// player's start-up and cycle with it.
#include "common/state.hpp"

const char* window_title = kWindowTitle;
int32_t arg_count = 0;
char arg_path[kMaxArgs][kArgSlotBytes];
int32_t scratch_slot = 1;

double speed_factor = 1.0;
int32_t flip_mode = 0;
int32_t VARIABLE_SIZE_FLAG = 0;
int32_t DISP_WEB_CAM_INFO = 0;
