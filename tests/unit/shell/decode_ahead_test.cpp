#include "shell/decode_ahead.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/path.hpp"
#include "common/state.hpp"
#include "platform/picture.hpp"
#include "support/temp_tree.hpp"

namespace {

std::string FramePath(int n) {
    return FormatPath("../S%3d/clip_%5d.jpg", 1, n);
}

double MaxDifference(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() ? cv::norm(a, b, cv::NORM_INF) : 1e9;
}

}  // namespace

TEST(DecodeAhead, HandsOutTheWantedPicturesOnce) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(4), 64, 48);
    const int before = DecodeAheadCount();
    DecodeAheadWant({{FramePath(1), 1}, {FramePath(2), 2}, {FramePath(3), 4}});
    DecodeAheadWaitIdle();
    const int denominators[] = {0, 1, 2, 4};
    for (int n = 1; n <= 3; ++n) {
        const std::string path = FramePath(n);
        const cv::Mat picture = DecodeAheadTake(path.c_str(), denominators[n]);
        const cv::Mat expected = DecodePictureReduced(path.c_str(), denominators[n]);
        ASSERT_FALSE(picture.empty()) << n;
        EXPECT_EQ(MaxDifference(picture, expected), 0.0) << n;
        EXPECT_TRUE(DecodeAheadTake(path.c_str(), denominators[n]).empty()) << "second take " << n;
    }
    EXPECT_EQ(DecodeAheadCount() - before, 3);
    DecodeAheadStop();
}

// Whatever is not wanted at this moment, at this size, is the caller's to decode.
TEST(DecodeAhead, GivesNothingForPicturesNotWanted) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(4), 64, 48);
    DecodeAheadWant({{FramePath(0), 2}, {FramePath(1), 1}, {"../S001/missing.jpg", 1}});
    DecodeAheadWaitIdle();
    EXPECT_TRUE(DecodeAheadTake(FramePath(3).c_str(), 1).empty());
    EXPECT_TRUE(DecodeAheadTake(FramePath(0).c_str(), 1).empty()) << "other size";
    EXPECT_EQ(DecodeAheadTake(FramePath(0).c_str(), 2).size(), cv::Size(32, 24));
    EXPECT_TRUE(DecodeAheadTake("../S001/missing.jpg", 1).empty());
    DecodeAheadWant({{FramePath(2), 1}});  // replaces the wish list: frame 1 is forgotten
    DecodeAheadWaitIdle();
    EXPECT_TRUE(DecodeAheadTake(FramePath(1).c_str(), 1).empty());
    EXPECT_FALSE(DecodeAheadTake(FramePath(2).c_str(), 1).empty());
    DecodeAheadWant({{FramePath(3), 1}});
    DecodeAheadClear();
    EXPECT_TRUE(DecodeAheadTake(FramePath(3).c_str(), 1).empty());
}

// A frame file rewritten after it was decoded ahead (a folder reloaded with new frames) is the
// caller's to decode again.
TEST(DecodeAhead, ChangedFileIsNotHandedOut) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(2), 64, 48);
    DecodeAheadWant({{FramePath(0), 1}, {FramePath(1), 1}});
    DecodeAheadWaitIdle();
    WriteJpeg(tree.work() + "/" + FramePath(1), 80, 40, cv::Scalar(1, 2, 3));
    EXPECT_FALSE(DecodeAheadTake(FramePath(0).c_str(), 1).empty());
    EXPECT_TRUE(DecodeAheadTake(FramePath(1).c_str(), 1).empty());
}

// Stopped (as at a folder change or the end), the thread starts again on the next wish.
TEST(DecodeAhead, StartsAgainAfterStop) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(2), 64, 48);
    DecodeAheadWant({{FramePath(0), 1}});
    DecodeAheadStop();
    EXPECT_TRUE(DecodeAheadTake(FramePath(0).c_str(), 1).empty());
    DecodeAheadStop();  // twice is harmless
    DecodeAheadWant({{FramePath(1), 1}});
    DecodeAheadWaitIdle();
    EXPECT_FALSE(DecodeAheadTake(FramePath(1).c_str(), 1).empty());
}

// A stream of wishes changing while the thread works never hands out a wrong picture.
TEST(DecodeAhead, ChangingWishesNeverMixPictures) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(12), 160, 120);
    std::vector<cv::Mat> expected;
    for (int n = 0; n < 12; ++n) expected.push_back(DecodePicture(FramePath(n).c_str()));
    for (int round = 0; round < 200; ++round) {
        const int n = round % 12;
        DecodeAheadWant({{FramePath((n + 1) % 12), 1}, {FramePath((n + 2) % 12), 1}});
        const cv::Mat picture = DecodeAheadTake(FramePath(n).c_str(), 1);
        if (!picture.empty()) {
            EXPECT_EQ(MaxDifference(picture, expected[n]), 0.0) << round;
        }
        if (round % 7 == 0) DecodeAheadClear();
    }
}

struct AheadCase {
    const char* what;
    double frame_no;
    double step;
    int direction;
    int wrap;
    int count;  // MaxCount
    std::vector<int> loaded;
    std::vector<int> expected;
};

TEST(FramesAhead, FollowTheFrameAdvance) {
    const AheadCase cases[] = {
        {"forward", 5.0, 1.0, 1, 0, 100, {}, {6, 7, 8}},
        {"very fast", 5.0, 6.0, 1, 0, 100, {}, {11, 17, 23}},
        {"backward", 5.0, 1.0, 0, 0, 100, {}, {4, 3, 2}},
        {"very slow from 0", 0.0, 0.1, 1, 0, 100, {}, {1, 2, 3}},
        {"stops at the end", 98.0, 1.0, 1, 0, 100, {}, {99}},
        {"wraps at the end", 98.0, 1.0, 1, 1, 100, {}, {99, 0, 1}},
        {"wraps to 0.0 not 0.5", 99.5, 1.0, 1, 1, 100, {}, {0, 1, 2}},
        {"stays on the last frame", 99.5, 1.0, 1, 0, 100, {}, {}},
        {"wraps at the start", 1.0, 1.0, 0, 1, 100, {}, {0, 99, 98}},
        {"stops at the start", 0.05, 0.1, 0, 0, 100, {}, {}},
        {"loaded frames left out", 5.0, 1.0, 1, 0, 100, {7}, {6, 8, 9}},
        {"small folder wraps once", 0.0, 1.0, 1, 1, 2, {}, {1}},
        {"no direction", 5.0, 1.0, 2, 0, 100, {}, {}},
        {"empty folder", 0.0, 1.0, 1, 0, 0, {}, {}},
    };
    for (const AheadCase& c : cases) {
        std::memset(FrameData, 0, sizeof FrameData);
        for (int n = 0; n < c.count; ++n) std::strcpy(FrameData[n].file, FramePath(n).c_str());
        for (int n : c.loaded) FrameData[n].loaded = 1;
        frame_no = c.frame_no;
        VR_step = c.step;
        direction = c.direction;
        wrap_flag = c.wrap;
        MaxCount = c.count;
        EXPECT_EQ(FramesAhead(3), c.expected) << c.what;
    }
}

TEST(FramesAhead, FramesWithoutFileAreLeftOut) {
    std::memset(FrameData, 0, sizeof FrameData);
    MaxCount = 10;
    for (int n : {1, 3, 4}) std::strcpy(FrameData[n].file, FramePath(n).c_str());
    frame_no = 0.0;
    VR_step = 1.0;
    direction = 1;
    wrap_flag = 0;
    EXPECT_EQ(FramesAhead(3), (std::vector<int>{1, 3, 4}));
}
