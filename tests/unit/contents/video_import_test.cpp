#include "contents/video_import.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/state.hpp"
#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/window.hpp"
#include "support/temp_tree.hpp"

namespace fs = std::filesystem;

namespace {

// Fills arg_path as start-up does: slot 0 the program, then the given arguments.
void SetArguments(const std::vector<std::string>& args) {
    arg_count = static_cast<int32_t>(args.size()) + 1;
    std::strcpy(arg_path[0], "/opt/zeltran/zeltran");
    for (size_t i = 0; i < args.size(); ++i) std::strcpy(arg_path[i + 1], args[i].c_str());
}

std::vector<std::string> Slots() {
    std::vector<std::string> slots;
    for (int i = 0; i < arg_count; ++i) slots.emplace_back(arg_path[i]);
    return slots;
}

// A test video of the given number of frames, written with the system converter.
void MakeVideo(const TempTree& tree, const std::string& name, int frames) {
    const std::string ffmpeg = FindOnPath("ffmpeg");
    ASSERT_FALSE(ffmpeg.empty()) << "ffmpeg is not installed";
    const std::string path = tree.work() + "/" + name;
    ASSERT_EQ(RunProgram({ffmpeg, "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                          "testsrc=size=64x48:rate=10", "-frames:v", std::to_string(frames), path}),
              0);
}

// The converter beside the program, as an installation has it.
void LinkConverter(const TempTree& tree) {
    const std::string ffmpeg = FindOnPath("ffmpeg");
    ASSERT_FALSE(ffmpeg.empty());
    fs::create_symlink(ffmpeg, tree.work() + "/ffmpeg");
}

std::vector<std::string> JpegNames(const std::string& folder) {
    std::vector<std::string> names;
    ListFolder(folder.c_str(), &names);
    std::vector<std::string> jpegs;
    for (const std::string& name : names) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0) jpegs.push_back(name);
    }
    std::sort(jpegs.begin(), jpegs.end());
    return jpegs;
}

std::vector<std::string> ClipNames(int first, int last) {
    std::vector<std::string> names;
    for (int n = first; n <= last; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "clip_%05d.jpg", n);
        names.emplace_back(name);
    }
    return names;
}

}  // namespace

