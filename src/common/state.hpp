// The process-wide state of the player. Every variable is declared here once and defined in the
// module that owns it (named after each group). All of it lives for the whole run.
#pragma once

#include <cstdint>

#include <opencv2/core.hpp>

// ---- Table sizes and fixed values -------------------------------------------------------------

constexpr int kMaxFrames = 22000;        // frame records of one folder, and picture cache slots
constexpr int kPathBytes = 250;          // one path string of a frame record, NUL included
constexpr int kMaxArgs = 22000;          // argument slots of arg_path
constexpr int kArgSlotBytes = 5000;      // bytes of one argument slot, NUL included
constexpr int kKeyFrames = 1280;         // entries of KeyFrameNumber
constexpr int kPivotEntries = 23000;     // entries of PivotHistory
constexpr int kMaxListedFolders = 10000; // entries of contents_list
constexpr int GLT_F_XMAX = 320;          // camera working width in pixels
constexpr int GLT_F_YMAX = 240;          // camera working height in pixels
constexpr int kGreyFrameBytes = GLT_F_XMAX * GLT_F_YMAX;  // one grey frame, 1 byte a pixel
constexpr int kSharedWords = 256;        // int32 words of the shared block
constexpr int kSharedBytes = kSharedWords * 4;
constexpr int kCameraSlots = 32;         // shared-block words 1..32
constexpr int kCamOnMemoryMax = 5400;    // highest CamOnMemory
constexpr char kWindowTitle[] = "ZELTRAN  Ver.1.3";

// Key bytes of the picture window.
constexpr int kKeyBackSpace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEsc = 27;
constexpr int kKeySpace = 32;
constexpr int kNoKey = 255;

// ---- Command line (defined in common/state, filled by shell/startup) --------------------------

extern const char* window_title;  // title of the one picture window, kWindowTitle
extern int32_t arg_count;         // command-line arguments kept in arg_path, program path included
extern char arg_path[kMaxArgs][kArgSlotBytes];  // slot 0 program path; 1.. sorted file arguments
extern int32_t scratch_slot;      // arg_path slot that the display step uses as scratch, 1

// ---- Start-up (shell/startup) -----------------------------------------------------------------

extern cv::Mat side_pictures[2];  // to_left.jpg / to_right.jpg, refilled from a frame's file2
extern cv::Mat pause_picture;     // keyallocation_01.jpg, shown while paused

// ---- Main loop (shell/main_loop; defined in common/state) -------------------------------------

extern double speed_factor;  // frames per moving cycle of the level: 0.1 0.5 1.0 3.0 6.0

// ---- Key commands (shell/keys, shell/keys_folders) --------------------------------------------

extern int32_t REPLAY_SPEED;        // replay speed level 1..5, start 3
extern int32_t AutoReplayFlag;      // nonzero: the idle step advances one frame (TAB)
// flip_mode and VARIABLE_SIZE_FLAG are defined in common/state.
extern int32_t flip_mode;           // display flip: 0 none, 1 left-right, 2 top-bottom
extern int32_t VARIABLE_SIZE_FLAG;  // nonzero: the window takes the picture's size
extern int32_t contents_list[kMaxListedFolders];  // 0-based folders found by the first SPACE
extern int32_t contents_count;      // entries used in contents_list
extern int32_t contents_listed;     // 1 once a list with at least one entry was made

// ---- Console report (shell/console_report; defined in common/state) ---------------------------

extern int32_t DISP_WEB_CAM_INFO;  // console report: 0 none, 1 status line, 2 camera line, -1

// ---- Display step (shell/display) -------------------------------------------------------------

extern cv::Mat extra_picture;  // picture of the current frame's file3

// ---- Shared block (block/shared_block) --------------------------------------------------------

extern int32_t SI[kSharedWords];  // private mirror of the shared block; word 0 is SI.DiffSum
constexpr int kDiffSumWord = 0;   // SI word holding the total of the camera slots

// ---- Contents and frame list (contents/frame_list) --------------------------------------------

struct FrameRecord {
    int32_t loaded;          // 1 while frame_cache holds the decoded picture of this frame
    char file[kPathBytes];   // path of the frame's JPEG file
    char file2[kPathBytes];  // optional side picture (".http[2]"), empty when absent
    char file3[kPathBytes];  // optional third picture (".file[3]"), empty when absent
    char padding[2];         // fills the record to its stored 756 bytes
};
static_assert(sizeof(FrameRecord) == 756, "frame-list files store 756-byte records");

