#include "shell/keys_folders.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/console.hpp"
#include "common/path.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "contents/naming.hpp"
#include "contents/parameters.hpp"
#include "motion/motion.hpp"
#include "platform/files.hpp"
#include "schedule/schedule.hpp"
#include "shell/console_report.hpp"

int32_t contents_list[kMaxListedFolders];
int32_t contents_count = 0;
int32_t contents_listed = 0;

namespace {

constexpr int kLastFolderIndex = 9999;  // 'n' beyond S10000 goes round to S001
constexpr int kListedFolders = 1000;    // SPACE looks at S001 .. S1000
constexpr double kContentsChanged = -999.0;

// Samples the frame numbers of folder m with random gaps of 1..m, so that the probe of a large
// folder number stays short. Returns the first frame number found, or -1.
int ProbeFrames(int m) {
    int f = 0;
    while (f < kMaxFrames) {
        if (PathExists(FramePath(m, f).c_str())) return f;
        f += std::rand() % m + 1;
    }
    return -1;
}

// Records the frame the probe found in the folder's check_result.txt.
void WriteCheckResult(int m, int f) {
    const std::string name = ContentsFolderPath(m) + "/check_result.txt";
    if (!WriteFileDurably(name.c_str(), FormatText("FOUND: clip_%5d.jpg\n", f))) return;
    Print("*** Created a file[ %s ] ***\n", name.c_str());
}

// The name that shows folder m holds contents, or "" when none of the probes found one.
std::string FindContentsOf(int m) {
    const std::string folder = ContentsFolderPath(m);
    const std::string names[] = {
        ParameterFileName(m),
        FrameListFileName(m),
        folder + "/clip_00000.jpg",
        folder + "/check_result.txt",
    };
    for (const std::string& name : names) {
        if (CanOpenForReading(name.c_str())) return name;
    }
    const int f = ProbeFrames(m);
    if (f < 0) return "";
    WriteCheckResult(m, f);
    return FramePath(m, f);
}

void ListContents() {
    PrintText("\n*** Following is the list of contents with associated file: \n\n");
    contents_count = 0;
    for (int i = 0; i < kMaxListedFolders; ++i) contents_list[i] = 0;
    for (int m = 1; m <= kListedFolders; ++m) {
        const std::string found = FindContentsOf(m);
        if (!found.empty()) {
            Print("[%c%3d] ", 'S', m);
            Print("FILE [ %s ] exists!\n", found.c_str());
            if (contents_count < kMaxListedFolders) contents_list[contents_count++] = m - 1;
        }
        if (m - 1 == folder_index) {
            PrintText("       ");
            PrintText("<<< You Are Here Now >>>\n");
        }
    }
}

void LoadFolder() {
    DropCache();
    PrintFolderMessage();
    CheckContents();
}

}  // namespace

void PrintFolderMessage() {
    std::string text = FormatPath("*_Changed_Contents_Folder_to_[_%c%3lld_]\n", 'S',
                                  static_cast<long long>(folder_index) + 1);
    // FormatPath already turned the blanks into '0'; the underscores become the blanks.
    for (char& c : text) {
        if (c == '_') c = ' ';
    }
    Print("\n%s\n", text.c_str());
}

void GoToFolder(int index) {
    folder_index = index;
    LoadFolder();
    PrintText("Done.\n\n");
    shown_frame_no = kContentsChanged;
}

void ReloadFolder() {
    PrintKeyFunction("KEY FUNCTION : [r][ Refresh Settings ]\n");
    PrintText("\n ---[ REFRESH SETTINGS AND RELOAD IMAGE FILES IN CONTENTS FOLDER ]---\n");
    CheckContents();
    LoadMotionSettings();
    LoadSchedule();
    PrintText("Done.\n\n");
}

void NextFolder() {
    PrintKeyFunction("KEY FUNCTION : [n][ Move to Next Contents Folder ]\n");
    // From the last folder, or from a negative index a file gave, the next one is S001.
    folder_index = (folder_index >= kLastFolderIndex || folder_index < 0) ? 0 : folder_index + 1;
    LoadFolder();
    shown_frame_no = kContentsChanged;
}

void PreviousFolder() {
    PrintKeyFunction("KEY FUNCTION : [p][ Move to Previous Contents Folder ]\n");
    folder_index = folder_index <= 0 ? 0 : folder_index - 1;
    LoadFolder();
    shown_frame_no = kContentsChanged;
}

void SelectRandomContents() {
    PrintKeyFunction("KEY FUNCTION : [J/@][ Random Contents Selection ]\n");
    if (DISP_WEB_CAM_INFO == 2) return;
    if (contents_listed == 0) ListContents();
    if (contents_count > 0) {
        contents_listed = 1;
        PrintText("\n<<<<<<<< RANDOM CONTENTS SELECTION >>>>>>>>\n");
        const int count = contents_count < kMaxListedFolders ? contents_count : kMaxListedFolders;
        folder_index = contents_list[std::rand() % count];
        LoadFolder();
        const std::string name = ParameterFileName(static_cast<long long>(folder_index) + 1);
        if (CanOpenForReading(name.c_str())) {
            Print("FILE [ %s ] exists!\n", name.c_str());
            LoadParameters();
        }
        shown_frame_no = kContentsChanged;
    }
    PrintText("\nThat's all.\n\n");
}
