// Start-up.
#pragma once

// The whole program: banner, converter check, arguments, video import, window, camera, pictures,
// then the main loop. Returns the process exit status.
int ZeltranMain(int argc, char** argv);
