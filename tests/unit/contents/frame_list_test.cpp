#include "contents/frame_list.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "contents/frame_scan.hpp"
#include "fakes/fake_window.hpp"
#include "support/probe_scan.hpp"
#include "support/temp_tree.hpp"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const char kStart[] = "\n*** START CHECKING IMAGE FILES. WAIT A MOMENT! ***\n";
const char kFinish[] = "\n*** Finished. Thank you for waiting! ***\n\n\n";
const char kEmpty[] = "---> Empty folder is specified!\n";

// Empty files are enough where only the names matter; decoding is not part of the scan.
void TouchFrames(const TempTree& tree, int folder, const std::vector<int>& frames) {
    char name[64];
    std::snprintf(name, sizeof name, "../S%03d", folder);
    tree.MakeFolder(name);
    for (int n : frames) {
        std::snprintf(name, sizeof name, "../S%03d/clip_%05d.jpg", folder, n);
        close(open(name, O_CREAT | O_WRONLY, 0644));
    }
}

std::string RunCheckContents() {
    CaptureStdout();
    CheckContents();
    return GetCapturedStdout();
}

int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A frame-list file: 22000 records of 756 bytes, then the count as text.
std::string FrameListBytes(const std::vector<std::string>& files, const std::string& count_text) {
    std::string bytes(sizeof(FrameData), '\0');
    for (size_t i = 0; i < files.size(); ++i) {
        char* record = bytes.data() + i * sizeof(FrameRecord);
        record[0] = 1;  // a stored loaded flag, ignored on reading
        std::memcpy(record + 4, files[i].data(), std::min<size_t>(files[i].size(), kPathBytes));
    }
    return bytes + count_text;
}

}  // namespace

TEST(FrameScan, GapsAreClosedAndOrderKept) {
    TempTree tree;
    TouchFrames(tree, 3, {9000, 5, 6});
    folder_index = 2;
    const std::string out = RunCheckContents();
    EXPECT_EQ(out, std::string(kStart) + kFinish);
    ASSERT_EQ(MaxCount, 3);
    EXPECT_STREQ(FrameData[0].file, "../S003/clip_00005.jpg");
    EXPECT_STREQ(FrameData[1].file, "../S003/clip_00006.jpg");
    EXPECT_STREQ(FrameData[2].file, "../S003/clip_09000.jpg");
    EXPECT_STREQ(FrameData[3].file, "");
    EXPECT_EQ(folder_index, 2);
}

TEST(FrameScan, MissAndNumberLimits) {
    TempTree tree;
    // Folder 2: the first frame lies beyond 22000 misses, so the folder counts as empty.
    TouchFrames(tree, 2, {22001});
    // Folder 1: a frame every 1000 up to 25000 is found; 25001 is beyond the last number tried.
    std::vector<int> sparse;
    for (int n = 0; n <= 25000; n += 1000) sparse.push_back(n);
    sparse.push_back(25001);
    TouchFrames(tree, 1, sparse);
    folder_index = 1;
    const std::string out = RunCheckContents();
    EXPECT_EQ(out, std::string(kStart) + kEmpty + kFinish);
    EXPECT_EQ(folder_index, 0);
    ASSERT_EQ(MaxCount, 26);
    EXPECT_STREQ(FrameData[25].file, "../S001/clip_25000.jpg");
}

TEST(FrameScan, StopsAt22000RecordsWithProgressEvery200) {
    TempTree tree;
    TouchFrames(tree, 1, FrameRange(22005));
    const std::string out = RunCheckContents();
    EXPECT_EQ(MaxCount, 22000);
    EXPECT_STREQ(FrameData[21999].file, "../S001/clip_21999.jpg");
    EXPECT_EQ(CountOf(out, "MaxCount = ["), 110);
    EXPECT_NE(out.find("\n [    199 ]  MaxCount = [    200 ]  ( ../S001/clip_00199.jpg )\n"),
              std::string::npos);
}

