// The banners as the player prints them, for exact-text checks. The camera banners are the five
// lines with their leading line break; the printers add one "\n" line after them.
#pragma once

#include <string>

inline const std::string kCameraOnBanner =
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOOO    O     O   \n"
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O     O   OO    O   \n"
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O     O   O  O  O   \n"
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O     O   O    OO   \n"
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOOO    O     O   \n";

inline const std::string kCameraOffBanner =
    "\n  OOO    OOO   O     O  OOOO  OOOO    OOO            OOOO    OOOOO  OOOOO \n"
    " O   O  O   O  OO   OO  O     O   O  O   O    OO    O    O   O      O     \n"
    " O      OOOOO  O O O O  OOOO  OOOO   OOOOO          O    O   OOOO   OOOO  \n"
    " O   O  O   O  O  O  O  O     O  O   O   O    OO    O    O   O      O     \n"
    "  OOO   O   O  O     O  OOOO  O   O  O   O           OOOO    O      O     \n";

inline const std::string kPauseBanner =
    "\n\n OOOO    OOO   O   O   OOOO  OOOOO  O \n"
    " O   O  O   O  O   O  O      O      O \n"
    " OOOO   OOOOO  O   O   OOO   OOOO   O \n"
    " O      O   O  O   O      O  O        \n"
    " O      O   O   OOO   OOOO   OOOOO  O \n\n";

inline const std::string kGoBanner =
    "\n  OOO            O \n"
    " O       OOOO    O \n"
    " O OOOO O    O   O \n"
    " O   O  O    O     \n"
    "  OOO    OOOO    O \n\n";

inline const std::string kFarewellBanner =
    "\n\n  OOO                O     O                 O\n"
    " O                   O     O                 O\n"
    " O      OO     OO     O   O                  O\n"
    "  OO   O  O   O  O     O O    OOO  O    O    O\n"
    "    O OOOOOO OOOOOO     O    O   O O    O     \n"
    "    O O      O          O    O   O O   OO    O\n"
    " OOO   OOOO   OOOO      O     OOO   OOO  O   O\n\n";
