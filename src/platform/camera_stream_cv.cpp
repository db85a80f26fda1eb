#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>
#include <thread>
#include <utility>
#include <vector>

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
constexpr int kDamagedInARow = 30;  // undecodable JPEG pictures in a row that end a stream
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

// The stream thread's capture and how it turns what the capture gives into pictures.
struct Reader {
    cv::VideoCapture capture;
    // The capture gives each picture's JPEG bytes undecoded (Motion-JPEG over HTTP or RTSP).
    // They are decoded here at a reduced scale straight to grey: libjpeg's scaled transform
    // makes a 1920 x 1080 picture at a quarter of its size in a fraction of the time of a full
    // decode and its colour conversion, so the thread keeps up with the stream on a busy machine.
    bool jpeg = false;
    int reduction = 0;     // the decoder's scale 1/reduction; 0: the next picture in full
    bool decoded = false;  // a picture of this stream was decoded as JPEG
};

bool OpenFfmpeg(cv::VideoCapture* capture, const std::string& source, bool undecoded) {
    std::vector<int> parameters = {cv::CAP_PROP_OPEN_TIMEOUT_MSEC, kOpenTimeoutMs,
                                   cv::CAP_PROP_READ_TIMEOUT_MSEC, kReadTimeoutMs};
    if (undecoded) parameters.insert(parameters.end(), {cv::CAP_PROP_FORMAT, -1});
    return capture->open(source, cv::CAP_FFMPEG, parameters);
}

bool OpenCapture(Reader* reader, const std::string& source) {
    try {
        if (StartsWith(source, kGstreamerPrefix)) {
            // The GStreamer backend takes no timeouts; its reads give up after 30 s by themselves.
            return reader->capture.open(GstreamerPipeline(source), cv::CAP_GSTREAMER);
        }
        reader->jpeg = true;
        return OpenFfmpeg(&reader->capture, source, true);
    } catch (const cv::Exception&) {
        return false;
    }
}

// The largest of 1, 2, 4 and 8 that leaves a width x height picture at least 320 x 240.
int ReductionFor(int width, int height) {
    int reduction = 8;
    while (reduction > 1 && (width / reduction < GLT_F_XMAX || height / reduction < GLT_F_YMAX)) {
        reduction /= 2;
    }
    return reduction;
}

// JPEG bytes as a picture: the first in full colour (its size sets the reduction), later ones
// at the reduction in grey; a camera of 320 x 240 or a little more keeps its colours.
cv::Mat DecodeJpeg(Reader* reader, const cv::Mat& bytes) {
    int flags = cv::IMREAD_COLOR;
    if (reader->reduction == 2) flags = cv::IMREAD_REDUCED_GRAYSCALE_2;
    if (reader->reduction == 4) flags = cv::IMREAD_REDUCED_GRAYSCALE_4;
    if (reader->reduction == 8) flags = cv::IMREAD_REDUCED_GRAYSCALE_8;
    cv::Mat picture = cv::imdecode(bytes, flags);
    if (picture.empty()) return picture;
    if (reader->reduction == 0) reader->reduction = ReductionFor(picture.cols, picture.rows);
    // A camera that made its pictures smaller: the next one is decoded in full again.
    if (picture.cols < GLT_F_XMAX || picture.rows < GLT_F_YMAX) reader->reduction = 0;
    return picture;
}

// The next picture of the stream; false when none came. A damaged JPEG picture (a packet
// lost on the way) is skipped; bytes that never decoded as JPEG (H.264, say) open the stream
// again with the capture's own decoder.
bool NextPicture(Reader* reader, const std::string& source, cv::Mat* picture) {
    try {
        for (int damaged = 0; damaged < kDamagedInARow; ++damaged) {
            if (!reader->capture.read(*picture) || picture->empty()) return false;
            if (!reader->jpeg) return true;
            const cv::Mat bytes = *picture;
            *picture = DecodeJpeg(reader, bytes);
            if (!picture->empty()) {
                reader->decoded = true;
                return true;
            }
            if (reader->decoded) continue;
            reader->jpeg = false;
            reader->capture.release();
            return OpenFfmpeg(&reader->capture, source, false) && reader->capture.read(*picture) &&
                   !picture->empty();
        }
    } catch (const cv::Exception&) {
        // A capture that throws counts as a stream that ended.
    }
    return false;
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

void ReadPictures(const std::shared_ptr<Shared>& shared, Reader* reader,
                  const std::string& source) {
    cv::Mat picture;
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            if (shared->stop) return;
        }
        if (!NextPicture(reader, source, &picture)) {
            return End(shared.get(), "the stream ended or sent nothing for 1 s");
        }
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
        Reader reader;
        if (OpenCapture(&reader, source)) {
            ReadPictures(shared, &reader, source);
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
