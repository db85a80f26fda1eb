#include "contents/frame_list.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/path.hpp"
#include "common/scan.hpp"
#include "common/state.hpp"
#include "contents/frame_scan.hpp"
#include "contents/naming.hpp"
#include "motion/motion.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "platform/overlay.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"

int32_t folder_index = 0;
FrameRecord FrameData[kMaxFrames];
int32_t MaxCount = 0;
cv::Mat frame_cache[kMaxFrames];
double frame_no = 0.0;
double shown_frame_no = -1.0;
int32_t pending_key = 0;

static_assert(offsetof(FrameRecord, file) == 4 && offsetof(FrameRecord, file2) == 254 &&
                  offsetof(FrameRecord, file3) == 504,
              "FrameRecord must match the stored frame-list layout");

namespace {

constexpr size_t kFrameListBytes = sizeof(FrameData);  // 16,632,000
// Empty folders reported one by one before a long descent is shortened (see DescendPastEmpty).
constexpr int kReportedEmptyFolders = 10000;

// Bytes at the start of FrameData past which the table holds only zeros. Records are written only
// below what a frame-list file gave or below MaxCount, so a folder change clears and settles this
// much instead of the whole 16 MB table.
size_t table_used = kFrameListBytes;

void NoteTableUsed(size_t bytes) {
    table_used = std::max(table_used, std::min(bytes, kFrameListBytes));
}

size_t RecordsUsed() {
    return (table_used + sizeof(FrameRecord) - 1) / sizeof(FrameRecord);
}

void ResetPlaybackState() {
    RestartMotion();
    frame_no = 0.0;
    shown_frame_no = -1.0;
    keyframe_index = 0;
    for (double& key_frame : KeyFrameNumber) key_frame = 0.0;
}

void ReleaseAllPictures() {
    // Most of the 22000 slots hold nothing: releasing those would only write zeros over them.
    for (cv::Mat& picture : frame_cache) {
        if (picture.u != nullptr || picture.data != nullptr) picture.release();
    }
}

// Reads the frame-list file of the folder; false when it does not open. The block is read in
// binary mode, the count is limited to the table and every string keeps a terminating NUL.
bool ReadFrameListFile(long long folder_number) {
    const std::string name = FrameListFileName(folder_number);
    FILE* file = OpenFile(name.c_str(), "rb");
    if (!file) return false;
    const size_t got = std::fread(FrameData, 1, kFrameListBytes, file);
    NoteTableUsed(got);
    if (got == kFrameListBytes) ScanInt(file, &MaxCount);
    std::fclose(file);
    if (MaxCount < 0) MaxCount = 0;
    if (MaxCount > kMaxFrames) MaxCount = kMaxFrames;
    for (size_t i = 0; i < RecordsUsed(); ++i) {
        FrameRecord& record = FrameData[i];
        record.loaded = 0;
        record.file[kPathBytes - 1] = '\0';
        record.file2[kPathBytes - 1] = '\0';
        record.file3[kPathBytes - 1] = '\0';
    }
    Print(
        "\n* FINISHED READING FRAME DATA :  %s\n  (Number of files = [ %d ],  Name of the top "
        "file = [ %s ]) \n",
        name.c_str(), MaxCount, FrameData[0].file);
    return true;
}

// The highest folder number below `below` that has a contents folder or a frame-list file, or 0.
long long HighestCandidateBelow(long long below) {
    long long best = 0;
    for (const long long number : CandidateFolderNumbers()) {
        if (number < below) best = number;
    }
    return best;
}

// After many empty folders in a row, jumps straight down to the next folder that can hold frames:
// a parameter file naming folder 2000000000 must not cost two billion probes and messages.
void DescendPastEmpty(int* empty_in_a_row) {
    if (*empty_in_a_row < kReportedEmptyFolders || folder_index <= 0) return;
    const long long current = static_cast<long long>(folder_index) + 1;  // next folder to try
    long long next = HighestCandidateBelow(current + 1);
    if (next < 1) next = 1;
    if (current - next <= 0) return;
    Print("---> %lld more empty folders skipped.\n", current - next);
    folder_index = static_cast<int32_t>(next - 1);
    *empty_in_a_row = 0;
}

// Where the player looked and where it should have been started, on the console and in the
// window. Without a window no key can ever come, so the player ends at once instead of waiting.
[[noreturn]] void EndWithoutContents() {
    Print("---> ERROR: No image file exists! Bye!\n");
    const std::string base = ResolvedPath(kContentsBase);
    const std::string folder =
        base.empty() ? ContentsFolderPath(1) : base + "/" + FormatPath("S%3d", 1);
    const std::string looked = "Looked in " + folder + " for clip_00000.jpg, clip_00001.jpg ...";
    const char* const start =
        "Start the player in the installation's work folder (frames in ../S001, ../S002 ...).";
    Print("---> %s\n---> %s\n", looked.c_str(), start);
    if (WindowOpen()) {
        const char* const notice[] = {"No image file exists.", looked.c_str(), start,
                                      "Press a key to end."};
        OverlayShowNotice(notice, 4);
        WindowWaitKey(0);
    }
    ShutDown();
    EndProcess(1);
}

}  // namespace

std::vector<long long> CandidateFolderNumbers() {
    std::vector<long long> numbers;
    std::vector<std::string> names;
    const auto consider = [&](long long number) {
        if (number > 0) numbers.push_back(number);
    };
    if (ListFolder(kContentsBase, &names)) {
        for (const std::string& name : names) consider(ContentsFolderNumber(name));
    }
    if (ListFolder(".", &names)) {
        for (const std::string& name : names) consider(FrameListFileNumber(name));
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool ReadFolderFrames(long long folder_number) {
    MaxCount = 0;
    const bool from_file = ReadFrameListFile(folder_number);
    if (!from_file) ScanFolder(folder_number);
    NoteTableUsed(static_cast<size_t>(MaxCount) * sizeof(FrameRecord));
    return from_file;
}

void DropCache() {
    ReleaseAllPictures();
    const int count = MaxCount < 0 ? 0 : (MaxCount > kMaxFrames ? kMaxFrames : MaxCount);
    for (int i = 0; i < count; ++i) FrameData[i].loaded = 0;
}

void CheckContents() {
    ResetPlaybackState();
    ReleaseAllPictures();
    Print("\n*** START CHECKING IMAGE FILES. WAIT A MOMENT! ***\n");

    int empty_in_a_row = 0;
    for (;;) {
        // Only what the last folder wrote is cleared: a long descent over empty folders costs
        // nothing here.
        std::memset(static_cast<void*>(FrameData), 0, table_used);
        table_used = 0;
        MaxCount = 0;
        const long long folder_number = static_cast<long long>(folder_index) + 1;
        ReadFolderFrames(folder_number);
        if (MaxCount > 0) break;

        Print("---> Empty folder is specified!\n");
        if (folder_index == 0) EndWithoutContents();
        if (folder_index < 0) {
            folder_index = 0;
        } else {
            --folder_index;
            ++empty_in_a_row;
            DescendPastEmpty(&empty_in_a_row);
        }
    }

    Print("\n*** Finished. Thank you for waiting! ***\n\n");
    Print("\n");
    speed_factor = 1.0;
    VR_step = 1.0;
    wrap_flag = 0;
    WindowDestroy();
    WindowCreate(VARIABLE_SIZE_FLAG);
    pending_key = 0;
    shown_frame_no = -1.0;
}
