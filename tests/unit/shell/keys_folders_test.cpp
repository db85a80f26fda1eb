// Key commands that change or reload the contents folder, and the random contents selection.
#include "shell/keys_folders.hpp"

#include <cstdlib>
#include <string>

#include "common/state.hpp"
#include "keys_test_support.hpp"
#include "support/temp_tree.hpp"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

struct MessageCase {
    int32_t folder_index;
    const char* out;
};

TEST(FolderMessage, BlanksBecomeZerosAndUnderscoresBlanks) {
    const MessageCase cases[] = {
        {0, "\n* Changed Contents Folder to [ S001 ]\n\n"},
        {11, "\n* Changed Contents Folder to [ S012 ]\n\n"},
        {9999, "\n* Changed Contents Folder to [ S10000 ]\n\n"},
        {2147483647, "\n* Changed Contents Folder to [ S2147483648 ]\n\n"},
    };
    for (const MessageCase& c : cases) {
        folder_index = c.folder_index;
        testing::internal::CaptureStdout();
        PrintFolderMessage();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    }
}

struct FolderKeyCase {
    int key;
    int32_t from;
    int32_t to;
    const char* lead;  // what the key prints before the folder is loaded
};

TEST(FolderKeys, MoveToTheirFolderAndLoadIt) {
    const FolderKeyCase cases[] = {
        {'n', 9999, 0,
         "KEY FUNCTION : [n][ Move to Next Contents Folder ]\n"
         "\n* Changed Contents Folder to [ S001 ]\n\n"},
        {'n', -7, 0,
         "KEY FUNCTION : [n][ Move to Next Contents Folder ]\n"
         "\n* Changed Contents Folder to [ S001 ]\n\n"},
        {'n', 0, 1,
         "KEY FUNCTION : [n][ Move to Next Contents Folder ]\n"
         "\n* Changed Contents Folder to [ S002 ]\n\n"},
        {'p', 0, 0,
         "KEY FUNCTION : [p][ Move to Previous Contents Folder ]\n"
         "\n* Changed Contents Folder to [ S001 ]\n\n"},
        {'p', 1, 0,
         "KEY FUNCTION : [p][ Move to Previous Contents Folder ]\n"
         "\n* Changed Contents Folder to [ S001 ]\n\n"},
        {'2', 0, 1, "\n* Changed Contents Folder to [ S002 ]\n\n"},
        {'0', 0, 9, "\n* Changed Contents Folder to [ S010 ]\n\n"},
    };
    for (const FolderKeyCase& c : cases) {
        TempTree tree;
        tree.MakeFrames(1, FrameRange(3));
        tree.MakeFrames(2, FrameRange(4));
        tree.MakeFrames(10, FrameRange(5));
        folder_index = c.from;
        MaxCount = 2;
        frame_cache[1] = cv::Mat(4, 4, CV_8UC3);
        FrameData[1].loaded = 1;
        frame_no = 1.0;
        shown_frame_no = 1.0;
        DISP_WEB_CAM_INFO = 1;
        const std::string out = RunKey(c.key);
        EXPECT_EQ(out.substr(0, std::string(c.lead).size()), c.lead) << static_cast<char>(c.key);
        EXPECT_EQ(folder_index, c.to) << static_cast<char>(c.key) << " from " << c.from;
        EXPECT_TRUE(frame_cache[1].empty());
        EXPECT_EQ(FrameData[1].loaded, 0);
        EXPECT_EQ(MaxCount, c.to == 0 ? 3 : c.to == 1 ? 4 : 5);  // the folder was (re)loaded
        EXPECT_DOUBLE_EQ(shown_frame_no, -999.0);
    }
}

TEST(FolderKeys, DigitsEndWithDone) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(2));
    const std::string out = RunKey('1');
    EXPECT_EQ(out.substr(out.size() - 7), "Done.\n\n");
    EXPECT_EQ(folder_index, 0);
}

TEST(ReloadKeys, RefreshTheFolderAndCapitalRGoesBackToS001) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(3));
    tree.MakeFrames(2, FrameRange(4));
    DISP_WEB_CAM_INFO = 1;
    folder_index = 1;
    std::string out = RunKey('r');
    const std::string refresh =
        "KEY FUNCTION : [r][ Refresh Settings ]\n"
        "\n ---[ REFRESH SETTINGS AND RELOAD IMAGE FILES IN CONTENTS FOLDER ]---\n";
    EXPECT_EQ(out.substr(0, refresh.size()), refresh);
    EXPECT_EQ(out.substr(out.size() - 7), "Done.\n\n");
    EXPECT_EQ(folder_index, 1);
    EXPECT_EQ(MaxCount, 4);
    out = RunKey('R');
    EXPECT_EQ(out.substr(0, 40 + refresh.size()),
              "\n* Changed Contents Folder to [ S001 ]\n\n" + refresh);
    EXPECT_EQ(folder_index, 0);
    EXPECT_EQ(MaxCount, 3);
}

// The listing shows folder numbers blank-padded ("[S  1]"), unlike the file names.
// Folders found by each of the probes: S001 by its first frame, S003 by its parameter file, S004
// by its frame-list file, S005 by an old check file, S007 only by the sparse frame probe.
void MakeListedTree(const TempTree& tree) {
    tree.MakeFrames(1, FrameRange(2));
    tree.WriteFile("glt_env0003.dat", "");
    tree.WriteFile("frame_data0004.dat", "");
    tree.WriteFile("../S005/check_result.txt", "FOUND: clip_    1.jpg\n");
    tree.MakeFrames(7, {1, 2, 3, 4, 5, 6, 7});  // any first step of 1..7 lands on a frame
    tree.MakeFrames(3, FrameRange(2));  // the selection must be able to load the listed folders
    tree.MakeFrames(4, FrameRange(2));
    tree.MakeFrames(5, {1, 2});
}

