#include "platform/console_key.hpp"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "platform/service_notify.hpp"

namespace {

// Waits for a byte or the end of standard input, feeding the service watchdog meanwhile. False
// when a signal ended the wait (the read would have been interrupted the same way).
bool InputReady() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    for (;;) {
        ServiceWatchdog();
        const int ready = poll(&input, 1, kServiceWaitSliceMs);
        if (ready != 0) return ready > 0;
    }
}

int ReadByte() {
    unsigned char byte = 0;
    return InputReady() && read(STDIN_FILENO, &byte, 1) == 1 ? byte : -1;
}

}  // namespace

int ReadConsoleKey() {
    std::fflush(stdout);
    if (!isatty(STDIN_FILENO)) return ReadByte();
    termios saved;
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return ReadByte();
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    const int key = ReadByte();
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    return key;
}
