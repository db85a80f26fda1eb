#include "platform/picture.hpp"

#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "platform/files.hpp"
#include "platform/picture_memory.hpp"

namespace {

// Pictures above this many pixels are refused (about 400 MB as BGR): a forged header must not
// make a frame file allocate without bound.
constexpr long long kMaxPixels = 1LL << 27;

// What each decoding thread keeps between pictures (the decode-ahead threads and the main thread
// decode at once): its decompressor and the buffer of the file's bytes. Reached through a plain
// pointer and freed by ReleasePictureDecoder, because a thread_local object's destructor runs too
// late in the Windows build (after the thread's storage is gone).
struct ThreadDecoder {
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> bytes;
};
thread_local ThreadDecoder* thread_decoder = nullptr;

ThreadDecoder& Decoder() {
    if (!thread_decoder) thread_decoder = new ThreadDecoder;
    return *thread_decoder;
}

bool ReadWholeFile(const char* path, std::vector<unsigned char>* bytes) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size > 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(static_cast<size_t>(size));
        ok = std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
    }
    std::fclose(file);
    return ok;
}

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
const unsigned char kBmpSignature[2] = {'B', 'M'};

bool StartsWith(const std::vector<unsigned char>& bytes, const unsigned char* signature,
                size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

uint16_t BigEndian16(const unsigned char* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

// True when the JPEG carries an EXIF block before its image data: the OpenCV reader turns such
// pictures by their orientation tag, so they go that way to look the same.
bool HasExif(const std::vector<unsigned char>& bytes) {
    size_t at = 2;  // after SOI
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xDA || marker == 0xD9) return false;  // image data or end: no EXIF
        if (marker == 0xFF) {                                // fill byte
            ++at;
            continue;
        }
        const size_t length = BigEndian16(&bytes[at + 2]);
        if (marker == 0xE1 && length >= 8 && at + 10 <= bytes.size() &&
            std::memcmp(&bytes[at + 4], "Exif\0\0", 6) == 0) {
            return true;
        }
        at += 2 + length;
    }
    return false;
}

uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24);
}

// True when width x height is above kMaxPixels; each side may be up to 2^32 - 1, so the sides
// are compared by division and the product cannot overflow.
bool TooManyPixels(long long width, long long height) {
    return width > 0 && height > kMaxPixels / width;
}

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t{BigEndian16(p)} << 16) | BigEndian16(p + 2);
}

// True when a chunk of the PNG in bytes declares more bytes than the file holds: the PNG library
// takes and clears that many (up to 2 GB) before it finds the file short, 25 s for a 276-byte file.
bool PngChunkPastTheEnd(const std::vector<unsigned char>& bytes) {
    static const unsigned char kEnd[4] = {'I', 'E', 'N', 'D'};
    for (size_t at = sizeof kPngSignature; at + 8 <= bytes.size();) {
        const size_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 8) return true;
        if (std::equal(kEnd, kEnd + 4, &bytes[at + 4])) return false;
        at += 12 + length;
    }
    return false;
}

// True when bytes are a PNG or BMP whose header claims more than kMaxPixels: the OpenCV reader
// would allocate up to 2^30 pixels for a file of a few hundred bytes. Also a PNG whose chunk runs
// past the end of the file.
bool HugeDeclaredSize(const std::vector<unsigned char>& bytes) {
    if (bytes.size() >= 24 && StartsWith(bytes, kPngSignature, sizeof kPngSignature)) {
        return TooManyPixels(BigEndian32(&bytes[16]), BigEndian32(&bytes[20])) ||
               PngChunkPastTheEnd(bytes);
    }
    if (bytes.size() >= 26 && StartsWith(bytes, kBmpSignature, sizeof kBmpSignature)) {
        // The old 12-byte header holds 16-bit sides; the later ones signed 32-bit sides, a
        // negative height meaning rows from the top.
        if (LittleEndian32(&bytes[14]) == 12) {
            return TooManyPixels(bytes[18] | (bytes[19] << 8), bytes[20] | (bytes[21] << 8));
        }
        const auto side = [&](size_t at) {
            return std::abs(
                static_cast<long long>(static_cast<int32_t>(LittleEndian32(&bytes[at]))));
        };
        return TooManyPixels(side(18), side(22));
    }
    return false;
}

// True for the kinds a frame, a program picture or a mask is written in: JPEG, PNG and BMP. The
// OpenCV reader knows many more by their first bytes, and some of their libraries abort the
// process on a damaged file (a DICOM header did, in the picture fuzz target).
bool KnownKind(const std::vector<unsigned char>& bytes) {
    static const unsigned char kJpeg[3] = {0xFF, 0xD8, 0xFF};
    return StartsWith(bytes, kJpeg, sizeof kJpeg) ||
           StartsWith(bytes, kPngSignature, sizeof kPngSignature) ||
           StartsWith(bytes, kBmpSignature, sizeof kBmpSignature);
}

cv::Mat DecodeWithOpenCv(const std::vector<unsigned char>& bytes) {
    if (!KnownKind(bytes) || HugeDeclaredSize(bytes)) return cv::Mat();
    try {
        return cv::imdecode(bytes, cv::IMREAD_COLOR);
    } catch (const cv::Exception&) {
        return cv::Mat();
    }
}

