// The filtered measurement on synthetic grey pairs: the mask, the light shift, the dead band.
#include <gtest/gtest.h>

#include <cstring>

#include "common/state.hpp"
#include "motion/motion.hpp"

namespace {

uint8_t* Half(int half) {
    return grey_pair + half * kGreyFrameBytes;
}

// Both halves at level, then a rectangle of half 1 at shape_level.
void Room(int level0, int level1, int shape_level = -1, int shape_rows = 0) {
    std::memset(Half(0), level0, kGreyFrameBytes);
    std::memset(Half(1), level1, kGreyFrameBytes);
    if (shape_level >= 0) std::memset(Half(1), shape_level, shape_rows * GLT_F_XMAX);
    camera_on = 1;
    CamChan = -1;
    sample_step = 4;
}

MotionFilter filter;
ToneChange light_taken;

// The measure with half older_half as the older picture.
int32_t Measure(bool masked, bool light, int older_half = 0) {
    filter.masked = masked;
    filter.light = light;
    return SumDifference(grey_pair, older_half, sample_step, filter, &light_taken);
}

TEST(MotionLight, AChangeOfTheWholePictureIsNotMotionInEitherDirection) {
    Room(100, 140);
    EXPECT_EQ(Measure(false, false), 4800 * 40);
    EXPECT_EQ(Measure(false, true), 0);
    EXPECT_EQ(light_taken.offset[100], 40);
    Room(140, 100);
    EXPECT_EQ(Measure(false, true), 0);
    EXPECT_EQ(light_taken.offset[140], -40);
}

TEST(MotionLight, AShapeInFrontOfALampStillCountsLessTheDeadBand) {
    // 40 of 240 rows (10 sampled) turn dark while the rest brightens by 40: the shape is 120
    // levels below the lit room.
    Room(100, 140, 20, 40);
    EXPECT_EQ(Measure(false, true), 10 * 80 * (120 - kGrainDeadBand));
}

TEST(MotionLight, TheToneIsFittedOnTheOlderHalf) {
    // Half 1 is the older picture: a shape appears in half 0 while the room darkens by 40.
    Room(100, 140);
    std::memset(Half(0), 20, 40 * GLT_F_XMAX);
    EXPECT_EQ(Measure(false, true, 1), 10 * 80 * (80 - kGrainDeadBand));
    EXPECT_EQ(light_taken.offset[140], -40);
}

TEST(MotionLight, ChangesWithinTheDeadBandDoNotCount) {
    Room(100, 100 + kGrainDeadBand);
    Half(1)[0] = 100 + kGrainDeadBand + 1 + kGrainDeadBand;  // one sample 1 level beyond the band
    // The median is the shift of all other samples: the one sample counts 1 level.
    EXPECT_EQ(Measure(false, true), 1);
}

TEST(MotionMask, MaskedPixelsNeverCountAndAnAllMaskedPictureMeasuresZero) {
    Room(0, 255);
    std::memset(filter.counts, 1, kGreyFrameBytes);
    std::memset(filter.counts, 0, 120 * GLT_F_XMAX);  // the top half
    EXPECT_EQ(Measure(true, false), 2400 * (255 - kGrainDeadBand));
    std::memset(filter.counts, 0, kGreyFrameBytes);
    EXPECT_EQ(Measure(true, true), 0);
    EXPECT_EQ(light_taken.offset[0], 0);
}

TEST(MotionMask, TheLightShiftIsTakenFromTheCountedPlacesOnly) {
    // The masked top 150 rows change by 90 (a screen); the counted rest brightens by 10.
    Room(100, 110, 190, 150);
    std::memset(filter.counts, 1, kGreyFrameBytes);
    std::memset(filter.counts, 0, 150 * GLT_F_XMAX);
    EXPECT_EQ(Measure(true, true), 0);
    EXPECT_EQ(light_taken.offset[100], 10);
}

TEST(MotionFilterOff, CountedChangeIsThePlainDifference) {
    EXPECT_EQ(CountedChange(0, 10, 12), 2);
    EXPECT_EQ(CountedChange(0, 12, 10), 2);
}

}  // namespace
