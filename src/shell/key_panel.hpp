// The key list (F1): the keys of the picture window in a panel over the picture, for a
// fullscreen installation where no console is seen.
#pragma once

// F1: the key list on / off, shown or hidden at once.
void ToggleKeyPanel();
