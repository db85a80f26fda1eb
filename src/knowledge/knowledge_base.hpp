// Knowledge-base files TRUVO_data-N-1.dat .. -4.dat.
#pragma once

// Loads the four files of folder folder_index + 1; -1 (nothing changed) when one is missing.
int ReadKB();

// Frees every sample record and marks every cell empty.
void FreeKnowledgeBase();
