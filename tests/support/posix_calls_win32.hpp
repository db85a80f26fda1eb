// The few C library calls of POSIX that the unit tests use and MinGW's C library lacks; the
// Windows build of the tests includes this header in every file (tests/windows.cmake).
#pragma once

#include <cstdio>

int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
// A read-only stream over size bytes of buffer (a temporary file holding a copy of them).
FILE* fmemopen(void* buffer, size_t size, const char* mode);