TEST(ArgumentSort, AscendingUnsignedByteOrderWithSlotZeroInPlace) {
    struct Case {
        std::vector<std::string> given;
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {{"b.mp4", "a.mp4"}, {"a.mp4", "b.mp4"}},
        {{"a.mp4", "B.mp4"}, {"B.mp4", "a.mp4"}},
        {{"\xe5\x8b\x95.mp4", "z.mp4", "Z.mp4"}, {"Z.mp4", "z.mp4", "\xe5\x8b\x95.mp4"}},
        {{"a b.mp4", "a", "a.mp4"}, {"a", "a b.mp4", "a.mp4"}},
        {{"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
        {{"only.mp4"}, {"only.mp4"}},
    };
    for (const Case& c : cases) {
        SetArguments(c.given);
        SortArguments();
        std::vector<std::string> expected = {"/opt/zeltran/zeltran"};
        expected.insert(expected.end(), c.sorted.begin(), c.sorted.end());
        EXPECT_EQ(Slots(), expected) << c.given[0];
    }
}

TEST(ArgumentSort, LongerTextAfterShorterIsSwappedWhole) {
    const std::string long_name(4999, 'z');
    SetArguments({long_name, "a"});
    SortArguments();
    EXPECT_EQ(Slots(), (std::vector<std::string>{"/opt/zeltran/zeltran", "a", long_name}));
}

TEST(CommandLineText, QuotesOnlyWhatAShellWouldMisread) {
    EXPECT_EQ(CommandLineText({"./ffmpeg", "-q:v", "1", "../S001/clip_%05d.jpg"}),
              "./ffmpeg -q:v 1 ../S001/clip_%05d.jpg");
    EXPECT_EQ(CommandLineText({"my clip.mp4"}), "\"my clip.mp4\"");
    EXPECT_EQ(CommandLineText({"a\"b;$(x)`y`\\.mp4"}), "\"a\\\"b;\\$(x)\\`y\\`\\\\.mp4\"");
    EXPECT_EQ(CommandLineText({"a@b.mp4"}), "a@b.mp4");
    EXPECT_EQ(CommandLineText({""}), "\"\"");
}

TEST(VideoImport, VideosLandInFoldersByByteOrder) {
    TempTree tree;
    LinkConverter(tree);
    MakeVideo(tree, "b.mp4", 5);
    MakeVideo(tree, "a.mp4", 3);
    MakeVideo(tree, "B.mp4", 2);
    SetArguments({"b.mp4", "a.mp4", "B.mp4"});
    ImportVideos();
    EXPECT_EQ(Slots(),
              (std::vector<std::string>{"/opt/zeltran/zeltran", "B.mp4", "a.mp4", "b.mp4"}));
    EXPECT_EQ(JpegNames("../S001"), ClipNames(1, 2));
    EXPECT_EQ(JpegNames("../S002"), ClipNames(1, 3));
    EXPECT_EQ(JpegNames("../S003"), ClipNames(1, 5));
}

TEST(VideoImport, AnnouncesEachStepWithWhatRuns) {
    TempTree tree;
    LinkConverter(tree);
    MakeVideo(tree, "my clip.mp4", 2);
    SetArguments({"my clip.mp4"});
    testing::internal::CaptureStdout();
    ImportVideos();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "\n----------> EXECUTING: mkdir  \"../S001\"\n\n"
              "\n----------> EXECUTING: rm -f  \"../S001/\"*.jpg\n\n"
              "\n----------> EXECUTING: ./ffmpeg -nostdin -i \"my clip.mp4\" -q:v 1 "
              "../S001/clip_%05d.jpg\n\n");
    EXPECT_EQ(JpegNames("../S001"), ClipNames(1, 2));
}

TEST(VideoImport, NameWithShellCharactersReachesTheConverterUnchanged) {
    TempTree tree;
    LinkConverter(tree);
    const std::string name = "q\"x; $(touch marker) `touch marker2` @a@\nz.mp4";
    MakeVideo(tree, "plain.mp4", 2);
    fs::rename(tree.work() + "/plain.mp4", tree.work() + "/" + name);
    SetArguments({name});
    testing::internal::CaptureStdout();
    ImportVideos();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(JpegNames("../S001"), ClipNames(1, 2));
    EXPECT_FALSE(tree.Exists("marker"));
    EXPECT_FALSE(tree.Exists("marker2"));
    EXPECT_FALSE(tree.Exists("../marker"));
    EXPECT_NE(out.find("./ffmpeg -nostdin -i \"q\\\"x; \\$(touch marker) \\`touch marker2\\` @a@\n"
                       "z.mp4\" -q:v 1 ../S001/clip_%05d.jpg\n"),
              std::string::npos)
        << out;
}

TEST(VideoImport, OldFramesAreReplacedAndOtherFilesStay) {
    TempTree tree;
    LinkConverter(tree);
    tree.MakeFrames(1, FrameRange(8));
    tree.WriteFile("../S001/nqt_config.dat", "key frames");
    tree.WriteFile("../S001/notes.JPG", "upper case");
    tree.WriteFile("../S001/.hidden.jpg", "hidden");
    tree.MakeFolder("../S001/album.jpg");
    tree.WriteFile("../outside.jpg", "outside");
    fs::create_symlink("../outside.jpg", tree.root() + "/S001/link.jpg");
    MakeVideo(tree, "v.mp4", 3);
    SetArguments({"v.mp4"});
    ImportVideos();
    EXPECT_EQ(JpegNames("../S001"),
              (std::vector<std::string>{".hidden.jpg", "album.jpg", "clip_00001.jpg",
                                        "clip_00002.jpg", "clip_00003.jpg"}));
    EXPECT_EQ(tree.ReadFile("../S001/nqt_config.dat"), "key frames");
    EXPECT_EQ(tree.ReadFile("../S001/notes.JPG"), "upper case");
    EXPECT_EQ(tree.ReadFile("../S001/.hidden.jpg"), "hidden");
    EXPECT_EQ(tree.ReadFile("../outside.jpg"), "outside");
}

TEST(VideoImport, UnreadableVideoLeavesAnEmptyFolderAndTheNextIsImported) {
    TempTree tree;
    LinkConverter(tree);
    tree.MakeFrames(1, FrameRange(4));
    tree.WriteFile("a_bad.mp4", "this is not a video");
    MakeVideo(tree, "b_good.mp4", 2);
    SetArguments({"b_good.mp4", "a_bad.mp4"});
    testing::internal::CaptureStderr();
    ImportVideos();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(JpegNames("../S001").empty());
    EXPECT_EQ(JpegNames("../S002"), ClipNames(1, 2));
    EXPECT_NE(err.find("---> The converter failed on [ a_bad.mp4 ] (exit status "),
              std::string::npos);
}

TEST(VideoImport, ConverterThatCannotStartIsReportedAndTheImportGoesOn) {
    TempTree tree;
    tree.WriteFile("ffmpeg", "neither a program nor a script\n");
    ASSERT_EQ(chmod((tree.work() + "/ffmpeg").c_str(), 0755), 0);
    tree.WriteFile("a.mp4", "x");
    tree.WriteFile("b.mp4", "x");
    SetArguments({"b.mp4", "a.mp4"});
    testing::internal::CaptureStderr();
    ImportVideos();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "---> ERROR: Cannot start the converter [ ./ffmpeg ]; [ a.mp4 ] is not converted.\n"
              "---> ERROR: Cannot start the converter [ ./ffmpeg ]; [ b.mp4 ] is not converted.\n");
    EXPECT_TRUE(tree.Exists("../S001"));
    EXPECT_TRUE(tree.Exists("../S002"));
}