TEST(FrameScan, ListingMatchesProbingOnRandomFolders) {
    TempTree tree;
    std::mt19937 random(7);
    for (int folder = 1; folder <= 6; ++folder) {
        std::vector<int> frames;
        int n = static_cast<int>(random() % 50);
        while (n <= 25003 && frames.size() < 700) {
            frames.push_back(n);
            // Mostly small gaps, now and then one of thousands of numbers.
            n += 1 + static_cast<int>(random() % 3 == 0 ? random() % 6000 : random() % 4);
        }
        TouchFrames(tree, folder, frames);
    }
    tree.WriteFile("../S004/clip_1.jpg", "");      // not a probed name
    tree.WriteFile("../S004/CLIP_00003.JPG", "");  // names are case-sensitive here
    tree.MakeFolder("../S005/clip_00002.jpg");     // a folder passes the path test too
    for (int folder = 1; folder <= 7; ++folder) {
        std::memset(static_cast<void*>(FrameData), 0, sizeof FrameData);
        MaxCount = 0;
        CaptureStdout();
        ScanFolderByProbing(folder);
        const std::string probed_out = GetCapturedStdout();
        const int probed_count = MaxCount;
        std::vector<std::string> probed;
        for (int i = 0; i < MaxCount; ++i) probed.push_back(FrameData[i].file);

        std::memset(static_cast<void*>(FrameData), 0, sizeof FrameData);
        MaxCount = 0;
        CaptureStdout();
        ScanFolder(folder);
        EXPECT_EQ(GetCapturedStdout(), probed_out) << "folder " << folder;
        ASSERT_EQ(MaxCount, probed_count) << "folder " << folder;
        for (int i = 0; i < MaxCount; ++i) EXPECT_EQ(probed[i], FrameData[i].file);
    }
}

TEST(FrameScan, EmptyFoldersStepDownToAFilledOne) {
    TempTree tree;
    tree.MakeFolder("../S005");
    TouchFrames(tree, 3, {0, 1});
    folder_index = 4;
    const std::string out = RunCheckContents();
    EXPECT_EQ(out, std::string(kStart) + kEmpty + kEmpty + kFinish);
    EXPECT_EQ(folder_index, 2);
    EXPECT_EQ(MaxCount, 2);
}

TEST(FrameScan, NegativeFolderNumberRestartsAtFolderOne) {
    for (int start : {-1, -7}) {
        TempTree tree;
        TouchFrames(tree, 1, {4});
        folder_index = start;
        const std::string out = RunCheckContents();
        EXPECT_EQ(out, std::string(kStart) + kEmpty + kFinish);
        EXPECT_EQ(folder_index, 0);
        EXPECT_STREQ(FrameData[0].file, "../S001/clip_00004.jpg");
    }
}

TEST(FrameScan, LongDescentsStayFast) {
    TempTree tree;
    TouchFrames(tree, 1, {0});
    folder_index = 9998;  // folder 9999 down to 1: every empty folder is reported
    std::string out = RunCheckContents();
    EXPECT_EQ(CountOf(out, kEmpty), 9998);
    EXPECT_EQ(folder_index, 0);

    // A folder number in the billions jumps down after 10000 reports instead of probing them all.
    TouchFrames(tree, 12, {0});
    folder_index = 2000000000;
    out = RunCheckContents();
    EXPECT_EQ(CountOf(out, kEmpty), 10000);
    EXPECT_NE(out.find("---> 1999989989 more empty folders skipped.\n"), std::string::npos);
    EXPECT_EQ(folder_index, 11);
    EXPECT_STREQ(FrameData[0].file, "../S012/clip_00000.jpg");
}

