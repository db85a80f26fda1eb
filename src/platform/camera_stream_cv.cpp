#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>
#include <thread>
#include <utility>

#include "common/redact.hpp"
#include "common/state.hpp"
#include "platform/camera.hpp"
#include "platform/camera_stream.hpp"
#include "platform/environment.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPictureWait = std::chrono::milliseconds(1000);  // as long as a V4L2 device
constexpr auto kReleaseWait = std::chrono::milliseconds(300);   // then the thread is left to end
constexpr int kOpenTimeoutMs = 2000;                            // FFmpeg's own default is 30 s
constexpr int kReadTimeoutMs = 1000;
constexpr char kGstreamerPrefix[] = "gst:";
// The appsink end of a pipeline that names none: BGR as the rest of the camera path expects,
// and a queue of one picture.
constexpr char kAppsinkEnd[] =
    " ! videoconvert ! video/x-raw,format=BGR ! appsink drop=true "
    "max-buffers=1";
// FFmpeg spends about a second estimating the frame rate of a live stream before it opens; the
// player paces itself by the pictures, so it is not asked. A value the user set is kept.
constexpr char kFfmpegOptions[] = "fpsprobesize;0";

enum class StreamState { kOpening, kRunning, kEnded };

// What the stream thread and the cycle share; it outlives a thread left to end by itself.
struct Shared {
    std::mutex lock;
    std::condition_variable changed;
    cv::Mat newest;                // 320 x 240 BGR, replaced (never written into) by each picture
    unsigned long long count = 0;  // pictures taken so far
    StreamState state = StreamState::kOpening;
    std::string ended_because;  // set with kEnded
    bool stop = false;          // the cycle released the stream
    bool finished = false;      // the thread has closed its capture and returns
};

struct Stream {
    std::shared_ptr<Shared> shared;
    std::thread thread;
    std::string shown;                 // the source with its credentials hidden
    unsigned long long delivered = 0;  // count of the last picture StreamRead gave
    std::string fault;
};
Stream stream;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool OpenCapture(cv::VideoCapture* capture, const std::string& source) {
    try {
        if (StartsWith(source, kGstreamerPrefix)) {
            // The GStreamer backend takes no timeouts; its reads give up after 30 s by themselves.
            return capture->open(GstreamerPipeline(source), cv::CAP_GSTREAMER);
        }
        return capture->open(source, cv::CAP_FFMPEG,
                             {cv::CAP_PROP_OPEN_TIMEOUT_MSEC, kOpenTimeoutMs,
                              cv::CAP_PROP_READ_TIMEOUT_MSEC, kReadTimeoutMs});
    } catch (const cv::Exception&) {
        return false;
    }
}

// A picture of any size as the camera path takes it: 320 x 240 BGR. A larger one is made grey
// first and then reduced by pixel area (a third of the work of reducing its three colours), and
// given back as BGR whose three colours are that grey, which the capture's grey conversion keeps
// exactly. False for pictures that are not 8-bit grey, BGR or BGRA.
bool ScaleToWorkingSize(const cv::Mat& picture, cv::Mat* scaled) {
    const cv::Size size(GLT_F_XMAX, GLT_F_YMAX);
    if (picture.depth() != CV_8U) return false;
    if (picture.size() == size && picture.channels() == 3) {
        *scaled = picture.clone();
        return true;
    }
    cv::Mat grey;
    switch (picture.channels()) {
        case 1:
            grey = picture;
            break;
        case 3:
            cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
            break;
        case 4:
            cv::cvtColor(picture, grey, cv::COLOR_BGRA2GRAY);
            break;
        default:
            return false;
    }
    cv::Mat small;
    cv::resize(grey, small, size, 0, 0, cv::INTER_AREA);
    cv::cvtColor(small, *scaled, cv::COLOR_GRAY2BGR);
    return true;
}

