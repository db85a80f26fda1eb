#include "status/exchange.hpp"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {

constexpr int kJpegQuality = 80;

struct Made {
    std::string jpeg;
    uint64_t at = 0;  // ClockMicros of the last ask to the loop; 0: never asked
};

std::mutex mutex;
std::condition_variable handed_over;
StatusSnapshot snapshot;
std::atomic<bool> asked[2];
cv::Mat handed[2];
Made made[2];  // touched by the server's thread only

int KindIndex(PictureKind kind) {
    return static_cast<int>(kind);
}

// The loop's picture as the screen shows it (flipped), at most 640 pixels wide, in 3 channels.
// The loop's own picture is only read: every step writes a new one.
cv::Mat Prepared(PictureKind kind, const cv::Mat& loop_picture, int flip) {
    cv::Mat picture = loop_picture;
    if (picture.channels() == 4) {
        cv::Mat three;
        cv::cvtColor(picture, three, cv::COLOR_BGRA2BGR);
        picture = three;
    }
    if (kind == PictureKind::kShown && picture.cols > kLargestPictureWidth) {
        const double scale = static_cast<double>(kLargestPictureWidth) / picture.cols;
        cv::Mat smaller;
        cv::resize(picture, smaller, cv::Size(), scale, scale, cv::INTER_AREA);
        picture = smaller;
    }
    if (kind == PictureKind::kShown && (flip == 1 || flip == 2)) {
        cv::Mat flipped;
        cv::flip(picture, flipped, flip == 1 ? 1 : 0);
        picture = flipped;
    }
    return picture;
}

// Asks the loop for a picture and waits up to wait_ms for it; empty when none came.
cv::Mat AskLoop(PictureKind kind, int wait_ms) {
    const int index = KindIndex(kind);
    std::unique_lock<std::mutex> lock(mutex);
    handed[index].release();
    asked[index] = true;
    handed_over.wait_for(lock, std::chrono::milliseconds(wait_ms),
                         [index] { return !handed[index].empty(); });
    asked[index] = false;
    cv::Mat picture = handed[index];
    handed[index].release();
    return picture;
}

}  // namespace

void PutSnapshot(const StatusSnapshot& status) {
    const std::lock_guard<std::mutex> lock(mutex);
    snapshot = status;
}

bool PictureAsked(PictureKind kind) {
    return asked[KindIndex(kind)].load(std::memory_order_relaxed);
}

void HandPicture(PictureKind kind, cv::Mat picture) {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!asked[KindIndex(kind)]) return;
        handed[KindIndex(kind)] = picture;
        asked[KindIndex(kind)] = false;
    }
    handed_over.notify_all();
}

StatusSnapshot TakeSnapshot() {
    const std::lock_guard<std::mutex> lock(mutex);
    return snapshot;
}

bool PictureJpeg(PictureKind kind, uint64_t now, int wait_ms, std::string* jpeg) {
    Made& last = made[KindIndex(kind)];
    const StatusSnapshot status = TakeSnapshot();
    // A paused loop does not turn, and a camera that is off has nothing new: no one to ask.
    const bool can_answer = !status.paused && (kind == PictureKind::kShown || status.camera_on);
    if (can_answer && (last.at == 0 || now - last.at >= kPictureEveryMicros)) {
        // Asked at most twice a second, answered or not.
        last.at = now;
        const cv::Mat picture = AskLoop(kind, wait_ms);
        std::vector<uchar> bytes;
        if (!picture.empty() && cv::imencode(".jpg", Prepared(kind, picture, status.flip), bytes,
                                             {cv::IMWRITE_JPEG_QUALITY, kJpegQuality})) {
            last.jpeg.assign(bytes.begin(), bytes.end());
        }
    }
    if (last.jpeg.empty()) return false;
    *jpeg = last.jpeg;
    return true;
}

void ClearExchange() {
    const std::lock_guard<std::mutex> lock(mutex);
    for (int index = 0; index < 2; ++index) {
        handed[index].release();
        made[index] = Made();
    }
    snapshot = StatusSnapshot();
}
