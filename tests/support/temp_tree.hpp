// A temporary installation for tests: <root>/work is the working folder and is made current while
// the tree lives; contents folders are <root>/S001, ... (../S001 seen from work).
#pragma once

#include <opencv2/core.hpp>
#include <string>
#include <vector>

class TempTree {
  public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    const std::string& work() const { return work_; }

    // Writes bytes to path (relative to the working folder), making its folders.
    void WriteFile(const std::string& path, const std::string& bytes) const;
    // The whole file, or "" when it does not exist.
    std::string ReadFile(const std::string& path) const;
    bool Exists(const std::string& path) const;
    void MakeFolder(const std::string& path) const;

    // Writes real JPEG frames ../S%03d/clip_%05d.jpg of folder for each frame number; each frame
    // is filled with a grey level that tells its number (see FrameColour).
    void MakeFrames(int folder, const std::vector<int>& frames, int width = 32,
                    int height = 24) const;

  private:
    std::string root_;
    std::string work_;
    std::string previous_cwd_;
};

// Writes a JPEG of the given size and colour (BGR); makes the folders on the way.
void WriteJpeg(const std::string& path, int width, int height, const cv::Scalar& colour);

// The colour MakeFrames gives frame number n: distinct enough to tell frames apart after JPEG.
cv::Scalar FrameColour(int n);

// Frames 0 .. count - 1.
std::vector<int> FrameRange(int count);