cv::Mat Shrink(const cv::Mat& picture, int denominator) {
    if (picture.empty() || denominator == 1) return picture;
    cv::Mat small;
    const cv::Size size((picture.cols + denominator - 1) / denominator,
                        (picture.rows + denominator - 1) / denominator);
    cv::resize(picture, small, size, 0, 0, cv::INTER_AREA);
    return small;
}

// TurboJPEG decode at 1/denominator into channels (3: BGR, 4: BGRA); *taken is false when the
// file is for the OpenCV reader.
cv::Mat DecodeJpeg(const std::vector<unsigned char>& bytes, int denominator, int channels,
                   bool* taken) {
    ThreadDecoder& decoder = Decoder();
    *taken = false;
    if (!decoder.handle || bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8 ||
        HasExif(bytes)) {
        return cv::Mat();
    }
    tjhandle handle = decoder.handle;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    // A header read with a warning (stray bytes before a marker) still gives the size, and the
    // size limit must hold for it too: the OpenCV reader would decode it up to 2^30 pixels.
    const bool header_read = tjDecompressHeader3(handle, bytes.data(), bytes.size(), &width,
                                                 &height, &subsampling, &colourspace) == 0 ||
                             tjGetErrorCode(handle) == TJERR_WARNING;
    // A JPEG whose header cannot be read at all is not handed to the OpenCV reader either: that
    // reader's own limit (2^30 pixels) lets a damaged 145-byte header cost gigabytes.
    *taken = !header_read;
    if (!header_read) return cv::Mat();
    if (colourspace == TJCS_CMYK || colourspace == TJCS_YCCK) {
        *taken = false;
        return cv::Mat();
    }
    *taken = true;
    if (width <= 0 || height <= 0 || TooManyPixels(width, height)) {
        return cv::Mat();
    }
    const tjscalingfactor factor{1, denominator};
    cv::Mat picture;
    // Frame pictures (32-bit) take memory that earlier frames gave back.
    if (channels == 4) picture.allocator = RecycledPictureMemory();
    picture.create(TJSCALED(height, factor), TJSCALED(width, factor), CV_8UC(channels));
    // TurboJPEG writes 255 into the alpha byte: the same picture as BGR then BGR2BGRA.
    const int format = channels == 4 ? TJPF_BGRA : TJPF_BGR;
    const int result = tjDecompress2(handle, bytes.data(), bytes.size(), picture.data, picture.cols,
                                     static_cast<int>(picture.step), picture.rows, format, 0);
    // A warning (for example data that ends early) still leaves a whole picture, as the OpenCV
    // reader gives it; a fatal error is handed to that reader, which may still make sense of it.
    if (result != 0 && tjGetErrorCode(handle) != TJERR_WARNING) {
        *taken = false;
        return cv::Mat();
    }
    return picture;
}

cv::Mat Decode(const char* path, int denominator, int channels) {
    if (denominator != 2 && denominator != 4 && denominator != 8) denominator = 1;
    std::vector<unsigned char>& bytes = Decoder().bytes;
    if (!ReadWholeFile(path, &bytes)) return cv::Mat();
    bool taken = false;
    cv::Mat picture = DecodeJpeg(bytes, denominator, channels, &taken);
    if (!taken) {
        picture = Shrink(DecodeWithOpenCv(bytes), denominator);
        if (channels == 4 && !picture.empty()) cv::cvtColor(picture, picture, cv::COLOR_BGR2BGRA);
    }
    if (bytes.capacity() > (64u << 20)) std::vector<unsigned char>().swap(bytes);
    return picture;
}

}  // namespace

cv::Mat DecodePicture(const char* path) {
    return Decode(path, 1, 3);
}

cv::Mat DecodePictureReduced(const char* path, int denominator, int channels) {
    return Decode(path, denominator, channels == 4 ? 4 : 3);
}

bool JpegSize(const char* path, int* width, int* height) {
    // The header lies in the first few kilobytes unless a large EXIF block comes first.
    constexpr size_t kHeadBytes = 16384;
    ThreadDecoder& decoder = Decoder();
    if (!decoder.handle) return false;
    std::vector<unsigned char> bytes(kHeadBytes);
    FILE* file = OpenFile(path, "rb");
    if (!file) return false;
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    const auto read_header = [&] {
        int subsampling = 0, colourspace = 0;
        return bytes.size() >= 4 &&
               (tjDecompressHeader3(decoder.handle, bytes.data(), bytes.size(), width, height,
                                    &subsampling, &colourspace) == 0 ||
                tjGetErrorCode(decoder.handle) == TJERR_WARNING);
    };
    if (read_header()) return true;
    return bytes.size() == kHeadBytes && ReadWholeFile(path, &bytes) && read_header();
}

void ReleasePictureDecoder() {
    if (!thread_decoder) return;
    if (thread_decoder->handle) tjDestroy(thread_decoder->handle);
    delete thread_decoder;
    thread_decoder = nullptr;
}

bool SavePicture(const char* path, const cv::Mat& picture) {
    if (picture.empty()) return false;
    try {
        return cv::imwrite(NativePath(path), picture);
    } catch (const cv::Exception&) {
        return false;
    }
}
