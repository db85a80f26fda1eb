// The picture window on SDL2: video start, the window and its renderer, and presentation (the
// picture scaled or at its own size, flipped, under the overlays). Events: window_events_sdl.cpp.
#include "platform/window_sdl.hpp"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <opencv2/imgproc.hpp>

#include "common/console.hpp"
#include "common/state.hpp"
#include "platform/overlay_sdl.hpp"
#include "platform/window.hpp"
#include "platform/window_system.hpp"

namespace {

enum class Video { kUntried, kReady, kMissing };
Video video = Video::kUntried;

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int texture_width = 0;
int texture_height = 0;
bool texture_current = false;    // the texture holds last_picture
bool software_renderer = false;  // SDL's own software renderer draws into the window surface
int window_auto_size = 0;
bool window_sized = false;  // a resizable window takes the first picture's size once
cv::Mat last_picture;       // the picture on screen (shared, never changed), for a new window
int last_flip = 0;

// Where windows go (WindowSetDisplay); the defaults give the plain window.
bool fullscreen = false;
int display_index = 0;
bool covering = false;         // the window covers its monitor now
bool covered_by_hand = false;  // ... as a borderless window laid over it (see CoverMonitor)
SDL_Rect plain_place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480};

// B, G, R and an unused byte in memory: the layout of an X window's 24-bit surface, so the
// software renderer copies the texture to it row by row instead of blending each pixel (an alpha
// format is blended even where every alpha is 255). BGRA pictures copy into it unchanged.
constexpr Uint32 kTextureFormat =
    SDL_BYTEORDER == SDL_LIL_ENDIAN ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_BGRX8888;

// Without a display SDL falls back to drivers that draw nowhere; unless the user chose one of
// them (SDL_VIDEODRIVER), that counts as no window.
bool InvisibleDriver() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

// Starts SDL video once; without a display the player goes on without a window.
bool VideoReady() {
    if (video == Video::kUntried) {
        // Ctrl+C and SIGTERM are ours (InstallQuitSignals); SDL must not replace the handlers.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
        // The software renderer then writes straight to the X server (shared memory) instead of
        // through a software OpenGL.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // On Wayland, SDL 2.26 crashes in libdecor's configure callback once the window is made
        // anew (a renderer change does that). Without libdecor the compositor decorates the
        // window where it can (wayfire, labwc, KDE); elsewhere the plain window has no frame.
        SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            video = Video::kMissing;
            PrintError("WARNING: No picture window can be opened (%s). Running without one.\n",
                       SDL_GetError());
        } else if (InvisibleDriver()) {
            video = Video::kMissing;
            PrintError(
                "WARNING: No picture window can be opened (no display; SDL video driver "
                "\"%s\"). Running without one.\n",
                SDL_GetCurrentVideoDriver());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        } else {
            video = Video::kReady;
            WatchWindowSystemErrors(SDL_GetCurrentVideoDriver());
        }
    }
    return video == Video::kReady;
}

// True when the renderer draws through an OpenGL that rasterises in software (Mesa llvmpipe,
// as under Xvfb or without a graphics driver): it then costs more than SDL's own software
// renderer and runs its threads on the cores the decoding needs.
bool IsSoftwareOpenGl(SDL_Renderer* candidate) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(candidate, &info) != 0 || SDL_strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    const auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int kGlRenderer = 0x1F01;
    const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
    if (!name) return false;
    const char* text = reinterpret_cast<const char*>(name);
    for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (SDL_strstr(text, soft)) return true;
    }
    return false;
}

// Without a graphics device node OpenGL can only rasterise in software; trying it would cost
// a fifth of a second of start-up for nothing.
bool HasGraphicsDevice() {
    return access("/dev/dri", F_OK) == 0 || access("/dev/nvidia0", F_OK) == 0;
}

SDL_Renderer* CreateRenderer(SDL_Window* target) {
    if (!HasGraphicsDevice()) {
        SDL_Renderer* software = SDL_CreateRenderer(target, -1, SDL_RENDERER_SOFTWARE);
        if (software) return software;
    }
    SDL_Renderer* made = SDL_CreateRenderer(target, -1, 0);
    if (made && IsSoftwareOpenGl(made)) {
        SDL_Renderer* software = nullptr;
        SDL_DestroyRenderer(made);
        software = SDL_CreateRenderer(target, -1, SDL_RENDERER_SOFTWARE);
        made = software ? software : SDL_CreateRenderer(target, -1, 0);
    }
    if (!made) made = SDL_CreateRenderer(target, -1, SDL_RENDERER_SOFTWARE);
    return made;
}

