#include "shell/key_panel.hpp"

#include "platform/overlay.hpp"

namespace {

constexpr char kTitle[] = "Keys (F1 hides this list)";

bool shown = false;

}  // namespace

void ToggleKeyPanel(const char* const* lines, int count) {
    shown = !shown;
    if (shown) {
        OverlayShowKeys(kTitle, lines, count);
    } else {
        OverlayShowKeys(nullptr, nullptr, 0);
    }
}
