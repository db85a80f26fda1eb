// The main loop.
#pragma once

// Prologue then cycles until the user quits.
void RunMainLoop();

// The prologue: shared block, parameters, contents, frame file on the command line, help, timer.
void RunPrologue();

// One cycle; false when the program is to end (the user quit).
bool RunCycle();

// Shows the cached picture of the current frame now, following flip_mode, when it is loaded.
void ShowCurrentFrame();

// The step of a cycle without a command key: one frame on at no more than 30 frames/s while
// AutoReplayFlag is on.
void IdleStep();
