// The contents part of the installation check: the start folder the parameter files choose, every
// folder that holds frames (from its frame-list file or its scan, as the player builds the list)
// and whether its first and last frames decode.
#include <algorithm>
#include <string>
#include <vector>

#include "common/path.hpp"
#include "common/state.hpp"
#include "contents/frame_list.hpp"
#include "contents/naming.hpp"
#include "contents/parameters.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "platform/picture.hpp"
#include "setup/check.hpp"
#include "setup/report.hpp"

namespace {

// Reads the parameter file the player reads for folder number: its own, else the common one.
// Returns "" when there is none or it may not be read; folder_index is left as the file sets it.
std::string ReadParametersOf(long long number) {
    const std::string own = ParameterFileName(number);
    const char* name = PathExists(own.c_str()) ? own.c_str() : kCommonParameterFile;
    if (!SettingsFileToRead("Parameters", name)) return {};
    folder_index = static_cast<int32_t>(number - 1);
    std::string read;
    Quietly([&] { read = ReadParameterFile(); });
    return read;
}

std::string ParameterValues() {
    return FormatText("start folder %s, start frame %d, sample step %d, direction %d, wrap %d",
                      ContentsFolderName(folder_index + 1LL).c_str(), static_cast<int>(frame_no),
                      sample_step, direction, wrap_flag);
}

// The folder the player starts in: folder 1's parameter file may choose another.
long long ReportParameters() {
    const std::string start_file = ReadParametersOf(1);
    const long long start = folder_index + 1LL;
    Say("Parameters", start_file.empty() ? "no glt_env0001.dat or glt_env.dat: defaults, start "
                                           "folder S001"
                                         : start_file + ": " + ParameterValues());
    for (const long long number : OwnParameterFolders()) {
        if (number == 1) continue;
        const std::string name = ReadParametersOf(number);
        if (!name.empty()) Say("", name + ": " + ParameterValues());
    }
    return start;
}

// A frame picture that decodes; only plain files are opened, so a pipe cannot hold the check.
cv::Mat DecodeFrame(const char* path) {
    const std::string native = NativePath(path);
    if (LookAt(native.c_str()).kind != PathKind::kFile) return {};
    return DecodePicture(path);
}

// Reports one folder; true when it holds frames.
bool ReportFolder(long long number) {
    const std::string list = FrameListFileName(number);
    const std::string folder = ContentsFolderName(number);
    if (PathExists(list.c_str()) && !SettingsFileToRead(folder.c_str(), list.c_str())) return false;
    bool from_file = false;
    Quietly([&] { from_file = ReadFolderFrames(number); });
    const std::string source = from_file ? "listed in " + list : "scanned";
    if (MaxCount <= 0) {
        if (from_file) Say(folder.c_str(), list + " lists no frame");
        return false;
    }
    const cv::Mat first = DecodeFrame(FrameData[0].file);
    const cv::Mat last = DecodeFrame(FrameData[MaxCount - 1].file);
    std::string text = FormatText("%d frames (%s)", MaxCount, source.c_str());
    if (!first.empty()) text += FormatText(", %d x %d", first.cols, first.rows);
    text += first.empty() || last.empty() ? "" : ", first and last frame decode";
    Say(folder.c_str(), text);
    if (first.empty()) {
        Block(FormatText("undecodable first frame in %s: %s", folder.c_str(), FrameData[0].file));
    }
    if (last.empty() && MaxCount > 1) {
        Block(FormatText("undecodable last frame in %s: %s", folder.c_str(),
                         FrameData[MaxCount - 1].file));
    }
    return true;
}

}  // namespace

std::vector<long long> OwnParameterFolders() {
    std::vector<long long> numbers;
    std::vector<std::string> names;
    if (!ListFolder(".", &names)) return numbers;
    for (const std::string& name : names) {
        const long long number = ParameterFileNumber(name);
        // The player reads the files of the folders its keys and parameters can reach.
        if (number > 0 && number <= kHighestFolderIndex + 1 && ParameterFileName(number) == name) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void CheckContentsFolders() {
    const long long start = ReportParameters();
    long long playable = 0;  // the highest folder from the start down that holds frames
    long long any = 0;       // the highest folder that holds frames
    for (const long long number : CandidateFolderNumbers()) {
        if (!ReportFolder(number)) continue;
        any = number;
        if (number <= start) playable = number;
    }
    if (any == 0) {
        Say("Contents", "no folder holds frames");
        Block("no frames at all: put clip_00000.jpg, clip_00001.jpg ... into " +
              ResolvedPath(kContentsBase) + "/" + ContentsFolderName(1) + " or import videos");
    } else if (playable == 0) {
        Block(FormatText("no frames from %s down to S001, where the player starts and looks",
                         ContentsFolderName(start).c_str()));
    }
}
