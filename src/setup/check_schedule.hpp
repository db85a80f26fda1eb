// zeltran-setup check: the opening hours of SetSchedule.txt.
#pragma once

// Reports each opening range and closed date as the player takes it, whether the room is open
// now and until when, the closed picture, and each line the player skips; without the file, that
// the player is always open.
void CheckSchedule();
