// Memory of frame pictures given back is handed out again, within its limit and for one size.
#include "platform/picture_memory.hpp"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include "platform/picture.hpp"
#include "support/temp_tree.hpp"

namespace {

const uchar* DecodedAndFreed(const char* path) {
    const cv::Mat picture = DecodePictureReduced(path, 1, 4);
    EXPECT_FALSE(picture.empty());
    return picture.data;
}

}  // namespace

TEST(RecycledPictureMemory, ReusedWithinTheLimitAndForOneSizeOnly) {
    TempTree tree;
    ASSERT_TRUE(cv::imwrite("big.jpg", cv::Mat(720, 640, CV_8UC3, cv::Scalar(9, 80, 200))));
    ASSERT_TRUE(cv::imwrite("other.jpg", cv::Mat(720, 600, CV_8UC3, cv::Scalar(9, 80, 200))));
    const int64_t block = 720 * 640 * 4;

    SetRecycledPictureLimit(0);
    DecodedAndFreed("big.jpg");
    EXPECT_EQ(RecycledPictureBytes(), 0) << "nothing is kept without a limit";

    SetRecycledPictureLimit(2 * block);
    const uchar* first = DecodedAndFreed("big.jpg");
    EXPECT_EQ(RecycledPictureBytes(), block);
    EXPECT_EQ(DecodedAndFreed("big.jpg"), first) << "the block given back is used again";
    {
        // Three alive at once, then given back: only two fit the limit.
        const cv::Mat a = DecodePictureReduced("big.jpg", 1, 4);
        const cv::Mat b = DecodePictureReduced("big.jpg", 1, 4);
        const cv::Mat c = DecodePictureReduced("big.jpg", 1, 4);
        EXPECT_EQ(cv::norm(a, c, cv::NORM_INF), 0.0) << "a reused block holds the new picture";
    }
    EXPECT_EQ(RecycledPictureBytes(), 2 * block);

    DecodedAndFreed("other.jpg");
    EXPECT_EQ(RecycledPictureBytes(), 720 * 600 * 4) << "another size frees the kept blocks";
    SetRecycledPictureLimit(0);
    EXPECT_EQ(RecycledPictureBytes(), 0);
}
