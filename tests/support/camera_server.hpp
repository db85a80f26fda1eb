// A network camera on loopback for tests: tests/support/camera_server.py serving Motion-JPEG
// over HTTP or RTSP from pictures the test chooses, stopped and started again on its port.
#pragma once

#include <sys/types.h>

#include <opencv2/core.hpp>
#include <string>
#include <vector>

class CameraServer {
  public:
    // kind "http" or "rtsp"; pictures are written as JPEG files into folder and sent in turn,
    // looped, rate a second. stall_after > 0 (http only): each client gets that many pictures
    // and then nothing, its connection kept open.
    CameraServer(const std::string& kind, const std::string& folder,
                 const std::vector<cv::Mat>& pictures, double rate = 30.0, int stall_after = 0);
    ~CameraServer();
    CameraServer(const CameraServer&) = delete;
    CameraServer& operator=(const CameraServer&) = delete;

    // Starts the server on its port (a free one the first time); true once it listens.
    bool Start();
    // Kills the server (its clients' connections end with it).
    void Stop();
    int port() const { return port_; }
    // rtsp://127.0.0.1:PORT/x or http://127.0.0.1:PORT/x, with "user:password@" when given.
    std::string Url(const std::string& credentials = "") const;

  private:
    std::string kind_;
    std::string folder_;
    double rate_;
    int stall_after_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// A TCP port on 127.0.0.1 that nothing listens on (bound once and closed again).
int FreePort();

// Pictures for a camera: moving ones (a bright square stepping over a dark picture) or still ones
// (the same picture each time); count pictures of width x height.
std::vector<cv::Mat> MovingPictures(int count, int width = 320, int height = 240);
std::vector<cv::Mat> StillPictures(int count, int width = 320, int height = 240);
