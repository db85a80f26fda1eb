// ZELTRAN_LANGUAGE=en: the real player's console in English from the build tree's catalog.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <string>

#include "window/harness.hpp"

namespace {

bool AllAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TEST(EnglishConsole, HelpScreenAndKeyMessagesAreEnglish) {
    Player player;
    player.Environment("ZELTRAN_LANGUAGE", "en");
    player.MakeFrames(1, 5);
    player.MakeOwnPictures();
    player.Start();
    ASSERT_TRUE(
        player.WaitForOutput("     [ENTER]   Shows this list of ZELTRAN  Ver.1.3  again.\n"))
        << player.Output();
    ASSERT_TRUE(ShowsFrame(player, 0));
    const std::string help = player.Output();
    for (const char* line : {"\n                   [ ZELTRAN  Ver.1.3  Keys ]\n",
                             "     < Click the picture window first, then type these keys >\n\n"
                             "     [ESC]     Pauses the player (it waits).\n"
                             "               Then [Enter] resumes and [ESC] ends the program.\n\n"
                             "     [ q ]     Turns the web camera off or on.\n"}) {
        EXPECT_NE(help.find(line), std::string::npos) << line;
    }
    player.Key("BackSpace");
    EXPECT_TRUE(player.WaitForOutput("SET: Picture window size = [ follows each picture ]\n"));
    player.Key("BackSpace");
    EXPECT_TRUE(player.WaitForOutput("SET: Picture window size = [ kept as set ]\n"));
    player.Signal(SIGTERM);
    EXPECT_EQ(player.WaitExit(), 0);
    EXPECT_TRUE(AllAscii(player.Output())) << player.Output();
}

TEST(EnglishConsole, ConverterGuideTellsHowToInstallItOnDebian) {
    Player player;
    player.Environment("ZELTRAN_LANGUAGE", "en");
    player.RemoveConverter();
    player.Environment("PATH", player.root() + "/empty-path");
    player.Start({"video.mp4"});
    EXPECT_NE(player.WaitExit(), 0);
    const std::string guide =
        player.work() +
        "\n"
        "\nERROR! : Cannot find the converter [ ffmpeg ]\n\n"
        "         Videos given to the player are converted into frames with FFmpeg.\n"
        "         On Debian and Ubuntu install it with:  sudo apt-get install ffmpeg\n"
        "         The steps below tell more; the manual page zeltran(1) tells where\n"
        "         the player looks for the converter.\n\n\n"
        "\n-------------------------------------------------------------------------------------\n"
        "(Reference) How to install and uninstall FFmpeg\n"
        "-------------------------------------------------------------------------------------\n"
        "\n"
        "[Step 1] Open a terminal.\n"
        "[Step 2] Update the package lists:  sudo apt-get update\n"
        "[Step 3] Install the FFmpeg package:  sudo apt-get install ffmpeg\n"
        "[Step 4] Check the installation:  ffmpeg -version  (it prints its version)\n"
        "[Step 5] Without administrator rights, get a Linux executable [ffmpeg] instead,\n"
        "[Step 6] put it into the working folder (the folder the player starts in)\n"
        "[Step 7] and make it executable:  chmod +x ./ffmpeg\n"
        "The converter [ffmpeg] is then installed.\n"
        "\n"
        "To uninstall it:  sudo apt-get remove ffmpeg  (a copied ./ffmpeg is simply\n"
        "deleted).\n"
        "\n"
        "Start the player again once the converter is installed.\n"
        "\n"
        "End\n";
    const std::string output = player.Output();
    ASSERT_GE(output.size(), guide.size());
    EXPECT_EQ(output.substr(output.size() - guide.size()), guide);
}

}  // namespace
