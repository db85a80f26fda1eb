#include "contents/parameters.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "common/byte_layout.hpp"
#include "common/console.hpp"
#include "common/path.hpp"
#include "common/scan.hpp"
#include "common/state.hpp"
#include "contents/naming.hpp"
#include "knowledge/knowledge_base.hpp"
#include "motion/motion.hpp"
#include "platform/files.hpp"

double KeyFrameNumber[kKeyFrames];
int32_t keyframe_index = 0;
int32_t keyframe_mode = 0;
int32_t keyframe_wait = 0;
int32_t keyframe_wait_limit = 0;
int32_t vr_mode = 0;
int32_t PivotHistory[kPivotEntries];
int32_t StartFrameNum = 0;
int32_t EndFrameNum = 0;
int32_t MouseReverseFlag = 0;
int32_t MouseVertFlag = 0;

namespace {

constexpr char kImportFile[] = "nqt_config.dat";
constexpr size_t kPivotBytes = kPivotEntries * 4;  // the block of int32 entries
constexpr int kPivotLinesShown = 11;
// A larger step only samples pixel (0, 0); keeping it this small also keeps the threshold keys'
// step * step * 100 far from overflow.
constexpr int32_t kMaxSampleStep = GLT_F_XMAX;
constexpr int32_t kStillDirection = 2;  // neither forward nor backward: motion does not move

// The 1-based folder number, wide enough for any folder_index.
long long FolderNumber() {
    return static_cast<long long>(folder_index) + 1;
}

// Reads one "%d"; a value read is stored limited to low..high, a failed read stores nothing.
int ReadLimited(FILE* file, int32_t* target, int32_t low, int32_t high) {
    int32_t value = *target;
    const int result = ScanInt(file, &value);
    if (result == 1) *target = std::clamp(value, low, high);
    return result;
}

// The start position: a position outside the frame table (or not a number) would later be cut to
// an integer that does not fit, so it is limited to 0..22000 and NaN is not stored.
void ReadStartPosition(FILE* file) {
    double value = 0.0;
    if (ScanDouble(file, &value) == 1 && !std::isnan(value)) {
        frame_no = std::clamp(value, 0.0, static_cast<double>(kMaxFrames));
    }
}

// The frame advance indexes the frame list with the direction of a two-picture folder, so only
// 0 and 1 are kept; every other value means "no move" and is stored as one such value.
void ReadDirection(FILE* file) {
    int32_t value = direction;
    if (ScanInt(file, &value) == 1)
        direction = (value == 0 || value == 1) ? value : kStillDirection;
}

int ReadFlipMode(FILE* file) {
    int32_t value = flip_mode;
    const int result = ScanInt(file, &value);
    if (result == 1) flip_mode = (value >= 0 && value <= 2) ? value : 0;
    return result;
}

// Values 1 to 17 and the key frames, each read on its own; after a text that is not a number
// every later read fails at the same place and leaves its target as it was.
void ReadMainValues(FILE* file) {
    ReadLimited(file, &sample_step, 1, kMaxSampleStep);
    ReadLimited(file, &folder_index, 0, kHighestFolderIndex);
    ReadLimited(file, &MaxCount, 0, kMaxFrames);
    ReadStartPosition(file);
    int32_t threshold = VR_threshold;
    ScanInt(file, &threshold);
    TakeParameterThreshold(threshold);
    ReadDirection(file);
    ScanDouble(file, &VR_step);
    ScanInt(file, &toggle_limit);
    ScanInt(file, &reset_limit);
    ScanInt(file, &keyframe_mode);
    ScanInt(file, &keyframe_wait);
    ScanInt(file, &keyframe_wait_limit);
    ScanInt(file, &DISP_WEB_CAM_INFO);
    ScanInt(file, &camera_log_mode);
    ScanInt(file, &wrap_flag);
    ScanInt(file, &vr_mode);
    ReadLimited(file, &keyframe_index, 0, kKeyFrames - 1);
    for (double& key_frame : KeyFrameNumber) ScanDouble(file, &key_frame);
}

// The five values after the key frames are optional; when the first is missing all five are 0.
void ReadAdditionalValues(FILE* file) {
    int32_t start = 0;
    const int first = ScanInt(file, &start);
    if (first < 1) {
        StartFrameNum = EndFrameNum = MouseReverseFlag = MouseVertFlag = flip_mode = 0;
        return;
    }
    Print("\nLOADING Additional Parameters...\n\n");
    StartFrameNum = start;
    Print("SET(%d): StartFrameNum = %d\n", first, StartFrameNum);
    int result = ScanInt(file, &EndFrameNum);
    Print("SET(%d): EndFrameNum   = %d\n", result, EndFrameNum);
    result = ScanInt(file, &MouseReverseFlag);
    Print("SET(%d): MouseReverseFlag = %d\n", result, MouseReverseFlag);
    result = ScanInt(file, &MouseVertFlag);
    Print("SET(%d): MouseVertFlag    = %d\n", result, MouseVertFlag);
    result = ReadFlipMode(file);
    Print("SET(%d): flip_mode = %d\n", result, flip_mode);
}

// ../S%3d/nqt_config.dat: the PivotHistory block, then one number nothing uses. Its first 1280
// entries become the key frames.
void ImportKeyFrames() {
    const std::string path = ContentsFolderPath(FolderNumber()) + "/" + kImportFile;
    FILE* file = OpenFile(path.c_str(), "r");
    if (!file) return;
    Print("\nFound a file [ nqt_config.dat ] in the Contents Folder...\n");
    Print("\nNow, Importing [ %s ]\n", path.c_str());
    ReadLayout(file, kPivotBytes, [](ByteCursor& cursor) { Transfer(cursor, PivotHistory); });
    int32_t unused = 0;
    ScanInt(file, &unused);
    std::fclose(file);
    Print("\n");
    for (int i = 0; i < kPivotLinesShown; ++i) {
        Print("PivotHistory[ %6d ] = [ %6d ]\n", i, PivotHistory[i]);
    }
    Print("\n");
    for (int i = 0; i < kKeyFrames; ++i) {
        KeyFrameNumber[i] = static_cast<double>(PivotHistory[i]);
        if (PivotHistory[i] > 0) Print("SET: KeyFrameNumber[ %d ] = %f.\n", i, KeyFrameNumber[i]);
    }
    Print("\nThat is all.\n");
    Print("Finished Importing [ %s ]\n", path.c_str());
}

}  // namespace

bool ReadParametersFrom(const char* name) {
    FILE* file = OpenFile(name, "r");
    if (!file) return false;
    ReadMainValues(file);
    ReadAdditionalValues(file);
    std::fclose(file);
    Print("Finished Reading GLT Parameters from File : %s\n", name);
    return true;
}

std::string ReadParameterFile() {
    const std::string own = ParameterFileName(FolderNumber());
    if (ReadParametersFrom(own.c_str())) return own;
    if (ReadParametersFrom(kCommonParameterFile)) return kCommonParameterFile;
    return {};
}

void LoadParameters() {
    ReadParameterFile();
    ImportKeyFrames();
    ReadKB();
}
