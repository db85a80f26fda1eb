// Key commands of the picture window.
#pragma once

// Runs the command of key (or the idle step). False when the user quit (ShutDown has run).
bool RunKeyCommand(int key);

// Prints the "Changed Contents Folder" message for folder_index.
void PrintFolderMessage();

// Prints the ".http[2]" / ".file[3]" lines of the frame at frame_no when its record names them.
void PrintFrameNames();

// Prints a "KEY FUNCTION" line, only while DISP_WEB_CAM_INFO is nonzero.
void PrintKeyFunction(const char* line);

// ---- Command families (keys_folders.cpp, keys_camera.cpp) --------------------------------------

// '1'..'9', '0': switches to folder index (0-based) and reloads it.
void GoToFolder(int index);

// 'r' (and 'R' after it moved to S001): reloads the current folder.
void ReloadFolder();

// 'n' / 'p': the next / previous contents folder.
void NextFolder();
void PreviousFolder();

// SPACE: lists the contents folders once per run, then switches to one of them at random.
void SelectRandomContents();

// ESC: pauses until Enter (true) or ESC / a quit request (ShutDown has run; false).
bool Pause();

// 'q': turns the camera on or off.
void SwitchCamera();