TEST(RandomContentsKey, ListsTheFoldersOnceThenOnlySelects) {
    TempTree tree;
    MakeListedTree(tree);
    std::srand(1);
    folder_index = 0;
    DISP_WEB_CAM_INFO = 1;
    std::string out = RunKey(kKeySpace);
    const std::string listing =
        "KEY FUNCTION : [J/@][ Random Contents Selection ]\n"
        "\n*** Following is the list of contents with associated file: \n\n"
        "[S  1] FILE [ ../S001/clip_00000.jpg ] exists!\n"
        "       <<< You Are Here Now >>>\n"
        "[S  3] FILE [ glt_env0003.dat ] exists!\n"
        "[S  4] FILE [ frame_data0004.dat ] exists!\n"
        "[S  5] FILE [ ../S005/check_result.txt ] exists!\n"
        "*** Created a file[ ../S007/check_result.txt ] ***\n";
    ASSERT_EQ(out.substr(0, listing.size()), listing);
    const std::string written = tree.ReadFile("../S007/check_result.txt");
    ASSERT_EQ(written.size(), 22u);
    const char f = written[16];  // "FOUND: clip_    f.jpg\n", the frame the probe reached first
    EXPECT_EQ(written, std::string("FOUND: clip_    ") + f + ".jpg\n");
    EXPECT_GE(f, '1');
    EXPECT_LE(f, '7');
    const std::string selection = std::string("[S  7] FILE [ ../S007/clip_0000") + f +
                                  ".jpg ] exists!\n"
                                  "\n<<<<<<<< RANDOM CONTENTS SELECTION >>>>>>>>\n"
                                  "\n* Changed Contents Folder to [ S";
    EXPECT_EQ(out.substr(listing.size(), selection.size()), selection);
    EXPECT_EQ(out.substr(out.size() - 14), "\nThat's all.\n\n");
    EXPECT_EQ(contents_listed, 1);
    ASSERT_EQ(contents_count, 5);
    EXPECT_EQ(contents_list[0], 0);
    EXPECT_EQ(contents_list[4], 6);
    EXPECT_DOUBLE_EQ(shown_frame_no, -999.0);

    // Folders added later are not seen: the list of the first press stays.
    tree.MakeFrames(9, FrameRange(2));
    DISP_WEB_CAM_INFO = 0;
    for (int press = 0; press < 10; ++press) {
        out = RunKey(kKeySpace);
        EXPECT_FALSE(Contains(out, "Following is the list"));
        EXPECT_EQ(out.substr(0, 45), "\n<<<<<<<< RANDOM CONTENTS SELECTION >>>>>>>>\n");
        EXPECT_EQ(out.substr(out.size() - 14), "\nThat's all.\n\n");
        EXPECT_NE(folder_index, 8);
        EXPECT_TRUE(folder_index == 0 || folder_index == 2 || folder_index == 3 ||
                    folder_index == 4 || folder_index == 6)
            << folder_index;
    }
}

TEST(RandomContentsKey, ProbeFindsASparseFolderAndWritesWhereItFoundTheFrame) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(1));
    tree.MakeFrames(2, {1, 2, 3, 4, 5});  // no frame 0: found by the probe (steps of 1 or 2)
    std::srand(7);
    folder_index = 0;
    const std::string out = RunKey(kKeySpace);
    const std::string written = tree.ReadFile("../S002/check_result.txt");
    ASSERT_FALSE(written.empty());
    const int f = written == "FOUND: clip_    1.jpg\n" ? 1 : 2;
    EXPECT_EQ(written, "FOUND: clip_    " + std::to_string(f) + ".jpg\n");
    EXPECT_TRUE(Contains(out,
                         "*** Created a file[ ../S002/check_result.txt ] ***\n"
                         "[S  2] FILE [ ../S002/clip_0000" +
                             std::to_string(f) + ".jpg ] exists!\n"));
}

TEST(RandomContentsKey, SelectionLoadsTheParameterFileOfTheChosenFolder) {
    TempTree tree;
    tree.MakeFrames(3, FrameRange(2));
    tree.WriteFile("glt_env0003.dat", "");
    folder_index = 0;
    const std::string out = RunKey(kKeySpace);
    EXPECT_EQ(folder_index, 2);
    EXPECT_EQ(Count(out, "FILE [ glt_env0003.dat ] exists!\n"), 2u);
    EXPECT_TRUE(Contains(out, "       <<< You Are Here Now >>>\n[S  3]"));
}

TEST(RandomContentsKey, WithTheCameraLineOnlyItsKeyLine) {
    TempTree tree;
    tree.MakeFrames(1, FrameRange(1));
    DISP_WEB_CAM_INFO = 2;
    EXPECT_EQ(RunKey(kKeySpace), "KEY FUNCTION : [J/@][ Random Contents Selection ]\n");
    EXPECT_EQ(contents_listed, 0);
}

TEST(RandomContentsKey, NoFoldersAtAllEndsWithThatsAll) {
    TempTree tree;
    folder_index = 4;
    EXPECT_EQ(RunKey(kKeySpace),
              "\n*** Following is the list of contents with associated file: \n\n"
              "       <<< You Are Here Now >>>\n"
              "\nThat's all.\n\n");
    EXPECT_EQ(contents_listed, 0);
    EXPECT_EQ(folder_index, 4);
}
