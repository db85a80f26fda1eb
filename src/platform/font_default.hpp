// Where the panels' font lies when ZELTRAN_FONT names none.
#pragma once

#include <string>

std::string DefaultFontPath();
