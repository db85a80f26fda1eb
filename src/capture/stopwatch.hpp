// The cycle stopwatch.
#pragma once

// Stores the current time as the start.
void StartTimer();

// Reciprocal of the seconds since StartTimer, capped at 999.0; does not restart.
double ReadTimer();
