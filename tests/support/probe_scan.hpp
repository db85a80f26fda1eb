// The folder scan done the plain way, one existence test per candidate frame name: the reference
// that the listing-based scan must match, and the baseline of its benchmark.
#pragma once

// Fills FrameData / MaxCount of folder folder_number by probing; prints the progress lines.
void ScanFolderByProbing(long long folder_number);
