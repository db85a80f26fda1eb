// Start-up.
#pragma once

// The whole program: banner, converter check, arguments, video import, window, camera, pictures,
// then the main loop. Returns the process exit status.
int ZeltranMain(int argc, char** argv);

// Echoes the command line and each argument, keeps the arguments in arg_path (each cut at 4999
// bytes, those beyond the table left out with a message) and prints their total length.
void RecordArguments(int argc, char** argv);
