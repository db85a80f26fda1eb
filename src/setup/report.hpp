// The report of the installation check: one line per finding as it is made, and the problems that
// would stop the player, repeated at the end.
#pragma once

#include <string>

// Prints "label  text" with the labels lined up.
void Say(const char* label, const std::string& text);

// Records a problem that would stop the player (or end it on its first use) and prints it.
void Block(const std::string& problem);

// Records something the player would take otherwise than the user meant, and prints it. Warnings
// do not change the exit status.
void Warn(const std::string& warning);

// Prints the verdict, the problems and the warnings again; returns the exit status (0 plays, 1
// problems).
int Conclude();

// Runs read with the console muted: the player's readers print legends and progress lines that
// the report states in its own words.
template <typename Read>
void Quietly(Read read);

// The settings file name in the working folder as a file to read: true when it is a regular
// file. A missing file is not mentioned; anything else is reported under label and not read (a
// pipe would hold the player at start-up, so it counts as a problem).
bool SettingsFileToRead(const char* label, const char* name);

#include "common/console.hpp"
#include "common/path.hpp"

template <typename Read>
void Quietly(Read read) {
    MuteConsole(true);
    read();
    MuteConsole(false);
}
