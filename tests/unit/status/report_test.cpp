#include "status/report.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint64_t kSecond = 1000000;

StatusSnapshot CameraSeenAt(uint64_t at) {
    StatusSnapshot status;
    status.camera_on = true;
    status.camera_picture_at = at;
    status.started_at = 1;
    return status;
}

TEST(StatusReport, TheCameraTurnsStaleAfterThreeSecondsWithoutANewPicture) {
    const uint64_t seen = 10 * kSecond;
    EXPECT_STREQ(CameraState(CameraSeenAt(seen), seen + 3 * kSecond), "on");
    EXPECT_STREQ(CameraState(CameraSeenAt(seen), seen + 3 * kSecond + 1), "stale");
    StatusSnapshot status = CameraSeenAt(seen);
    status.paused = true;  // the pause closes the camera
    EXPECT_STREQ(CameraState(status, seen + 10 * kSecond), "off");
    status = StatusSnapshot();
    EXPECT_STREQ(CameraState(status, seen), "off");
    status.camera_retrying = true;
    EXPECT_STREQ(CameraState(status, seen), "retrying");

    const std::string metrics = StatusMetrics(CameraSeenAt(seen), seen + 4 * kSecond, 2);
    EXPECT_NE(metrics.find("\nzeltran_camera_up 0\n"), std::string::npos);
    EXPECT_NE(metrics.find("\nzeltran_camera_stale 1\n"), std::string::npos);
    EXPECT_NE(metrics.find("\nzeltran_seconds_since_camera_frame 4\n"), std::string::npos);
    EXPECT_NE(metrics.find("\nzeltran_http_requests_refused_total 2\n"), std::string::npos);
}

TEST(StatusReport, WhatNeverHappenedIsNullInJsonAndHasNoSample) {
    const StatusSnapshot status = CameraSeenAt(kSecond);
    const std::string json = StatusJson(status, 2 * kSecond);
    EXPECT_NE(json.find("\"seconds_since_camera_frame\":1.0,\"seconds_since_new_picture\":null,"
                        "\"seconds_since_motion\":null,"),
              std::string::npos)
        << json;
    const std::string metrics = StatusMetrics(status, 2 * kSecond, 0);
    EXPECT_NE(metrics.find("# HELP zeltran_seconds_since_motion Seconds since the motion last "
                           "passed the threshold.\n# TYPE zeltran_seconds_since_motion gauge\n#"),
              std::string::npos)
        << metrics;
    // Every line is a comment or a sample of a zeltran_ metric.
    size_t start = 0;
    for (size_t end; (end = metrics.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = metrics.substr(start, end - start);
        EXPECT_TRUE(line.rfind("# HELP zeltran_", 0) == 0 ||
                    line.rfind("# TYPE zeltran_", 0) == 0 || line.rfind("zeltran_", 0) == 0)
            << line;
    }
}

}  // namespace

namespace {

// Opening hours appear in every view only with SetSchedule.txt, and then with their next change.
TEST(StatusReport, OpeningHoursAreToldOnlyWithASchedule) {
    setenv("TZ", "UTC", 1);
    tzset();
    StatusSnapshot status;
    const std::string plain = StatusJson(status, kSecond);
    EXPECT_EQ(plain.find("open"), std::string::npos);
    EXPECT_EQ(StatusMetrics(status, kSecond, 0).find("zeltran_open"), std::string::npos);
    EXPECT_EQ(StatusPage(status, kSecond).find("opening hours"), std::string::npos);

    status.schedule = true;
    status.open = false;
    status.wall_time = 1799143200;    // Tue 2027-01-05 10:00 UTC
    status.next_change = 1799229600;  // Wed 10:00
    const std::string json = StatusJson(status, kSecond);
    EXPECT_EQ(json.substr(json.size() - 57),
              ",\"open\":false,\"next_change\":\"2027-01-06T10:00:00+00:00\"}\n");
    const std::string metrics = StatusMetrics(status, kSecond, 0);
    EXPECT_NE(metrics.find("\nzeltran_open 0\n"), std::string::npos) << metrics;
    EXPECT_NE(metrics.find("\nzeltran_next_change_timestamp_seconds 1799229600\n"),
              std::string::npos);
    EXPECT_NE(StatusPage(status, kSecond).find("class=\"closed\">closed until Wed 10:00</td>"),
              std::string::npos);
    status.next_change = 0;
    EXPECT_NE(StatusJson(status, kSecond).find("\"next_change\":null}"), std::string::npos);
}

}  // namespace
