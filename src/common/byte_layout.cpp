#include "common/byte_layout.hpp"

#include <cstring>
#include <memory>

namespace {

void PutLittleEndian(uint8_t* bytes, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t TakeLittleEndian(const uint8_t* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

// Moves `count` bytes between the image and `bytes` (the value's own little-endian form): out to
// the image when encoding; in from the part of the image that the file reached when decoding.
void Exchange(ByteCursor& cursor, uint8_t* bytes, int count) {
    if (!cursor.decode) {
        std::memcpy(cursor.at, bytes, static_cast<size_t>(count));
    } else if (cursor.at < cursor.end) {
        const ptrdiff_t available = cursor.end - cursor.at;
        std::memcpy(bytes, cursor.at, static_cast<size_t>(available < count ? available : count));
    }
    cursor.at += count;
}

}  // namespace

void Transfer(ByteCursor& cursor, int32_t& value) {
    uint8_t bytes[4];
    PutLittleEndian(bytes, static_cast<uint32_t>(value), 4);
    Exchange(cursor, bytes, 4);
    value = static_cast<int32_t>(static_cast<uint32_t>(TakeLittleEndian(bytes, 4)));
}

void Transfer(ByteCursor& cursor, double& value) {
    static_assert(sizeof(double) == 8, "doubles are stored as IEEE-754 binary64");
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t bytes[8];
    PutLittleEndian(bytes, bits, 8);
    Exchange(cursor, bytes, 8);
    bits = TakeLittleEndian(bytes, 8);
    std::memcpy(&value, &bits, sizeof value);
}

void Transfer(ByteCursor& cursor, char& value) {
    uint8_t byte = static_cast<uint8_t>(value);
    Exchange(cursor, &byte, 1);
    value = static_cast<char>(byte);
}

void SkipBytes(ByteCursor& cursor, size_t count) {
    cursor.at += count;
}

uint8_t* LayoutImage(size_t bytes) {
    static std::unique_ptr<uint8_t[]> image;
    static size_t held = 0;
    if (held < bytes) {
        // Only the pages a file's bytes are read into are ever touched.
        image = std::make_unique_for_overwrite<uint8_t[]>(bytes);
        held = bytes;
    }
    return image.get();
}
