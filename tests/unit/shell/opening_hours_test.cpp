#include "shell/opening_hours.hpp"

#include <gtest/gtest.h>

#include "fakes/fake_clock.hpp"
#include "fakes/fake_window.hpp"
#include "schedule/schedule.hpp"
#include "unit/schedule/zone.hpp"
#include "unit/shell/cycle_fixture.hpp"

namespace {

struct OpeningHours : CycleTest {
    void SetUp() override {
        CycleTest::SetUp();
        schedule_clock_set_from = 0;
        MakeFolder(5, 40, 30);
        tree_.WriteFile(kScheduleFile, "open mon-fri 10:00-18:00\n");
        testing::internal::CaptureStdout();
        LoadSchedule();
        testing::internal::GetCapturedStdout();
        shown_frame_no = 3.0;
    }
    // One cycle's first step at wall-clock time t; the console output in *said.
    bool StepAt(time_t t, std::string* said) {
        fake::now_micros += 1000000;
        fake::wall_seconds = t;
        testing::internal::CaptureStdout();
        const bool go_on = KeepOpeningHours();
        *said = testing::internal::GetCapturedStdout();
        return go_on;
    }
    Zone zone{"UTC"};
    std::string said;
};

bool AllBlack(const cv::Mat& picture) {
    return cv::countNonZero(picture.reshape(1)) == 0;
}

TEST_F(OpeningHours, WhileOpenNothingHappens) {
    EXPECT_TRUE(StepAt(Utc(2027, 1, 5, 12, 0), &said));
    EXPECT_EQ(said, "SCHEDULE: open until 18:00\n");
    EXPECT_TRUE(fake::shown.empty());
    EXPECT_TRUE(fake::waits.empty());
}

TEST_F(OpeningHours, ClosedShowsBlackPowersDownAndAKeyOpensForTenMinutes) {
    fake::keys = {kNoKey, 'x'};
    EXPECT_TRUE(StepAt(Utc(2027, 1, 5, 19, 0), &said));
    EXPECT_NE(said.find("SCHEDULE: closed until Wed 10:00\n"), std::string::npos) << said;
    EXPECT_NE(said.find("SCHEDULE: opened by a key for 10 minutes, until 19:10\n"),
              std::string::npos)
        << said;
    ASSERT_FALSE(fake::shown.empty());
    // Black at the size of the frame shown last... but no frame was decoded: the camera's size.
    EXPECT_TRUE(AllBlack(fake::shown.front().picture));
    EXPECT_EQ(fake::shown.front().picture.size(), cv::Size(GLT_F_XMAX, GLT_F_YMAX));
    EXPECT_EQ(fake::waits, (std::vector<int>{1000, 1000}));
    EXPECT_FALSE(fake::display_down);
    EXPECT_EQ(shown_frame_no, -1.0) << "the frame of the closing is shown again";
    EXPECT_TRUE(CurrentScheduleStatus().open);
}

TEST_F(OpeningHours, EscPausesAndASecondEscEndsThePlayer) {
    fake::keys = {kKeyEsc, kKeyEsc};
    EXPECT_FALSE(StepAt(Utc(2027, 1, 5, 19, 0), &said));
    EXPECT_FALSE(fake::display_down) << "the display is back for the key chart";
}

}  // namespace
