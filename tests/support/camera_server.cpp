#include "support/camera_server.hpp"

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

CameraServer::CameraServer(const std::string& kind, const std::string& folder,
                           const std::vector<cv::Mat>& pictures, double rate, int stall_after)
    : kind_(kind), folder_(folder), rate_(rate), stall_after_(stall_after) {
    for (size_t i = 0; i < pictures.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/f%05zu.jpg", i);
        cv::imwrite(folder_ + name, pictures[i]);
    }
}

CameraServer::~CameraServer() {
    Stop();
}

bool CameraServer::Start() {
    Stop();
    if (port_ == 0) port_ = FreePort();
    int out[2];
    if (pipe(out) != 0) return false;
    const std::string port = std::to_string(port_), rate = std::to_string(rate_),
                      stall = std::to_string(stall_after_);
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        // Debian's python3: the RTSP server needs its GStreamer bindings (python3-gi).
        const char* argv[] = {"/usr/bin/python3",
                              ZELTRAN_CAMERA_SERVER,
                              kind_.c_str(),
                              port.c_str(),
                              folder_.c_str(),
                              rate.c_str(),
                              stall_after_ > 0 ? stall.c_str() : nullptr,
                              nullptr};
        execv(argv[0], const_cast<char**>(argv));
        _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[64] = {};
    const bool ready = std::fgets(line, sizeof line, lines) && std::string(line) == "ready\n";
    std::fclose(lines);
    return ready;
}

void CameraServer::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string CameraServer::Url(const std::string& credentials) const {
    return kind_ + "://" + (credentials.empty() ? "" : credentials + "@") +
           "127.0.0.1:" + std::to_string(port_) + "/x";
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

std::vector<cv::Mat> MovingPictures(int count, int width, int height) {
    std::vector<cv::Mat> pictures;
    const int side = height / 3;
    for (int i = 0; i < count; ++i) {
        cv::Mat picture(height, width, CV_8UC3, cv::Scalar(30, 30, 30));
        const int x = (i * side / 2) % (width - side);
        cv::rectangle(picture, cv::Rect(x, side, side, side), cv::Scalar(230, 230, 230),
                      cv::FILLED);
        pictures.push_back(picture);
    }
    return pictures;
}

std::vector<cv::Mat> StillPictures(int count, int width, int height) {
    return std::vector<cv::Mat>(count, MovingPictures(1, width, height).front());
}
