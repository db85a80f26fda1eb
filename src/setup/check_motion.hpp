// zeltran-setup check: what the player's motion measurement leaves out (SetMotion.txt).
#pragma once

// Reports the mask (found, its size, the share of the camera picture it excludes) and the light
// option of the working folder's SetMotion.txt; without the file, that the whole picture counts.
void CheckMotionSettings();
