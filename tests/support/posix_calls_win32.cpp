#include "support/posix_calls_win32.hpp"

#include <cstdlib>

int setenv(const char* name, const char* value, int overwrite) {
    if (overwrite == 0 && std::getenv(name) != nullptr) {
        return 0;
    }
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

int unsetenv(const char* name) {
    // An empty value removes the variable.
    return _putenv_s(name, "") == 0 ? 0 : -1;
}

FILE* fmemopen(void* buffer, size_t size, const char* mode) {
    if (mode == nullptr || mode[0] != 'r') {
        return nullptr;
    }
    FILE* file = std::tmpfile();
    if (file == nullptr) {
        return nullptr;
    }
    if (std::fwrite(buffer, 1, size, file) != size) {
        std::fclose(file);
        return nullptr;
    }
    std::rewind(file);
    return file;
}
