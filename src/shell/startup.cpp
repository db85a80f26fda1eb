#include "shell/startup.hpp"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <span>

#include "capture/camera_retry.hpp"
#include "capture/camera_settings.hpp"
#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"
#include "contents/display_settings.hpp"
#include "contents/video_import.hpp"
#include "motion/motion.hpp"
#include "network/network.hpp"
#include "platform/console_key.hpp"
#include "platform/console_text.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "schedule/schedule.hpp"
#include "shell/converter_guide.hpp"
#include "shell/display_mode.hpp"
#include "shell/keys.hpp"
#include "shell/main_loop.hpp"
#include "shell/motion_meter.hpp"
#include "status/status.hpp"

cv::Mat side_pictures[2];
cv::Mat pause_picture;

namespace {

// Pictures loaded at start and held for the whole run; nothing draws them.
cv::Mat count_pictures[6];
cv::Mat title_picture;
cv::Mat mode_picture;
cv::Mat arrow_pictures[2];
cv::Mat replay_mode_pictures[5];
cv::Mat count_pictures_2[6];
cv::Mat command_pictures[5];
cv::Mat menu_pictures[10];

struct PictureSlot {
    cv::Mat* slot;
    const char* file;
};

// The program's own pictures, in load order. A missing file leaves its slot empty.
const PictureSlot kPictureSlots[] = {
    {&side_pictures[0], "./to_left.jpg"},
    {&side_pictures[1], "./to_right.jpg"},
    {&count_pictures[0], "./count5.jpg"},
    {&count_pictures[1], "./count4.jpg"},
    {&count_pictures[2], "./count3.jpg"},
    {&count_pictures[3], "./count2.jpg"},
    {&count_pictures[4], "./count1.jpg"},
    {&count_pictures[5], "./count0.jpg"},
    {&title_picture, "./title_01.jpg"},
    {&pause_picture, "./keyallocation_01.jpg"},
    {&mode_picture, "./mode_TRUVO.jpg"},
    {&arrow_pictures[0], "./to_left.jpg"},
    {&arrow_pictures[1], "./to_right.jpg"},
    {&replay_mode_pictures[0], "./replay_mode0.jpg"},
    {&replay_mode_pictures[1], "./replay_mode1.jpg"},
    {&replay_mode_pictures[2], "./replay_mode2.jpg"},
    {&replay_mode_pictures[3], "./replay_mode3.jpg"},
    {&replay_mode_pictures[4], "./replay_mode4.jpg"},
    {&count_pictures_2[0], "./replay_mode0.jpg"},
    {&count_pictures_2[1], "./count1.jpg"},
    {&count_pictures_2[2], "./count2.jpg"},
    {&count_pictures_2[3], "./count3.jpg"},
    {&count_pictures_2[4], "./count4.jpg"},
    {&count_pictures_2[5], "./count5.jpg"},
    {&command_pictures[0], "./command_0.jpg"},
    {&command_pictures[1], "./command_1.jpg"},
    {&command_pictures[2], "./command_2.jpg"},
    {&command_pictures[3], "./command_3.jpg"},
    {&command_pictures[4], "./command_4.jpg"},
    {&menu_pictures[0], "./mpic1.jpg"},
    {&menu_pictures[1], "./mpic2.jpg"},
    {&menu_pictures[2], "./mpic3.jpg"},
    {&menu_pictures[3], "./mpic4.jpg"},
    {&menu_pictures[4], "./mpic5.jpg"},
    {&menu_pictures[5], "./mpic1.jpg"},
    {&menu_pictures[6], "./mpic2.jpg"},
    {&menu_pictures[7], "./mpic3.jpg"},
    {&menu_pictures[8], "./mpic4.jpg"},
    {&menu_pictures[9], "./mpic5.jpg"},
};

const char* const kBanner[] = {
    "/////////////////////////////////////////////////////////////\n",
    "//                                                         //\n",
    "//                      Z E L T R A N                      //\n",
    "//        ------------------------------------------       //\n",
    "//         for  the  simple  but  sensible  reality        //\n",
    "//                                                         //\n",
    "//                                                         //\n",
    "/////////////////////////////////////////////////////////////\n\n",
};

void PrintLines(std::span<const char* const> lines) {
    for (const char* line : lines) PrintText(_(line));
}

// Without the converter no video can be imported: the user is told how to install it.
void CheckConverter() {
    if (!FindConverter().empty()) return;
    PrintLines(kMissingConverter);
    // Translated, the first block says it all; the second points to files that are not here.
    if (Translate(kMissingConverter[0]) == kMissingConverter[0]) {
        PrintLines(kMissingConverterEnglish);
    }
    PrintLines(kConverterSteps);
    ReadConsoleKey();
    EndProcess(1);
}

void EchoCommandLine(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        const bool quoted = std::strchr(argv[i], ' ') != nullptr;
        Print(quoted ? "%s\"%s\"" : "%s%s", i > 0 ? " " : "", argv[i]);
    }
    Print("\n");
    for (int i = 0; i < argc; ++i) Print("[%d]%s\n", i, argv[i]);
}

void StoreArguments(int argc, char** argv) {
    arg_count = argc < kMaxArgs ? argc : kMaxArgs;
    if (argc > kMaxArgs) {
        Print("WARNING: Only %d command-line arguments can be used; the last %d are ignored.\n",
              kMaxArgs, argc - kMaxArgs);
    }
    int total = 0;
    for (int i = 0; i < arg_count; ++i) {
        std::strncpy(arg_path[i], argv[i], kArgSlotBytes - 1);
        arg_path[i][kArgSlotBytes - 1] = '\0';
        total += static_cast<int>(std::strlen(arg_path[i]));
    }
    Print("\nTotal length of file name strings = %d\n\n", total);
    scratch_slot = 1;
}

}  // namespace

void RecordArguments(int argc, char** argv) {
    EchoCommandLine(argc, argv);
    StoreArguments(argc, argv);
}

namespace {

void LoadPictureSlots() {
    for (const PictureSlot& entry : kPictureSlots) {
        // Any of these pictures may be left out of an installation; its slot stays empty.
        if (CanOpenForReading(entry.file)) *entry.slot = DecodePicture(entry.file);
    }
}

}  // namespace

int ZeltranMain(int argc, char** argv) {
    PrepareConsoleText();
    InitLanguage(ProgramFolder());
    PrintLines(kBanner);
    PrintWorkingFolder();
    CheckConverter();
    std::setlocale(LC_ALL, "");
    RecordArguments(argc, argv);
    if (arg_count >= 2) ImportVideos();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    InstallQuitSignals();
    WindowOnFunctionKey(HandleFunctionKey);
    WindowCreate(0);
    StartMotionMeterFromEnvironment();
    LoadCameraSettings();
    LoadDisplaySettings();
    LoadMotionSettings();
    LoadSchedule();
    ApplyDisplaySettings();
    ReadCameraRetrySetting();
    StartNetwork();
    StartStatusServer(NetworkSettingsRead());
    if (camera_on) OpenCamera();
    LoadPictureSlots();
    RunMainLoop();
    StopStatusServer();
    StopNetwork();
    return 0;
}
