#include "own_pictures.hpp"

#include <cstdio>
#include <iterator>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace {

const cv::Scalar kInk(255, 255, 255);
const cv::Scalar kKeyInk(80, 220, 255);
const cv::Scalar kBackground(40, 30, 20);

struct KeyLine {
    const char* keys;
    const char* meaning;
};

const KeyLine kKeyChart[] = {
    {"ESC", "pause; then Enter resumes, ESC quits"},
    {"Enter", "help screen in the console"},
    {"TAB", "automatic replay on / off (30 frames a second)"},
    {"BackSpace", "window follows the picture size / resizable"},
    {"x  X  \\", "forward 1 / 10 frames"},
    {"z  Z  /", "back 1 / 10 frames"},
    {"!  \"  #  $  %  &  '  (  )", "jump to 10% .. 90% of the folder"},
    {"l", "first frame"},
    {"j", "random frame"},
    {"1 .. 9  0", "contents folder S001 .. S009, S010"},
    {"n  p", "next / previous contents folder"},
    {"SPACE", "random contents folder"},
    {"r  R", "reload this folder / go back to S001"},
    {"s  S", "replay speed up / down"},
    {"v  V", "motion threshold down / up"},
    {"e", "mirror the picture left-right / normal"},
    {"q", "camera on / off"},
    {"i", "camera report in the console on / off"},
};

void Text(cv::Mat& picture, const std::string& text, cv::Point at, double scale,
          const cv::Scalar& colour, int thickness = 1) {
    cv::putText(picture, text, at, cv::FONT_HERSHEY_SIMPLEX, scale, colour, thickness, cv::LINE_AA);
}

cv::Mat KeyChart() {
    const int line_height = 30;
    const int top = 90;
    cv::Mat chart(top + line_height * static_cast<int>(std::size(kKeyChart)) + 40, 800, CV_8UC3,
                  kBackground);
    Text(chart, "ZELTRAN  -  PAUSED", cv::Point(30, 45), 1.1, kInk, 2);
    Text(chart, "Keys (type them in this window)", cv::Point(30, 75), 0.6, kInk);
    int y = top + 20;
    for (const KeyLine& line : kKeyChart) {
        Text(chart, line.keys, cv::Point(30, y), 0.6, kKeyInk, 2);
        Text(chart, line.meaning, cv::Point(300, y), 0.6, kInk);
        y += line_height;
    }
    return chart;
}

// An arrow pointing right; the left one is its mirror.
cv::Mat RightArrow() {
    cv::Mat arrow(120, 160, CV_8UC3, kBackground);
    const cv::Point shape[] = {{20, 45},  {95, 45}, {95, 15}, {145, 60},
                               {95, 105}, {95, 75}, {20, 75}};
    cv::fillConvexPoly(arrow, shape, 4, kKeyInk, cv::LINE_AA);
    cv::fillConvexPoly(arrow, shape + 2, 3, kKeyInk, cv::LINE_AA);
    cv::rectangle(arrow, cv::Point(20, 45), cv::Point(95, 75), kKeyInk, cv::FILLED);
    return arrow;
}

}  // namespace

cv::Mat OwnPicture(size_t index) {
    if (index == 0) return KeyChart();
    cv::Mat arrow = RightArrow();
    if (index == 1) cv::flip(arrow, arrow, 1);
    return arrow;
}

bool SaveOwnPicture(const char* program, const std::string& path, const cv::Mat& picture) {
    bool saved = false;
    try {
        saved = cv::imwrite(path, picture);
    } catch (const cv::Exception&) {
        saved = false;
    }
    if (!saved) std::fprintf(stderr, "%s: cannot write %s\n", program, path.c_str());
    return saved;
}

bool WriteSyntheticFrames(const char* program, const std::string& folder, int count, int width,
                          int height) {
    for (int n = 0; n < count; ++n) {
        cv::Mat frame(height, width, CV_8UC3,
                      cv::Scalar((n * 40) % 256, (n * 90) % 256, 255 - (n * 20) % 256));
        const double scale = height / 120.0;
        const std::string label = std::to_string(n);
        cv::rectangle(frame, cv::Point(width / 8, height / 4),
                      cv::Point(width * 7 / 8, height * 3 / 4), cv::Scalar(0, 0, 0), cv::FILLED);
        Text(frame, label, cv::Point(width / 8 + 10, height / 2 + static_cast<int>(15 * scale)),
             scale, kInk, 2);
        char name[64];
        std::snprintf(name, sizeof name, "/clip_%05d.jpg", n);
        if (!SaveOwnPicture(program, folder + name, frame)) return false;
    }
    return true;
}
