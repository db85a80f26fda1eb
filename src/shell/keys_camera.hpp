// The pause key and the camera key.
#pragma once

// ESC: pauses until Enter (true) or ESC / a quit request (ShutDown has run; false).
bool Pause();

// 'q': turns the camera on or off.
void SwitchCamera();
