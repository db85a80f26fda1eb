#include "status/status.hpp"

#include <atomic>
#include <cstring>
#include <string>

#include "capture/camera_retry.hpp"
#include "common/state.hpp"
#include "network/receive.hpp"
#include "platform/clock.hpp"
#include "platform/http.hpp"
#include "platform/service_notify.hpp"
#include "schedule/schedule.hpp"
#include "status/exchange.hpp"
#include "status/report.hpp"

namespace {

constexpr uint64_t kFpsWindowMicros = 1000000;
constexpr int kPictureWaitMs = 250;  // the loop turns at least a few times a second
constexpr size_t kLongestHead = 8192;

NetworkSettings allow_rules;  // written before the server starts, then only read
bool serving = false;
std::atomic<uint64_t> http_refused{0};

// The loop's own record between cycles; copied out while serving.
StatusSnapshot seen;
bool camera_was_on = false;
double last_shown = -1.0;
uint64_t fps_since = 0;
int fps_pictures = 0;

bool Following() {
    return serving || ServiceNotifyOn();
}

// A real sensor never delivers the same noise twice: two equal pictures in a row mean the camera
// or its driver is stuck on one picture.
bool NewCameraPicture() {
    return std::memcmp(grey_pair, grey_pair + kGreyFrameBytes, kGreyFrameBytes) != 0;
}

void FollowCamera(uint64_t now, bool paused) {
    const bool on = camera_on == 1 && !paused;
    if (on && !camera_was_on) {
        // Switching on starts the clock: the first picture may take a moment.
        seen.camera_picture_at = now;
        fps_since = now;
        fps_pictures = 0;
    } else if (on && NewCameraPicture()) {
        seen.camera_picture_at = now;
        ++fps_pictures;
    }
    if (!on) {
        seen.camera_fps = 0.0;
    } else if (now - fps_since >= kFpsWindowMicros) {
        seen.camera_fps = fps_pictures * 1e6 / static_cast<double>(now - fps_since);
        fps_since = now;
        fps_pictures = 0;
    }
    camera_was_on = on;
}

void FollowPlayer(uint64_t now) {
    if (seen.started_at == 0) seen.started_at = now;
    if (shown_frame_no >= 0.0 && shown_frame_no != last_shown) {
        ++seen.frames_shown;
        seen.new_picture_at = now;
    }
    last_shown = shown_frame_no;
    if (DifferenceSum > VR_threshold) seen.motion_at = now;
}

// A cached picture is never written after its decode (the window flips at drawing time), so the
// server may read it through a second handle: the loop copies nothing, and a cache drop leaves
// the picture alive until the server is done with it.
cv::Mat ShownPicture(bool paused) {
    if (paused) return pause_picture;
    const int n = static_cast<int>(shown_frame_no);
    if (n < 0 || n >= MaxCount || FrameData[n].loaded != 1) return cv::Mat();
    return frame_cache[n];
}

cv::Mat CameraPicture() {
    const int last = grey_pair_index != 0 ? 0 : 1;  // the half the last capture wrote
    return cv::Mat(GLT_F_YMAX, GLT_F_XMAX, CV_8UC1, grey_pair + last * kGreyFrameBytes).clone();
}

void Reply(HttpReply* reply, int status, const char* type, std::string body) {
    reply->status = status;
    reply->type = type;
    reply->body = std::move(body);
}

void ReplyPicture(PictureKind kind, uint64_t now, HttpReply* reply) {
    std::string jpeg;
    if (PictureJpeg(kind, now, kPictureWaitMs, &jpeg)) {
        Reply(reply, 200, "image/jpeg", std::move(jpeg));
    } else {
        Reply(reply, 503, "text/plain; charset=utf-8", "No picture yet.\n");
    }
}

// Read-only: no request changes anything in the player.
void Answer(const HttpRequest& request, HttpReply* reply) {
    constexpr char kText[] = "text/plain; charset=utf-8";
    if (!SenderAllowed(allow_rules, request.client)) {
        ++http_refused;
        return Reply(reply, 403, kText, "Forbidden.\n");
    }
    if (request.head_bytes > kLongestHead) {
        return Reply(reply, 431, kText, "Request head over 8 KiB.\n");
    }
    const std::string method = request.method;
    if (method != "GET" && method != "HEAD") {
        reply->allow = "GET, HEAD";
        return Reply(reply, 405, kText, "Only GET and HEAD.\n");
    }
    const std::string path = request.path;
    const uint64_t now = ClockMicros();
    if (path == "/")
        return Reply(reply, 200, "text/html; charset=utf-8", StatusPage(TakeSnapshot(), now));
    if (path == "/status.json") {
        return Reply(reply, 200, "application/json", StatusJson(TakeSnapshot(), now));
    }
    if (path == "/metrics") {
        return Reply(reply, 200, "text/plain; version=0.0.4; charset=utf-8",
                     StatusMetrics(TakeSnapshot(), now, http_refused));
    }
    if (path == "/picture.jpg") return ReplyPicture(PictureKind::kShown, now, reply);
    if (path == "/camera.jpg") return ReplyPicture(PictureKind::kCamera, now, reply);
    Reply(reply, 404, kText, "Not found.\n");
}

}  // namespace

void StartStatusServer(const NetworkSettings& settings) {
    if (settings.http_port == 0 || serving) return;
    allow_rules = settings;
    serving = StartHttpServer(settings.http_port, Answer);
}

void PublishStatus(bool paused) {
    if (!Following()) return;
    const uint64_t now = ClockMicros();
    FollowCamera(now, paused);
    FollowPlayer(now);
    if (!serving) return;
    seen.folder = folder_index + 1;
    seen.frame = static_cast<int32_t>(shown_frame_no >= 0.0 ? shown_frame_no : frame_no);
    seen.frames = MaxCount;
    seen.direction = direction;
    seen.speed_level = REPLAY_SPEED;
    seen.motion = DifferenceSum;
    seen.threshold = VR_threshold;
    seen.flip = flip_mode;
    seen.camera_on = camera_on == 1;
    seen.camera_retrying = CameraRetrying();
    seen.paused = paused;
    seen.osc_refused = CountsOfReceiving().refused;
    const ScheduleStatus hours = CurrentScheduleStatus();
    seen.schedule = hours.in_use;
    if (hours.in_use) {
        seen.open = hours.open;
        seen.next_change = hours.next_change;
        seen.wall_time = WallClockSeconds();
    }
    PutSnapshot(seen);
    // Copies only when the server asked, at most twice a second.
    if (PictureAsked(PictureKind::kShown)) HandPicture(PictureKind::kShown, ShownPicture(paused));
    if (PictureAsked(PictureKind::kCamera) && camera_on == 1 && !paused) {
        HandPicture(PictureKind::kCamera, CameraPicture());
    }
}

bool CameraStale() {
    if (camera_on != 1 || !Following() || seen.camera_picture_at == 0) return false;
    return ClockMicros() - seen.camera_picture_at > kCameraStaleMicros;
}

void StopStatusServer() {
    if (!serving) return;
    StopHttpServer();
    ClearExchange();
    serving = false;
}
