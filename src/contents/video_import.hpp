// Conversion of videos named on the command line into contents folders.
#pragma once

// Sorts arg_path slots 1 .. arg_count - 1 in byte order and converts video k into ../S%03d.
void ImportVideos();
