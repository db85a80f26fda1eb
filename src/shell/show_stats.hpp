// Opt-in display statistics for benchmarks. With ZELTRAN_STATS_FILE set, the display step appends
// one line "shown COUNT UNIX_NS AHEAD" for the first picture shown and then for every 20th: the
// pictures shown so far, the wall-clock time in nanoseconds, and how many of the decoded pictures
// came from the decode-ahead thread. Without the variable nothing is counted or written.
#pragma once

// Counts one picture put on the screen by the display step.
void CountShownPicture();

// Counts one frame picture decoded for the cache; ahead: it came from the decode-ahead thread.
void CountDecodedPicture(bool ahead);
