#include "shell/startup.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/state.hpp"

namespace {

std::string Record(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    testing::internal::CaptureStdout();
    RecordArguments(static_cast<int>(argv.size()), argv.data());
    return testing::internal::GetCapturedStdout();
}

TEST(StartArguments, EchoQuotesArgumentsWithBlanksAndCountsTheirBytes) {
    EXPECT_EQ(Record({"/opt/zeltran", "my video.mp4", "b.mp4"}),
              "/opt/zeltran \"my video.mp4\" b.mp4\n"
              "[0]/opt/zeltran\n"
              "[1]my video.mp4\n"
              "[2]b.mp4\n"
              "\nTotal length of file name strings = 29\n\n");
    EXPECT_EQ(arg_count, 3);
    EXPECT_STREQ(arg_path[1], "my video.mp4");
    EXPECT_EQ(scratch_slot, 1);
}

TEST(StartArguments, ProgramAloneCountsItsOwnPath) {
    const std::string output = Record({"zeltran"});
    EXPECT_EQ(output, "zeltran\n[0]zeltran\n\nTotal length of file name strings = 7\n\n");
    EXPECT_EQ(arg_count, 1);
}

TEST(StartArguments, LongArgumentIsCutAtTheSlotSize) {
    const std::string output = Record({"zeltran", std::string(6000, 'a')});
    EXPECT_EQ(std::strlen(arg_path[1]), 4999u);
    EXPECT_NE(output.find("\nTotal length of file name strings = 5006\n\n"), std::string::npos);
}

TEST(StartArguments, ArgumentsBeyondTheTableAreLeftOutWithAMessage) {
    std::vector<std::string> args(kMaxArgs + 2, "v.mp4");
    const std::string output = Record(args);
    EXPECT_EQ(arg_count, kMaxArgs);
    EXPECT_NE(output.find("WARNING: Only 22000 command-line arguments can be used; the last 2 are "
                          "ignored.\n"),
              std::string::npos);
    EXPECT_NE(output.find("\nTotal length of file name strings = 110000\n\n"), std::string::npos);
}

}  // namespace
