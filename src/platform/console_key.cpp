#include "platform/console_key.hpp"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

int ReadConsoleKey() {
    std::fflush(stdout);
    unsigned char byte = 0;
    if (!isatty(STDIN_FILENO)) return read(STDIN_FILENO, &byte, 1) == 1 ? byte : -1;
    termios saved;
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return read(STDIN_FILENO, &byte, 1) == 1 ? byte : -1;
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    const ssize_t got = read(STDIN_FILENO, &byte, 1);
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    return got == 1 ? byte : -1;
}
