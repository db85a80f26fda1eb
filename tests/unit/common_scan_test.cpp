#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "common/scan.hpp"

namespace {

FILE* TextFile(const char* text) {
    return fmemopen(const_cast<char*>(text), std::strlen(text), "r");
}

}  // namespace

TEST(ScanNumbers, ReadsLikeScanfAndLeavesTheTargetOnFailure) {
    FILE* file = TextFile("  12\n-7 huge 99999999999 -99999999999");
    int32_t value = 5;
    EXPECT_EQ(ScanInt(file, &value), 1);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(ScanInt(file, &value), 1);
    EXPECT_EQ(value, -7);
    EXPECT_EQ(ScanInt(file, &value), 0);  // a word: not a number, value kept
    EXPECT_EQ(value, -7);
    std::fclose(file);

    file = TextFile("99999999999 -99999999999");
    EXPECT_EQ(ScanInt(file, &value), 1);
    EXPECT_EQ(value, INT32_MAX);
    EXPECT_EQ(ScanInt(file, &value), 1);
    EXPECT_EQ(value, INT32_MIN);
    EXPECT_EQ(ScanInt(file, &value), -1);  // end of file
    EXPECT_EQ(value, INT32_MIN);
    std::fclose(file);

    double real = 1.5;
    file = TextFile(" 2.25 x");
    EXPECT_EQ(ScanDouble(file, &real), 1);
    EXPECT_EQ(real, 2.25);
    EXPECT_EQ(ScanDouble(file, &real), 0);
    EXPECT_EQ(real, 2.25);
    std::fclose(file);
}
