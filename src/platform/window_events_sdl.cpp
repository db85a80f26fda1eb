// The SDL window's events: keys from SDL text input (the byte of the character typed) and from a
// few control keys, function keys to their handler, the timed waits that serve the window, and
// the quit flag.
#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <deque>

#include "common/state.hpp"
#include "platform/overlay_sdl.hpp"
#include "platform/service_notify.hpp"
#include "platform/window.hpp"
#include "platform/window_sdl.hpp"

namespace {

volatile std::sig_atomic_t quit_requested = 0;

std::deque<int> typed_keys;  // keys typed faster than they were polled
FunctionKeyHandler function_key_handler = nullptr;

constexpr Uint32 kQuitCheckMs = 10;       // longest SDL wait between checks of the quit flag
constexpr int kNoWindowSliceMs = 100;     // longest sleep of a timed wait without a window
constexpr int64_t kServeFinishUs = 2000;  // WindowServeFor ends with a plain sleep below this

// F1, F2, F4 and F11 go to the function-key handler, once per press (held keys repeat).
void HandFunctionKey(const SDL_KeyboardEvent& key) {
    if (!function_key_handler || key.repeat) return;
    switch (key.keysym.sym) {
        case SDLK_F1:
            function_key_handler(FunctionKey::kF1);
            break;
        case SDLK_F2:
            function_key_handler(FunctionKey::kF2);
            break;
        case SDLK_F4:
            function_key_handler(FunctionKey::kF4);
            break;
        case SDLK_F11:
            function_key_handler(FunctionKey::kF11);
            break;
        default:
            break;
    }
}

// Turns one SDL event into queued keys or window work.
void HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            RequestQuit();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                RequestQuit();
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                PresentWindow();
            }
            break;
        case SDL_TEXTINPUT:
            // The byte of each character typed; characters outside ASCII have no command.
            for (const char* p = event.text.text; *p; ++p) {
                const unsigned char byte = static_cast<unsigned char>(*p);
                if (byte < 0x80) typed_keys.push_back(byte);
            }
            break;
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_ESCAPE:
                    typed_keys.push_back(kKeyEsc);
                    break;
                case SDLK_TAB:
                    typed_keys.push_back(kKeyTab);
                    break;
                case SDLK_BACKSPACE:
                    typed_keys.push_back(kKeyBackSpace);
                    break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    typed_keys.push_back(kKeyEnter);
                    break;
                default:
                    HandFunctionKey(event.key);
                    break;
            }
            break;
        default:
            break;
    }
}

int PopKey() {
    const int key = typed_keys.front();
    typed_keys.pop_front();
    return key;
}

}  // namespace

void WindowOnFunctionKey(FunctionKeyHandler handler) {
    function_key_handler = handler;
}

int WindowWaitKey(int ms) {
    if (quit_requested) return kNoKey;
    if (!typed_keys.empty()) return PopKey();
    if (!SdlVideoRunning()) {
        // No window: nothing can be typed, so a wait without limit lasts until a quit. Slept
        // in slices, which keep the service watchdog fed.
        int left = ms;
        do {
            ServiceWatchdog();
            const int slice =
                ms > 0 ? std::min(left, kNoWindowSliceMs) : static_cast<int>(kQuitCheckMs);
            usleep(static_cast<useconds_t>(slice) * 1000u);
            left -= slice;
        } while ((ms <= 0 || left > 0) && !quit_requested);
        return kNoKey;
    }
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(ms > 0 ? ms : 0);
    for (;;) {
        ServiceWatchdog();
        SDL_Event event;
        Uint32 slice = kQuitCheckMs;
        if (ms > 0) {
            const Uint64 now = SDL_GetTicks64();
            if (now >= deadline)
                slice = 0;
            else if (deadline - now < slice)
                slice = static_cast<Uint32>(deadline - now);
        }
        const bool got = slice > 0 ? SDL_WaitEventTimeout(&event, static_cast<int>(slice)) != 0
                                   : SDL_PollEvent(&event) != 0;
        if (got) HandleEvent(event);
        if (OverlayWantsPresent()) PresentWindow();
        if (!typed_keys.empty()) return PopKey();
        if (quit_requested) return kNoKey;
        if (ms > 0 && !got && SDL_GetTicks64() >= deadline) return kNoKey;
    }
}

void WindowServeFor(int64_t micros) {
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const int64_t nanos = deadline.tv_nsec + micros * 1000;
    deadline.tv_sec += static_cast<time_t>(nanos / 1000000000);
    deadline.tv_nsec = static_cast<long>(nanos % 1000000000);
    for (;;) {
        ServiceWatchdog();
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const int64_t left_us =
            (deadline.tv_sec - now.tv_sec) * 1000000 + (deadline.tv_nsec - now.tv_nsec) / 1000;
        if (left_us <= 0) return;
        if (!SdlVideoRunning() || left_us < kServeFinishUs) {
            // The last part in one precise sleep: the event wait counts whole milliseconds.
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
            continue;
        }
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(left_us / 1000) - 1) != 0) {
            HandleEvent(event);
            if (OverlayWantsPresent()) PresentWindow();
        }
    }
}

bool QuitRequested() {
    return quit_requested != 0;
}

void RequestQuit() {
    quit_requested = 1;
}