// The scale of a width x height picture in an output of out_w x out_h: the letterbox fit (the
// largest size with the picture's aspect that fits), except that the auto-size mode in
// fullscreen keeps the picture's own size unless it is larger than the screen.
double FitScale(int out_w, int out_h, int width, int height) {
    const double fit =
        std::min(static_cast<double>(out_w) / width, static_cast<double>(out_h) / height);
    return window_auto_size ? std::min(1.0, fit) : fit;
}

// Puts last_picture into the streaming texture, converted once, straight into the texture's own
// memory; false when there is no texture to draw.
bool UploadPicture() {
    const int width = last_picture.cols;
    const int height = last_picture.rows;
    if (!texture || width != texture_width || height != texture_height) {
        if (texture) SDL_DestroyTexture(texture);
        texture =
            SDL_CreateTexture(renderer, kTextureFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
        texture_width = width;
        texture_height = height;
        texture_current = false;
    }
    if (!texture) return false;
    if (texture_current) return true;
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return false;
    cv::Mat target(height, width, CV_8UC4, pixels, static_cast<size_t>(pitch));
    switch (last_picture.channels()) {
        case 1:
            cv::cvtColor(last_picture, target, cv::COLOR_GRAY2BGRA);
            break;
        case 4:
            last_picture.copyTo(target);
            break;
        default:
            cv::cvtColor(last_picture, target, cv::COLOR_BGR2BGRA);
            break;
    }
    SDL_UnlockTexture(texture);
    texture_current = true;
    return true;
}

// The software renderer draws into the window's own surface: a 32-bit picture shown at its own
// size and unflipped is copied there straight from the picture, without the texture's copy of
// it (33 MB a frame at 3840 x 2160). Queued drawing (the clear) is done first.
bool BlitPictureDirectly(const SDL_Rect& target) {
    if (!software_renderer || last_picture.type() != CV_8UC4 || last_flip == 1 || last_flip == 2 ||
        target.w != last_picture.cols || target.h != last_picture.rows) {
        return false;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(last_picture.data, last_picture.cols, last_picture.rows,
                                           32, static_cast<int>(last_picture.step), kTextureFormat);
    bool done = false;
    if (screen && source && SDL_RenderFlush(renderer) == 0) {
        SDL_Rect place = target;  // the blit clips it
        done = SDL_BlitSurface(source, nullptr, screen, &place) == 0;
    }
    if (source) SDL_FreeSurface(source);
    return done;
}

}  // namespace

void PresentWindow() {
    if (!renderer) return;
    const bool picture = !last_picture.empty();
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(renderer, &out_w, &out_h);
    SDL_Rect target{0, 0, out_w, out_h};
    if (picture && (!window_auto_size || covering)) {
        const double scale = FitScale(out_w, out_h, last_picture.cols, last_picture.rows);
        target.w = static_cast<int>(last_picture.cols * scale + 0.5);
        target.h = static_cast<int>(last_picture.rows * scale + 0.5);
        target.x = (out_w - target.w) / 2;
        target.y = (out_h - target.h) / 2;
    }
    // An opaque picture over the whole output leaves nothing to clear (at 3840 x 2160 the clear
    // writes 33 MB).
    const bool covered = picture && target.x <= 0 && target.y <= 0 &&
                         target.x + target.w >= out_w && target.y + target.h >= out_h;
    if (!covered) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }
    if (picture && !BlitPictureDirectly(target) && UploadPicture()) {
        const int flags = last_flip == 1   ? SDL_FLIP_HORIZONTAL
                          : last_flip == 2 ? SDL_FLIP_VERTICAL
                                           : SDL_FLIP_NONE;
        SDL_RenderCopyEx(renderer, texture, nullptr, &target, 0.0, nullptr,
                         static_cast<SDL_RendererFlip>(flags));
    }
    OverlayDraw(renderer);
    SDL_RenderPresent(renderer);
}

