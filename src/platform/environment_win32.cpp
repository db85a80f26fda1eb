#include <cstdlib>

#include "platform/environment.hpp"

void SetEnvironmentDefault(const char* name, const char* value) {
    if (std::getenv(name) == nullptr) _putenv_s(name, value);
}
