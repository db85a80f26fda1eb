// The picture part of the installation check: pictures in the contents folders that the player
// will not take (other names, other formats, .JPG, numbers not of five digits), each kind with its
// count and a one-line fix; folders named otherwise than the player looks for them; and folders
// whose frames have more than one size.
#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "common/path.hpp"
#include "contents/frame_scan.hpp"
#include "contents/naming.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "platform/picture.hpp"
#include "setup/check.hpp"
#include "setup/report.hpp"

namespace {

const char* const kPictureExtensions[] = {"jpg", "jpeg", "jpe",  "png", "bmp", "gif",
                                          "tif", "tiff", "webp", "ppm", "pgm"};
const char* const kJpegExtensions[] = {"jpg", "jpeg", "jpe"};
constexpr char kFramePrefix[] = "clip_";
constexpr size_t kFrameDigits = 5;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

template <size_t N>
bool OneOf(const std::string& text, const char* const (&list)[N]) {
    return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

// A picture file name in parts: frame000.jpg is "frame", "000", "jpg".
struct PictureName {
    std::string prefix;
    std::string digits;  // the digits that end the name before its extension
    std::string extension;
    bool Jpeg() const { return OneOf(Lower(extension), kJpegExtensions); }
};

// False when name is no picture (by its extension).
bool SplitName(const std::string& name, PictureName* parts) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return false;
    parts->extension = name.substr(dot + 1);
    if (!OneOf(Lower(parts->extension), kPictureExtensions)) return false;
    const std::string stem = name.substr(0, dot);
    const size_t digits = stem.find_last_not_of("0123456789") + 1;  // npos + 1 is 0
    parts->prefix = stem.substr(0, digits);
    parts->digits = stem.substr(digits);
    return true;
}

bool TooHigh(const PictureName& name) {
    return name.digits.size() == kFrameDigits && std::stoi(name.digits) > kLastFrameNumber;
}

// The player's frame names: clip_, five digits up to 25000, .jpg.
bool Taken(const PictureName& name) {
    return name.prefix == kFramePrefix && name.digits.size() == kFrameDigits &&
           name.extension == "jpg" && !TooHigh(name);
}

// Why the player does not take pictures named like name, in a few words.
std::string Reason(const PictureName& name) {
    if (!name.Jpeg()) return "not JPEG";
    std::vector<std::string> wrong;
    if (name.prefix != kFramePrefix) wrong.push_back("other names");
    if (name.extension != "jpg") wrong.push_back("." + name.extension + " instead of .jpg");
    if (name.prefix == kFramePrefix && name.digits.size() != kFrameDigits) {
        wrong.push_back(name.digits.empty() ? "no number" : "numbers not of five digits");
    }
    if (TooHigh(name)) wrong.push_back("numbers above 25000");
    std::string text;
    for (const std::string& part : wrong) text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// One shell line that gives pictures named like name the player's names, keeping their numbers:
// a rename for JPEG files, a conversion by the converter for other formats.
std::string Fix(const std::string& folder, const PictureName& name) {
    if (name.digits.empty() || TooHigh(name)) {
        return "name them clip_00000.jpg, clip_00001.jpg ... in playing order";
    }
    const std::string prefix = Quoted(name.prefix);
    const std::string extension = Quoted("." + name.extension);
    const std::string target = "\"$(printf clip_%05d.jpg \"$n\")\"";
    const std::string action =
        name.Jpeg() ? "mv -n \"$f\" " + target
                    : "ffmpeg -nostdin -loglevel error -n -i \"$f\" -q:v 2 " + target;
    return "cd " + Quoted(folder) + " && for f in " + prefix + "[0-9]*" + extension +
           "; do n=${f#" + prefix + "}; n=$((10#${n%" + extension + "})); " + action + "; done";
}

// Pictures of one kind (prefix, extension, with or without a number), in name order.
struct Kind {
    PictureName name;
    std::vector<std::string> files;
};

// Frames of one size: how many, and the first of them.
struct SizeGroup {
    int count = 0;
    std::string first;
};

void ReportSizes(const std::string& label, const std::vector<std::string>& frames,
                 const std::string& folder) {
    std::map<std::pair<int, int>, SizeGroup> sizes;
    for (const std::string& frame : frames) {
        int width = 0, height = 0;
        if (!JpegSize((folder + "/" + frame).c_str(), &width, &height)) continue;
        SizeGroup& group = sizes[{width, height}];
        if (group.count++ == 0) group.first = frame;
    }
    if (sizes.size() < 2) return;
    std::vector<std::pair<std::pair<int, int>, SizeGroup>> in_order(sizes.begin(), sizes.end());
    std::sort(in_order.begin(), in_order.end(),
              [](const auto& a, const auto& b) { return a.second.first < b.second.first; });
    std::string text;
    for (const auto& [size, group] : in_order) {
        text += FormatText("%s%d x %d (%d %s, first %s)", text.empty() ? "" : ", ", size.first,
                           size.second, group.count, group.count == 1 ? "frame" : "frames",
                           group.first.c_str());
    }
    Warn(FormatText("%s: frames of %zu sizes, so the picture changes its size while it plays: %s",
                    label.c_str(), sizes.size(), text.c_str()));
}

// The pictures of contents folder label (its absolute path folder) the player will not take, by
// kind, and the sizes of the frames it takes.
void ReportFolder(const std::string& label, const std::string& folder) {
    std::vector<std::string> names;
    if (!ListFolder(folder.c_str(), &names)) return;
    std::sort(names.begin(), names.end());
    std::vector<std::string> frames;
    std::map<std::string, Kind> kinds;
    for (const std::string& name : names) {
        PictureName parts;
        if (!SplitName(name, &parts)) continue;
        if (Taken(parts)) {
            frames.push_back(name);
            continue;
        }
        // A picture whose frame is there already (a converted or renamed copy) is done with.
        if (!parts.digits.empty() && parts.digits.size() <= 9 &&
            std::binary_search(names.begin(), names.end(),
                               FormatText("clip_%05d.jpg", std::stoi(parts.digits)))) {
            continue;
        }
        Kind& kind =
            kinds[parts.prefix + '/' + parts.extension + (parts.digits.empty() ? "" : "#")];
        kind.name = parts;
        kind.files.push_back(name);
    }
    for (const auto& [key, kind] : kinds) {
        const size_t count = kind.files.size();
        const std::string which =
            count == 1 ? kind.files.front() : kind.files.front() + " ... " + kind.files.back();
        Warn(FormatText("%s: %zu %s the player will not take (%s: %s); fix: %s", label.c_str(),
                        count, count == 1 ? "picture" : "pictures", which.c_str(),
                        Reason(kind.name).c_str(), Fix(folder, kind.name).c_str()));
    }
    ReportSizes(label, frames, folder);
}

size_t PictureCount(const std::string& folder) {
    std::vector<std::string> names;
    if (!ListFolder(folder.c_str(), &names)) return 0;
    PictureName parts;
    return static_cast<size_t>(std::count_if(
        names.begin(), names.end(), [&](const auto& name) { return SplitName(name, &parts); }));
}

// A folder named S or s and a number that is not the player's name for that number (S1, s001,
// S0001): the player never looks into it.
void ReportMisnamed(const std::string& name, long long number, const std::string& base) {
    const size_t count = PictureCount(base + "/" + name);
    if (count == 0) return;
    const std::string right = ContentsFolderName(number);
    const std::string from = Quoted(base + "/" + name);
    const std::string to = Quoted(base + "/" + right);
    const std::string fix = PathExists((base + "/" + right).c_str())
                                ? "mv -n " + from + "/* " + to + "/"
                                : "mv -n " + from + " " + to;
    Warn(FormatText("%s: %zu %s in a folder the player does not look in (it looks in %s); fix: %s",
                    name.c_str(), count, count == 1 ? "picture" : "pictures", right.c_str(),
                    fix.c_str()));
}

}  // namespace

void CheckPictureFolders() {
    const std::string base = ResolvedPath(kContentsBase);
    std::vector<std::string> names;
    if (base.empty() || !ListFolder(base.c_str(), &names)) return;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.size() < 2 || (name[0] != 'S' && name[0] != 's') || name.size() > 19 ||
            name.find_first_not_of("0123456789", 1) != std::string::npos) {
            continue;
        }
        const std::string path = base + "/" + name;
        if (LookAt(path.c_str()).kind != PathKind::kFolder) continue;
        const long long number = std::stoll(name.substr(1));
        if (number < 1) continue;
        if (ContentsFolderName(number) == name) {
            ReportFolder(name, path);
        } else {
            ReportMisnamed(name, number, base);
        }
    }
}
