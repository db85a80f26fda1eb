// The key list (F1): the keys of the picture window in a panel over the picture, for a
// fullscreen installation where no console is seen.
#pragma once

// The list on / off, shown or hidden at once; lines are "KEYS\tWHAT IT DOES", the first half in
// the panel's left column (the key table makes them).
void ToggleKeyPanel(const char* const* lines, int count);
