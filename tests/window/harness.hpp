// Drives the real player in a temporary installation under the X display of $DISPLAY:
// start it with arguments and environment, read its console output, type keys into its window
// with xdotool, take screenshots with ImageMagick, signal it, close its window, wait for its end.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

class Player {
  public:
    // Makes <tmp>/zeltran-window-XXXXXX/work with ./ffmpeg linked to the system's converter.
    Player();
    // Kills a player still running and removes the installation and its shared block.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    const std::string& root() const { return root_; }
    pid_t pid() const { return pid_; }
    const std::string& work() const { return work_; }

    // ---- The installation (before Start) ----
    // Writes bytes to path relative to the working folder, making its folders.
    void WriteFile(const std::string& path, const std::string& bytes) const;
    // Frames 0 .. count - 1 of ../S%03d as real JPEGs, each of FrameColour(n) (temp_tree.hpp).
    void MakeFrames(int folder, int count, int width = 160, int height = 120) const;
    // The program's own pictures (keyallocation_01.jpg, to_left.jpg, to_right.jpg) written by
    // zeltran_pictures into the working folder.
    void MakeOwnPictures() const;
    // Takes ./ffmpeg away; with Environment("PATH", dir without ffmpeg) no converter is found.
    void RemoveConverter() const;
    // An environment variable for the player (replaces one inherited).
    void Environment(const std::string& name, const std::string& value);
    // The name of the player's own shared block (ZELTRAN_SHM_NAME), removed with the Player.
    const std::string& SharedBlockName() const { return shm_name_; }
    // Word `word` of the shared block `name` (created with 1024 bytes if need be), as another
    // copy of the player would write or read it.
    static void WriteSharedWord(const std::string& name, int word, int32_t value);
    static int32_t ReadSharedWord(const std::string& name, int word);
    // ZELTRAN_CAMERA_SOURCE for the player.
    void CameraSource(const std::string& path) { Environment("ZELTRAN_CAMERA_SOURCE", path); }

    // ---- The run ----
    // Starts the player in the working folder with args (program path added first), stdin
    // /dev/null, stdout and stderr to files, its own shared block name.
    void Start(const std::vector<std::string>& args = {});
    bool Running();
    // Waits until the console output holds text (times times or more); false on time-out.
    bool WaitForOutput(const std::string& text, double timeout_s = 20.0, int times = 1);
    // Same for the error output.
    bool WaitForErrors(const std::string& text, double timeout_s = 20.0);
    std::string Output() const;  // everything the player printed on stdout so far
    std::string Errors() const;  // everything it printed on stderr so far

    // The X window id of the player's window, looked up anew each time after the prologue has
    // begun ("" when there is none in time).
    std::string WindowId(double timeout_s = 20.0);
    // Focuses the window and types one key by its X keysym name ("x", "Tab", "Return",
    // "exclam", "Escape").
    void Key(const std::string& name);
    // The whole screen, BGR.
    cv::Mat Screenshot() const;
    // The part of the screen inside the player's window, BGR (empty when there is no window).
    cv::Mat WindowPicture();
    // Takes window pictures until check accepts one; false on time-out.
    bool WaitForPicture(const std::function<bool(const cv::Mat&)>& check, double timeout_s = 10.0);

    // Sends sig to the player.
    void Signal(int sig);
    // Closes the window the way a window manager does (WM_DELETE_WINDOW).
    void CloseWindow();
    // Waits for the end of the player: its exit status, 128 + signal when killed by one, or -1
    // on time-out (the player is still running).
    int WaitExit(double timeout_s = 20.0);

  private:
    std::string root_;
    std::string work_;
    std::string shm_name_;
    std::map<std::string, std::string> environment_;
    pid_t pid_ = -1;
    int status_ = -1;
    std::string window_id_;
};

// The mean BGR colour of the centre half of picture.
cv::Scalar CentreColour(const cv::Mat& picture);

// True when the colours differ by at most tolerance in each of blue, green and red.
bool ColourNear(const cv::Scalar& a, const cv::Scalar& b, double tolerance = 24.0);

// True (with the colour seen, if not) once the player's window shows frame n as made by
// MakeFrames.
testing::AssertionResult ShowsFrame(Player& player, int n);

// Makes folder S001 of count frames of width x height and the program's pictures, starts the
// player and waits until it shows frame 0.
void StartOnFrames(Player& player, int count, int width = 160, int height = 120);

// The last line of the help screen: the player is in its cycle once this was printed.
constexpr char kHelpEnd[] = "[ENTER]   ZELTRAN  Ver.1.3  の機能一覧等を再表示します。\n";

// Output of a shell command (test tooling only: xdotool, import).
std::string RunCommand(const std::string& command);
