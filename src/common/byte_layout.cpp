#include "common/byte_layout.hpp"

#include <cstring>

namespace {

uint64_t Take(ByteCursor& cursor, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | cursor.at[i];
    cursor.at += bytes;
    return value;
}

void Put(ByteCursor& cursor, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) cursor.at[i] = static_cast<uint8_t>(value >> (8 * i));
    cursor.at += bytes;
}

}  // namespace

void Transfer(ByteCursor& cursor, int32_t& value) {
    if (cursor.decode) {
        value = static_cast<int32_t>(static_cast<uint32_t>(Take(cursor, 4)));
    } else {
        Put(cursor, static_cast<uint32_t>(value), 4);
    }
}

void Transfer(ByteCursor& cursor, double& value) {
    static_assert(sizeof(double) == 8, "doubles are stored as IEEE-754 binary64");
    uint64_t bits = 0;
    if (cursor.decode) {
        bits = Take(cursor, 8);
        std::memcpy(&value, &bits, sizeof value);
    } else {
        std::memcpy(&bits, &value, sizeof bits);
        Put(cursor, bits, 8);
    }
}

void Transfer(ByteCursor& cursor, char& value) {
    if (cursor.decode) {
        value = static_cast<char>(*cursor.at);
    } else {
        *cursor.at = static_cast<uint8_t>(value);
    }
    ++cursor.at;
}

void SkipBytes(ByteCursor& cursor, size_t count) {
    cursor.at += count;
}
