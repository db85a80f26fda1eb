// File-system access. Paths built by the program use '/'; a stored path holding '\' (frame-list
// files, file2/file3) is converted here, at the boundary.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
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

// What a durable write does when a file is at its path already: replace it, or keep it (and fail).
enum class Existing { kReplace, kKeep };

// Writes bytes as the file at path so that a power cut leaves the old file or the new one, never
// an empty or partial one: the bytes go to a temporary file of their own in the same folder, are
// flushed to the disk, the temporary file is renamed to path, and the folder is flushed. False
// when a step fails; the old file is then as it was and no temporary file is left.
bool WriteFileDurably(const char* path, std::string_view bytes,
                      Existing existing = Existing::kReplace);

// The system calls of a durable write, each answering 0 (or a descriptor, or a count) on success
// and -1 on failure. They are the system's own (disk_calls_posix.cpp, disk_calls_win32.cpp); a
// test may replace them to see the calls made or to make one fail.
struct DiskCalls {
    int (*create)(const char* path);  // a new file for writing; fails when path exists
    std::ptrdiff_t (*write)(int fd, const void* bytes, size_t count);
    int (*sync)(int fd);  // the file's bytes to the disk
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to, bool replace);  // replace false: fails when
                                                                    // `to` exists
    int (*sync_folder)(const char* folder);  // the folder's entries to the disk
    int (*remove)(const char* path);
};
DiskCalls& DiskCallsInUse();
