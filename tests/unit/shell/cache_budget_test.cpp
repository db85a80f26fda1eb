#include "shell/cache_budget.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/state.hpp"
#include "platform/memory.hpp"
#include "shell/display.hpp"
#include "unit/shell/cycle_fixture.hpp"

namespace {

using CacheBudgetTest = CycleTest;

constexpr int64_t kMegabyte = 1024 * 1024;

TEST_F(CacheBudgetTest, ReachingTheBudgetDropsTheWholeCacheSilently) {
    // 512 x 256 BGR pictures are 384 KB: two fit in 1 MB, a third would not.
    setenv("ZELTRAN_CACHE_BUDGET_MB", "1", 1);
    MakeFolder(5, 512, 256);
    CamOnMemory = kCamOnMemoryMax;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (int n = 0; n < 2; ++n) {
        frame_no = n;
        DisplayStep();
    }
    EXPECT_EQ(LoadedCount(), 2);
    frame_no = 2;
    DisplayStep();
    EXPECT_EQ(LoadedCount(), 1);
    EXPECT_EQ(FrameData[2].loaded, 1);
    EXPECT_TRUE(frame_cache[0].empty());
    EXPECT_TRUE(frame_cache[1].empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(CacheBudgetTest, ABudgetBelowOnePictureKeepsOnlyTheCurrentOne) {
    setenv("ZELTRAN_CACHE_BUDGET_MB", "1", 1);
    MakeFolder(4, 1024, 512);  // 1.5 MB each
    CamOnMemory = kCamOnMemoryMax;
    for (int n = 0; n < 4; ++n) {
        frame_no = n;
        DisplayStep();
        EXPECT_EQ(LoadedCount(), 1) << n;
        EXPECT_EQ(FrameData[n].loaded, 1) << n;
    }
}

TEST_F(CacheBudgetTest, DefaultBudgetKeepsEveryPictureUpToCamOnMemory) {
    unsetenv("ZELTRAN_CACHE_BUDGET_MB");
    MakeFolder(8, 512, 256);
    CamOnMemory = kCamOnMemoryMax;
    for (int n = 0; n < 8; ++n) {
        frame_no = n;
        DisplayStep();
    }
    EXPECT_EQ(LoadedCount(), 8);
}

TEST(CacheBudget, EnvironmentSetsWholeMegabytesElseAQuarterOfMemory) {
    const int64_t quarter = PhysicalMemoryBytes() / 4;
    ASSERT_GT(quarter, 0);
    struct Case {
        const char* value;
        int64_t bytes;
    };
    for (const Case& c : {Case{"1", kMegabyte}, Case{"2048", 2048 * kMegabyte}, Case{"0", quarter},
                          Case{"-5", quarter}, Case{"", quarter}, Case{"12MB", quarter},
                          Case{"lots", quarter}, Case{"99999999999999999999", quarter}}) {
        setenv("ZELTRAN_CACHE_BUDGET_MB", c.value, 1);
        EXPECT_EQ(CacheBudgetBytes(), c.bytes) << '"' << c.value << '"';
    }
}

}  // namespace
