// The display settings file SetDisplay.txt.
#pragma once

// Prints the legend and reads the three display values; a missing file is silent and keeps
// the plain window.
void LoadDisplaySettings();
