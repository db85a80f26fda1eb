// File-system access. Paths built by the program use '/'; a stored path holding '\' (frame-list
// files, file2/file3) is converted here, at the boundary.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The path with every '\' turned into '/'.
std::string NativePath(const char* path);

// The platform's path test: true when the path names an existing file or folder.
bool PathExists(const char* path);

// True when the file opens for reading (it is closed again at once).
bool CanOpenForReading(const char* path);

// fopen on the native form of path.
FILE* OpenFile(const char* path, const char* mode);

// Prints the absolute working folder and a line end.
void PrintWorkingFolder();

// Names of the entries of a folder ("." and ".." left out). False when it cannot be opened.
bool ListFolder(const char* path, std::vector<std::string>* names);

// Creates a folder (mode 0777 less umask); true when it exists afterwards.
bool MakeFolder(const char* path);

// Removes every regular file or link (the link itself) in folder whose name ends in ".jpg" and
// does not start with '.'; folders and all other files stay. Returns the number removed.
int RemoveJpegFiles(const char* folder);

// True when RemoveJpegFiles(folder) would remove the file at path.
bool WouldRemoveJpeg(const char* path, const char* folder);
