// The filter of the measure, read from SetMotion.txt: the mask and the light option.
#include <cstdio>
#include <opencv2/imgproc.hpp>

#include "common/console.hpp"
#include "common/path.hpp"
#include "common/settings_reader.hpp"
#include "common/state.hpp"
#include "motion/motion.hpp"
#include "platform/files.hpp"
#include "platform/inspect.hpp"
#include "platform/picture.hpp"

namespace {

// Written only by LoadMotionSettings; the measure and the meter read them.
MotionFilter motion_filter;
MotionMaskReport motion_mask_report;

constexpr int kDarkBelow = 128;  // a mask pixel darker than this grey excludes its place
// The excluded area is widened by this many camera pixels on every side: the lens and the
// camera's compression (8 x 8 blocks) spread a changing area into its neighbours.
constexpr int kMaskMargin = 8;

// Scales the mask picture to the camera picture; false when it cannot be decoded. Only a plain
// file is opened: a pipe named as the mask would hold the player at start-up.
bool LoadMask(const std::string& file) {
    if (LookAt(file.c_str()).kind != PathKind::kFile) return false;
    const cv::Mat picture = DecodePicture(file.c_str());
    if (picture.empty()) return false;
    motion_mask_report.read = true;
    motion_mask_report.width = picture.cols;
    motion_mask_report.height = picture.rows;
    cv::Mat grey;
    cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
    cv::resize(grey, grey, cv::Size(GLT_F_XMAX, GLT_F_YMAX), 0, 0, cv::INTER_AREA);
    cv::Mat counts = grey >= kDarkBelow;
    const cv::Mat square = cv::getStructuringElement(
        cv::MORPH_RECT, cv::Size(2 * kMaskMargin + 1, 2 * kMaskMargin + 1));
    cv::erode(counts, counts, square);
    int excluded = 0;
    for (int i = 0; i < kGreyFrameBytes; ++i) {
        const bool counted = counts.data[i] != 0;
        motion_filter.counts[i] = counted ? 1 : 0;
        excluded += counted ? 0 : 1;
    }
    motion_mask_report.excluded = static_cast<double>(excluded) / kGreyFrameBytes;
    motion_filter.masked = true;
    return true;
}

// Applies one setting; the reason when it cannot be taken.
const char* Apply(const std::string& key, const std::string& value) {
    if (key == "mask") {
        if (value.empty()) return "write mask FILE";
        motion_mask_report.file = value;
        return nullptr;
    }
    if (key == "light") {
        if (value != "0" && value != "1") return "light is 0 or 1";
        motion_filter.light = value == "1";
        return nullptr;
    }
    return "unknown setting (mask, light)";
}

}  // namespace

const MotionFilter& LoadedMotionFilter() {
    return motion_filter;
}

const MotionMaskReport& LoadedMotionMask() {
    return motion_mask_report;
}

void LoadMotionSettings(bool report, std::vector<std::string>* skipped) {
    motion_filter.masked = false;
    motion_filter.light = false;
    motion_mask_report = MotionMaskReport();
    FILE* file = OpenFile(kMotionSettingsFile, "r");
    if (!file) return;
    ReadSettingLines(file, [&](int number, const std::string& key, const std::string& value) {
        const char* error = Apply(key, value);
        if (error && skipped) {
            const std::string text = value.empty() ? key : key + " " + value;
            skipped->push_back(
                FormatText("line %d: \"%s\" is not read: %s", number, text.c_str(), error));
        } else if (error && report) {
            PrintError("[ NG ] %s line %d skipped: %s\n", kMotionSettingsFile, number, error);
        }
    });
    std::fclose(file);
    const std::string& mask = motion_mask_report.file;
    const bool mask_read = !mask.empty() && LoadMask(mask);
    if (!report) return;
    Print("\n");
    if (mask_read) {
        Print("SET: mask  = %s (%d x %d, %.0f %% of the picture excluded)\n", mask.c_str(),
              motion_mask_report.width, motion_mask_report.height,
              100.0 * motion_mask_report.excluded);
    } else if (!mask.empty()) {
        PrintError("[ NG ] %s: the mask %s cannot be read as a picture; the whole picture counts\n",
                   kMotionSettingsFile, mask.c_str());
    }
    Print("SET: light = %d ( 1-> a change of the whole picture is not motion )\n",
          motion_filter.light ? 1 : 0);
}
