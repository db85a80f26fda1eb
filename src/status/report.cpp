#include "status/report.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "schedule/schedule.hpp"

namespace {

constexpr char kVersion[] = "1.3";
constexpr int kPageRefreshSeconds = 2;

// Appends printf-style text to out.
void Append(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string* out, const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (length > 0)
        out->append(text, std::min<size_t>(static_cast<size_t>(length), sizeof text - 1));
}

// Seconds from at to now; negative when it never happened.
double SecondsSince(uint64_t at, uint64_t now) {
    if (at == 0) return -1.0;
    return now > at ? static_cast<double>(now - at) / 1e6 : 0.0;
}

const char* DirectionName(int32_t direction) {
    if (direction == 1) return "forward";
    if (direction == 0) return "backward";
    return "still";
}

// The ages every view shows, in the order of AgeNames.
struct Ages {
    double camera;
    double picture;
    double motion;
};

Ages AgesOf(const StatusSnapshot& status, uint64_t now) {
    return {SecondsSince(status.camera_picture_at, now), SecondsSince(status.new_picture_at, now),
            SecondsSince(status.motion_at, now)};
}

void AppendJsonAge(std::string* out, const char* name, double seconds) {
    if (seconds < 0.0) {
        Append(out, "\"%s\":null,", name);
    } else {
        Append(out, "\"%s\":%.1f,", name, seconds);
    }
}

void AppendMetric(std::string* out, const char* name, const char* type, const char* help,
                  double value) {
    Append(out, "# HELP zeltran_%s %s\n# TYPE zeltran_%s %s\n", name, help, name, type);
    // A time that never came has no sample: absent, not a made-up number.
    if (value >= 0.0) Append(out, "zeltran_%s %.10g\n", name, value);
}

void AppendPageAge(std::string* out, const char* what, double seconds) {
    if (seconds < 0.0) {
        Append(out, "<tr><th>%s</th><td>never</td></tr>\n", what);
    } else {
        Append(out, "<tr><th>%s</th><td>%.1f s ago</td></tr>\n", what, seconds);
    }
}

// Width of the motion bar in percent: the threshold sits at the middle.
int MotionPercent(const StatusSnapshot& status) {
    const double full = status.threshold > 0 ? 2.0 * status.threshold : 1.0;
    return static_cast<int>(std::clamp(100.0 * status.motion / full, 0.0, 100.0));
}

constexpr char kPageStyle[] =
    "body{font-family:sans-serif;margin:1em;background:#111;color:#eee}"
    "table{border-collapse:collapse}th{text-align:left;padding-right:1em;font-weight:normal;"
    "color:#aaa}td{font-variant-numeric:tabular-nums}"
    ".bar{position:relative;height:1.2em;background:#333;max-width:40em;margin:.3em 0}"
    ".bar div{height:100%;background:#4c4}.bar span{position:absolute;left:50%;top:0;"
    "bottom:0;border-left:2px solid #fc3}"
    "img{display:block;max-width:100%;margin:.5em 0;background:#222}"
    ".stale,.off,.retrying,.closed{color:#f66}";

std::string NextChangeIso(const StatusSnapshot& status) {
    return status.next_change == 0 ? "" : IsoLocalTime(static_cast<time_t>(status.next_change));
}

}  // namespace

const char* CameraState(const StatusSnapshot& status, uint64_t now) {
    if (status.paused) return "off";
    if (!status.camera_on) return status.camera_retrying ? "retrying" : "off";
    const bool fresh = status.camera_picture_at != 0 && now >= status.camera_picture_at &&
                       now - status.camera_picture_at <= kCameraStaleMicros;
    return fresh ? "on" : "stale";
}

std::string StatusJson(const StatusSnapshot& status, uint64_t now) {
    const Ages ages = AgesOf(status, now);
    std::string out = "{";
    Append(&out,
           "\"folder\":%d,\"frame\":%d,\"frames\":%d,\"direction\":\"%s\",\"speed_level\":%d,"
           "\"motion\":%d,\"threshold\":%d,\"camera\":\"%s\",\"camera_fps\":%.1f,",
           status.folder, status.frame, status.frames, DirectionName(status.direction),
           status.speed_level, status.motion, status.threshold, CameraState(status, now),
           status.camera_fps);
    AppendJsonAge(&out, "seconds_since_camera_frame", ages.camera);
    AppendJsonAge(&out, "seconds_since_new_picture", ages.picture);
    AppendJsonAge(&out, "seconds_since_motion", ages.motion);
    Append(&out, "\"uptime_seconds\":%.1f,\"version\":\"%s\",\"paused\":%s",
           std::max(0.0, SecondsSince(status.started_at, now)), kVersion,
           status.paused ? "true" : "false");
    if (status.schedule) {
        Append(&out, ",\"open\":%s,\"next_change\":", status.open ? "true" : "false");
        out += status.next_change == 0 ? "null" : "\"" + NextChangeIso(status) + "\"";
    }
    out += "}\n";
    return out;
}

