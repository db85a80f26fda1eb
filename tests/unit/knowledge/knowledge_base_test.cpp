#include "knowledge/knowledge_base.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "common/knowledge_state.hpp"
#include "common/state.hpp"
#include "contents/parameters.hpp"
#include "fakes/fake_window.hpp"
#include "support/temp_tree.hpp"

namespace {

constexpr size_t kFile2Size = 9831776;
constexpr size_t kFile3Size = 2752;
constexpr size_t kTraceOffset = 224;
constexpr size_t kViewPointEnableOffset = 9830624;
constexpr size_t kNumSamplesOffset = 9830752;

const char kBanner[] =
    "\nReadKB:\n         OOO            O \n"
    "        O               O \n"
    "        O       OOOO    O \n"
    "        O OOOO O    O   O \n"
    "        O   O  O    O   O \n"
    "        O   O  O    O     \n"
    "         OOO    OOOO    O \n\n";

const char kScalarText[] = "41 501 -2.5 42 1 61 0.5 2 33 1.5 0.25 2.5 3 0.02 7\n1 0.2 9 7.5 6\n1\n";
const char kScalarEcho[] =
    "DThreshold=41 OK_HIGH=501 OCThreshold=-2.500000 MThreshold=42 pos_num=1 GRATE=61 "
    "GRATE_SUM=0.500000 GRATE_COUNT=2 NEROI=33 SKIP=1.500000 GRATE_SUM2=0.250000 RSKIP=2.500000 "
    "GRATE_COUNT2=3 RF_COEFFICIENT=0.020000 IdealGRATE=7 \n";
const char kDefaultEcho[] =
    "DThreshold=40 OK_HIGH=500 OCThreshold=-1.000000 MThreshold=40 pos_num=0 GRATE=60 "
    "GRATE_SUM=0.000000 GRATE_COUNT=0 NEROI=32 SKIP=1.000000 GRATE_SUM2=0.000000 RSKIP=1.000000 "
    "GRATE_COUNT2=0 RF_COEFFICIENT=0.010000 IdealGRATE=0 \n";

void PutInt32(std::string& bytes, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

void PutDouble(std::string& bytes, size_t offset, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

size_t TraceOffset(int learned, int scored, int view_point, int entry) {
    return kTraceOffset + (((learned * 8 + scored) * 32 + view_point) * 200 + entry) * 24;
}

// One 1040-byte sample record with Re[0] = re and Ps[63] = ps; the spare word is not zero.
std::string Record(int view_point, int gesture, int sample, double re = 0.0, double ps = 0.0) {
    std::string bytes(1040, '\0');
    PutInt32(bytes, 0, view_point);
    PutInt32(bytes, 4, gesture);
    PutInt32(bytes, 8, sample);
    PutInt32(bytes, 12, 0x7777);
    PutDouble(bytes, 16, re);
    PutDouble(bytes, 528 + 63 * 8, ps);
    return bytes;
}

std::string KbName(int folder, int file) {
    return "TRUVO_data-" + std::to_string(folder) + "-" + std::to_string(file) + ".dat";
}

// A whole set for folder: zero-filled files 2 and 3 unless given.
void WriteSet(const TempTree& tree, int folder, const std::string& samples,
              const std::string& file2 = std::string(kFile2Size, '\0'),
              const std::string& file3 = std::string(kFile3Size, '\0')) {
    tree.WriteFile(KbName(folder, 1), kScalarText);
    tree.WriteFile(KbName(folder, 2), file2);
    tree.WriteFile(KbName(folder, 3), file3);
    tree.WriteFile(KbName(folder, 4), samples);
}

int ReadAndCapture(std::string* out) {
    testing::internal::CaptureStdout();
    const int result = ReadKB();
    *out = testing::internal::GetCapturedStdout();
    return result;
}

int UsedCells() {
    int used = 0;
    for (auto& view_point : SampleStore) {
        for (auto& gesture : view_point) {
            for (SampleCell& cell : gesture) {
                if (cell.used) {
                    EXPECT_NE(cell.record, nullptr);
                    ++used;
                } else {
                    EXPECT_EQ(cell.record, nullptr);
                }
            }
        }
    }
    return used;
}

}  // namespace

TEST(KnowledgeBase, WholeSetLoadsEveryFileAtItsOffsets) {
    TempTree tree;
    fake::ResetWindow();
    std::string file2(kFile2Size, '\0');
    std::memcpy(&file2[2 * 28], "WAVE", 5);
    PutInt32(file2, 2 * 28 + 20, 2);
    PutInt32(file2, 2 * 28 + 24, 9);
    PutInt32(file2, TraceOffset(1, 2, 3, 4), 1);
    PutInt32(file2, TraceOffset(1, 2, 3, 4) + 4, -1);  // padding: ignored
    PutDouble(file2, TraceOffset(1, 2, 3, 4) + 8, 0.5);
    PutDouble(file2, TraceOffset(1, 2, 3, 4) + 16, 7.0);
    PutDouble(file2, TraceOffset(7, 7, 31, 199) + 16, -3.0);
    PutInt32(file2, kViewPointEnableOffset + 31 * 4, 0);
    PutInt32(file2, kNumSamplesOffset + (31 * 8 + 6) * 4, 5);
    std::string file3(kFile3Size, '\0');
    PutDouble(file3, 7 * 8, 3e9);                     // OK_VAR[7]
    PutDouble(file3, 64, -0.5);                       // spare_level[0]
    PutDouble(file3, 128 + 8, 4e6);                   // VAR_LIMIT[1]
    PutDouble(file3, 192 + 7 * 8, 0.5);               // RATIO_LIMIT[7]
    PutDouble(file3, 256 + (1 * 32 + 31) * 8, 2.25);  // ViewPointGain[1][31]
    PutDouble(file3, 2304 + (7 * 3 + 2) * 8, 6.5);    // ReviewSum[7][2]
    PutInt32(file3, 2496 + (0 * 3 + 1) * 4, -9);      // ReviewCount[0][1]
    PutInt32(file3, 2592 + 7 * 4, 70000);             // trace_count[7]
    PutInt32(file3, 2624 + 31 * 4, 3);                // user_row_mask[31], kept as read
    WriteSet(tree, 1, Record(31, 7, 199, 1.5, 2.5) + Record(0, 0, 0), file2, file3);

    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(out, std::string(kScalarEcho) + kBanner);
    EXPECT_EQ(fake::waits, std::vector<int>{1});

    EXPECT_EQ(DThreshold, 41);
    EXPECT_EQ(RF_COEFFICIENT, 0.02);
    EXPECT_EQ(IdealGRATE, 7);
    EXPECT_EQ(similar_passes_left, 1);
    EXPECT_EQ(weight_epsilon, 0.2);
    EXPECT_EQ(HOLD_COUNT, 9);
    EXPECT_EQ(spare_ratio, 7.5);
    EXPECT_EQ(countdown_unit, 6);
    EXPECT_EQ(use_user_rows, 1);

    EXPECT_STREQ(gesture_table[2].gesture_name, "WAVE");
    EXPECT_EQ(gesture_table[2].gesture_id, 2);
    EXPECT_EQ(gesture_table[2].learned_mflg, 9);
    EXPECT_STREQ(gesture_table[0].gesture_name, "");  // the file's zero bytes
    const TraceEntry& entry = feature_trace[1][2][3][4];
    EXPECT_EQ(entry.valid, 1);
    EXPECT_EQ(entry.score, 0.5);
    EXPECT_EQ(entry.sample_no, 7.0);
    EXPECT_EQ(feature_trace[7][7][31][199].sample_no, -3.0);
    EXPECT_EQ(ViewPointEnable[31], 0);
    EXPECT_EQ(NumSamples[31][6], 5);
    EXPECT_EQ(NumSamples[0][0], 0);

    EXPECT_EQ(OK_VAR[7], 3e9);
    EXPECT_EQ(spare_level[0], -0.5);
    EXPECT_EQ(VAR_LIMIT[1], 4e6);
    EXPECT_EQ(RATIO_LIMIT[7], 0.5);
    EXPECT_EQ(ViewPointGain[1][31], 2.25);
    EXPECT_EQ(ReviewSum[7][2], 6.5);
    EXPECT_EQ(ReviewCount[0][1], -9);
    EXPECT_EQ(trace_count[7], 70000);
    EXPECT_EQ(user_row_mask[31], 3);

    EXPECT_EQ(UsedCells(), 2);
    const kb_sample& sample = *SampleStore[31][7][199].record;
    EXPECT_EQ(sample.view_point, 31);
    EXPECT_EQ(sample.gesture, 7);
    EXPECT_EQ(sample.sample, 199);
    EXPECT_EQ(sample.spare, 0);
    EXPECT_EQ(sample.Re[0], 1.5);
    EXPECT_EQ(sample.Ps[63], 2.5);
}

TEST(KnowledgeBase, AMissingFileChangesNothingAndSaysNothing) {
    for (int missing = 1; missing <= 4; ++missing) {
        SCOPED_TRACE("missing file " + std::to_string(missing));
        TempTree tree;
        folder_index = 0;
        WriteSet(tree, 1, Record(1, 1, 1));
        std::string out;
        ASSERT_EQ(ReadAndCapture(&out), 0);
        DThreshold = 99;
        folder_index = 1;
        WriteSet(tree, 2, "");
        std::filesystem::remove(KbName(2, missing));
        testing::internal::CaptureStderr();
        EXPECT_EQ(ReadAndCapture(&out), -1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(out, "");
        EXPECT_EQ(DThreshold, 99);
        EXPECT_EQ(UsedCells(), 1);
        FreeKnowledgeBase();
    }
}

TEST(KnowledgeBase, ANewLoadReplacesTheSamplesAndAnEmptyFileFourLeavesNone) {
    TempTree tree;
    WriteSet(tree, 1, Record(1, 1, 1) + Record(2, 2, 2));
    WriteSet(tree, 2, "");
    std::string out;
    ASSERT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(UsedCells(), 2);
    folder_index = 1;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(out, std::string(kScalarEcho) + kBanner);
    EXPECT_EQ(UsedCells(), 0);
}

TEST(KnowledgeBase, AHalfRecordAtTheEndIsIgnored) {
    TempTree tree;
    const std::string half = Record(4, 4, 4).substr(0, 520);
    WriteSet(tree, 1, Record(0, 1, 2) + Record(3, 4, 5) + Record(6, 7, 8) + half);
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(UsedCells(), 3);
    EXPECT_EQ(SampleStore[4][4][4].used, 0);
    EXPECT_EQ(SampleStore[6][7][8].used, 1);
}

TEST(KnowledgeBase, AnIndexOutsideItsRangeEndsTheReadingWithItsRecordNumber) {
    struct Case {
        int view_point, gesture, sample, position;
        const char* lines;
    };
    const Case cases[] = {
        {1, -1, 4, 2,
         "Illegal Index Number Detected in ReadKB(). Data Number = 2\n"
         "index1=1, index2=-1,  index3=4\n"},
        {1, 8, 4, 0,
         "Illegal Index Number Detected in ReadKB(). Data Number = 0\n"
         "index1=1, index2=8,  index3=4\n"},
        {32, 0, 0, 1,
         "Illegal Index Number Detected in ReadKB(). Data Number = 1\n"
         "index1=32, index2=0,  index3=0\n"},
        {-1, 0, 0, 1,
         "Illegal Index Number Detected in ReadKB(). Data Number = 1\n"
         "index1=-1, index2=0,  index3=0\n"},
        {0, 0, 200, 2,
         "Illegal Index Number Detected in ReadKB(). Data Number = 2\n"
         "index1=0, index2=0,  index3=200\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        TempTree tree;
        std::string samples;
        for (int i = 0; i < c.position; ++i) samples += Record(10, 0, i);
        samples += Record(c.view_point, c.gesture, c.sample) + Record(11, 0, 0);
        WriteSet(tree, 1, samples);
        std::string out;
        EXPECT_EQ(ReadAndCapture(&out), 0);
        EXPECT_EQ(out, std::string(kScalarEcho) + c.lines + kBanner);
        EXPECT_EQ(UsedCells(), c.position);  // the records before it stay, none after
        FreeKnowledgeBase();
    }
}

TEST(KnowledgeBase, ALaterRecordForTheSameCellReplacesTheEarlierOne) {
    TempTree tree;
    WriteSet(tree, 1, Record(5, 3, 9, 1.0) + Record(5, 3, 9, 2.0));
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(UsedCells(), 1);
    EXPECT_EQ(SampleStore[5][3][9].record->Re[0], 2.0);
}

TEST(KnowledgeBase, ValuesAboveOneBillionAreReportedAndKept) {
    TempTree tree;
    std::string record = Record(1, 2, 3, 2e9, std::numeric_limits<double>::infinity());
    PutDouble(record, 16 + 6 * 8, 1e9);    // Re[6]: not above
    PutDouble(record, 16 + 7 * 8, 1.5e9);  // Re[7]
    PutDouble(record, 528, 5e9);           // Ps[0]
    WriteSet(tree, 1, record);
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(out, std::string(kScalarEcho) +
                       "Abnormal Data Exist in Re(1 2 3)\n"
                       "Abnormal Data Exist in Re(1 2 3)\n"
                       "Abnormal Data Exist in Ps(1 2 3)\n"
                       "Abnormal Data Exist in Ps(1 2 3)\n" +
                       kBanner);
    const kb_sample& sample = *SampleStore[1][2][3].record;
    EXPECT_EQ(sample.Re[0], 2e9);
    EXPECT_EQ(sample.Re[7], 1.5e9);
    EXPECT_TRUE(std::isinf(sample.Ps[63]));
}

TEST(KnowledgeBase, ShortFilesTwoAndThreeKeepTheRestOfTheirArrays) {
    TempTree tree;
    feature_trace[0][0][0][1].score = 3.0;
    std::string file2(kTraceOffset + 24, '\0');  // the gesture table and one trace entry
    std::memcpy(&file2[0], "JUMP", 5);
    PutDouble(file2, kTraceOffset + 8, 0.75);
    std::string file3(64 + 8, '\0');  // OK_VAR and spare_level[0]
    PutDouble(file3, 0, 5.0);
    WriteSet(tree, 1, "", file2, file3);
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_STREQ(gesture_table[0].gesture_name, "JUMP");
    EXPECT_EQ(feature_trace[0][0][0][0].score, 0.75);
    EXPECT_EQ(feature_trace[0][0][0][1].score, 3.0);
    EXPECT_EQ(ViewPointEnable[0], 1);
    EXPECT_EQ(NumSamples[31][7], -1);
    EXPECT_EQ(OK_VAR[0], 5.0);
    EXPECT_EQ(spare_level[0], 0.0);
    EXPECT_EQ(spare_level[1], -1.0);
    EXPECT_EQ(VAR_LIMIT[0], 2e6);
    EXPECT_EQ(user_row_mask[31], 1);
}

TEST(KnowledgeBase, AWordInFileOneKeepsThatScalarAndAllLaterOnes) {
    TempTree tree;
    WriteSet(tree, 1, "");
    tree.WriteFile(KbName(1, 1), "40 500 unknown 41 1 61\n2 0.5 3 4.5 6\n1\n");
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(out, std::string(kDefaultEcho) + kBanner);
    EXPECT_EQ(MThreshold, 40);
    EXPECT_EQ(similar_passes_left, 0);
    EXPECT_EQ(use_user_rows, 0);
}

TEST(KnowledgeBase, TheBellRingsOnlyWhenCamBeepIsSet) {
    for (int beep : {0, 1}) {
        TempTree tree;
        WriteSet(tree, 1, "");
        CamBeep = beep;
        std::string out;
        EXPECT_EQ(ReadAndCapture(&out), 0);
        EXPECT_EQ(out, std::string(kScalarEcho) + (beep ? "\a" : "") + kBanner);
    }
}

TEST(KnowledgeBase, AFileThatDoesNotOpenIsNamedOnStandardError) {
    TempTree tree;
    testing::internal::CaptureStderr();
    EXPECT_EQ(OpenKnowledgeFile("TRUVO_data-9-2.dat", "rb"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Couldn't Open File in ReadKB()-[ TRUVO_data-9-2.dat ].\n");
}

TEST(KnowledgeBase, AFullStoreTakesAtMostOneRecordPerCellAndIsFreedWhole) {
    TempTree tree;
    std::string samples;
    samples.reserve(size_t{kSampleCells + 1} * 1040);
    for (int v = 0; v < kViewPoints; ++v) {
        for (int g = 0; g < kGestures; ++g) {
            for (int s = 0; s < kSamples; ++s) samples += Record(v, g, s);
        }
    }
    samples += Record(-1, -1, -1);  // beyond the limit: never looked at
    WriteSet(tree, 1, samples);
    std::string out;
    EXPECT_EQ(ReadAndCapture(&out), 0);
    EXPECT_EQ(out.find("Illegal"), std::string::npos);
    EXPECT_EQ(UsedCells(), kSampleCells);
    FreeKnowledgeBase();
    EXPECT_EQ(UsedCells(), 0);
}

TEST(KnowledgeBase, LoadingParametersLoadsTheKnowledgeBaseOfTheFolder) {
    TempTree tree;
    folder_index = 2;
    WriteSet(tree, 3, Record(1, 1, 1));
    testing::internal::CaptureStdout();
    LoadParameters();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(kScalarEcho) + kBanner);
    EXPECT_EQ(UsedCells(), 1);
}
