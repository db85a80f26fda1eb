// Names with numbers: printf-style formatting with blank-padded fields, after which every blank of
// the whole result becomes the digit zero ("../S%3d" with 1 gives "../S001").
#pragma once

#include <string>

// Formats like printf into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats like printf, then replaces every blank of the result by '0'.
std::string FormatPath(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces every blank of text by '0', in place.
void BlanksToZeros(std::string& text);
