// Conversion of videos named on the command line into contents folders.
#pragma once

#include <string>
#include <vector>

// Sorts arg_path slots 1 .. arg_count - 1 in byte order and converts video k into ../S%03d;
// frame files are skipped but keep their slot and folder number.
void ImportVideos();

// Bubble sort of arg_path slots 1 .. arg_count - 1 in unsigned byte order; slot 0 stays.
void SortArguments();

// The converter: ./ffmpeg in the working folder when it is executable, else ffmpeg on PATH;
// empty when there is neither.
std::string FindConverter();

// argv as a shell command line for the user to read: arguments holding blanks, quotes or other
// shell characters appear in double quotes with ", \, $ and ` escaped.
std::string CommandLineText(const std::vector<std::string>& argv);
