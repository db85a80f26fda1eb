// The console's code set: texts are UTF-8 inside the program and written in the code set the
// console takes.
#pragma once

#include <cstddef>
#include <cstdio>

// Chooses the code set once, before any output (and how standard output is buffered), and
// hands the writer to the console (InitConsole). Call first.
void PrepareConsoleText();

// True when texts are written as Shift-JIS (CP932).
bool ConsoleTextIsShiftJis();

// Writes length bytes of UTF-8 text to stream in the console's code set.
void WriteConsoleText(FILE* stream, const char* text, size_t length);
