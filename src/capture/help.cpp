#include "capture/help.hpp"

void ShowHelp() {}
