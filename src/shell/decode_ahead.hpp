// Decode-ahead: a second thread decodes the frame pictures the display step will want next, so a
// cycle that needs a new frame mostly finds it ready. The thread sees only paths and pictures;
// the frame list, the cache and its flags stay with the main thread.
#pragma once

#include <opencv2/core.hpp>
#include <string>
#include <vector>

// Frames decoded ahead of the position: enough to cover a cycle that takes longer than a decode,
// few enough that 4K pictures waiting stay near 100 MB.
constexpr int kDecodeAheadFrames = 3;

struct AheadPicture {
    std::string path;  // picture file, as DecodePictureReduced takes it
    int denominator;   // decode at 1/denominator of the size (1, 2, 4, 8)
    int channels = 3;  // 3: BGR, 4: BGRA (see DecodePictureReduced)
};

// True unless ZELTRAN_DECODE_AHEAD is "0" or SetDecodeAhead(false) was called: the display step
// then decodes every frame itself (the plain path, for comparison).
bool DecodeAheadOn();
void SetDecodeAhead(bool on);

// Threads that decode ahead: one fewer than the cores the process may use (the main thread
// shows and decodes too), at least 1, at most as many as pictures are wanted ahead. A count
// above 0 set here replaces that choice when the threads start next (for tests); 0 restores it.
int DecodeAheadThreads();
void SetDecodeAheadThreads(int count);

// Replaces the pictures wanted ahead, nearest first, and starts the threads on first use. Pictures
// no longer wanted are forgotten, whether waiting, being decoded or done.
void DecodeAheadWant(const std::vector<AheadPicture>& wanted);

// The picture of path at 1/denominator with channels when the thread has decoded it, or is decoding
// it now (the call then waits for it). Empty when it was not wanted, not begun, or could not be
// decoded: the caller decodes it itself; also when the file changed since it was decoded. A picture
// is handed out once.
cv::Mat DecodeAheadTake(const char* path, int denominator, int channels = 3);

// Waits until every wanted picture is decoded (tests use it to make the thread's progress
// certain).
void DecodeAheadWaitIdle();

// Forgets every wanted and decoded picture; a decode under way finishes and is thrown away.
void DecodeAheadClear();

// Stops the threads and waits for them (also done at exit). A later DecodeAheadWant starts them
// again.
void DecodeAheadStop();

// Pictures the thread has decoded since start (for tests and statistics).
int DecodeAheadCount();

// The frames the next cycles will show if the motion goes on: from frame_no, VR_step by VR_step
// in direction, with the end rule of wrap_flag; at most count distinct frames other than the
// current one, leaving out loaded frames and frames without a file. Nearest first.
std::vector<int> FramesAhead(int count);
