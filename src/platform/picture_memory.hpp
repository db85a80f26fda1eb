// Memory of decoded frame pictures. A frame picture is large (33 MB at 3840 x 2160 in 32 bits)
// and a new one comes with every new frame; fresh memory from the system costs a page fault and
// a cleared page every 4 KB, a quarter of a full-size decode. Freed pictures are kept for reuse.
#pragma once

#include <cstdint>
#include <opencv2/core.hpp>

// The allocator of frame pictures (cv::Mat::allocator): blocks of at least 1 MB that are freed
// are kept, while they are all of one size and together within the limit, and handed out again
// for the next picture of that size. A request of another size frees the kept ones. Safe from
// any thread; it lives as long as the process, so pictures may be freed at any time.
cv::MatAllocator* RecycledPictureMemory();

// Bytes the kept blocks may take together (0: nothing is kept). Set to the picture cache's
// budget, so the cache and the kept blocks together never hold more than the cache did at most.
void SetRecycledPictureLimit(int64_t bytes);

// Bytes kept for reuse now.
int64_t RecycledPictureBytes();
