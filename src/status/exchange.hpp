// Between the main loop and the status server's thread. The loop leaves a copy of its state each
// cycle (the lock is held only for the copy) and hands over a picture only after the server has
// asked for one; the server makes the JPEG files on its own thread and never writes into it.
#pragma once

#include <cstdint>
#include <opencv2/core.hpp>
#include <string>

#include "status/report.hpp"

enum class PictureKind { kShown = 0, kCamera = 1 };

constexpr uint64_t kPictureEveryMicros = 500000;  // a new JPEG file at most twice a second
constexpr int kLargestPictureWidth = 640;         // the shown picture is scaled down to this

// The loop's side.
void PutSnapshot(const StatusSnapshot& status);
// True when the server waits for a picture of kind (cheap: one atomic read).
bool PictureAsked(PictureKind kind);
// Hands picture to the waiting server (a handle: the picture must not change afterwards);
// dropped when nobody waits any more.
void HandPicture(PictureKind kind, cv::Mat picture);

// The server's side.
StatusSnapshot TakeSnapshot();
// The JPEG file of kind: the one made less than 0.5 s ago, else a new one from a picture the loop
// hands over within wait_ms, else the last one made. False when there is none at all.
bool PictureJpeg(PictureKind kind, uint64_t now, int wait_ms, std::string* jpeg);
// Forgets the pictures and JPEG files (the server has stopped).
void ClearExchange();
