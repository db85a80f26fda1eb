// Binary file layouts mean the same bytes on every machine: little-endian numbers, and char
// fields that carry bytes above 127 unchanged whether char is signed (x86) or not (arm64).
#include <gtest/gtest.h>

#include <cstring>

#include "common/byte_layout.hpp"

namespace {

struct Record {
    int32_t number;
    double real;
    char text[3];
};

void Layout(ByteCursor& cursor, Record& record) {
    Transfer(cursor, record.number);
    Transfer(cursor, record.real);
    Transfer(cursor, record.text);
}

TEST(ByteLayout, NumbersAreLittleEndianAndHighBytesRoundTrip) {
    Record out{-2, 1.5, {'\x80', '\xFF', 'A'}};
    uint8_t image[15] = {};
    ByteCursor put{image, false};
    Layout(put, out);
    const uint8_t expected[15] = {0xFE, 0xFF, 0xFF, 0xFF, 0,    0,    0,  0,
                                  0,    0,    0xF8, 0x3F, 0x80, 0xFF, 'A'};
    EXPECT_EQ(std::memcmp(image, expected, sizeof image), 0);

    Record in{};
    ByteCursor get{image, true, image + sizeof image};
    Layout(get, in);
    EXPECT_EQ(in.number, -2);
    EXPECT_EQ(in.real, 1.5);
    EXPECT_EQ(static_cast<unsigned char>(in.text[0]), 0x80);
    EXPECT_EQ(static_cast<unsigned char>(in.text[1]), 0xFF);
}

TEST(ByteLayout, AValueCutByTheFileEndKeepsItsOwnHighBytes) {
    uint8_t image[15] = {0xFE, 0xFF};
    Record in{0x11223344, 2.0, {'x', 'y', 'z'}};
    ByteCursor get{image, true, image + 2};
    Layout(get, in);
    EXPECT_EQ(in.number, 0x1122FFFE);
    EXPECT_EQ(in.real, 2.0);
    EXPECT_EQ(in.text[2], 'z');
}

// An entry with padding in its image, as the knowledge files have: 4 + 4 unused + 8 bytes.
struct Entry {
    int32_t number;
    double real;
};

void Transfer(ByteCursor& cursor, Entry& entry) {
    Transfer(cursor, entry.number);
    SkipBytes(cursor, 4);
    Transfer(cursor, entry.real);
}

TEST(ByteLayout, NestedArraysPastTheFileEndKeepTheirContentsAndTheCursorItsPlace) {
    Entry entries[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) entries[i][j] = {100 + 4 * i + j, 0.5 + 4 * i + j};
    }
    int32_t after = 7;
    uint8_t image[3 * 4 * 16 + 4];
    std::memset(image, 0x01, sizeof image);
    // The file ends two bytes into entry [1][1].
    ByteCursor get{image, true, image + 5 * 16 + 2};
    Transfer(get, entries);
    Transfer(get, after);
    EXPECT_EQ(get.at, image + sizeof image);
    double ones;
    std::memset(&ones, 0x01, sizeof ones);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(entries[k / 4][k % 4].number, 0x01010101) << k;
        EXPECT_EQ(entries[k / 4][k % 4].real, ones) << k;
    }
    EXPECT_EQ(entries[1][1].number, (105 & ~0xFFFF) | 0x0101);
    EXPECT_EQ(entries[1][1].real, 5.5);
    for (int k = 6; k < 12; ++k) {
        EXPECT_EQ(entries[k / 4][k % 4].number, 100 + k) << k;
        EXPECT_EQ(entries[k / 4][k % 4].real, 0.5 + k) << k;
    }
    EXPECT_EQ(after, 7);
}

}  // namespace