namespace {

// Covers the window's monitor or gives the window back its plain place. A bare X server (a kiosk
// without a window manager) has nobody to grant SDL's fullscreen request, so there the window is
// made borderless and laid over the monitor by hand.
void CoverMonitor(bool on) {
    if (on && !FullscreenGranted(window)) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display_index, &bounds) != 0) return;
        SDL_GetWindowPosition(window, &plain_place.x, &plain_place.y);
        SDL_GetWindowSize(window, &plain_place.w, &plain_place.h);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
        covered_by_hand = true;
    } else if (!on && covered_by_hand) {
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowSize(window, plain_place.w, plain_place.h);
        SDL_SetWindowPosition(window, plain_place.x, plain_place.y);
        covered_by_hand = false;
    } else {
        SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    }
    covering = on;
}

// Moves the window to its monitor and into or out of fullscreen as WindowSetDisplay asked.
void PlaceWindow() {
    if (SDL_GetWindowDisplayIndex(window) != display_index) {
        // A window changes monitors as a plain window; fullscreen then covers the new one.
        if (covering) CoverMonitor(false);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display_index),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display_index));
    }
    if (covering != fullscreen) CoverMonitor(fullscreen);
    PresentWindow();
}

}  // namespace

bool SdlVideoRunning() {
    return video == Video::kReady;
}

void WindowCreate(int auto_size) {
    if (!VideoReady()) return;
    WindowDestroy();
    window_auto_size = auto_size;
    window_sized = false;
    covering = covered_by_hand = false;
    const Uint32 flags = auto_size ? 0u : static_cast<Uint32>(SDL_WINDOW_RESIZABLE);
    const int position = SDL_WINDOWPOS_UNDEFINED_DISPLAY(display_index);
    window = SDL_CreateWindow(kWindowTitle, position, position, 640, 480, flags);
    if (!window) {
        PrintError("WARNING: The picture window cannot be created (%s).\n", SDL_GetError());
        return;
    }
    renderer = CreateRenderer(window);
    SDL_RendererInfo info;
    software_renderer = renderer && SDL_GetRendererInfo(renderer, &info) == 0 &&
                        (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    if (!renderer) {
        PrintError("WARNING: The picture window cannot draw (%s).\n", SDL_GetError());
    }
    SDL_StartTextInput();
    if (fullscreen) CoverMonitor(true);
    if (!last_picture.empty()) {
        // A window made again (size mode changed) shows the picture it showed before.
        const cv::Mat picture = last_picture;
        WindowShow(picture, last_flip);
    } else {
        PresentWindow();
    }
}

bool WindowOpen() {
    return window != nullptr;
}

void WindowDestroy() {
    if (renderer) OverlayReleaseRenderer();
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
    texture_width = texture_height = 0;
    texture_current = software_renderer = false;
}

void WindowShow(const cv::Mat& picture, int flip) {
    if (picture.empty() || !renderer) return;
    last_picture = picture;
    last_flip = flip;
    texture_current = false;
    // A covering window keeps the monitor's size; the plain one takes the picture's size later.
    if (!covering && (window_auto_size || !window_sized)) {
        int window_w = 0, window_h = 0;
        SDL_GetWindowSize(window, &window_w, &window_h);
        if (window_w != picture.cols || window_h != picture.rows) {
            SDL_SetWindowSize(window, picture.cols, picture.rows);
        }
        window_sized = true;
    }
    PresentWindow();
}

double WindowShownScale(int width, int height) {
    if (!renderer || width <= 0 || height <= 0) return 1.0;
    if (!covering && (window_auto_size || !window_sized)) return 1.0;
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(renderer, &out_w, &out_h);
    if (out_w <= 0 || out_h <= 0) return 1.0;
    return FitScale(out_w, out_h, width, height);
}

int WindowSetDisplay(int full, int index, int hide_pointer) {
    fullscreen = full != 0;
    if (video != Video::kReady) {
        display_index = index;
        return index;
    }
    const int monitors = SDL_GetNumVideoDisplays();
    if (index < 0 || index >= monitors) {
        PrintError("WARNING: There is no display %d (%d found); display 0 is used.\n", index,
                   monitors);
        index = 0;
    }
    display_index = index;
    SDL_ShowCursor(hide_pointer ? SDL_DISABLE : SDL_ENABLE);
    if (window) PlaceWindow();
    return index;
}

int WindowPictureChannels() {
    return 4;
}