TEST(FrameScan, ResetsPlaybackStateCacheAndWindow) {
    TempTree tree;
    TouchFrames(tree, 1, {0, 1, 2});
    frame_no = 12.5;
    shown_frame_no = 3.0;
    direction = 0;
    motion_count = 9;
    DifferenceSum = 400;
    grey_pair_index = 1;
    keyframe_index = 5;
    KeyFrameNumber[1279] = 3.0;
    wrap_flag = 1;
    VR_step = 6.0;
    speed_factor = 6.0;
    pending_key = 1;
    VARIABLE_SIZE_FLAG = 1;
    frame_cache[21999] = cv::Mat(2, 2, CV_8UC3);
    fake::ResetWindow();
    RunCheckContents();
    EXPECT_EQ(frame_no, 0.0);
    EXPECT_EQ(shown_frame_no, -1.0);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(motion_count, 0);
    EXPECT_EQ(DifferenceSum, 0);
    EXPECT_EQ(grey_pair_index, 0);
    EXPECT_EQ(keyframe_index, 0);
    EXPECT_EQ(KeyFrameNumber[1279], 0.0);
    EXPECT_EQ(wrap_flag, 0);
    EXPECT_EQ(VR_step, 1.0);
    EXPECT_EQ(speed_factor, 1.0);
    EXPECT_EQ(pending_key, 0);
    EXPECT_TRUE(frame_cache[21999].empty());
    EXPECT_EQ(fake::destroys, 1);
    EXPECT_EQ(fake::creates, 1);
    EXPECT_EQ(fake::last_auto_size, 1);
}

TEST(FrameListFile, ReplacesTheScanAndClearsLoadedFlags) {
    TempTree tree;
    TouchFrames(tree, 1, {0, 1, 2, 3, 4});  // would give 5 when scanned
    tree.WriteFile("frame_data0001.dat",
                   FrameListBytes({"..\\S001\\clip_00001.jpg", "../S001/clip_00003.jpg"}, " \n 2"));
    const std::string out = RunCheckContents();
    EXPECT_EQ(out, std::string(kStart) +
                       "\n* FINISHED READING FRAME DATA :  frame_data0001.dat\n  (Number of files "
                       "= [ 2 ],  Name of the top file = [ ..\\S001\\clip_00001.jpg ]) \n" +
                       kFinish);
    EXPECT_EQ(MaxCount, 2);
    EXPECT_STREQ(FrameData[0].file, "..\\S001\\clip_00001.jpg");  // converted only when opened
    for (int i = 0; i < kMaxFrames; ++i) ASSERT_EQ(FrameData[i].loaded, 0);
}

TEST(FrameListFile, CountsAndStringsStayInsideTheTable) {
    struct Case {
        std::string count;
        int folders_filled;  // folder 1 holds frames so a bad file falls back to it
        int expected;
    };
    const Case cases[] = {
        {"99999", 2, kMaxFrames},  // above the table: limited to 22000
        {"-3", 1, 1},              // negative: an empty folder, folder 1 is scanned
        {"", 1, 1},                // no count: an empty folder
    };
    for (const Case& c : cases) {
        TempTree tree;
        TouchFrames(tree, 1, {7});
        folder_index = 1;
        tree.WriteFile("frame_data0002.dat", FrameListBytes({std::string(300, 'a')}, c.count));
        RunCheckContents();
        EXPECT_EQ(MaxCount, c.expected) << c.count;
        EXPECT_EQ(folder_index + 1, c.folders_filled) << c.count;
        if (folder_index == 1) {
            EXPECT_EQ(std::strlen(FrameData[0].file), kPathBytes - 1u);
        }
    }
}

TEST(FrameListFile, ShortFileKeepsWhatWasRead) {
    TempTree tree;
    TouchFrames(tree, 1, {0});
    const std::string whole = FrameListBytes({"x.jpg", "y.jpg"}, "2");
    tree.WriteFile("frame_data0002.dat", whole.substr(0, 1000));  // ends inside record 1
    folder_index = 1;
    const std::string out = RunCheckContents();
    // The records came, the count did not: folder 2 counts as empty and folder 1 is scanned.
    EXPECT_NE(out.find("Number of files = [ 0 ],  Name of the top file = [ x.jpg ]"),
              std::string::npos);
    EXPECT_EQ(folder_index, 0);
    EXPECT_EQ(MaxCount, 1);
}

TEST(FrameScanDeath, NoContentsAtAllEndsWithItsMessageAndNonZeroStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempTree tree;
    tree.MakeFolder("../S001");
    folder_index = 1;
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the messages go to stdout; let the death test see them
            CheckContents();
        },
        testing::ExitedWithCode(1),
        "START CHECKING IMAGE FILES.*\n---> Empty folder is specified!\n---> Empty folder is "
        "specified!\n---> ERROR: No image file exists! Bye!\n");
}