extern int32_t folder_index;               // 0-based current contents folder (shown as +1)
extern FrameRecord FrameData[kMaxFrames];  // frame list of the current folder
extern int32_t MaxCount;                   // valid records of FrameData, 0..22000
extern cv::Mat frame_cache[kMaxFrames];    // decoded pictures by frame index; empty = none
extern double frame_no;                    // current position; the frame shown is its integer part
extern double shown_frame_no;              // frame_no at the last display; -1.0 / -999.0 force
                                           // a display
extern int32_t pending_key;                // 1 while a newly decoded frame is shown: the key
                                           // is dropped

// ---- Parameter files (contents/parameters) ----------------------------------------------------

extern double KeyFrameNumber[kKeyFrames];  // key-frame positions; stored and printed only
extern int32_t keyframe_index;             // index into KeyFrameNumber; stored only
extern int32_t keyframe_mode;              // stored only
extern int32_t keyframe_wait;              // stored only
extern int32_t keyframe_wait_limit;        // stored only
extern int32_t vr_mode;                    // stored only
extern int32_t PivotHistory[kPivotEntries];  // filled by the nqt_config.dat import
extern int32_t StartFrameNum;              // replay period start; cleared every cycle
extern int32_t EndFrameNum;                // replay period end; cleared every cycle
extern int32_t MouseReverseFlag;           // stored only
extern int32_t MouseVertFlag;              // stored only

// ---- Camera settings (capture/camera_settings) ------------------------------------------------

extern int32_t CamFlipV;     // nonzero: camera frames are flipped top to bottom
extern int32_t CamFlipH;     // nonzero: camera frames are flipped left to right
extern int32_t CamChan;      // camera device index, and this copy's shared-block slot
extern int32_t CamOnMemory;  // decoded pictures kept before the whole cache is dropped, 1..5400
extern int32_t CamBeep;      // nonzero: ReadKB rings the bell after a load

// ---- Display settings (contents/display_settings) ---------------------------------------------

extern int32_t Fullscreen;    // 1: the window covers its monitor; 0: a plain window
extern int32_t DisplayIndex;  // monitor of the window, 0 = the first
extern int32_t HidePointer;   // 1: the mouse pointer is hidden over the window

// ---- Camera (capture/camera_switch, capture/capture) ------------------------------------------

extern int32_t camera_on;                         // 1 while the camera is in use (camera_switch)
extern int32_t camera_log_mode;                   // 1: a camera picture to ../log each cycle; 2: no
extern cv::Mat camera_frame;                      // last frame returned by the camera
extern cv::Mat grey_frame;                        // 320 x 240 grey copy, made on first capture

// ---- Stopwatch (capture/stopwatch) ------------------------------------------------------------

extern double f_rate;  // cycle rate in 1/s from ReadTimer, at most 999

// ---- Frame step (motion/frame_step) -----------------------------------------------------------

extern double VR_step;          // frames moved per moving cycle; speed_factor each cycle
extern int32_t direction;       // 1 forward, 0 backward; other values do not move
extern int32_t prev_direction;  // direction at the previous AdvanceFrame, start -1
extern int32_t wrap_flag;       // nonzero: the position wraps at both ends; 0: stops there
extern int32_t motion_count;    // moving cycles since the count was last cleared
extern int32_t toggle_limit;    // moving cycles above which a still cycle reverses
extern int32_t reset_limit;     // moving cycles above which a still cycle clears the count

// ---- Motion measure (motion/measure) ----------------------------------------------------------

extern int32_t DifferenceSum;                   // motion value of the cycle
extern int32_t sample_step;                     // pixel step of the measure both ways, start 4
extern uint8_t grey_pair[2 * kGreyFrameBytes];  // the two most recent grey camera frames
extern int32_t grey_pair_index;                 // half written by the next capture, 0 or 1

// ---- Threshold (motion/threshold) -------------------------------------------------------------

extern int32_t GLT_threshold;  // motion threshold kept in GLT_THRESHOLD.dat, start 11500
extern int32_t VR_threshold;   // threshold of the measure and the frame step, from GLT_threshold
