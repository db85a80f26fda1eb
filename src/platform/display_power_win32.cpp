// Windows: the display is left on (black while closed); a display_off / display_on program of
// SetSchedule.txt can still switch it.
#include "platform/display_power.hpp"

DisplayPower DisplayPowerOff() {
    return DisplayPower::kUntouched;
}

void DisplayPowerOn() {}
