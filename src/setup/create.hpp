// zeltran-setup create: a new installation folder ready for frames.
#pragma once

#include <string>

// The desktop entry template (dist/zeltran.desktop.in), built into the program.
extern const char kLauncherTemplate[];

// Makes dir (and the folders above it), dir/work with the player's pictures and settings files,
// an empty dir/S001 and the launcher dir/zeltran.desktop; never overwrites a file, and says which
// it kept. Prints the next steps. Returns 0, or 1 when something could not be made.
int CreateInstallation(const std::string& dir);

// The launcher of an installation: the template with its working folder and name filled in,
// escaped as desktop entry strings.
std::string FillLauncher(const std::string& work, const std::string& name);
