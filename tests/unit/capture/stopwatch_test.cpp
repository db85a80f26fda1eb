#include "capture/stopwatch.hpp"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_clock.hpp"

namespace {

struct TimerCase {
    const char* name;
    uint64_t elapsed_micros;
    double rate;
};

class StopwatchRate : public testing::TestWithParam<TimerCase> {};

TEST_P(StopwatchRate, IsTheReciprocalOfTheSecondsCappedAt999) {
    fake::step_micros = 0;
    fake::now_micros = 5'999'900;  // the start lies just below a whole second
    StartTimer();
    fake::now_micros += GetParam().elapsed_micros;
    EXPECT_DOUBLE_EQ(ReadTimer(), GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(Cases, StopwatchRate,
                         testing::Values(TimerCase{"Quarter", 250'000, 4.0},
                                         TimerCase{"TwoSeconds", 2'000'000, 0.5},
                                         TimerCase{"NoTime", 0, 999.0},
                                         TimerCase{"OneMilli", 1'000, 999.0},
                                         TimerCase{"AcrossASecond", 1'001'000, 1.0 / 1.001},
                                         TimerCase{"Forty", 40'000, 25.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Stopwatch, ReadingDoesNotRestart) {
    fake::step_micros = 0;
    fake::now_micros = 1'000'000'000;
    StartTimer();
    fake::now_micros += 500'000;
    EXPECT_DOUBLE_EQ(ReadTimer(), 2.0);
    fake::now_micros += 500'000;
    EXPECT_DOUBLE_EQ(ReadTimer(), 1.0);
    StartTimer();
    fake::now_micros += 100'000;
    EXPECT_DOUBLE_EQ(ReadTimer(), 10.0);
}

}  // namespace
