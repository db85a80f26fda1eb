// zeltran-setup check: reads an installation with the player's own readers and reports what the
// player would find there.
#pragma once

#include <string>
#include <vector>

// Checks the installation folder dir (working folder dir/work); returns 0 when the player would
// play, 1 when something would stop it (each such problem is named on its own line). Reads only.
int CheckInstallation(const std::string& dir);

// Contents folders, frame-list and parameter files of the working folder (the current folder).
void CheckContentsFolders();

// The camera device the player would open, and every camera present under dev_root ("/dev").
void CheckCameras(const std::string& dev_root);

// Folder numbers that have a parameter file of their own, as the player names them.
std::vector<long long> OwnParameterFolders();

// Every settings-file line the player would take only in part or not at all, as warnings.
void CheckSettingsLines();

// Pictures in the contents folders that the player will not take, and frames of mixed sizes.
void CheckPictureFolders();
