// Process-level services.
#pragma once

#include <string>
#include <vector>

// SIGINT and SIGTERM request a quit (see window.hpp) instead of killing the process.
void InstallQuitSignals();

// Flushes the console and ends the process with status.
[[noreturn]] void EndProcess(int status);

// True when path names an executable regular file.
bool IsExecutableFile(const char* path);

// The file name of program on this system ("ffmpeg", "ffmpeg.exe"), and the path of a file of
// that name in the working folder ("./ffmpeg", ".\\ffmpeg.exe").
std::string ProgramFileName(const char* program);
std::string InWorkingFolder(const std::string& name);

// Finds program on PATH; empty when not found.
std::string FindOnPath(const char* program);

// Runs argv[0] with the arguments as given (no shell), standard input closed, output shared with
// ours; waits for it. Returns its exit status, or -1 when it could not be started.
int RunProgram(const std::vector<std::string>& argv);

// Cores this process may run on (its CPU affinity, as taskset sets it); at least 1.
int UsableCores();

// The folder that holds the running program ("" when the system does not say).
std::string ProgramFolder();
