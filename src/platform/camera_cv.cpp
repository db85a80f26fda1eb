#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <opencv2/videoio.hpp>
#include <thread>

#include "platform/camera.hpp"
#include "platform/camera_stream.hpp"
#include "platform/camera_system.hpp"
#include "platform/environment.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kStandInRate = 30.0;      // pictures a second of a clip without a usable rate
constexpr double kHighestRate = 240.0;     // above this a clip's rate is taken as misread
constexpr double kLowestRate = 1.0;        // below this a read would wait longer than a device's
constexpr double kLongestStepMs = 1000.0;  // a device read gives up after 1 s as well

cv::VideoCapture* capture = nullptr;  // null while the camera is closed
std::string chosen_device;            // the installation's choice; ZELTRAN_CAMERA_DEVICE wins
bool streaming = false;               // the open camera is a network camera or a pipeline

// A clip standing in for the camera delivers its pictures at its own rate, as a device does.
struct StandIn {
    bool active = false;    // the camera reads ZELTRAN_CAMERA_SOURCE
    bool paced = true;      // ZELTRAN_CAMERA_PACE=0 delivers as fast as asked
    bool loop = false;      // ZELTRAN_CAMERA_LOOP=1 and the clip can be read again from its start
    bool sequence = false;  // an image-sequence pattern: no timestamps, 30 a second
    double period_ms = 1000.0 / kStandInRate;
    double last_ms = -1.0;  // timestamp of the previous picture of this pass; -1 before the first
    bool started = false;   // the first picture was read; due holds its time
    Clock::time_point due;  // when the last picture was (or is) delivered
};
StandIn stand_in;

// V4L2 in OpenCV 4.6 waits 10 s for a frame of a stalled or unplugged camera and ignores
// CAP_PROP_READ_TIMEOUT_MSEC; this setting (read once, at the first open) bounds the wait in
// whole seconds. A value the user set is kept.
void BoundDeviceWait() {
    SetEnvironmentDefault("OPENCV_VIDEOIO_V4L_SELECT_TIMEOUT", "1");
}

bool EnvironmentIs(const char* name, const char* value) {
    const char* text = std::getenv(name);
    return text && std::strcmp(text, value) == 0;
}

// Only a file or a picture series can be read again from its start; a pipe or a live stream
// ends as an unplugged camera does.
bool CanRestart(const char* source, bool sequence) {
    struct stat info;
    return sequence || (stat(source, &info) == 0 && S_ISREG(info.st_mode));
}

void PrepareStandIn(const char* source) {
    stand_in = StandIn();
    stand_in.active = true;
    stand_in.paced = !EnvironmentIs("ZELTRAN_CAMERA_PACE", "0");
    stand_in.sequence = std::strchr(source, '%') != nullptr;
    stand_in.loop =
        EnvironmentIs("ZELTRAN_CAMERA_LOOP", "1") && CanRestart(source, stand_in.sequence);
    // FFmpeg gives picture series its own default of 25 a second, so they are not asked.
    const double rate = stand_in.sequence ? kStandInRate : capture->get(cv::CAP_PROP_FPS);
    const bool usable = std::isfinite(rate) && rate >= kLowestRate && rate <= kHighestRate;
    stand_in.period_ms = 1000.0 / (usable ? rate : kStandInRate);
}

// Time from the previous picture to this one: the clip's timestamps where they are usable,
// else one period of its rate.
double StepToThisPicture() {
    double step = stand_in.period_ms;
    if (stand_in.sequence) return step;
    const double stamp = capture->get(cv::CAP_PROP_POS_MSEC);
    if (!std::isfinite(stamp)) return step;
    const double gap = stamp - stand_in.last_ms;
    if (stand_in.last_ms >= 0.0 && gap >= 1000.0 / kHighestRate && gap <= kLongestStepMs) {
        step = gap;
    }
    stand_in.last_ms = stamp;
    return step;
}

// Waits for the due time of the picture just read. A reader that was away for longer than one
// picture gets it at once and the clip's time runs on from there, so it never catches up in a
// burst; the stream starts at the first read, as a V4L2 device's does.
void WaitForPictureTime() {
    const double step = StepToThisPicture();
    const Clock::time_point now = Clock::now();
    if (!stand_in.started) {
        stand_in.started = true;
        stand_in.due = now;
        return;
    }
    stand_in.due += std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(step));
    if (stand_in.due > now) {
        std::this_thread::sleep_until(stand_in.due);
    } else if (now - stand_in.due > std::chrono::duration<double, std::milli>(stand_in.period_ms)) {
        stand_in.due = now;
    }
}

bool ReadPicture(cv::Mat* frame) {
    try {
        return capture->read(*frame) && !frame->empty();
    } catch (const cv::Exception&) {
        return false;
    }
}

// Starts the clip again at its end; false when it cannot be read from its start.
bool Restart(cv::Mat* frame) {
    stand_in.last_ms = -1.0;
    try {
        if (!capture->set(cv::CAP_PROP_POS_FRAMES, 0.0)) return false;
    } catch (const cv::Exception&) {
        return false;
    }
    return ReadPicture(frame);
}

}  // namespace

void CameraChooseDevice(const std::string& device) {
    chosen_device = device;
}

std::string CameraDevice() {
    const char* named = std::getenv("ZELTRAN_CAMERA_DEVICE");
    return named && *named ? named : chosen_device;
}

bool CameraOpen(int index) {
    CameraRelease();
    streaming = false;
    // A copy: setting a variable (BoundDeviceWait) may move the others' text on Windows.
    const char* named_source = std::getenv("ZELTRAN_CAMERA_SOURCE");
    const std::string source = named_source ? named_source : "";
    const bool from_file = !source.empty();
    const std::string device_path = CameraDevice();
    const char* device = device_path.c_str();
    const bool by_path = !from_file && *device;
    if (by_path && IsStreamSource(device_path)) {
        StreamOpen(device_path);
        streaming = true;
        return true;
    }
    if (!from_file && !by_path && index < 0) return false;
    BoundDeviceWait();
    capture = new cv::VideoCapture();
    bool opened = false;
    try {
        if (from_file) {
            opened = capture->open(source, cv::CAP_ANY);
        } else if (by_path) {
            // A path that is no video device (missing, a file, /dev/null) fails to open here.
            opened = capture->open(device, CameraSystemApi());
        } else {
            opened = capture->open(index, CameraSystemApi());
        }
    } catch (const cv::Exception&) {
        opened = false;
    }
    if (!opened) {
        CameraRelease();
        return false;
    }
    if (from_file) PrepareStandIn(source.c_str());
    capture->set(cv::CAP_PROP_FRAME_WIDTH, 320.0);
    capture->set(cv::CAP_PROP_FRAME_HEIGHT, 240.0);
    capture->set(cv::CAP_PROP_FPS, 60.0);
    // One driver buffer: each read gets the newest picture, not one queued cycles ago.
    capture->set(cv::CAP_PROP_BUFFERSIZE, 1.0);
    return true;
}

bool CameraIsOpen() {
    return capture != nullptr || StreamIsOpen();
}

bool CameraRead(cv::Mat* frame) {
    if (streaming) return StreamRead(frame);
    if (!capture) return false;
    bool read = ReadPicture(frame);
    if (!read && stand_in.active && stand_in.loop) read = Restart(frame);
    if (read && stand_in.active && stand_in.paced) WaitForPictureTime();
    return read;
}

void CameraRelease() {
    StreamRelease();
    delete capture;
    capture = nullptr;
    stand_in = StandIn();
}

std::string CameraFault() {
    return streaming ? StreamFault() : std::string();
}
