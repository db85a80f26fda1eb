// Conversion of videos named on the command line into contents folders.
#pragma once

#include <string>

// Sorts arg_path slots 1 .. arg_count - 1 in byte order and converts video k into ../S%03d.
void ImportVideos();

// The converter: ./ffmpeg in the working folder when it is executable, else ffmpeg on PATH;
// empty when there is neither.
std::string FindConverter();
