#include "setup/create.hpp"

#include <cstdlib>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "common/console.hpp"
#include "contents/naming.hpp"
#include "contents/parameters.hpp"
#include "contents/video_import.hpp"
#include "motion/motion.hpp"
#include "own_pictures.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "setup/unit_name.hpp"

namespace {

struct SettingsFile {
    const char* name;
    const char* text;  // the values first; the player stops reading after them
};

const SettingsFile kSettingsFiles[] = {
    {"SetCamera3.txt",
     "0 0 0 1 0\n\nCamFlipV CamFlipH CamChan CamOnMemory CamBeep (camera /dev/video<CamChan>)\n"},
    {kThresholdFile, "11500"},
    {"SetDisplay.txt", "1 0 1\n\nFullscreen DisplayIndex HidePointer\n"},
};

constexpr char kLauncherFile[] = "zeltran.desktop";
// Read by the service (EnvironmentFile= of zeltran@.service) when it is there.
constexpr char kServiceEnvironmentFile[] = "zeltran.env";
constexpr char kEnglish[] = "ZELTRAN_LANGUAGE=en";

bool failed = false;  // something could not be made

// Makes one file unless something is there already; says which.
void MakeFile(const std::string& dir, const std::string& relative, const std::string& bytes) {
    const std::string path = dir + "/" + relative;
    if (LookAt(path.c_str()).kind != PathKind::kMissing) {
        Print("  kept  %s (already there)\n", relative.c_str());
    } else if (WriteFileDurably(path.c_str(), bytes, Existing::kKeep)) {
        Print("  made  %s\n", relative.c_str());
    } else {
        PrintError("zeltran-setup: cannot write %s\n", path.c_str());
        failed = true;
    }
}

void MakeFolder(const std::string& dir, const std::string& relative) {
    const std::string path = dir + "/" + relative;
    const bool existed = LookAt(path.c_str()).kind == PathKind::kFolder;
    if (MakeFolders(path)) {
        Print("  %s  %s/\n", existed ? "kept" : "made", relative.c_str());
    } else {
        PrintError("zeltran-setup: cannot make the folder %s\n", path.c_str());
        failed = true;
    }
}

std::string JpegBytes(const cv::Mat& picture) {
    std::vector<unsigned char> bytes;
    cv::imencode(".jpg", picture, bytes);
    return std::string(bytes.begin(), bytes.end());
}

std::string EscapeDesktopString(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
    for (size_t at = text->find(from); at != std::string::npos;
         at = text->find(from, at + to.size())) {
        text->replace(at, from.size(), to);
    }
}

// The language of messages as the C library chooses it: LC_ALL, else LC_MESSAGES, else LANG.
bool LocaleIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::strncmp(value, "ja", 2) == 0;
    }
    return false;
}

void PrintNextSteps(const std::string& root, const std::string& work, bool english) {
    const std::string cd = CommandLineText({"cd", work});
    const std::string zeltran = english ? std::string(kEnglish) + " zeltran" : "zeltran";
    Print("\nNext steps:\n");
    Print(
        "  1. Contents: put frames clip_00000.jpg, clip_00001.jpg ... into %s/S001 (S002 ...\n"
        "     for more folders), or import videos into S001, S002 ...:  %s && %s VIDEO ...\n",
        root.c_str(), cd.c_str(), zeltran.c_str());
    Print("  2. Check:    %s\n", CommandLineText({"zeltran-setup", "check", root}).c_str());
    Print("  3. Start:    %s && %s\n", cd.c_str(), zeltran.c_str());
    Print(
        "  4. Service:  %s\n",
        CommandLineText({"systemctl", "--user", "enable", "--now", ServiceUnitName(root)}).c_str());
    Print(
        "     (runs at every login; for a start without login: sudo loginctl enable-linger "
        "$USER)\n");
    Print("  5. Launcher: %s ~/.local/share/applications/\n",
          CommandLineText({"cp", root + "/" + kLauncherFile}).c_str());
    Print("     (videos dropped on it become the contents)\n");
    Print(
        "  Settings in %s: SetDisplay.txt (1 0 1: fullscreen on monitor 0, no mouse pointer),\n"
        "  SetCamera3.txt (camera), GLT_THRESHOLD.dat (motion threshold).\n",
        work.c_str());
}

}  // namespace

std::string FillLauncher(const std::string& work, const std::string& name, bool english) {
    std::string text = kLauncherTemplate;
    if (english)
        ReplaceAll(&text, "\nExec=zeltran ", std::string("\nExec=env ") + kEnglish + " zeltran ");
    ReplaceAll(&text, "@ZELTRAN_WORK@", EscapeDesktopString(work));
    ReplaceAll(&text, "@ZELTRAN_NAME@", EscapeDesktopString(name));
    return text;
}

int CreateInstallation(const std::string& dir) {
    if (!MakeFolders(dir)) {
        PrintError("zeltran-setup: cannot make the folder %s\n", dir.c_str());
        return 1;
    }
    const std::string root = ResolvedPath(dir.c_str());
    const std::string work = root + "/work";
    Print("Installation %s:\n", root.c_str());
    MakeFolder(root, "work");
    MakeFolder(root, ContentsFolderPath(1).substr(3));  // "../S001" seen from work
    if (failed) return 1;
    for (size_t i = 0; i < kOwnPictureCount; ++i) {
        MakeFile(root, std::string("work/") + kOwnPictureFiles[i], JpegBytes(OwnPicture(i)));
    }
    for (const SettingsFile& file : kSettingsFiles) {
        MakeFile(root, std::string("work/") + file.name, file.text);
    }
    const size_t slash = root.find_last_of('/');
    // The player's console is Japanese unless told otherwise.
    const bool english = !LocaleIsJapanese();
    MakeFile(root, kLauncherFile, FillLauncher(work, root.substr(slash + 1), english));
    if (english) {
        MakeFile(root, kServiceEnvironmentFile, std::string(kEnglish) + "\n");
        Print("  English console: %s in %s and %s (the service's), as the locale is not Japanese\n",
              kEnglish, kLauncherFile, kServiceEnvironmentFile);
    }
    PrintNextSteps(root, work, english);
    return failed ? 1 : 0;
}
