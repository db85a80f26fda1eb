#include "common/console.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool muted = false;  // see MuteConsole

void WriteAsItIs(FILE* stream, const char* text, size_t length) {
    std::fwrite(text, 1, length, stream);
}

ConsoleWriter writer = WriteAsItIs;

void Write(FILE* stream, const char* text, size_t length) {
    if (muted && stream == stdout) return;
    writer(stream, text, length);
}

void WriteFormatted(FILE* stream, const char* format, va_list args) {
    char small[1024];
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (length < 0) return;
    if (static_cast<size_t>(length) < sizeof small) {
        Write(stream, small, static_cast<size_t>(length));
        return;
    }
    std::vector<char> big(static_cast<size_t>(length) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    Write(stream, big.data(), static_cast<size_t>(length));
}

}  // namespace

void InitConsole(ConsoleWriter platform_writer) {
    writer = platform_writer;
}

void MuteConsole(bool mute) {
    muted = mute;
}

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteFormatted(stdout, format, args);
    va_end(args);
}

void PrintError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteFormatted(stderr, format, args);
    va_end(args);
}

void PrintText(const char* text) {
    Write(stdout, text, std::strlen(text));
}
