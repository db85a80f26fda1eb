#include "fakes/fake_window.hpp"

#include "platform/display_power.hpp"
#include "platform/overlay.hpp"
#include "platform/window.hpp"

namespace fake {

std::vector<Shown> shown;
std::deque<int> keys;
std::vector<int> waits;
int creates = 0;
int destroys = 0;
int last_auto_size = -1;
double shown_scale = 1.0;
const MeterPanel* meter = nullptr;
std::string notice;
std::vector<std::string> key_lines;
int picture_channels = 3;
bool quit = false;
bool display_down = false;

void ResetWindow() {
    shown.clear();
    keys.clear();
    waits.clear();
    creates = destroys = 0;
    last_auto_size = -1;
    shown_scale = 1.0;
    quit = false;
}

}  // namespace fake

void WindowCreate(int auto_size) {
    ++fake::creates;
    fake::last_auto_size = auto_size;
}

void WindowDestroy() {
    ++fake::destroys;
}

void WindowShow(const cv::Mat& picture, int flip) {
    if (picture.empty()) return;
    fake::shown.push_back({picture.clone(), flip});
}

int WindowPictureChannels() {
    return fake::picture_channels;
}

double WindowShownScale(int, int) {
    return fake::shown_scale;
}

int WindowWaitKey(int ms) {
    fake::waits.push_back(ms);
    if (fake::quit) return 255;
    if (fake::keys.empty()) {
        if (ms <= 0) fake::quit = true;
        return 255;
    }
    const int key = fake::keys.front();
    fake::keys.pop_front();
    return key;
}

// Scripted time passes only through the clock; the wait itself is not needed.
void WindowServeFor(int64_t) {}

bool QuitRequested() {
    return fake::quit;
}

void RequestQuit() {
    fake::quit = true;
}

int WindowSetDisplay(int, int display_index, int) {
    return display_index;
}

void WindowOnFunctionKey(FunctionKeyHandler) {}

void OverlayShowMeter(const MeterPanel* panel) {
    fake::meter = panel;
}

void OverlayShowKeys(const char*, const char* const* lines, int count) {
    fake::key_lines.assign(lines, lines + count);
}

void OverlayHidePanels(bool) {}

void OverlayShowNotice(const char* const* lines, int count) {
    fake::notice = count > 0 ? lines[0] : "";
}

bool WindowOpen() {
    return true;
}

DisplayPower DisplayPowerOff() {
    fake::display_down = true;
    return DisplayPower::kScreenSaver;
}

void DisplayPowerOn() {
    fake::display_down = false;
}
