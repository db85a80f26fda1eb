// The whole player from start to end: what the console shows, what the window shows, and how
// the process ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

#include "support/temp_tree.hpp"
#include "window/harness.hpp"

namespace {

const char kBanner[] =
    "/////////////////////////////////////////////////////////////\n"
    "//                                                         //\n"
    "//                      Z E L T R A N                      //\n"
    "//        ------------------------------------------       //\n"
    "//         for  the  simple  but  sensible  reality        //\n"
    "//                                                         //\n"
    "//                                                         //\n"
    "/////////////////////////////////////////////////////////////\n\n";

TEST(PlayerStart, BannerFolderAndCommandLineComeFirst) {
    Player player;
    player.MakeFrames(1, 3);
    // A frame file is never imported, so the frames of ../S001 stay; "second" goes to ../S002.
    const std::string frame_file = "/no such/S00001_00001.jpg";
    player.Start({frame_file, "second"});
    ASSERT_TRUE(player.WaitForOutput("The system is starting up. This may take a while.\n\n"));
    const std::string expected =
        std::string(kBanner) + player.work() + "\n" + ZELTRAN_BINARY + " \"" + frame_file +
        "\" second\n" + "[0]" + ZELTRAN_BINARY + "\n" + "[1]" + frame_file + "\n" + "[2]second\n" +
        "\nTotal length of file name strings = " +
        std::to_string(std::string(ZELTRAN_BINARY).size() + frame_file.size() + 6) + "\n\n";
    EXPECT_EQ(player.Output().substr(0, expected.size()), expected);
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0) << player.Output() << player.Errors();
}

