#include "capture/camera_retry.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <opencv2/core.hpp>

#include "capture/camera_settings.hpp"
#include "capture/camera_switch.hpp"
#include "common/console.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/camera.hpp"
#include "platform/clock.hpp"

namespace {

constexpr long kLongestInterval = 3600;  // seconds
constexpr uint64_t kMicrosPerSecond = 1000000;
constexpr uint64_t kReportEvery = 60 * kMicrosPerSecond;  // one "not back yet" line a minute

uint64_t interval_micros = 0;  // 0: retrying is off
bool retrying = false;
uint64_t next_attempt = 0;  // ClockMicros of the next attempt
int attempts = 0;           // failed attempts since the camera went off
bool reported = false;      // a "not back yet" line was printed since the camera went off
uint64_t last_report = 0;

void ReportFailedAttempt(uint64_t now) {
    ++attempts;
    if (reported && now - last_report < kReportEvery) return;
    reported = true;
    last_report = now;
    Print("Camera retry: not back yet (attempt %d)\n", attempts);
}

}  // namespace

void ReadCameraRetrySetting() {
    interval_micros = 0;
    retrying = false;
    const char* text = std::getenv("ZELTRAN_CAMERA_RETRY");
    if (text == nullptr || *text == '\0') return;
    char* end = nullptr;
    errno = 0;
    const long seconds = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || seconds < 1 || seconds > kLongestInterval) {
        PrintError(
            "WARNING: ZELTRAN_CAMERA_RETRY=%s is not a whole number of seconds 1..%ld; "
            "the camera is not retried.\n",
            text, kLongestInterval);
        return;
    }
    interval_micros = static_cast<uint64_t>(seconds) * kMicrosPerSecond;
}

void ArmCameraRetry() {
    if (interval_micros == 0) return;
    retrying = true;
    attempts = 0;
    reported = false;
    next_attempt = ClockMicros() + interval_micros;
    Print("Camera retry: every %llu s until the camera is back ([q] stops it)\n",
          static_cast<unsigned long long>(interval_micros / kMicrosPerSecond));
}

bool CameraRetrying() {
    return retrying;
}

void StopCameraRetry() {
    retrying = false;
    PrintText("Camera retry: stopped; [q] turns the camera on.\n");
}

void RetryCameraWhenDue() {
    if (!retrying || camera_on != 0) return;
    const uint64_t now = ClockMicros();
    if (now < next_attempt) return;
    ReadCameraSettingsSilently();
    OpenCamera();
    cv::Mat picture;
    if (CameraRead(&picture) && !IsUnexpectedFrame(picture)) {
        retrying = false;
        camera_on = 1;
        RestartMotion();
        PrintCameraOnBanner(1);
        return;
    }
    CameraRelease();
    // The interval counts from the end of the attempt, so a slow device cannot make attempts
    // follow each other without a pause.
    const uint64_t after = ClockMicros();
    ReportFailedAttempt(after);
    next_attempt = after + interval_micros;
}