std::string StatusMetrics(const StatusSnapshot& status, uint64_t now, uint64_t http_refused) {
    const Ages ages = AgesOf(status, now);
    const char* camera = CameraState(status, now);
    const auto up = [](bool yes) { return yes ? 1.0 : 0.0; };
    std::string out;
    AppendMetric(&out, "frames_shown_total", "counter", "New pictures shown since the start.",
                 static_cast<double>(status.frames_shown));
    AppendMetric(&out, "folder", "gauge", "Contents folder playing (1 is S001).", status.folder);
    AppendMetric(&out, "frame", "gauge", "Frame shown, counted from 0.", status.frame);
    AppendMetric(&out, "frames", "gauge", "Frames of the folder playing.", status.frames);
    AppendMetric(&out, "motion", "gauge", "Motion total of the last cycle.", status.motion);
    AppendMetric(&out, "threshold", "gauge", "Motion above this moves the picture.",
                 status.threshold);
    AppendMetric(&out, "camera_up", "gauge", "1 while the camera delivers new pictures.",
                 up(camera[0] == 'o' && camera[1] == 'n'));
    AppendMetric(&out, "camera_stale", "gauge",
                 "1 while the camera is on but sent no new picture for 3 s.", up(camera[0] == 's'));
    AppendMetric(&out, "camera_fps", "gauge", "New camera pictures a second.", status.camera_fps);
    AppendMetric(&out, "seconds_since_camera_frame", "gauge",
                 "Seconds since the last new camera picture.", ages.camera);
    AppendMetric(&out, "seconds_since_new_picture", "gauge",
                 "Seconds since a new picture was shown.", ages.picture);
    AppendMetric(&out, "seconds_since_motion", "gauge",
                 "Seconds since the motion last passed the threshold.", ages.motion);
    AppendMetric(&out, "paused", "gauge", "1 while the player is paused.", up(status.paused));
    AppendMetric(&out, "uptime_seconds", "gauge", "Seconds since the player started.",
                 std::max(0.0, SecondsSince(status.started_at, now)));
    if (status.schedule) {
        AppendMetric(&out, "open", "gauge", "1 while the opening hours say open.", up(status.open));
        AppendMetric(&out, "next_change_timestamp_seconds", "gauge",
                     "When the room opens or closes next (Unix time).",
                     status.next_change == 0 ? -1.0 : static_cast<double>(status.next_change));
    }
    AppendMetric(&out, "http_requests_refused_total", "counter",
                 "HTTP requests refused by the allow rules.", static_cast<double>(http_refused));
    AppendMetric(&out, "osc_packets_refused_total", "counter",
                 "OSC packets refused by the allow rules.",
                 static_cast<double>(status.osc_refused));
    return out;
}

std::string StatusPage(const StatusSnapshot& status, uint64_t now) {
    const Ages ages = AgesOf(status, now);
    const char* camera = CameraState(status, now);
    std::string out;
    Append(&out,
           "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta http-equiv=\"refresh\" content=\"%d\">\n"
           "<title>Zeltran S%03d frame %d</title>\n<style>%s</style></head><body>\n",
           kPageRefreshSeconds, status.folder, status.frame, kPageStyle);
    Append(&out,
           "<h1>Zeltran %s</h1>\n<p id=\"position\">S%03d &middot; frame <b id=\"frame\">%d</b> "
           "of %d &middot; %s &middot; speed %d%s</p>\n",
           kVersion, status.folder, status.frame, status.frames, DirectionName(status.direction),
           status.speed_level, status.paused ? " &middot; <b>paused</b>" : "");
    Append(&out,
           "<p>motion %d against threshold %d</p>\n<div class=\"bar\"><div style=\"width:%d%%\">"
           "</div><span></span></div>\n",
           status.motion, status.threshold, MotionPercent(status));
    Append(&out, "<table>\n<tr><th>camera</th><td class=\"%s\">%s, %.1f pictures/s</td></tr>\n",
           camera, camera, status.camera_fps);
    AppendPageAge(&out, "camera picture", ages.camera);
    AppendPageAge(&out, "new picture", ages.picture);
    AppendPageAge(&out, "motion over threshold", ages.motion);
    if (status.schedule) {
        const std::string until =
            status.next_change == 0
                ? std::string()
                : " until " + MomentText(static_cast<time_t>(status.wall_time),
                                         static_cast<time_t>(status.next_change));
        Append(&out, "<tr><th>opening hours</th><td id=\"hours\" class=\"%s\">%s%s</td></tr>\n",
               status.open ? "open" : "closed", status.open ? "open" : "closed", until.c_str());
    }
    Append(&out, "<tr><th>up</th><td>%.0f s</td></tr>\n</table>\n",
           std::max(0.0, SecondsSince(status.started_at, now)));
    // The sizes noted on load let a reader (or a test) see that both pictures arrived.
    for (const char* name : {"picture", "camera"}) {
        Append(&out,
               "<img id=\"%s\" src=\"/%s.jpg\" alt=\"%s\" "
               "onload=\"this.dataset.width=this.naturalWidth\">\n",
               name, name, name);
    }
    out += "</body></html>\n";
    return out;
}