TEST(PlayerStart, ShowsFrameZeroOfTheFirstFolder) {
    Player player;
    player.MakeOwnPictures();
    player.MakeFrames(1, 5);
    player.Start();
    ASSERT_FALSE(player.WindowId().empty());
    EXPECT_TRUE(ShowsFrame(player, 0));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(PlayerStart, FrameFileOnTheCommandLineSelectsFolderAndFrame) {
    Player player;
    player.MakeFrames(1, 3);
    player.MakeFrames(2, 10);
    const std::string name = player.root() + "/S00002_00007.jpg";
    WriteJpeg(name, 16, 16, cv::Scalar(0, 0, 0));
    player.Start({name});
    ASSERT_TRUE(player.WaitForOutput("SET REPLAY PERIOD"));
    const std::string output = player.Output();
    EXPECT_NE(output.find("\n***** Given File Name : [ " + name +
                          " ]\n"
                          "DirNumString=[ 00002 ]   FrameNumString=[ 00007 ]\n"
                          "\n***** Changed Contents Directory to [S  2] \n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("\n***** Changed current frame_no = 7.000000\n\n"
                          "SET REPLAY PERIOD : [      0 ] <-> [     9]\n"),
              std::string::npos)
        << output;
    EXPECT_TRUE(ShowsFrame(player, 7));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
}

TEST(PlayerEnd, SignalsAndWindowCloseEndThroughTheQuitPath) {
    for (const char* how : {"SIGTERM", "SIGINT", "close"}) {
        SCOPED_TRACE(how);
        Player player;
        player.MakeFrames(1, 3);
        player.Start();
        ASSERT_FALSE(player.WindowId().empty());
        ASSERT_TRUE(player.WaitForOutput("The system is starting up."));
        if (std::string(how) == "SIGTERM") player.Signal(SIGTERM);
        if (std::string(how) == "SIGINT") player.Signal(SIGINT);
        if (std::string(how) == "close") player.CloseWindow();
        EXPECT_EQ(player.WaitExit(), 0);
    }
}

// What the player says when no folder holds a frame: where it looked, where it is started.
std::string NoFramesLines(const Player& player) {
    const std::string root = std::filesystem::canonical(player.root()).string();
    return "---> ERROR: No image file exists! Bye!\n---> Looked in " + root +
           "/S001 for clip_00000.jpg, clip_00001.jpg ...\n---> Start the player in the "
           "installation's work folder (frames in ../S001, ../S002 ...).\n";
}

TEST(PlayerEnd, NoFramesSaysWhereItLookedInTheConsoleAndTheWindowUntilAKey) {
    Player player;
    player.Start();
    ASSERT_TRUE(player.WaitForOutput(NoFramesLines(player))) << player.Output();
    // The same text, light on the black window.
    EXPECT_TRUE(player.WaitForPicture([](const cv::Mat& picture) {
        cv::Mat grey;
        cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
        return cv::countNonZero(grey > 128) > 500;
    }));
    EXPECT_TRUE(player.Running());
    player.Key("x");
    EXPECT_EQ(player.WaitExit(), 1);
}

// Without a display no key can ever come: the player used to wait for one for ever.
TEST(PlayerEnd, NoFramesWithoutADisplayEndsAtOnceWithStatusOne) {
    Player player;
    player.Environment("DISPLAY", "");
    player.Environment("WAYLAND_DISPLAY", "");
    player.Start();
    EXPECT_EQ(player.WaitExit(), 1);
    EXPECT_NE(player.Output().find(NoFramesLines(player)), std::string::npos) << player.Output();
}

TEST(PlayerStart, MissingConverterPrintsItsGuideAndFails) {
    Player player;
    player.MakeFrames(1, 3);
    player.RemoveConverter();
    player.Environment("PATH", player.root() + "/empty-path");
    player.Start({"video.mp4"});
    EXPECT_NE(player.WaitExit(), 0);
    const std::string output = player.Output();
    const std::string block_start =
        std::string(kBanner) + player.work() + "\n" +
        "\nエラー!  ファイル[ ffmpeg ]が見つかりません。\n\n"
        "         お手数をお掛けしますが、アプリケーション[ FFmpeg ]をご自身でダウンロード\n"
        "         して、指定の場所にファイル[ ffmpeg ]をコピーしてください。\n"
        "         詳細は、ファイル[ README.txt ]をご一読ください。また、インストール説明動画\n"
        "         [ インストールの手順.mp4 ] もご覧ください。ご協力ありがとうございます。\n\n\n"
        "ERROR! : Cannot find a file ->[ ffmpeg ]\n\n"
        "         You need to download and install FFmpeg application by yourself\n"
        "         and copy [ ffmpeg ] to the specified folder in advance.\n"
        "         Please refer to the file[ README.txt ] and [ インストールの手順.mp4 ]\n"
        "         for details. Thank you for your cooperation.\n"
        "\n-------------------------------------------------------------------------------------\n"
        "（参考）FFmpeg のインストールとアンインストールの方法\n"
        "-------------------------------------------------------------------------------------\n"
        "\n"
        "【手順１】";
    EXPECT_EQ(output.substr(0, block_start.size()), block_start);
    const std::string block_end =
        "以上でファイル[ffmpeg] のインストールは完了です。\n"
        "\n"
        "なお、アプリケーション[FFmpeg]をアンインストール（削除）したい場合、解凍した\n"
        "フォルダを直接削除してください（インストーラはありません）。\n"
        "\n"
        "◎詳細は上記手順を順番に確認できる動画[インストールの手順.mp4]をご覧ください◎\n"
        "\n"
        "以上\n";
    ASSERT_GE(output.size(), block_end.size());
    EXPECT_EQ(output.substr(output.size() - block_end.size()), block_end);
    for (const char* step : {"【手順２】", "【手順３】", "sudo apt-get install ffmpeg",
                             "【手順４】", "【手順５】", "【手順６】", "【手順７】", "./ffmpeg"}) {
        EXPECT_NE(output.find(step), std::string::npos) << step;
    }
    EXPECT_EQ(output.find("[0]"), std::string::npos) << "nothing runs after the block";
}

}  // namespace
