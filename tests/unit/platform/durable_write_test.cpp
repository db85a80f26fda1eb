// Durable writes: the new bytes reach the disk before they replace the old file, the folder after,
// and a step that fails leaves the old file as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "support/temp_tree.hpp"

namespace {

// The calls a write made, in order: "write", "sync file", "sync folder", "rename A -> B".
std::vector<std::string> calls;
std::string failing;  // the call to fail with EIO ("" for none)
const DiskCalls kSystem = DiskCallsInUse();

std::string FileName(const char* path) {
    return std::filesystem::path(path).filename().string();
}

// Each recorded call goes on to the system's own unless it is the one to fail.
std::ptrdiff_t RecordWrite(int fd, const void* bytes, size_t count) {
    calls.push_back("write");
    if (failing == "write") return errno = EIO, -1;
    return kSystem.write(fd, bytes, count);
}

int RecordSync(int fd) {
    calls.push_back("sync file");
    if (failing == "sync file") return errno = EIO, -1;
    return kSystem.sync(fd);
}

int RecordSyncFolder(const char* folder) {
    calls.push_back("sync folder");
    if (failing == "sync folder") return errno = EIO, -1;
    return kSystem.sync_folder(folder);
}

int RecordRename(const char* from, const char* to, bool replace) {
    // The temporary file's name is its own; only its place (beside the target) is fixed.
    const bool beside =
        std::filesystem::path(from).parent_path() == std::filesystem::path(to).parent_path();
    calls.push_back(std::string("rename ") + (beside ? "beside" : "elsewhere") + " -> " +
                    FileName(to));
    if (failing == "rename") return errno = EIO, -1;
    return kSystem.rename(from, to, replace);
}

class DurableWrite : public testing::Test {
  protected:
    void SetUp() override {
        calls.clear();
        failing.clear();
        DiskCallsInUse() = {kSystem.create, RecordWrite,      RecordSync,    kSystem.close,
                            RecordRename,   RecordSyncFolder, kSystem.remove};
    }
    void TearDown() override { DiskCallsInUse() = kSystem; }

    int EntriesIn(const std::string& folder) const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
            ++count;
        }
        return count;
    }

    TempTree tree;
};

TEST_F(DurableWrite, FlushesTheFileBeforeTheRenameAndTheFolderAfter) {
    tree.WriteFile("../S003/settings.txt", "old");
    EXPECT_TRUE(WriteFileDurably("../S003/settings.txt", "new bytes"));
    EXPECT_EQ(tree.ReadFile("../S003/settings.txt"), "new bytes");
    const std::vector<std::string> expected = {"write", "sync file",
                                               "rename beside -> settings.txt", "sync folder"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(EntriesIn(tree.root() + "/S003"), 1);
}

TEST_F(DurableWrite, AFailedStepLeavesTheOldFileAndNoTemporaryFile) {
    for (const char* step : {"write", "sync file", "rename"}) {
        failing = step;
        tree.WriteFile("GLT_THRESHOLD.dat", "11500");
        EXPECT_FALSE(WriteFileDurably("GLT_THRESHOLD.dat", "12000")) << step;
        EXPECT_EQ(tree.ReadFile("GLT_THRESHOLD.dat"), "11500") << step;
        EXPECT_EQ(EntriesIn(tree.work()), 1) << step;
    }
}

TEST_F(DurableWrite, AFolderThatCannotBeFlushedIsAFailure) {
    failing = "sync folder";
    EXPECT_FALSE(WriteFileDurably("GLT_THRESHOLD.dat", "12000"));
}

TEST_F(DurableWrite, KeepingAnExistingFileLeavesItAndFails) {
    tree.WriteFile("SetCamera3.txt", "mine");
    EXPECT_FALSE(WriteFileDurably("SetCamera3.txt", "made", Existing::kKeep));
    EXPECT_EQ(tree.ReadFile("SetCamera3.txt"), "mine");
    EXPECT_EQ(EntriesIn(tree.work()), 1);
    EXPECT_TRUE(WriteFileDurably("SetDisplay.txt", "made", Existing::kKeep));
    EXPECT_EQ(tree.ReadFile("SetDisplay.txt"), "made");
}

TEST_F(DurableWrite, EmptyBytesMakeAnEmptyFileAndABackslashIsPartOfAName) {
    tree.MakeFolder("my show\\1");
    EXPECT_TRUE(WriteFileDurably("my show\\1/check_result.txt", ""));
    EXPECT_TRUE(tree.Exists("my show\\1/check_result.txt"));
    EXPECT_EQ(tree.ReadFile("my show\\1/check_result.txt"), "");
}

}  // namespace