void End(Shared* shared, const char* because) {
    std::lock_guard<std::mutex> hold(shared->lock);
    if (shared->state != StreamState::kEnded) shared->ended_because = because;
    shared->state = StreamState::kEnded;
    shared->changed.notify_all();
}

void ReadPictures(const std::shared_ptr<Shared>& shared, cv::VideoCapture* capture) {
    cv::Mat picture;
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            if (shared->stop) return;
        }
        bool read = false;
        try {
            read = capture->read(picture) && !picture.empty();
        } catch (const cv::Exception&) {
            read = false;
        }
        if (!read) return End(shared.get(), "the stream ended or sent nothing for 1 s");
        cv::Mat scaled;
        if (!ScaleToWorkingSize(picture, &scaled)) {
            return End(shared.get(), "its pictures are not 8-bit grey or colour");
        }
        std::lock_guard<std::mutex> hold(shared->lock);
        if (shared->stop) return;
        shared->newest = std::move(scaled);
        ++shared->count;
        shared->state = StreamState::kRunning;
        shared->changed.notify_all();
    }
}

void RunStream(std::shared_ptr<Shared> shared, std::string source) {
    {
        cv::VideoCapture capture;
        if (OpenCapture(&capture, source)) {
            ReadPictures(shared, &capture);
        } else {
            End(shared.get(),
                "does not open (refused, no answer, wrong address, or no video there)");
        }
    }
    std::lock_guard<std::mutex> hold(shared->lock);
    shared->finished = true;
    shared->changed.notify_all();
}

}  // namespace

bool IsStreamSource(const std::string& source) {
    for (const char* prefix : {"rtsp://", "rtsps://", "http://", "https://", kGstreamerPrefix}) {
        if (StartsWith(source, prefix)) return true;
    }
    return false;
}

std::string GstreamerPipeline(const std::string& source) {
    std::string pipeline = source.substr(std::strlen(kGstreamerPrefix));
    if (pipeline.find("appsink") == std::string::npos) pipeline += kAppsinkEnd;
    return pipeline;
}

void StreamOpen(const std::string& source) {
    StreamRelease();
    if (!StartsWith(source, kGstreamerPrefix))
        SetEnvironmentDefault("OPENCV_FFMPEG_CAPTURE_OPTIONS", kFfmpegOptions);
    stream.shared = std::make_shared<Shared>();
    stream.shown = RedactCredentials(source);
    stream.delivered = 0;
    stream.fault.clear();
    stream.thread = std::thread(RunStream, stream.shared, source);
}

bool StreamIsOpen() {
    return stream.shared != nullptr;
}

bool StreamRead(cv::Mat* frame) {
    if (!stream.shared) return false;
    Shared& shared = *stream.shared;
    std::unique_lock<std::mutex> hold(shared.lock);
    const bool came = shared.changed.wait_for(hold, kPictureWait, [&] {
        return shared.count > stream.delivered || shared.state == StreamState::kEnded;
    });
    if (shared.count > stream.delivered) {
        // A copy: the capture flips its picture in place.
        *frame = shared.newest.clone();
        stream.delivered = shared.count;
        return true;
    }
    const char* because = shared.ended_because.c_str();
    if (!came) {
        because = shared.state == StreamState::kOpening ? "no answer within 1 s"
                                                        : "sent no picture for 1 s";
    }
    stream.fault = "Camera " + stream.shown + ": " + because;
    return false;
}

void StreamRelease() {
    if (!stream.shared) return;
    Shared& shared = *stream.shared;
    std::unique_lock<std::mutex> hold(shared.lock);
    shared.stop = true;
    const bool finished =
        shared.changed.wait_for(hold, kReleaseWait, [&] { return shared.finished; });
    hold.unlock();
    if (finished) {
        stream.thread.join();
    } else {
        stream.thread.detach();
    }
    stream.shared.reset();
}

std::string StreamFault() {
    return stream.fault;
}
