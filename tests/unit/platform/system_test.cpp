// The system services both builds provide, through their own interfaces only, so that the same
// test runs on Linux and, under wine, on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/environment.hpp"
#include "platform/process.hpp"
#include "platform/udp.hpp"

namespace {

constexpr char kEchoFile[] = "ZELTRAN_TEST_ECHO_FILE";

// Run as a child by the test below: writes its arguments, one a line, into the file it is told.
TEST(SystemProcess, EchoArgumentsWhenAsked) {
    const char* file = std::getenv(kEchoFile);
    if (file == nullptr) GTEST_SKIP() << "only as the child of ArgumentsReachTheProgramUnchanged";
    std::ofstream out(file, std::ios::binary);
    const std::vector<std::string> arguments = testing::internal::GetArgvs();
    for (size_t i = 2; i < arguments.size(); ++i) out << arguments[i] << '\n';
}

// No file name is rewritten on its way to the converter: spaces, quotes, backslashes before a
// quote or at the end, shell and command-interpreter characters, an empty argument, non-ASCII.
TEST(SystemProcess, ArgumentsReachTheProgramUnchanged) {
    const std::vector<std::string> tricky = {
        "plain", "two words",    "quote\"inside", "trailing\\",    "back\\\\slash\\\"quote",
        "",      "%PATH% $HOME", "&|<>^;`",       "日本語 ünï.mp4"};
    const std::string file = "echo-" + std::to_string(std::random_device{}()) + ".txt";
    SetEnvironmentDefault(kEchoFile, file.c_str());
    std::vector<std::string> command = {testing::internal::GetArgvs()[0],
                                        "--gtest_filter=SystemProcess.EchoArgumentsWhenAsked"};
    command.insert(command.end(), tricky.begin(), tricky.end());
    EXPECT_EQ(RunProgram(command), 0);
    std::ifstream in(file, std::ios::binary);
    std::stringstream echoed;
    echoed << in.rdbuf();
    std::string expected;
    for (const std::string& argument : tricky) expected += argument + '\n';
    EXPECT_EQ(echoed.str(), expected);
    in.close();
    std::remove(file.c_str());
}

TEST(SystemUdp, AListenerTakesDatagramsFromATargetAndHoldsItsPortAlone) {
    IpAddress loopback;
    ASSERT_TRUE(ParseIpAddress("127.0.0.1", &loopback));
    int listener = -1;
    int port = 0;
    std::mt19937 random{std::random_device{}()};
    for (int tries = 0; tries < 20 && listener < 0; ++tries) {
        port = 20000 + static_cast<int>(random() % 30000);
        listener = OpenUdpListener(port);
    }
    ASSERT_GE(listener, 0);
    EXPECT_EQ(OpenUdpListener(port), -1);

    const int target = OpenUdpTarget(loopback, port);
    ASSERT_GE(target, 0);
    EXPECT_EQ(SendDatagram(target, "first", 5), SendResult::kSent);
    EXPECT_EQ(SendDatagram(target, "second!", 7), SendResult::kSent);
    ASSERT_TRUE(WaitReadable(listener, 2000));
    uint8_t memory[2][4];
    Datagram datagrams[2] = {{memory[0], 4, 0, false, {}}, {memory[1], 4, 0, false, {}}};
    int got = ReceiveDatagrams(listener, datagrams, 2);
    if (got == 1 && WaitReadable(listener, 2000))
        got += ReceiveDatagrams(listener, datagrams + 1, 1);
    ASSERT_EQ(got, 2);
    // Longer than the buffer: marked, not taken for whole.
    EXPECT_TRUE(datagrams[0].truncated);
    EXPECT_TRUE(datagrams[1].truncated);
    EXPECT_EQ(datagrams[0].sender.family, 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(memory[0]), 4), "firs");
    CloseUdpSocket(target);
    CloseUdpSocket(listener);
}

}  // namespace
