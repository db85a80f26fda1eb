// What the console reports beside the commands' own lines: the status or camera line of each
// cycle (DISP_WEB_CAM_INFO), the "KEY FUNCTION" lines and the side-picture names of a frame.
#pragma once

// Step of the cycle: the status line (DISP_WEB_CAM_INFO 1) or the line of the camera slots (2),
// then the stopwatch restarts; -1 becomes 0 (one cycle without a line).
void ReportStatus();

// Prints a "KEY FUNCTION" line, only while DISP_WEB_CAM_INFO is nonzero.
void PrintKeyFunction(const char* line);

// Prints the ".http[2]" / ".file[3]" lines of the frame at frame_no when its record names them.
void PrintFrameNames();
