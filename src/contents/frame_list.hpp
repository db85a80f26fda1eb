// The frame list of the current contents folder and the picture cache.
#pragma once

// Rebuilds the frame list of folder folder_index + 1 from its frame-list file or by scanning the
// folder, stepping down to lower folders while a folder is empty, and resets the playback state.
// When no folder down to 1 holds a frame it prints its message, waits for a key, shuts down and
// ends the process with a non-zero status.
void CheckContents();

// Releases every picture of frame_cache and clears loaded in records 0 .. MaxCount - 1.
void DropCache();
