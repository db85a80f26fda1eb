// Names of contents folders, frames and per-folder files (all relative to the working folder).
#pragma once

#include <string>

constexpr char kContentsBase[] = "..";

// The parameter file of the folders that have none of their own.
constexpr char kCommonParameterFile[] = "glt_env.dat";

// "../S%3d" with blanks as zeros: folder 1 is ../S001, folder 1234 is ../S1234.
std::string ContentsFolderPath(long long folder_number);

// "../S%3d/clip_%5d.jpg" with blanks as zeros.
std::string FramePath(long long folder_number, int frame_number);

// "S%3d" with blanks as zeros: the name of folder 1 is S001.
std::string ContentsFolderName(long long folder_number);

// "glt_env%4d.dat" with blanks as zeros: the parameter file of folder 1 is glt_env0001.dat.
std::string ParameterFileName(long long folder_number);

// "frame_data%4d.dat" with blanks as zeros: the frame-list file of folder 1 is frame_data0001.dat.
std::string FrameListFileName(long long folder_number);

// The folder number in a name of the three kinds above, written with 1 to 18 digits ("S012"
// gives 12, so does "glt_env12.dat"); 0 when name is not of that kind.
long long ContentsFolderNumber(const std::string& name);
long long ParameterFileNumber(const std::string& name);
long long FrameListFileNumber(const std::string& name);

// True when text names a frame file: at least 16 bytes, the 16th byte from the end 'S' and the
// 10th '_' (a name ending in S00003_01250.jpg).
bool IsFrameFileName(const char* text);
