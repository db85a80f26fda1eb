#include "shell/key_panel.hpp"

#include <iterator>

#include "platform/overlay.hpp"

namespace {

constexpr char kTitle[] = "Keys (F1 hides this list)";

// Key, a tab, what it does; the panel puts the first half in its left column.
const char* const kKeyLines[] = {
    "F1\tthis key list on / off",
    "F2\tmotion meter on / off",
    "F4\tcalibrate the threshold (10 s of empty room)",
    "F11\tfullscreen / window",
    "q\tcamera on / off",
    "z  x\tone frame back / forward",
    "Z  X\tten frames back / forward",
    "!  \"  # .. )\tjump to 10 % .. 90 %",
    "l  j\tfirst frame / random frame",
    "TAB\tautomatic replay on / off",
    "s  S\treplay speed up / down",
    "v  V\tthreshold down / up",
    "e\tmirror the picture",
    "1 .. 9  0\tfolder S001 .. S010",
    "n  p\tnext / previous folder",
    "r  R\treload folder / back to S001",
    "SPACE\trandom folder",
    "i\tcamera line on the console",
    "BackSpace\twindow follows picture size",
    "Enter\thelp on the console",
    "ESC\tpause; then Enter resumes, ESC quits",
};

bool shown = false;

}  // namespace

void ToggleKeyPanel() {
    shown = !shown;
    if (shown) {
        OverlayShowKeys(kTitle, kKeyLines, static_cast<int>(std::size(kKeyLines)));
    } else {
        OverlayShowKeys(nullptr, nullptr, 0);
    }
}
