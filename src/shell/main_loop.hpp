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

// The step of a cycle without a command key: with AutoReplayFlag on, one frame in direction,
// printing the new frame's side picture names, paced to at most 30 frames a second.
void IdleStep();
