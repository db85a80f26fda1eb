#include "contents/naming.hpp"

#include <cstring>

#include "common/path.hpp"

std::string ContentsFolderPath(long long folder_number) {
    return FormatPath("%s/%c%3lld", kContentsBase, 'S', folder_number);
}

std::string FramePath(long long folder_number, int frame_number) {
    return FormatPath("%s/%c%3lld/clip_%5d.jpg", kContentsBase, 'S', folder_number, frame_number);
}

bool IsFrameFileName(const char* text) {
    const size_t length = std::strlen(text);
    return length >= 16 && text[length - 16] == 'S' && text[length - 10] == '_';
}
