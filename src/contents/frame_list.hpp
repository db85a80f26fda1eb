// The frame list of the current contents folder and the picture cache.
#pragma once

#include <vector>

// Rebuilds the frame list of folder folder_index + 1 from its frame-list file or by scanning the
// folder, stepping down to lower folders while a folder is empty, and resets the playback state.
// When no folder down to 1 holds a frame it prints its message, waits for a key, shuts down and
// ends the process with a non-zero status.
void CheckContents();

// Releases every picture of frame_cache and clears loaded in records 0 .. MaxCount - 1.
void DropCache();

// Fills FrameData and MaxCount for one folder from its frame-list file frame_data%4d.dat when
// there is one, else by scanning ../S%3d; true when the file was read. Records beyond MaxCount are
// left as they were.
bool ReadFolderFrames(long long folder_number);

// Numbers of the folders that may hold frames, ascending and without repeats: every ../S<digits>
// and every frame_data<digits>.dat of the working folder (folder 0 left out).
std::vector<long long> CandidateFolderNumbers();
