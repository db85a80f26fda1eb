#include "contents/naming.hpp"

#include <cstring>

#include "common/path.hpp"

namespace {

constexpr char kFolderPrefix[] = "S";
constexpr char kParameterPrefix[] = "glt_env";
constexpr char kFrameListPrefix[] = "frame_data";
constexpr char kDataSuffix[] = ".dat";

// The number between prefix and suffix, written with 1 to 18 digits and nothing else; 0 when
// name is not such a name.
long long FolderNumberIn(const std::string& name, const char* prefix, const char* suffix) {
    const size_t prefix_length = std::strlen(prefix);
    const size_t suffix_length = std::strlen(suffix);
    if (name.size() <= prefix_length + suffix_length || name.compare(0, prefix_length, prefix))
        return 0;
    if (name.compare(name.size() - suffix_length, suffix_length, suffix)) return 0;
    const std::string digits =
        name.substr(prefix_length, name.size() - prefix_length - suffix_length);
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoll(digits);
}

}  // namespace

std::string ContentsFolderPath(long long folder_number) {
    return FormatPath("%s/%s%3lld", kContentsBase, kFolderPrefix, folder_number);
}

std::string FramePath(long long folder_number, int frame_number) {
    return FormatPath("%s/%s%3lld/clip_%5d.jpg", kContentsBase, kFolderPrefix, folder_number,
                      frame_number);
}

std::string ContentsFolderName(long long folder_number) {
    return FormatPath("%s%3lld", kFolderPrefix, folder_number);
}

std::string ParameterFileName(long long folder_number) {
    return FormatPath("%s%4lld%s", kParameterPrefix, folder_number, kDataSuffix);
}

std::string FrameListFileName(long long folder_number) {
    return FormatPath("%s%4lld%s", kFrameListPrefix, folder_number, kDataSuffix);
}

long long ContentsFolderNumber(const std::string& name) {
    return FolderNumberIn(name, kFolderPrefix, "");
}

long long ParameterFileNumber(const std::string& name) {
    return FolderNumberIn(name, kParameterPrefix, kDataSuffix);
}

long long FrameListFileNumber(const std::string& name) {
    return FolderNumberIn(name, kFrameListPrefix, kDataSuffix);
}

bool IsFrameFileName(const char* text) {
    const size_t length = std::strlen(text);
    return length >= 16 && text[length - 16] == 'S' && text[length - 10] == '_';
}
