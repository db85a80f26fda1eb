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

}  // namespace
