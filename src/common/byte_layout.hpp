// Fixed little-endian layouts of binary files (int32 two's complement, IEEE-754 binary64), read
// field by field so the files mean the same on any machine and no struct padding leaks in.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdio>

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
    uint8_t* const first = cursor.at;
    for (size_t i = 0; i < N; ++i) {
        // Past the end of what the file gave every value keeps its contents, so the rest of the
        // array is only stepped over: each element takes the bytes the ones before it took. A
        // short knowledge file no longer walks its 9.8 MB layout value by value.
        if (i > 0 && cursor.decode && cursor.at >= cursor.end) {
            cursor.at = first + static_cast<size_t>(cursor.at - first) / i * N;
            return;
        }
        Transfer(cursor, array[i]);
    }
}

// A buffer of at least `bytes` bytes for one block read, kept for the next read: the knowledge
// files are read at every folder change, and a fresh 9.8 MB block each time costs page faults
// (and under the sanitizers far more than the reading). Its contents are undefined.
uint8_t* LayoutImage(size_t bytes);

// One block read of up to `bytes` bytes over the values that layout(cursor) lists, in order. The
// values get the file's bytes as far as the file reaches; past a short file's end they keep their
// contents, as if the file had been read straight over them. Returns the bytes read.
template <typename Layout>
size_t ReadLayout(FILE* file, size_t bytes, Layout layout) {
    uint8_t* const image = LayoutImage(bytes);
    const size_t got = std::fread(image, 1, bytes, file);
    ByteCursor get{image, true, image + got};
    layout(get);
    assert(get.at == image + bytes);
    return got;
}
