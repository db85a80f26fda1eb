// The main loop.
#pragma once

// Prologue then cycles until the user quits.
void RunMainLoop();

// The prologue: shared block, parameters, contents, frame file on the command line, help, timer.
void RunPrologue();

// One cycle; false when the program is to end (the user quit).
bool RunCycle();
