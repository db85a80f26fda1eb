// Key read from the console (not the picture window).
#pragma once

// Waits for one key: read raw and without echo when stdin is a terminal, else one plain byte, so
// a closed or exhausted standard input ends the wait at once. Returns the byte, or -1 at the end.
int ReadConsoleKey();
