// The pause key and the camera key, with a video file standing in for the camera.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <opencv2/videoio.hpp>
#include <string>

#include "block/shared_block.hpp"
#include "capture/camera_switch.hpp"
#include "common/state.hpp"
#include "keys_test_support.hpp"
#include "platform/camera.hpp"
#include "support/banners.hpp"
#include "support/temp_tree.hpp"

namespace {

const std::string kTurningOn = "\nNOW, TURNING ON THE CAMERA DEVICE. WAIT A MOMENT...\n";
const std::string kTurningOff = "\nNOW, TURNING OFF THE CAMERA DEVICE. WAIT A MOMENT...\n";

// A temporary installation with a short video as the camera and a private shared block whose
// slots hold motion values, so that the clearing can be seen.
class CameraKeys : public testing::Test {
  protected:
    void SetUp() override {
        const std::string video = tree_.work() + "/camera.avi";
        cv::VideoWriter writer(video, cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 30.0,
                               cv::Size(320, 240));
        for (int i = 0; i < 30; ++i) writer.write(cv::Mat(240, 320, CV_8UC3, cv::Scalar(i, 0, 0)));
        writer.release();
        setenv("ZELTRAN_CAMERA_SOURCE", video.c_str(), 1);
        shm_name_ = "/zeltran-keys-test-" + std::to_string(getpid());
        setenv("ZELTRAN_SHM_NAME", shm_name_.c_str(), 1);
        OpenSharedBlock();
        for (int i = 0; i < kSharedWords; ++i) SI[i] = i + 100;
        WriteSharedBlock();
        fake::ResetWindow();
    }

    void TearDown() override {
        CameraRelease();
        std::remove(("/dev/shm" + shm_name_).c_str());
    }

    static void ExpectBlockCleared() {
        for (int i = 0; i < kSharedWords; ++i) SI[i] = -1;
        ReadSharedBlock();
        for (int i = 0; i <= kCameraSlots; ++i) EXPECT_EQ(SI[i], 0) << "word " << i;
        EXPECT_EQ(SI[kCameraSlots + 1], kCameraSlots + 101);
    }

    TempTree tree_;
    std::string shm_name_;
};

}  // namespace

TEST_F(CameraKeys, PauseIgnoresOtherKeysUntilEnterThenGoesOn) {
    pause_picture = cv::Mat(24, 32, CV_8UC3, cv::Scalar(1, 2, 3));
    MaxCount = 2;
    frame_cache[1] = cv::Mat(4, 4, CV_8UC3);
    FrameData[1].loaded = 1;
    shown_frame_no = 1.0;
    fake::keys = {'a', kKeyTab, kKeyEnter, 'x'};
    bool kept_running = false;
    EXPECT_EQ(RunKey(kKeyEsc, &kept_running), kPauseBanner + kGoBanner);
    EXPECT_TRUE(kept_running);
    ASSERT_EQ(fake::shown.size(), 1u);
    EXPECT_EQ(fake::shown[0].flip, 0);
    EXPECT_EQ(fake::shown[0].picture.at<cv::Vec3b>(0, 0), cv::Vec3b(1, 2, 3));
    EXPECT_EQ(fake::waits, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(fake::keys.size(), 1u);  // the key after Enter is left for later
    EXPECT_TRUE(frame_cache[1].empty());
    EXPECT_EQ(FrameData[1].loaded, 0);
    EXPECT_DOUBLE_EQ(shown_frame_no, -1.0);
    EXPECT_EQ(AutoReplayFlag, 0);  // keys in the pause run no command
}

TEST_F(CameraKeys, SecondEscapeSaysFarewellAndQuits) {
    fake::keys = {'q', kKeyEsc};
    bool kept_running = true;
    EXPECT_EQ(RunKey(kKeyEsc, &kept_running), kPauseBanner + kFarewellBanner);
    EXPECT_FALSE(kept_running);
    EXPECT_EQ(camera_on, 0);
    EXPECT_EQ(fake::waits.back(), 500);  // the farewell wait
}

TEST_F(CameraKeys, ClosingTheWindowDuringThePauseQuitsTheSameWay) {
    fake::keys = {'a'};  // then the queue is empty: the fake reports a closed window
    bool kept_running = true;
    EXPECT_EQ(RunKey(kKeyEsc, &kept_running), kPauseBanner + kFarewellBanner);
    EXPECT_FALSE(kept_running);
}

TEST_F(CameraKeys, PauseClosesTheCameraAndTheResumeOpensItAgain) {
    camera_on = 1;
    OpenCamera();
    ASSERT_TRUE(CameraIsOpen());
    fake::keys = {kKeyEnter};
    const std::string out = RunKey(kKeyEsc);
    EXPECT_EQ(out, kTurningOff + "Done.\n" + kCameraOffBanner + "\n" + kPauseBanner + kTurningOn +
                       "Done.\n" + kCameraOnBanner + "\n" + kGoBanner);
    EXPECT_EQ(camera_on, 1);
    EXPECT_TRUE(CameraIsOpen());
    EXPECT_EQ(fake::waits, (std::vector<int>{0, 500}));
    ExpectBlockCleared();
}

TEST_F(CameraKeys, CameraKeyTurnsTheCameraOnThenOff) {
    DISP_WEB_CAM_INFO = 1;
    DifferenceSum = 5000;
    grey_pair_index = 1;
    motion_count = 4;
    direction = 0;
    camera_log_mode = 1;
    EXPECT_EQ(RunKey('q'), "KEY FUNCTION : [q][ CAMERA ON/OFF CONTROL ]\n" + kTurningOn +
                               "Done.\n" + kCameraOnBanner + "\n");
    EXPECT_EQ(camera_on, 1);
    EXPECT_TRUE(CameraIsOpen());
    EXPECT_EQ(fake::waits, (std::vector<int>{1000}));
    EXPECT_EQ(DifferenceSum, 0);
    EXPECT_EQ(grey_pair_index, 0);
    EXPECT_EQ(motion_count, 0);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(camera_log_mode, 1);
    ExpectBlockCleared();

    for (int i = 0; i < kSharedWords; ++i) SI[i] = 7;
    WriteSharedBlock();
    DISP_WEB_CAM_INFO = 0;
    direction = 0;
    EXPECT_EQ(RunKey('q'), kTurningOff + "Done.\n" + kCameraOffBanner + "\n");
    EXPECT_EQ(camera_on, 0);
    EXPECT_FALSE(CameraIsOpen());
    EXPECT_EQ(camera_log_mode, 2);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(fake::waits, (std::vector<int>{1000, 1000}));
    ReadSharedBlock();
    EXPECT_EQ(SI[0], 0);
    EXPECT_EQ(SI[kCameraSlots], 0);
    EXPECT_EQ(SI[kCameraSlots + 1], 7);
}

TEST_F(CameraKeys, CameraThatDoesNotOpenStaysClosed) {
    unsetenv("ZELTRAN_CAMERA_SOURCE");
    CamChan = -1;  // no such device
    EXPECT_EQ(RunKey('q'), kTurningOn + "Done.\n" + kCameraOnBanner + "\n");
    EXPECT_EQ(camera_on, 1);
    EXPECT_FALSE(CameraIsOpen());
}
