#include "contents/video_import.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/console.hpp"
#include "common/state.hpp"
#include "contents/naming.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"

namespace {

// Bytes that a POSIX shell would read as something other than a plain word character.
constexpr char kShellSpecial[] = " \t\n\"'\\$`;&|<>()*?[]#~{}!";

void Announce(const std::string& command) {
    Print("\n----------> EXECUTING: %s\n\n", command.c_str());
}

void SwapSlots(char* left, char* right) {
    const size_t bytes = std::max(std::strlen(left), std::strlen(right)) + 1;
    std::swap_ranges(left, left + bytes, right);
}

// Imports video k (arg_path slot k) into contents folder k.
void ImportOne(const std::string& converter, int k) {
    const char* video = arg_path[k];
    const std::string folder = ContentsFolderPath(k);

    // The old frames go before the converter starts, so a picture from the folder itself would
    // be deleted unread and the folder emptied for nothing.
    if (WouldRemoveJpeg(video, folder.c_str())) {
        Print("\n---> SKIPPED: [ %s ] lies in [ %s ], whose JPEG files the import replaces.\n",
              video, folder.c_str());
        return;
    }

    Announce("mkdir  \"" + folder + "\"");
    if (!MakeFolder(folder.c_str())) {
        PrintError("---> ERROR: Cannot create the folder [ %s ]; [ %s ] is not converted.\n",
                   folder.c_str(), video);
        return;
    }

    Announce("rm -f  \"" + folder + "/\"*.jpg");
    RemoveJpegFiles(folder.c_str());

    const std::vector<std::string> command = {
        converter, "-nostdin", "-i", video, "-q:v", "1", folder + "/clip_%05d.jpg"};
    Announce(CommandLineText(command));
    const int status = RunProgram(command);
    if (status < 0) {
        PrintError("---> ERROR: Cannot start the converter [ %s ]; [ %s ] is not converted.\n",
                   converter.c_str(), video);
    } else if (status != 0) {
        PrintError("---> The converter failed on [ %s ] (exit status %d).\n", video, status);
    }
}

}  // namespace

std::string FindConverter() {
    const std::string name = ProgramFileName("ffmpeg");
    const std::string local = InWorkingFolder(name);
    if (IsExecutableFile(local.c_str())) return local;
    return FindOnPath(name.c_str());
}

void SortArguments() {
    const int count = std::min<int>(arg_count, kMaxArgs);
    for (int pass = 1; pass < count; ++pass) {
        bool swapped = false;
        for (int i = 1; i + 1 < count; ++i) {
            if (std::strcmp(arg_path[i], arg_path[i + 1]) > 0) {
                SwapSlots(arg_path[i], arg_path[i + 1]);
                swapped = true;
            }
        }
        // A pass without a swap leaves every later pass without one too.
        if (!swapped) break;
    }
}

std::string CommandLineText(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& arg : argv) {
        if (!text.empty()) text += ' ';
        if (!arg.empty() && arg.find_first_of(kShellSpecial) == std::string::npos) {
            text += arg;
            continue;
        }
        text += '"';
        for (const char c : arg) {
            if (c == '"' || c == '\\' || c == '$' || c == '`') text += '\\';
            text += c;
        }
        text += '"';
    }
    return text;
}

void ImportVideos() {
    SortArguments();
    const std::string converter = FindConverter();
    const int count = std::min<int>(arg_count, kMaxArgs);
    for (int k = 1; k < count; ++k) {
        // A frame file only chooses where playback starts; converting it would replace the
        // frames of a contents folder by this one picture.
        if (IsFrameFileName(arg_path[k])) {
            Print("\n---> SKIPPED: [ %s ] is a frame file (start folder and frame), not a video.\n",
                  arg_path[k]);
            continue;
        }
        ImportOne(converter, k);
        // Ctrl+C stops the running conversion; the videos after it are left alone.
        if (QuitRequested()) {
            Print("\n---> Video import stopped: quit requested.\n");
            return;
        }
    }
}
