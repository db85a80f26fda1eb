#include "setup/check.hpp"

#include "block/shared_block.hpp"
#include "capture/camera_settings.hpp"
#include "common/state.hpp"
#include "contents/display_settings.hpp"
#include "contents/parameters.hpp"
#include "contents/video_import.hpp"
#include "motion/motion.hpp"
#include "platform/inspect.hpp"
#include "setup/check_motion.hpp"
#include "setup/check_schedule.hpp"
#include "setup/report.hpp"

namespace {

constexpr char kCameraSettingsFile[] = "SetCamera3.txt";
constexpr char kDisplaySettingsFile[] = "SetDisplay.txt";

void CheckCameraSettings() {
    const char* label = "Camera settings";
    const bool read = SettingsFileToRead(label, kCameraSettingsFile);
    if (read) ReadCameraSettingsSilently();
    Say(label, FormatText("%s: CamFlipV %d, CamFlipH %d, CamChan %d, CamOnMemory %d, CamBeep %d",
                          read ? kCameraSettingsFile : "no SetCamera3.txt, defaults", CamFlipV,
                          CamFlipH, CamChan, CamOnMemory, CamBeep));
}

void CheckThreshold() {
    const char* label = "Threshold";
    if (SettingsFileToRead(label, kThresholdFile) && ReadThresholdFile()) {
        Say(label, FormatText("%s: %d", kThresholdFile, GLT_threshold));
    } else {
        Say(label,
            FormatText("no %s: %d, written by the keys v and V", kThresholdFile, GLT_threshold));
    }
}

void CheckDisplaySettings() {
    const char* label = "Display";
    if (!SettingsFileToRead(label, kDisplaySettingsFile)) {
        Say(label, "no SetDisplay.txt: a plain window on the first monitor");
        return;
    }
    Quietly(LoadDisplaySettings);
    Say(label, FormatText("%s: Fullscreen %d, DisplayIndex %d, HidePointer %d",
                          kDisplaySettingsFile, Fullscreen, DisplayIndex, HidePointer));
}

void CheckConverter() {
    const std::string converter = FindConverter();
    if (converter.empty()) {
        Say("Converter", "none");
        Block(
            "no converter: neither ./ffmpeg in the working folder nor ffmpeg on PATH "
            "(sudo apt-get install ffmpeg)");
    } else {
        Say("Converter", converter == "./ffmpeg" ? "./ffmpeg (in the working folder)"
                                                 : converter + " (on PATH)");
    }
}

void CheckSharedBlock() {
    const std::string path = std::string("/dev/shm/") + SharedBlockName();
    const PathInfo block = LookAt(path.c_str());
    if (block.kind == PathKind::kMissing) {
        Say("Shared block", path + ": not present yet (the player makes it, mode 0600)");
        return;
    }
    const std::string owner = UserName(block.owner);
    Say("Shared block", FormatText("%s: owner %s, mode %04o, %lld bytes", path.c_str(),
                                   owner.c_str(), block.mode, block.bytes));
    if (!CanReadAndWrite(path.c_str())) {
        Block(
            FormatText("the shared block %s belongs to user %s (mode %04o): the player of user %s "
                       "cannot open it",
                       path.c_str(), owner.c_str(), block.mode, UserName(CurrentUser()).c_str()));
    }
}

}  // namespace

int CheckInstallation(const std::string& dir) {
    const std::string root = ResolvedPath(dir.c_str());
    const std::string work = (root.empty() ? dir : root) + "/work";
    Print("Zeltran installation check: %s\n\n", root.empty() ? dir.c_str() : root.c_str());
    if (LookAt(work.c_str()).kind != PathKind::kFolder || !ChangeFolder(work.c_str())) {
        Block("no working folder " + work + " (zeltran-setup create makes one)");
        return Conclude();
    }
    Say("Working folder", work);
    CheckContentsFolders();
    CheckPictureFolders();
    CheckCameraSettings();
    CheckThreshold();
    CheckDisplaySettings();
    CheckMotionSettings();
    CheckSchedule();
    CheckSettingsLines();
    CheckConverter();
    CheckCameras("/dev");
    CheckSharedBlock();
    return Conclude();
}
