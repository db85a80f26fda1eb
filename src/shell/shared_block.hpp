// The shared motion block "/LQT_SHARED_MEMORY" (or $ZELTRAN_SHM_NAME), 1024 bytes.
#pragma once

// Creates or opens and maps the block, then clears words 0 to 32. Ends the process with its
// message on failure.
void OpenSharedBlock();

// Copies the block into SI.
void ReadSharedBlock();

// Copies SI into the block.
void WriteSharedBlock();

// Clears words 0 to 32 of the block (read, clear, write).
void ClearSharedBlock();