TEST(VideoImport, FolderThatCannotBeMadeSkipsItsVideoOnly) {
    TempTree tree;
    LinkConverter(tree);
    tree.WriteFile("../S001", "a file where the folder should be");
    MakeVideo(tree, "a.mp4", 2);
    MakeVideo(tree, "b.mp4", 2);
    SetArguments({"a.mp4", "b.mp4"});
    testing::internal::CaptureStderr();
    ImportVideos();
    EXPECT_EQ(
        testing::internal::GetCapturedStderr().rfind(
            "---> ERROR: Cannot create the folder [ ../S001 ]; [ a.mp4 ] is not converted.\n", 0),
        0u);
    EXPECT_EQ(tree.ReadFile("../S001"), "a file where the folder should be");
    EXPECT_EQ(JpegNames("../S002"), ClipNames(1, 2));
}

TEST(VideoImport, FrameFileIsSkippedAndKeepsItsFolderNumber) {
    TempTree tree;
    LinkConverter(tree);
    tree.MakeFrames(1, FrameRange(5));
    const std::string frames_before = tree.ReadFile("../S001/clip_00003.jpg");
    WriteJpeg(tree.work() + "/A/S00001_00003.jpg", 32, 24, cv::Scalar(1, 2, 3));
    MakeVideo(tree, "v.mp4", 2);
    SetArguments({"v.mp4", "A/S00001_00003.jpg"});
    testing::internal::CaptureStdout();
    ImportVideos();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string(arg_path[1]), "A/S00001_00003.jpg");
    EXPECT_EQ(JpegNames("../S001"), ClipNames(0, 4));
    EXPECT_EQ(tree.ReadFile("../S001/clip_00003.jpg"), frames_before);
    EXPECT_EQ(JpegNames("../S002"), ClipNames(1, 2));
    EXPECT_EQ(out.find("../S001\""), std::string::npos);
    EXPECT_EQ(out.rfind("\n---> SKIPPED: [ A/S00001_00003.jpg ] is a frame file (start folder "
                        "and frame), not a video.\n\n----------> EXECUTING: mkdir  \"../S002\"",
                        0),
              0u)
        << out;
}

TEST(VideoImport, PictureFromItsOwnTargetFolderIsNotDeletedUnread) {
    for (const std::string name : {"../S001/clip_00002.jpg", "../S001/../S001/clip_00002.jpg"}) {
        TempTree tree;
        LinkConverter(tree);
        tree.MakeFrames(1, FrameRange(5));
        SetArguments({name});
        testing::internal::CaptureStdout();
        ImportVideos();
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "\n---> SKIPPED: [ " + name +
                      " ] lies in [ ../S001 ], whose JPEG files the import replaces.\n");
        EXPECT_EQ(JpegNames("../S001"), ClipNames(0, 4));
    }
}

TEST(VideoImport, QuitRequestStopsBeforeTheNextVideo) {
    TempTree tree;
    LinkConverter(tree);
    MakeVideo(tree, "a.mp4", 2);
    MakeVideo(tree, "b.mp4", 2);
    SetArguments({"a.mp4", "b.mp4"});
    RequestQuit();
    testing::internal::CaptureStdout();
    ImportVideos();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(JpegNames("../S001"), ClipNames(1, 2));
    EXPECT_FALSE(tree.Exists("../S002"));
    EXPECT_NE(out.find("\n---> Video import stopped: quit requested.\n"), std::string::npos);
}
