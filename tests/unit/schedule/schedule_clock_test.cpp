// The player's look at the clock: SetSchedule.txt read from the working folder, the wall clock of
// the scripted clock moved by hand.
#include <gtest/gtest.h>

#include "fakes/fake_clock.hpp"
#include "schedule/schedule.hpp"
#include "support/temp_tree.hpp"
#include "unit/schedule/zone.hpp"

namespace {

constexpr uint64_t kSecond = 1000000;

struct ScheduleClock : testing::Test {
    ScheduleClock() : zone("Europe/Berlin") {}
    void SetUp() override { schedule_clock_set_from = 0; }

    // Loads the file (nullptr: none) and returns what was printed on both streams.
    std::string Load(const char* file) {
        if (file) tree.WriteFile(kScheduleFile, file);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        LoadSchedule();
        return testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    }

    // One check a second later, at wall-clock time t (UTC); the line it printed in *said.
    ScheduleChange CheckAt(time_t t, std::string* said) {
        fake::now_micros += kSecond;
        fake::wall_seconds = t;
        testing::internal::CaptureStdout();
        const ScheduleChange change = ScheduleCheck();
        *said = testing::internal::GetCapturedStdout();
        return change;
    }

    Zone zone;
    TempTree tree;
    std::string said;
};

TEST_F(ScheduleClock, WithoutTheFileNothingIsPrintedAndNothingChanges) {
    EXPECT_EQ(Load(nullptr), "");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 20, 0), &said), ScheduleChange::kNone);
    EXPECT_EQ(said, "");
    EXPECT_FALSE(CurrentScheduleStatus().in_use);
    EXPECT_TRUE(CurrentScheduleStatus().open);
}

TEST_F(ScheduleClock, PrintsTheFileBackAndItsBadLines) {
    fake::wall_seconds = Utc(2027, 1, 5, 9, 0);
    EXPECT_EQ(Load("open mon-fri 10:00-18:00\nclosed 2027-12-24\nopen xyz 1:00-2:00\n"),
              "\nSET: open   = mon-fri 10:00-18:00\nSET: closed = 2027-12-24\n"
              "SET: local time = 2027-01-05T10:00:00+01:00\n"
              "[ NG ] SetSchedule.txt line 3 skipped: days are mon..sun, a range (mon-fri), a "
              "list (sat,sun) or daily\n");
}

TEST_F(ScheduleClock, OpensAndClosesOnTimeLookingOnceASecond) {
    Load("open mon-fri 10:00-18:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 8, 59) + 59, &said), ScheduleChange::kClosed);
    EXPECT_EQ(said, "SCHEDULE: closed until 10:00\n");
    // Within the same second the clock is not read again.
    fake::wall_seconds = Utc(2027, 1, 5, 9, 0);
    EXPECT_EQ(ScheduleCheck(), ScheduleChange::kNone);
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 9, 0), &said), ScheduleChange::kOpened);
    EXPECT_EQ(said, "SCHEDULE: open until 18:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 12, 0), &said), ScheduleChange::kNone);
    EXPECT_EQ(said, "");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 17, 0), &said), ScheduleChange::kClosed);
    EXPECT_EQ(said, "SCHEDULE: closed until Wed 10:00\n");
    const ScheduleStatus status = CurrentScheduleStatus();
    EXPECT_TRUE(status.in_use);
    EXPECT_FALSE(status.open);
    EXPECT_EQ(status.next_change, Utc(2027, 1, 6, 9, 0));
}

TEST_F(ScheduleClock, AClockSetForwardOrBackIsTakenAtOnce) {
    Load("open mon-fri 10:00-18:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 12, 0), &said), ScheduleChange::kNone);
    EXPECT_EQ(said, "SCHEDULE: open until 18:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 8, 19, 0), &said), ScheduleChange::kClosed);  // Friday night
    EXPECT_EQ(said, "SCHEDULE: closed until Mon 10:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 8, 12, 0), &said), ScheduleChange::kOpened);
    EXPECT_EQ(said, "SCHEDULE: open until 18:00\n");
    // Back within the same opening: nothing to say.
    EXPECT_EQ(CheckAt(Utc(2027, 1, 8, 10, 0), &said), ScheduleChange::kNone);
    EXPECT_EQ(said, "");
}

TEST_F(ScheduleClock, AClockBeforeTheBuildIsNotSetAndCountsAsOpen) {
    schedule_clock_set_from = Utc(2026, 12, 1, 0, 0);
    Load("open mon-fri 10:00-18:00\n");
    EXPECT_EQ(CheckAt(0, &said), ScheduleChange::kNone);
    EXPECT_EQ(said,
              "SCHEDULE: the clock is not set (1970-01-01T01:00:00+01:00); open until it is\n");
    EXPECT_EQ(CheckAt(30, &said), ScheduleChange::kNone);
    EXPECT_EQ(said, "");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 20, 0), &said), ScheduleChange::kClosed);
    EXPECT_EQ(said, "SCHEDULE: closed until Wed 10:00\n");
}

TEST_F(ScheduleClock, TheTechniciansKeyOpensForTenMinutes) {
    Load("open mon-fri 10:00-18:00\n");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 20, 0), &said), ScheduleChange::kClosed);
    fake::wall_seconds = Utc(2027, 1, 5, 20, 0);
    testing::internal::CaptureStdout();
    OpenForTechnician();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "SCHEDULE: opened by a key for 10 minutes, until 21:10\n");
    EXPECT_TRUE(CurrentScheduleStatus().open);
    EXPECT_EQ(UntilText(), "until 21:10");
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 20, 9) + 59, &said), ScheduleChange::kNone);
    EXPECT_EQ(CheckAt(Utc(2027, 1, 5, 20, 10), &said), ScheduleChange::kClosed);
    EXPECT_EQ(said, "SCHEDULE: closed until Wed 10:00\n");
}

}  // namespace
