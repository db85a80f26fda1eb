// The status server of the real player on loopback: what it tells, what it refuses, hostile
// clients, and the page in a real browser.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <opencv2/imgcodecs.hpp>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/http_client.hpp"
#include "support/temp_tree.hpp"
#include "unit/capture/camera_clip.hpp"
#include "window/harness.hpp"

namespace {

// Starts player on 20 frames of 320 x 240, serving HTTP on a free port (returned) under the
// allow lines given; with_camera: a camera whose pictures change but never move the picture.
int StartServing(Player& player, bool with_camera, const std::string& allow = "") {
    const int port = FreeTcpPort();
    player.WriteFile("SetNetwork.txt", "http " + std::to_string(port) + "\n" + allow);
    if (with_camera) {
        // Grey 100 and 101 by turns: new pictures, motion far below the threshold.
        std::vector<cv::Mat> pictures;
        for (int i = 0; i < 1800; ++i) pictures.push_back(clip::Flat(100 + i % 2));
        player.CameraSource(clip::WriteVideo(player.root() + "/camera.avi", pictures));
    }
    StartOnFrames(player, 20, 320, 240);
    EXPECT_TRUE(player.WaitForOutput("SET: http = " + std::to_string(port) + "\n"));
    if (with_camera) player.Key("q");
    return port;
}

// Waits until /status.json holds text.
bool StatusHolds(int port, const std::string& text) {
    for (int tries = 0; tries < 100; ++tries) {
        if (HttpBody(HttpGet(port, "/status.json")).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

cv::Mat JpegOf(const std::string& response) {
    const std::string body = HttpBody(response);
    return cv::imdecode(std::vector<uchar>(body.begin(), body.end()), cv::IMREAD_UNCHANGED);
}

// The value of a metric without labels; -1 when absent.
double Metric(int port, const std::string& name) {
    const std::string metrics = HttpBody(HttpGet(port, "/metrics"));
    const size_t at = metrics.find("\n" + name + " ");
    return at == std::string::npos ? -1.0 : std::atof(metrics.c_str() + at + name.size() + 2);
}

int OpenDescriptors(pid_t pid) {
    DIR* folder = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str());
    int count = 0;
    while (folder != nullptr && readdir(folder) != nullptr) ++count;
    if (folder != nullptr) closedir(folder);
    return count;
}

TEST(StatusPage, TellsWhatThePlayerShowsAndSeesAndChangesNothing) {
    Player player;
    const int port = StartServing(player, true);
    ASSERT_TRUE(StatusHolds(port, "\"camera\":\"on\"")) << HttpGet(port, "/status.json");
    // The first camera picture, against black, moves the picture once.
    const std::string json = HttpBody(HttpGet(port, "/status.json"));
    std::smatch found;
    ASSERT_TRUE(std::regex_search(
        json, found,
        std::regex(R"(^\{"folder":1,"frame":(\d+),"frames":20,"direction":"forward",)"
                   R"("speed_level":3,"motion":\d+,"threshold":11500,"camera":"on",)"
                   R"("camera_fps":[\d.]+,"seconds_since_camera_frame":[\d.]+,)"
                   R"("seconds_since_new_picture":[\d.]+,"seconds_since_motion":[\d.]+,)"
                   R"("uptime_seconds":[\d.]+,"version":"1.3","paused":false\}\n$)")))
        << json;
    const int frame = std::stoi(found[1]);

    const std::string metrics = HttpGet(port, "/metrics");
    EXPECT_NE(metrics.find("Content-Type: text/plain; version=0.0.4"), std::string::npos);
    for (const std::string& line :
         {std::string("# TYPE zeltran_frames_shown_total counter\nzeltran_frames_shown_total "),
          std::string("# TYPE zeltran_threshold gauge\nzeltran_threshold 11500\n"),
          std::string("zeltran_camera_up 1\n"), std::string("zeltran_camera_stale 0\n"),
          std::string("zeltran_http_requests_refused_total 0\n")}) {
        EXPECT_NE(metrics.find(line), std::string::npos) << line << metrics;
    }

    const cv::Mat shown = JpegOf(HttpGet(port, "/picture.jpg"));
    ASSERT_EQ(shown.cols, 320);
    EXPECT_TRUE(ColourNear(CentreColour(shown), FrameColour(frame)));
    const cv::Mat camera = JpegOf(HttpGet(port, "/camera.jpg"));
    ASSERT_EQ(camera.size(), cv::Size(320, 240));
    EXPECT_EQ(camera.channels(), 1);
    EXPECT_NEAR(cv::mean(camera)[0], 100.5, 2.0);

    const std::string post = HttpExchange(port, HttpRequestOf("POST", "/status.json"));
    EXPECT_EQ(HttpStatus(post), 405);
    EXPECT_NE(post.find("Allow: GET, HEAD\r\n"), std::string::npos) << post;
    EXPECT_EQ(HttpStatus(HttpGet(port, "/../S001/clip_00000.jpg")), 404);
    const std::string head = HttpExchange(port, HttpRequestOf("HEAD", "/"));
    EXPECT_EQ(HttpStatus(head), 200);
    EXPECT_EQ(HttpBody(head), "");
    EXPECT_TRUE(ShowsFrame(player, frame));
    EXPECT_TRUE(StatusHolds(port, "\"frame\":" + std::to_string(frame) + ","));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(StatusPage, ClientsOutsideTheAllowRulesGet403AndAreCounted) {
    Player player;
    const int port = StartServing(player, false, "allow ::1\n");
    const std::string refused = HttpGet(port, "/metrics", "127.0.0.1");
    EXPECT_EQ(HttpStatus(refused), 403);
    EXPECT_EQ(HttpBody(refused), "Forbidden.\n");
    const std::string metrics = HttpGet(port, "/metrics", "::1");
    EXPECT_EQ(HttpStatus(metrics), 200);
    EXPECT_NE(metrics.find("\nzeltran_http_requests_refused_total 1\n"), std::string::npos)
        << metrics;
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(StatusPage, HostileClientsNeitherStopThePlayerNorLeakDescriptors) {
    Player player;
    const int port = StartServing(player, false);
    const int descriptors = OpenDescriptors(player.pid());

    for (int i = 0; i < 20; ++i) {  // requests cut off midway
        const int connection = ConnectLoopback(port);
        send(connection, "GET /status.js", 14, MSG_NOSIGNAL);
        close(connection);
    }
    // A head sent one byte every 0.25 s is cut off after its 2 s, long before 8 s.
    const int trickle = ConnectLoopback(port);
    int sent = 0;
    for (char peek; sent < 32; ++sent) {
        if (send(trickle, "G", 1, MSG_NOSIGNAL) < 0 ||
            recv(trickle, &peek, 1, MSG_DONTWAIT | MSG_PEEK) == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_GE(sent, 6);
    EXPECT_LT(sent, 32);
    close(trickle);
    const std::string huge = "GET / HTTP/1.1\r\nX-Fill: " + std::string(1 << 20, 'a') + "\r\n\r\n";
    const int huge_status = HttpStatus(HttpExchange(port, huge));
    EXPECT_TRUE(huge_status == 431 || huge_status == 0) << huge_status;
    EXPECT_EQ(HttpStatus(HttpGet(port, "/\xff\xfe/../../etc/passwd")), 404);
    std::vector<int> idle;
    for (int i = 0; i < 200; ++i) idle.push_back(ConnectLoopback(port));
    // Answered while the 200 idle connections stay open.
    const std::string good = HttpExchange(port, HttpRequestOf("GET", "/status.json"), 5.0);
    EXPECT_EQ(HttpStatus(good), 200) << good;
    for (int connection : idle) close(connection);

    const double shown = Metric(port, "zeltran_frames_shown_total");
    // Still playing: a key moves the picture, and the status follows.
    player.Key("x");
    EXPECT_TRUE(ShowsFrame(player, 1));
    EXPECT_TRUE(StatusHolds(port, "\"frame\":1,"));
    EXPECT_EQ(Metric(port, "zeltran_frames_shown_total"), shown + 1);
    int now_open = 0;
    for (int tries = 0; tries < 50 && (now_open = OpenDescriptors(player.pid())) > descriptors;
         ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_LE(now_open, descriptors);
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(StatusPage, ABrowserShowsTheFrameNumberAndBothPictures) {
    if (RunCommand("command -v chromium").empty()) {
        GTEST_SKIP() << "chromium is not installed (Debian package chromium); no browser test";
    }
    Player player;
    const int port = StartServing(player, true);
    ASSERT_TRUE(StatusHolds(port, "\"camera\":\"on\""));
    const std::string frame = std::to_string(static_cast<int>(Metric(port, "zeltran_frame")));
    const std::string page = RunCommand(
        "timeout 60 chromium --headless --no-sandbox --disable-gpu --user-data-dir=" +
        player.root() + "/browser --virtual-time-budget=1000 --dump-dom http://127.0.0.1:" +
        std::to_string(port) + "/ 2>/dev/null");
    EXPECT_NE(page.find("frame <b id=\"frame\">" + frame + "</b> of 20"), std::string::npos)
        << page;
    for (const std::string name : {"picture", "camera"}) {  // both arrived, 320 pixels wide
        EXPECT_NE(
            page.find("id=\"" + name + "\" src=\"/" + name + ".jpg\" alt=\"" + name +
                      "\" onload=\"this.dataset.width=this.naturalWidth\" data-width=\"320\""),
            std::string::npos)
            << page;
    }
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

}  // namespace
