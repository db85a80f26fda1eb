// The shared motion block "/LQT_SHARED_MEMORY" (or $ZELTRAN_SHM_NAME), 1024 bytes, mode 0600.
// All access goes through the private mirror SI, whole block at a time. Written by the motion
// measurement (this copy's camera) and by the network (other computers' cameras).
#pragma once

#include <cstdint>

// The block's name without its leading '/': $ZELTRAN_SHM_NAME when set, else LQT_SHARED_MEMORY.
const char* SharedBlockName();

// Creates or opens and maps the block, then clears words 0 to 32. Ends the process with its
// message and status 1 on failure.
void OpenSharedBlock();

// Copies the block into SI (SI stays as it is while no block is open).
void ReadSharedBlock();

// Copies SI into the block (nothing while no block is open).
void WriteSharedBlock();

// Clears words 0 to 32 of the block (read, clear, write); words 33 to 255 are carried through.
void ClearSharedBlock();

// Stores value in camera slot (0..31; any other slot stores nothing) and rebuilds word 0 as the
// sum of the 32 slots (read, change, write).
void PublishSlot(int32_t slot, int32_t value);
