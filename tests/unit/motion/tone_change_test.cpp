// The tone change fitted between two synthetic grey pictures: what the light does to every grey
// level is taken out, what a visitor does is left.
#include "motion/tone_change.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "motion/motion.hpp"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kStep = 4;

using Picture = std::vector<uint8_t>;
using Tone = std::function<double(double)>;

// Levels rising from 20 on the left to 190 on the right, with a small pattern so that neighbours
// differ: the room of every test. Its brightest level stays below white under every tone below.
Picture GradedRoom() {
    Picture room(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            room[y * kWidth + x] = static_cast<uint8_t>(20 + 170 * x / (kWidth - 1) + (x + y) % 3);
        }
    }
    return room;
}

Picture Apply(const Picture& picture, const Tone& tone) {
    Picture out(picture.size());
    std::transform(picture.begin(), picture.end(), out.begin(), [&](uint8_t level) {
        return static_cast<uint8_t>(std::clamp(std::lround(tone(level)), 0L, 255L));
    });
    return out;
}

// A width x height rectangle at x, y of the given level.
void Shape(Picture& picture, int x, int y, int level, int width = 60, int height = 120) {
    for (int row = y; row < y + height; ++row) {
        std::fill_n(picture.begin() + row * kWidth + x, width, static_cast<uint8_t>(level));
    }
}

// The measure's sum: every counted sample's change beyond the tone, less the dead band.
int64_t Counted(const ToneChange& tone, const Picture& older, const Picture& newer,
                const uint8_t* counts = nullptr) {
    int64_t sum = 0;
    for (int y = 0; y < kHeight; y += kStep) {
        for (int x = 0; x < kWidth; x += kStep) {
            const int i = y * kWidth + x;
            if (counts != nullptr && counts[i] == 0) continue;
            sum += std::max(0, ChangeBeyond(tone, older[i], newer[i]) - kGrainDeadBand);
        }
    }
    return sum;
}

ToneChange Fit(const Picture& older, const Picture& newer, const uint8_t* counts = nullptr) {
    return FitToneChange(older.data(), newer.data(), counts, kWidth, kHeight, kStep);
}

double Gamma(double level, double gamma) {
    return 255 * std::pow(level / 255, gamma);
}

struct ToneCase {
    const char* name;
    Tone tone;
};

const ToneCase kTones[] = {
    {"Offset", [](double v) { return v + 30; }},
    {"Darker", [](double v) { return v - 15; }},
    {"Gain", [](double v) { return v * 1.3; }},
    {"LowerGain", [](double v) { return v * 0.7; }},
    {"Gamma", [](double v) { return Gamma(v, 0.7); }},
    {"InverseGamma", [](double v) { return Gamma(v, 1.3); }},
    {"GainAndOffset", [](double v) { return 1.15 * v - 12; }},
    {"AllThree", [](double v) { return Gamma(0.9 * v + 20, 0.8); }},
};

TEST(ToneChange, AChangeOfEveryGreyLevelAloneCountsNothing) {
    const Picture room = GradedRoom();
    for (const ToneCase& c : kTones) {
        const Picture lit = Apply(room, c.tone);
        EXPECT_EQ(Counted(Fit(room, lit), room, lit), 0) << c.name;
        EXPECT_EQ(Counted(Fit(lit, room), lit, room), 0) << c.name << " undone";
    }
    // Into white: the bright third of the room clips. (Back out of white its detail returns,
    // and that counts.)
    const Picture glaring = Apply(room, [](double v) { return v * 1.8; });
    EXPECT_EQ(Counted(Fit(room, glaring), room, glaring), 0);
}

TEST(ToneChange, AShapeMovingWhileTheToneChangesCountsItsOwnChange) {
    struct Visitor {
        int level;
        int tone;  // index into kTones
    };
    for (const Visitor v :
         {Visitor{30, 2}, Visitor{30, 4}, Visitor{225, 5}, Visitor{225, 7}, Visitor{120, 6}}) {
        Picture before = GradedRoom();
        Picture after = before;
        Shape(before, 100, 60, v.level);
        Shape(after, 106, 60, v.level);
        const Tone& tone = kTones[v.tone].tone;
        const Picture lit = Apply(after, tone);
        // What the shape changes, seen in the new light: its edges against the lit room.
        const int64_t own = Counted(ToneChange(), Apply(before, tone), lit);
        ASSERT_GT(own, 1000);
        const int64_t counted = Counted(Fit(before, lit), before, lit);
        EXPECT_NEAR(counted, own, own / 10) << v.level << " in " << kTones[v.tone].name;
    }
}

TEST(ToneChange, TheEdgeAVisitorLeavesBehindIsNotTakenForLight) {
    // The last 4 columns of a dark shape leave a grey room: no other place had their tone.
    Picture before(kWidth * kHeight, 128);
    const Picture after = before;
    Shape(before, 316, 60, 48, 4);
    EXPECT_EQ(Counted(Fit(before, after), before, after), 30 * (80 - kGrainDeadBand));
}

TEST(ToneChange, MaskedPlacesDoNotShapeTheFit) {
    const Picture room = GradedRoom();
    const Picture lit = Apply(room, kTones[2].tone);
    Picture flickering = lit;  // the masked left third shows a screen: every level inverted
    std::vector<uint8_t> counts(kWidth * kHeight, 1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth / 3; ++x) {
            flickering[y * kWidth + x] = static_cast<uint8_t>(255 - room[y * kWidth + x]);
            counts[y * kWidth + x] = 0;
        }
    }
    const ToneChange clean = Fit(room, lit, counts.data());
    const ToneChange masked = Fit(room, flickering, counts.data());
    EXPECT_TRUE(
        std::equal(std::begin(clean.offset), std::end(clean.offset), std::begin(masked.offset)));
    EXPECT_EQ(Counted(masked, room, flickering, counts.data()), 0);
    std::fill(counts.begin(), counts.end(), 0);
    const ToneChange none = Fit(room, flickering, counts.data());
    EXPECT_TRUE(std::all_of(std::begin(none.offset), std::end(none.offset),
                            [](int16_t offset) { return offset == 0; }));
}

}  // namespace
