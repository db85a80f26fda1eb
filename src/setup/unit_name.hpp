// Names of the service unit of an installation.
#pragma once

#include <string>

// path escaped the way systemd-escape --path does: slashes at both ends dropped, the others as
// '-', every byte outside [A-Za-z0-9:_.] (and a leading '.') as \xNN; "/" alone is "-".
std::string EscapeUnitPath(const std::string& path);

// "zeltran@" + EscapeUnitPath(root) + ".service".
std::string ServiceUnitName(const std::string& root);
