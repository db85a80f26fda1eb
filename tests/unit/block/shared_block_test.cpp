#include "block/shared_block.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/state.hpp"
#include "platform/shared_memory.hpp"
#include "unit/shell/test_block.hpp"

namespace {

// A second mapping of the block, as another copy of the program sees it.
int32_t* OtherView(const std::string& name) {
    void* view = nullptr;
    EXPECT_EQ(OpenSharedMemory(name.c_str(), kSharedBytes, &view), SharedMemoryResult::kOk);
    return static_cast<int32_t*>(view);
}

// Creates the block beforehand with bytes bytes, every word holding 1000 + its number.
void PrepareBlock(const std::string& name, int bytes) {
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, bytes), 0);
    auto* words =
        static_cast<int32_t*>(mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    ASSERT_NE(words, MAP_FAILED);
    for (int i = 0; i < bytes / 4; ++i) words[i] = 1000 + i;
    munmap(words, bytes);
    close(fd);
}

TEST(SharedBlock, OpeningClearsTheSlotsAndKeepsTheRest) {
    TestBlockName block;
    PrepareBlock(block.name(), kSharedBytes);
    OpenSharedBlock();
    const int32_t* other = OtherView(block.name());
    for (int i = 0; i <= 32; ++i) EXPECT_EQ(other[i], 0) << i;
    for (int i = 33; i < kSharedWords; ++i) EXPECT_EQ(other[i], 1000 + i) << i;
    EXPECT_EQ(SI[40], 1040);
}

TEST(SharedBlock, IsPrivateToTheUser) {
    TestBlockName block;
    OpenSharedBlock();
    struct stat info;
    ASSERT_EQ(stat(("/dev/shm/" + block.name()).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, kSharedBytes);
}

TEST(SharedBlock, ASmallerBlockIsGrown) {
    TestBlockName block;
    PrepareBlock(block.name(), 16);
    OpenSharedBlock();
    struct stat info;
    ASSERT_EQ(stat(("/dev/shm/" + block.name()).c_str(), &info), 0);
    EXPECT_EQ(info.st_size, kSharedBytes);
    SI[255] = 77;
    WriteSharedBlock();
    EXPECT_EQ(OtherView(block.name())[255], 77);
}

TEST(SharedBlock, WithoutABlockOnlyTheMirrorIsCleared) {
    SI[5] = 9;
    SI[50] = 8;
    ClearSharedBlock();
    EXPECT_EQ(SI[5], 0);
    EXPECT_EQ(SI[50], 8);
}

// Runs OpenSharedBlock in a child with its stdout in a pipe; returns the child's exit status.
int OpenInChild(std::string* output) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return -1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[0]);
        OpenSharedBlock();
        _exit(0);
    }
    close(pipe_ends[1]);
    char buffer[256];
    ssize_t got;
    while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0) output->append(buffer, got);
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SharedBlock, ABlockThatCannotBeOpenedEndsTheProgramWithItsMessage) {
    setenv("ZELTRAN_SHM_NAME", "no/such/block", 1);  // a name the system refuses
    std::string output;
    EXPECT_EQ(OpenInChild(&output), 1);
    EXPECT_EQ(output, "共有メモリオープン失敗\n");
}

}  // namespace
