#include <windows.h>

#include <cstdio>

#include "platform/console_key.hpp"

namespace {

// One plain byte from a pipe or a file; -1 at its end (a service, a script).
int ReadByte(HANDLE input) {
    unsigned char byte = 0;
    DWORD got = 0;
    return ReadFile(input, &byte, 1, &got, nullptr) && got == 1 ? byte : -1;
}

// The next key typed into the console window, without echo and without waiting for Enter; keys
// that give no character (Shift, arrows) are passed over. -1 when the console cannot be read.
int ReadConsoleCharacter(HANDLE input) {
    for (;;) {
        INPUT_RECORD record;
        DWORD got = 0;
        if (!ReadConsoleInputW(input, &record, 1, &got) || got != 1) return -1;
        if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
        const wchar_t character = record.Event.KeyEvent.uChar.UnicodeChar;
        if (character != 0) return character < 0x100 ? character : '?';
    }
}

}  // namespace

int ReadConsoleKey() {
    std::fflush(stdout);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) return -1;
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode)) return ReadByte(input);
    SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT));
    const int key = ReadConsoleCharacter(input);
    SetConsoleMode(input, mode);
    return key;
}
