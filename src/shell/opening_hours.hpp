// The opening hours of SetSchedule.txt (schedule/schedule.hpp) in the player: while the room is
// closed the player sleeps in here.
#pragma once

// First step of a cycle. When the room has closed: the camera is switched off as by q, the
// window shows black (or the closed picture), the display is powered down, and the player waits
// until the room opens, a key opens it for the technician (any key but ESC, which pauses as
// always) or the user quits. At opening the display comes back, the camera is switched on again
// if it was on at closing, and playback goes on at the frame shown at closing. False when the
// user quit meanwhile (ShutDown has run). Without the file: returns true at once.
bool KeepOpeningHours();
