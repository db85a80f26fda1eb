// The process environment.
#pragma once

// Sets name to value unless name is set already (a value the user set is kept).
void SetEnvironmentDefault(const char* name, const char* value);
