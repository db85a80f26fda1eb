// Scripted picture window for unit tests: records what is shown and waited for, returns keys
// from a queue.
#pragma once

#include <cstdint>
#include <deque>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

struct MeterPanel;

namespace fake {

struct Shown {
    cv::Mat picture;  // a copy of the picture as it was when shown
    int flip;
};

extern std::vector<Shown> shown;            // every WindowShow, in order
extern std::deque<int> keys;                // keys returned by WindowWaitKey in turn, then 255
extern std::vector<int> waits;              // the ms argument of every WindowWaitKey
extern std::vector<int64_t> served;         // the micros argument of every WindowServeFor
extern int creates;                         // WindowCreate calls
extern int destroys;                        // WindowDestroy calls
extern int last_auto_size;                  // auto_size of the last WindowCreate
extern double shown_scale;                  // what WindowShownScale returns, 1.0 after ResetWindow
extern const MeterPanel* meter;             // the meter panel last shown (nullptr: none)
extern std::string notice;                  // first line of the notice last shown ("": none)
extern std::vector<std::string> key_lines;  // the key list last shown (empty: hidden)
extern int picture_channels;  // what WindowPictureChannels returns (3; ResetWindow keeps it)
extern bool display_down;     // between DisplayPowerOff and DisplayPowerOn

// A wait without time limit on an empty key queue requests a quit (as closing the window
// would), so a test can never hang in one.
void ResetWindow();

}  // namespace fake
