#include "shell/startup.hpp"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>

#include "capture/camera_retry.hpp"
#include "capture/capture.hpp"
#include "common/console.hpp"
#include "common/language.hpp"
#include "common/state.hpp"
#include "contents/camera_settings.hpp"
#include "contents/display_settings.hpp"
#include "contents/video_import.hpp"
#include "motion/motion.hpp"
#include "network/network.hpp"
#include "platform/console_key.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "shell/display_mode.hpp"
#include "shell/function_keys.hpp"
#include "shell/main_loop.hpp"
#include "shell/motion_meter.hpp"

const char* window_title = kWindowTitle;
int32_t arg_count = 0;
char arg_path[kMaxArgs][kArgSlotBytes];
int32_t scratch_slot = 1;
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

// The converter guide: the error in Japanese, the same in English, and the steps to install it.
const char* const kMissingConverter[] = {
    N_("\nエラー!  ファイル[ ffmpeg ]が見つかりません。\n\n"),
    N_("         お手数をお掛けしますが、アプリケーション[ FFmpeg ]をご自身でダウンロード\n"),
    N_("         して、指定の場所にファイル[ ffmpeg ]をコピーしてください。\n"),
    N_("         詳細は、ファイル[ README.txt ]をご一読ください。また、インストール説明動画\n"),
    N_("         [ インストールの手順.mp4 ] もご覧ください。ご協力ありがとうございます。\n\n\n"),
};
const char* const kMissingConverterEnglish[] = {
    "ERROR! : Cannot find a file ->[ ffmpeg ]\n\n",
    "         You need to download and install FFmpeg application by yourself\n",
    "         and copy [ ffmpeg ] to the specified folder in advance.\n",
    N_("         Please refer to the file[ README.txt ] and [ インストールの手順.mp4 ]\n"),
    "         for details. Thank you for your cooperation.\n",
};
const char* const kConverterSteps[] = {
    "\n-------------------------------------------------------------------------------------\n",
    N_("（参考）FFmpeg のインストールとアンインストールの方法\n"),
    "-------------------------------------------------------------------------------------\n",
    "\n",
    N_("【手順１】端末（ターミナル）を開きます。\n"),
    N_("【手順２】パッケージの一覧を更新します。　sudo apt-get update\n"),
    N_("【手順３】FFmpeg のパッケージをインストールします。　sudo apt-get install ffmpeg\n"),
    N_("【手順４】インストールを確かめます。　ffmpeg -version　（版数が表示されれば成功です）\n"),
    N_("【手順５】管理者の権限がない場合は、Linux 用の実行ファイル[ffmpeg]を入手します。\n"),
    N_("【手順６】そのファイルを作業フォルダ（このプログラムを起動するフォルダ）に置きます。\n"),
    N_("【手順７】実行できるようにします。　chmod +x ./ffmpeg\n"),
    N_("以上でファイル[ffmpeg] のインストールは完了です。\n"),
    "\n",
    N_("なお、アプリケーション[FFmpeg]をアンインストール（削除）したい場合、解凍した\n"),
    N_("フォルダを直接削除してください（インストーラはありません）。\n"),
    "\n",
    N_("◎詳細は上記手順を順番に確認できる動画[インストールの手順.mp4]をご覧ください◎\n"),
    "\n",
    N_("以上\n"),
};

void PrintLines(const char* const* lines, size_t count) {
    for (size_t i = 0; i < count; ++i) PrintText(_(lines[i]));
}

// Without the converter no video can be imported: the user is told how to install it.
void CheckConverter() {
    if (!FindConverter().empty()) return;
    PrintLines(kMissingConverter, std::size(kMissingConverter));
    // Translated, the first block says it all; the second points to files that are not here.
    if (Translate(kMissingConverter[0]) == kMissingConverter[0]) {
        PrintLines(kMissingConverterEnglish, std::size(kMissingConverterEnglish));
    }
    PrintLines(kConverterSteps, std::size(kConverterSteps));
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
    InitConsole();
    InitLanguage();
    PrintLines(kBanner, std::size(kBanner));
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
    ApplyDisplaySettings();
    ReadCameraRetrySetting();
    StartNetwork();
    if (camera_on) OpenCamera();
    LoadPictureSlots();
    RunMainLoop();
    StopNetwork();
    return 0;
}
