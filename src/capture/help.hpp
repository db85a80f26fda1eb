// The help screen.
#pragma once

// Prints the licence notice, the key list and the camera banner of the camera state.
void ShowHelp();
