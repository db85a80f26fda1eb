// Console output. Source texts are UTF-8; they reach the console in the code set of the user's
// locale (Shift-JIS / CP932 where the locale says so, UTF-8 otherwise).
#pragma once

#include <cstddef>
#include <cstdio>

// Writes length bytes of UTF-8 text to stream in the console's code set.
using ConsoleWriter = void (*)(FILE* stream, const char* text, size_t length);

// Hands in the platform's writer (platform/console_text, prepared from the environment's locale
// first, so that even texts printed before the program sets its locale come out right). Until
// then texts go out as they are.
void InitConsole(ConsoleWriter writer);

// printf to stdout, converted to the console code set.
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf to stderr, converted to the console code set.
void PrintError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes text as it stands (no format), converted to the console code set.
void PrintText(const char* text);

// While mute is true, Print and PrintText write nothing (PrintError still does): the installation
// check reads files with the player's readers and reports the values in its own words.
void MuteConsole(bool mute);
