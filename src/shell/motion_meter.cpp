#include "shell/motion_meter.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <opencv2/imgproc.hpp>

#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/clock.hpp"
#include "platform/overlay.hpp"

namespace {

constexpr uint64_t kSlotMicros = kMeterSlotMs * 1000;
constexpr int kTintGain = 4;         // a counted grey change of 64 levels or more is tinted fully
constexpr int kMaskedDarkening = 3;  // the masked area is shown at a third of its brightness

bool meter_on = false;
MeterPanel panel;

// The total per graph slot, a ring indexed by slot number; below 0: no cycle in that slot.
int32_t history[kMeterSlots];
uint64_t newest_slot = 0;
uint64_t camera_made_us = 0;  // when the camera picture was last made

// Each slot keeps the highest total of its cycles, so a short burst is not lost between
// redraws. Slots that passed without a cycle (a pause, a long wait) stay empty.
void RecordTotal(uint64_t now_us, int32_t total) {
    const uint64_t slot = now_us / kSlotMicros;
    const uint64_t passed =
        slot > newest_slot ? std::min<uint64_t>(slot - newest_slot, kMeterSlots) : 0;
    for (uint64_t k = 1; k <= passed; ++k) history[(newest_slot + k) % kMeterSlots] = -1;
    newest_slot = std::max(newest_slot, slot);
    int32_t& cell = history[slot % kMeterSlots];
    cell = std::max({cell, total, 0});
}

void PublishHistory() {
    for (int i = 0; i < kMeterSlots; ++i) {
        panel.history[i] = history[(newest_slot + 1 + i) % kMeterSlots];
    }
}

// The newest camera picture at half size, tinted red where the measurement counted a change
// (mask and light taken out) and darkened where the mask excludes it.
void MakeCameraPicture() {
    if (camera_on == 0) {
        panel.camera.release();
        return;
    }
    const MotionFilter& filter = LoadedMotionFilter();
    const int newest = 1 - (grey_pair_index != 0 ? 1 : 0);
    cv::Mat halves[2];
    for (int half = 0; half < 2; ++half) {
        const cv::Mat full(GLT_F_YMAX, GLT_F_XMAX, CV_8UC1, grey_pair + half * kGreyFrameBytes);
        cv::resize(full, halves[half], cv::Size(kMeterCameraWidth, kMeterCameraHeight), 0, 0,
                   cv::INTER_AREA);
    }
    panel.camera.create(kMeterCameraHeight, kMeterCameraWidth, CV_8UC3);
    ++panel.camera_serial;
    for (int y = 0; y < kMeterCameraHeight; ++y) {
        const uint8_t* before = halves[1 - newest].ptr<uint8_t>(y);
        const uint8_t* now = halves[newest].ptr<uint8_t>(y);
        cv::Vec3b* out = panel.camera.ptr<cv::Vec3b>(y);
        // The camera pixel at the top left of each meter pixel stands for it in the mask.
        const int row = y * (GLT_F_YMAX / kMeterCameraHeight) * GLT_F_XMAX;
        for (int x = 0; x < kMeterCameraWidth; ++x) {
            const int index = row + x * (GLT_F_XMAX / kMeterCameraWidth);
            const int grey = now[x];
            if (filter.masked && filter.counts[index] == 0) {
                const auto dark = static_cast<uint8_t>(grey / kMaskedDarkening);
                out[x] = cv::Vec3b(dark, dark, dark);
                continue;
            }
            const int tint = std::min(255, kTintGain * CountedChange(index, before[x], now[x]));
            const auto kept = static_cast<uint8_t>(grey * (255 - tint) / 255);
            out[x] = cv::Vec3b(kept, kept, static_cast<uint8_t>(grey + (255 - grey) * tint / 255));
        }
    }
}

const char* DirectionName() {
    switch (direction) {
        case 1:
            return "forward";
        case 0:
            return "backward";
        default:
            return "held";
    }
}

void FormatStatus() {
    std::snprintf(panel.text, sizeof panel.text,
                  "S%03d  frame %d / %d  speed x%g  %s  %.1f fps  camera %s  threshold %d",
                  folder_index + 1, static_cast<int>(frame_no), MaxCount - 1, speed_factor,
                  DirectionName(), f_rate, camera_on ? "on" : "off", VR_threshold);
}

}  // namespace

void ToggleMotionMeter() {
    meter_on = !meter_on;
    if (!meter_on) {
        OverlayShowMeter(nullptr);
        return;
    }
    std::fill(std::begin(history), std::end(history), -1);
    newest_slot = ClockMicros() / kSlotMicros;
    camera_made_us = 0;
    UpdateMotionMeter();
}

void StartMotionMeterFromEnvironment() {
    const char* value = std::getenv("ZELTRAN_METER");
    if (value && std::strcmp(value, "1") == 0 && !meter_on) ToggleMotionMeter();
}

void UpdateMotionMeter() {
    if (!meter_on) return;
    const uint64_t now = ClockMicros();
    RecordTotal(now, SI[kDiffSumWord]);
    PublishHistory();
    // The picture at most once a slot, which is as often as the window draws the meter: a
    // player without a camera runs up to 1000 cycles a second.
    if (camera_made_us == 0 || now - camera_made_us >= kSlotMicros) {
        MakeCameraPicture();
        camera_made_us = now;
    }
    FormatStatus();
    panel.own = DifferenceSum;
    panel.total = SI[kDiffSumWord];
    panel.threshold = VR_threshold;
    panel.full_scale = FullScaleDifference(sample_step);
    OverlayShowMeter(&panel);
}
