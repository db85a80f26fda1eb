// Debian's fonts-dejavu-core.
#include "platform/font_default.hpp"

std::string DefaultFontPath() {
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}
