// Fixed little-endian layouts of binary files (int32 two's complement, IEEE-754 binary64), read
// field by field so the files mean the same on any machine and no struct padding leaks in.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// Walks a byte image: with decode set each Transfer takes a value from the bytes, otherwise it
// writes the value into them. When decoding, only the bytes before `end` came from the file: a
// value cut by `end` takes the bytes that came over its own, a value past it keeps its contents.
struct ByteCursor {
    uint8_t* at;
    bool decode;
    const uint8_t* end = nullptr;
};

void Transfer(ByteCursor& cursor, int32_t& value);
void Transfer(ByteCursor& cursor, double& value);
void Transfer(ByteCursor& cursor, char& value);

// Bytes of the image that carry nothing (padding).
void SkipBytes(ByteCursor& cursor, size_t count);

template <typename T, size_t N>
void Transfer(ByteCursor& cursor, T (&array)[N]) {
    for (T& element : array) Transfer(cursor, element);
}

// One block read of up to `bytes` bytes over the values that layout(cursor) lists, in order. The
// values get the file's bytes as far as the file reaches; past a short file's end they keep their
// contents, as if the file had been read straight over them. Returns the bytes read.
template <typename Layout>
size_t ReadLayout(FILE* file, size_t bytes, Layout layout) {
    std::vector<uint8_t> image(bytes);
    const size_t got = std::fread(image.data(), 1, bytes, file);
    ByteCursor get{image.data(), true, image.data() + got};
    layout(get);
    assert(get.at == image.data() + bytes);
    return got;
}
