// The guide printed when the video converter is missing: the error in Japanese, the same in
// English, and the steps to install the converter on this system (one file of texts a system).
#pragma once

#include <span>

extern const std::span<const char* const> kMissingConverter;
extern const std::span<const char* const> kMissingConverterEnglish;
extern const std::span<const char* const> kConverterSteps;
