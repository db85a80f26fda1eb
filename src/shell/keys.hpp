// Key commands.
#pragma once

// Runs the command of key (or the idle step). False when the user quit (ShutDown has run).
bool RunKeyCommand(int key);

// Prints the "Changed Contents Folder" message for folder_index.
void PrintFolderMessage();
