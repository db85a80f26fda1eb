// Key commands that change or reload the contents folder, and the random contents selection.
#pragma once

// Prints the "Changed Contents Folder" message for folder_index.
void PrintFolderMessage();

// '1'..'9', '0': switches to folder index (0-based) and reloads it.
void GoToFolder(int index);

// 'r' (and 'R' after it moved to S001): reloads the current folder.
void ReloadFolder();

// 'n' / 'p': the next / previous contents folder.
void NextFolder();
void PreviousFolder();

// SPACE: lists the contents folders once per run, then switches to one of them at random.
void SelectRandomContents();
