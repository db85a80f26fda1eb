// Windows has no DejaVu font of its own: the package puts it beside the program.
#include "platform/font_default.hpp"
#include "platform/process.hpp"

std::string DefaultFontPath() {
    return ProgramFolder() + "\\DejaVuSans.ttf";
}
