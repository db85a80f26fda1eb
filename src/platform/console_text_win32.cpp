// The Windows console: UTF-8 throughout. A console window is switched to the UTF-8 code page (at
// start, in process_win32.cpp); a pipe or a file gets the same bytes as on Linux.
#include "common/console.hpp"
#include "platform/console_text.hpp"

void PrepareConsoleText() {
    // The C runtime of Windows buffers a "line-buffered" stream fully, so the console would see
    // nothing until the buffer is full: each text goes out whole at once instead.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    InitConsole(WriteConsoleText);
}

bool ConsoleTextIsShiftJis() {
    return false;
}

void WriteConsoleText(FILE* stream, const char* text, size_t length) {
    std::fwrite(text, 1, length, stream);
}
