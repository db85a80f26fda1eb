#include "platform/environment.hpp"

#include <cstdlib>

void SetEnvironmentDefault(const char* name, const char* value) {
    setenv(name, value, 0);
}
