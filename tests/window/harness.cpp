#include "window/harness.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <sstream>
#include <thread>

#include "common/path.hpp"
#include "support/temp_tree.hpp"

extern char** environ;

// x11_close.cpp (kept apart: Xlib's macros clash with the test framework's names).
bool SendWindowClose(unsigned long window);

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WaitFor(const std::function<bool()>& done, double timeout_s) {
    const auto end = Clock::now() + std::chrono::duration<double>(timeout_s);
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string SystemConverter() {
    for (const char* candidate : {"/usr/bin/ffmpeg", "/usr/local/bin/ffmpeg"}) {
        if (access(candidate, X_OK) == 0) return candidate;
    }
    return Trim(RunCommand("command -v ffmpeg"));
}

}  // namespace

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
    return output;
}

Player::Player() {
    static std::atomic<int> serial{0};
    std::string pattern = (fs::temp_directory_path() / "zeltran-window-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    root_ = pattern;
    work_ = root_ + "/work";
    fs::create_directories(work_);
    shm_name_ = "ZELTRAN_WINDOW_TEST_" + std::to_string(getpid()) + "_" + std::to_string(serial++);
    const std::string converter = SystemConverter();
    if (!converter.empty()) fs::create_symlink(converter, work_ + "/ffmpeg");
}

Player::~Player() {
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    shm_unlink(("/" + shm_name_).c_str());
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void Player::WriteFile(const std::string& path, const std::string& bytes) const {
    const fs::path full = fs::path(work_) / path;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Player::MakeFrames(int folder, int count, int width, int height) const {
    for (int n = 0; n < count; ++n) {
        WriteJpeg(work_ + "/" + FormatPath("../S%3d/clip_%5d.jpg", folder, n), width, height,
                  FrameColour(n));
    }
}

void Player::MakeOwnPictures() const {
    const std::string command =
        std::string("cd '") + work_ + "' && '" + ZELTRAN_PICTURES + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "zeltran_pictures failed";
}

void Player::RemoveConverter() const {
    std::error_code ignored;
    fs::remove(work_ + "/ffmpeg", ignored);
}

void Player::Environment(const std::string& name, const std::string& value) {
    environment_[name] = value;
}

void Player::Start(const std::vector<std::string>& args) {
    std::vector<std::string> argv{ZELTRAN_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::map<std::string, std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const size_t equals = text.find('=');
        if (equals != std::string::npos) env[text.substr(0, equals)] = text.substr(equals + 1);
    }
    env["ZELTRAN_SHM_NAME"] = shm_name_;
    for (const auto& [name, value] : environment_) env[name] = value;
    std::vector<std::string> env_text;
    for (const auto& [name, value] : env) env_text.push_back(name + "=" + value);

    std::vector<char*> argv_ptrs, env_ptrs;
    for (std::string& arg : argv) argv_ptrs.push_back(arg.data());
    argv_ptrs.push_back(nullptr);
    for (std::string& entry : env_text) env_ptrs.push_back(entry.data());
    env_ptrs.push_back(nullptr);
    const std::string out_path = root_ + "/stdout.txt";
    const std::string err_path = root_ + "/stderr.txt";

    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(work_.c_str()) != 0) _exit(126);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execve(argv_ptrs[0], argv_ptrs.data(), env_ptrs.data());
        _exit(127);
    }
    ASSERT_GT(pid_, 0) << "fork failed";
}

bool Player::Running() {
    if (pid_ <= 0 || status_ >= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool Player::WaitForOutput(const std::string& text, double timeout_s, int times) {
    return WaitFor(
        [&] {
            const std::string output = Output();
            int found = 0;
            for (size_t at = output.find(text); at != std::string::npos;
                 at = output.find(text, at + text.size())) {
                ++found;
            }
            return found >= times;
        },
        timeout_s);
}

bool Player::WaitForErrors(const std::string& text, double timeout_s) {
    return WaitFor([&] { return Errors().find(text) != std::string::npos; }, timeout_s);
}

std::string Player::Output() const {
    return ReadWhole(root_ + "/stdout.txt");
}
std::string Player::Errors() const {
    return ReadWhole(root_ + "/stderr.txt");
}

std::string Player::WindowId(double timeout_s) {
    // Looked up every time: SDL may make its window again (renderer set-up, size mode key).
    // The prologue's first line comes after the window and its renderer were made.
    window_id_.clear();
    if (!WaitForOutput("The system is starting up.", timeout_s)) return window_id_;
    // By process, then by title: xdotool 3.2016 cannot match SDL's UTF-8 window names with
    // --name, and SDL may own short-lived helper windows.
    const std::string search = "xdotool search --pid " + std::to_string(pid_) + " 2>/dev/null";
    WaitFor(
        [&] {
            std::istringstream ids(RunCommand(search));
            std::string id;
            while (ids >> id) {
                if (Trim(RunCommand("xdotool getwindowname " + id + " 2>/dev/null")) ==
                    "ZELTRAN  Ver.1.3") {
                    window_id_ = id;
                    return true;
                }
            }
            return !Running();
        },
        timeout_s);
    return window_id_;
}

void Player::Key(const std::string& name) {
    const std::string id = WindowId();
    ASSERT_FALSE(id.empty()) << "no player window";
    RunCommand("xdotool windowfocus --sync " + id + " 2>/dev/null");
    // The player drops, by design, a key typed in the cycle that decodes a new frame and one
    // typed during the extra window service of the tenth cycle on the same frame (about 330 ms
    // into automatic replay at 30 frames a second). A picture just seen on the screen may belong
    // to such a cycle, so let them pass before typing.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    RunCommand("xdotool key " + name + " 2>/dev/null");
}

cv::Mat Player::Screenshot() const {
    const std::string file = root_ + "/screen.png";
    RunCommand("import -window root png:'" + file + "' 2>/dev/null");
    return cv::imread(file, cv::IMREAD_COLOR);
}

cv::Mat Player::WindowPicture() {
    const std::string id = WindowId();
    if (id.empty()) return {};
    // Raised first, so that another program's window on the same display cannot cover it.
    RunCommand("xdotool windowraise " + id + " 2>/dev/null");
    const std::string geometry = RunCommand("xdotool getwindowgeometry --shell " + id);
    int x = 0, y = 0, width = 0, height = 0;
    std::istringstream lines(geometry);
    std::string line;
    while (std::getline(lines, line)) {
        std::sscanf(line.c_str(), "X=%d", &x);
        std::sscanf(line.c_str(), "Y=%d", &y);
        std::sscanf(line.c_str(), "WIDTH=%d", &width);
        std::sscanf(line.c_str(), "HEIGHT=%d", &height);
    }
    const cv::Mat screen = Screenshot();
    if (screen.empty() || width <= 0 || height <= 0) return {};
    const cv::Rect window =
        cv::Rect(x, y, width, height) & cv::Rect(0, 0, screen.cols, screen.rows);
    return screen(window).clone();
}

bool Player::WaitForPicture(const std::function<bool(const cv::Mat&)>& check, double timeout_s) {
    return WaitFor(
        [&] {
            const cv::Mat picture = WindowPicture();
            return !picture.empty() && check(picture);
        },
        timeout_s);
}

void Player::Signal(int sig) {
    if (pid_ > 0 && status_ < 0) kill(pid_, sig);
}

void Player::CloseWindow() {
    const std::string id = WindowId();
    ASSERT_FALSE(id.empty()) << "no player window";
    ASSERT_TRUE(SendWindowClose(std::stoul(id))) << "no X display";
}

int Player::WaitExit(double timeout_s) {
    WaitFor([&] { return !Running(); }, timeout_s);
    return status_;
}

namespace {

// The 256 words of a shared block, mapped for one access.
class MappedBlock {
  public:
    explicit MappedBlock(const std::string& name) {
        const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
        if (fd < 0) return;
        if (ftruncate(fd, kBytes) == 0) {
            void* view = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (view != MAP_FAILED) words_ = static_cast<int32_t*>(view);
        }
        close(fd);
    }
    ~MappedBlock() {
        if (words_) munmap(words_, kBytes);
    }
    int32_t* words() const { return words_; }

  private:
    static constexpr size_t kBytes = 1024;
    int32_t* words_ = nullptr;
};

}  // namespace

void Player::WriteSharedWord(const std::string& name, int word, int32_t value) {
    const MappedBlock block(name);
    ASSERT_NE(block.words(), nullptr) << "shared block " << name;
    block.words()[word] = value;
}

int32_t Player::ReadSharedWord(const std::string& name, int word) {
    const MappedBlock block(name);
    return block.words() ? block.words()[word] : 0;
}

testing::AssertionResult ShowsFrame(Player& player, int n) {
    cv::Scalar seen;
    if (player.WaitForPicture([&](const cv::Mat& picture) {
            seen = CentreColour(picture);
            return ColourNear(seen, FrameColour(n));
        })) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "window centre " << seen << ", frame " << n << " is " << FrameColour(n);
}

cv::Scalar CentreColour(const cv::Mat& picture) {
    const cv::Rect centre(picture.cols / 4, picture.rows / 4, picture.cols / 2, picture.rows / 2);
    return cv::mean(picture(centre));
}

bool ColourNear(const cv::Scalar& a, const cv::Scalar& b, double tolerance) {
    for (int i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
}

void StartOnFrames(Player& player, int count, int width, int height) {
    player.MakeFrames(1, count, width, height);
    player.MakeOwnPictures();
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(kHelpEnd)) << player.Output();
    ASSERT_TRUE(ShowsFrame(player, 0));
}
