// The folder scan that fills the frame list.
#pragma once

// Highest frame number tried, and the misses in a row after which a scan gives up.
constexpr int kLastFrameNumber = 25000;
constexpr int kMaxMisses = 22000;

// Fills FrameData[0 ..] with the frames of folder folder_number in ascending frame-number order
// and sets MaxCount, exactly as probing clip_00000.jpg, clip_00001.jpg, ... one name at a time
// would (same records, same progress lines, same miss and count limits), but from one listing of
// the folder. A folder that cannot be listed holds no frame.
void ScanFolder(long long folder_number);
