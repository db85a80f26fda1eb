// Knowledge-base files TRUVO_data-N-1.dat .. -4.dat of folder N = folder_index + 1.
#pragma once

#include <cstdio>
#include <string>

// Loads the four files of folder folder_index + 1; -1 (nothing changed, no message) when one is
// missing, else 0.
int ReadKB();

// Frees every sample record and marks every cell empty.
void FreeKnowledgeBase();

// Opens one knowledge-base file; on failure prints "Couldn't Open File in ReadKB()-[ name ]." on
// stderr and returns nullptr.
FILE* OpenKnowledgeFile(const std::string& name, const char* mode);
