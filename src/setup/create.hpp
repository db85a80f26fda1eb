// zeltran-setup create: a new installation folder ready for frames.
#pragma once

#include <string>

// The desktop entry template (dist/zeltran.desktop.in), built into the program.
extern const char kLauncherTemplate[];

// Makes dir (and the folders above it), dir/work with the player's pictures and settings files,
// an empty dir/S001, the launcher dir/zeltran.desktop and, unless the locale is Japanese,
// dir/zeltran.env that gives the service an English console; never overwrites a file, and says
// which it kept. Prints the next steps. Returns 0, or 1 when something could not be made.
int CreateInstallation(const std::string& dir);

// The launcher of an installation: the template with its working folder and name filled in,
// escaped as desktop entry strings; english starts the player with ZELTRAN_LANGUAGE=en.
std::string FillLauncher(const std::string& work, const std::string& name, bool english);
