#include "platform/picture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "support/temp_tree.hpp"

namespace {

// A picture with detail in every channel, so a wrong channel order or scale shows.
cv::Mat DetailedPicture(int width, int height) {
    cv::Mat picture(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.at<cv::Vec3b>(y, x) =
                cv::Vec3b(static_cast<uchar>(x * 255 / width), static_cast<uchar>(y * 255 / height),
                          static_cast<uchar>((x * 7 + y * 3) % 256));
        }
    }
    cv::circle(picture, {width / 2, height / 2}, height / 3, cv::Scalar(20, 200, 240), -1);
    return picture;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

double MaxDifference(const cv::Mat& a, const cv::Mat& b) {
    return cv::norm(a, b, cv::NORM_INF);
}

std::string LittleEndian(uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
    return text;
}

// An 8-bit run-length BMP (two palette entries) whose data is only the end-of-picture code.
std::string EndedRunLengthBmp(int width, int height) {
    const std::string info = LittleEndian(40, 4) + LittleEndian(width, 4) +
                             LittleEndian(static_cast<uint32_t>(height), 4) + LittleEndian(1, 2) +
                             LittleEndian(8, 2) + LittleEndian(1, 4) + LittleEndian(2, 4) +
                             LittleEndian(2835, 4) + LittleEndian(2835, 4) + LittleEndian(2, 4) +
                             LittleEndian(0, 4);
    const std::string palette("\x10\x20\x30\0\x40\x50\x60\0", 8);
    const std::string data("\0\x01", 2);
    const uint32_t offset = 14 + info.size() + palette.size();
    return "BM" + LittleEndian(offset + data.size(), 4) + LittleEndian(0, 4) +
           LittleEndian(offset, 4) + info + palette + data;
}

bool HaveImageMagick() {
    return std::system("convert -version >/dev/null 2>&1") == 0;
}

}  // namespace

// Frames written the way the import writes them (and other JPEG kinds) must come out exactly as
// the OpenCV reader gives them: both use the same accurate integer transform.
TEST(DecodePicture, JpegKindsMatchTheOpenCvReader) {
    TempTree tree;
    const cv::Mat picture = DetailedPicture(333, 201);
    struct Case {
        const char* name;
        std::vector<int> params;
        bool grey;
    } cases[] = {
        {"q100.jpg", {cv::IMWRITE_JPEG_QUALITY, 100}, false},
        {"q30.jpg", {cv::IMWRITE_JPEG_QUALITY, 30}, false},
        {"progressive.jpg", {cv::IMWRITE_JPEG_PROGRESSIVE, 1}, false},
        {"grey.jpg", {}, true},
    };
    // A frame as the video import writes it.
    ASSERT_EQ(std::system("ffmpeg -nostdin -loglevel error -f lavfi -i testsrc2=size=320x180 "
                          "-frames:v 1 -q:v 1 ffmpeg.jpg"),
              0);
    ASSERT_EQ(DecodePicture("ffmpeg.jpg").size(), cv::Size(320, 180));
    EXPECT_EQ(MaxDifference(DecodePicture("ffmpeg.jpg"), cv::imread("ffmpeg.jpg")), 0.0);
    for (const Case& c : cases) {
        cv::Mat source = picture;
        if (c.grey) cv::cvtColor(picture, source, cv::COLOR_BGR2GRAY);
        ASSERT_TRUE(cv::imwrite(c.name, source, c.params)) << c.name;
        const cv::Mat expected = cv::imread(c.name, cv::IMREAD_COLOR);
        const cv::Mat decoded = DecodePicture(c.name);
        ASSERT_EQ(decoded.type(), CV_8UC3) << c.name;
        ASSERT_EQ(decoded.size(), expected.size()) << c.name;
        EXPECT_EQ(MaxDifference(decoded, expected), 0.0) << c.name;
    }
}

TEST(DecodePicture, OtherFormatsGoThroughTheOpenCvReader) {
    TempTree tree;
    const cv::Mat picture = DetailedPicture(64, 48);
    ASSERT_TRUE(cv::imwrite("frame.png", picture));
    ASSERT_TRUE(cv::imwrite("frame.bmp", picture));
    for (const char* name : {"frame.png", "frame.bmp"}) {
        const cv::Mat decoded = DecodePicture(name);
        ASSERT_EQ(decoded.size(), picture.size()) << name;
        EXPECT_EQ(MaxDifference(decoded, picture), 0.0) << name;
    }
}

// Kinds no installation writes are not decoded at all: some of the OpenCV reader's libraries
// abort the process on a damaged file (this DICOM header did).
TEST(DecodePicture, OtherKindsAreNotDecoded) {
    TempTree tree;
    const cv::Mat picture = DetailedPicture(64, 48);
    ASSERT_TRUE(cv::imwrite("frame.tiff", picture));
    ASSERT_TRUE(cv::imwrite("frame.ppm", picture));
    ASSERT_FALSE(cv::imread("frame.tiff").empty());
    std::string dicom(0x80, '\0');
    dicom.replace(0, 6, "YZ\x95\x6A\xC0\x2F", 6);
    dicom[0x10] = 0x02;
    dicom[0x1A] = 0x5D;
    dicom.replace(0x27, 4, "DICM");
    dicom += "DICM\x08\x00\x64\xD9";
    WriteBytes("dicom.jpg", dicom);
    for (const char* name : {"frame.tiff", "frame.ppm", "dicom.jpg"}) {
        EXPECT_TRUE(DecodePicture(name).empty()) << name;
        EXPECT_TRUE(DecodePictureReduced(name, 2).empty()) << name;
    }
}

// CMYK JPEGs and EXIF-oriented ones are the OpenCV reader's: it converts and turns them.
TEST(DecodePicture, CmykAndOrientedJpegsMatchTheOpenCvReader) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempTree tree;
    ASSERT_TRUE(cv::imwrite("plain.jpg", DetailedPicture(80, 40)));
    ASSERT_EQ(std::system("convert plain.jpg -colorspace CMYK cmyk.jpg"), 0);
    // An APP1 EXIF block whose orientation tag (6) asks for a quarter turn clockwise.
    const unsigned char exif_bytes[] = {
        0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 8,
        0,    1,    1,    0x12, 0,   3,   0,   0,   0, 1, 0,   6,   0, 0,    0, 0, 0, 0};
    const std::string exif(reinterpret_cast<const char*>(exif_bytes), sizeof exif_bytes);
    const std::string plain = ReadBytes("plain.jpg");
    WriteBytes("turned.jpg", plain.substr(0, 2) + exif + plain.substr(2));
    for (const char* name : {"cmyk.jpg", "turned.jpg"}) {
        const cv::Mat expected = cv::imread(name, cv::IMREAD_COLOR);
        const cv::Mat decoded = DecodePicture(name);
        ASSERT_FALSE(expected.empty()) << name;
        ASSERT_EQ(decoded.size(), expected.size()) << name;
        EXPECT_EQ(MaxDifference(decoded, expected), 0.0) << name;
    }
    EXPECT_EQ(DecodePicture("turned.jpg").size(), cv::Size(40, 80));
}

TEST(DecodePicture, BackslashPathIsTakenAsSlash) {
    TempTree tree;
    tree.MakeFrames(1, {0});
    EXPECT_FALSE(DecodePicture("..\\S001\\clip_00000.jpg").empty());
}

// Damaged files never crash: unreadable ones give nothing, a JPEG cut short still gives its whole
// picture (the missing part filled) as the OpenCV reader does.
TEST(DecodePicture, DamagedFilesAreSafe) {
    TempTree tree;
    ASSERT_TRUE(cv::imwrite("good.jpg", DetailedPicture(160, 120)));
    const std::string good = ReadBytes("good.jpg");
    WriteBytes("empty.jpg", "");
    WriteBytes("text.jpg", "not a picture at all");
    WriteBytes("soi_only.jpg", good.substr(0, 2));
    WriteBytes("header_only.jpg", good.substr(0, 200));
    WriteBytes("cut.jpg", good.substr(0, good.size() / 2));
    std::string flipped = good;
    for (size_t i = 700; i < flipped.size(); i += 97) flipped[i] = static_cast<char>(~flipped[i]);
    WriteBytes("flipped.jpg", flipped);
    for (const char* name : {"missing.jpg", "empty.jpg", "text.jpg", "soi_only.jpg"}) {
        EXPECT_TRUE(DecodePicture(name).empty()) << name;
        EXPECT_TRUE(DecodePictureReduced(name, 2).empty()) << name;
    }
    for (const char* name : {"header_only.jpg", "cut.jpg", "flipped.jpg"}) {
        const cv::Mat expected = cv::imread(name, cv::IMREAD_COLOR);
        const cv::Mat decoded = DecodePicture(name);
        EXPECT_EQ(decoded.empty(), expected.empty()) << name;
        if (!expected.empty()) {
            EXPECT_EQ(decoded.size(), expected.size()) << name;
        }
        DecodePictureReduced(name, 4);
    }
    EXPECT_EQ(DecodePicture("cut.jpg").size(), cv::Size(160, 120));
}

// A forged size field must not make the decoder allocate gigabytes.
namespace {

// The PNG chunk check sum of bytes, big-endian.
std::string Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    crc = ~crc;
    return {static_cast<char>(crc >> 24), static_cast<char>(crc >> 16), static_cast<char>(crc >> 8),
            static_cast<char>(crc)};
}

}  // namespace

TEST(DecodePicture, HugeDeclaredSizeIsRefused) {
    TempTree tree;
    ASSERT_TRUE(cv::imwrite("small.jpg", DetailedPicture(16, 16)));
    std::string bytes = ReadBytes("small.jpg");
    const size_t sof = bytes.find("\xFF\xC0", 2);
    ASSERT_NE(sof, std::string::npos);
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(0xFF);  // 65280+ x 65280+
    bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(0x00);
    WriteBytes("huge.jpg", bytes);
    EXPECT_TRUE(DecodePicture("huge.jpg").empty());
    // 14895 x 12048, below the OpenCV reader's own limit, with stray bytes before the image data
    // so that the header is read with a warning (found by the picture fuzz target).
    bytes[sof + 5] = 0x3A;
    bytes[sof + 6] = 0x2F;
    bytes[sof + 7] = 0x2F;
    bytes[sof + 8] = 0x10;
    const size_t sos = bytes.find("\xFF\xDA", sof);
    ASSERT_NE(sos, std::string::npos);
    bytes.insert(sos, "\x01\x02\x03\x04\x05\x06", 6);
    WriteBytes("warned.jpg", bytes);
    EXPECT_TRUE(DecodePicture("warned.jpg").empty());
    // A run-length BMP of a few bytes that ends at once: the OpenCV reader fills the whole
    // declared picture, so only the size limit keeps 4096 x 4096 from growing to 16000 x 16000 (768
    // MB).
    WriteBytes("small.bmp", EndedRunLengthBmp(4096, 4096));
    EXPECT_EQ(DecodePicture("small.bmp").size(), cv::Size(4096, 4096));
    WriteBytes("huge.bmp", EndedRunLengthBmp(16000, 16000));
    EXPECT_TRUE(DecodePicture("huge.bmp").empty());
    // A PNG whose last text chunk claims 1.7 GB (the PNG library would take and clear them all
    // before finding the file short), against the same chunk whole, which decodes.
    ASSERT_TRUE(cv::imwrite("small.png", DetailedPicture(16, 12)));
    const std::string png = ReadBytes("small.png");
    const size_t end = png.size() - 12;  // the IEND chunk
    const std::string text("tEXtdate\0today", 14);
    const std::string length{'\0', '\0', '\0', static_cast<char>(text.size() - 4)};
    WriteBytes("text.png", png.substr(0, end) + length + text + Crc32(text) + png.substr(end));
    EXPECT_EQ(DecodePicture("text.png").size(), cv::Size(16, 12));
    WriteBytes("claims.png", png.substr(0, end) + "\x68\xcb\x00\x25" + text + png.substr(end));
    EXPECT_TRUE(DecodePicture("claims.png").empty());
}

// Reduced decoding: sizes rounded up, the picture close to a full decode shrunk by area.
TEST(DecodePictureReduced, SizesAndContent) {
    TempTree tree;
    const cv::Mat picture = DetailedPicture(203, 117);
    ASSERT_TRUE(cv::imwrite("frame.jpg", picture, {cv::IMWRITE_JPEG_QUALITY, 95}));
    ASSERT_TRUE(cv::imwrite("frame.png", picture));
    // Block-aligned content, so the 1/8 decode (block averages) and the area shrink agree.
    ASSERT_TRUE(
        cv::imwrite("aligned.jpg", DetailedPicture(208, 120), {cv::IMWRITE_JPEG_QUALITY, 95}));
    for (const char* name : {"frame.jpg", "frame.png"}) {
        for (int d : {1, 2, 4, 8}) {
            const cv::Mat reduced = DecodePictureReduced(name, d);
            const cv::Size size((203 + d - 1) / d, (117 + d - 1) / d);
            ASSERT_EQ(reduced.size(), size) << name << " 1/" << d;
            ASSERT_EQ(reduced.type(), CV_8UC3);
        }
    }
    for (const char* name : {"aligned.jpg", "frame.png"}) {
        const cv::Mat full = DecodePicture(name);
        for (int d : {2, 4, 8}) {
            const cv::Mat reduced = DecodePictureReduced(name, d);
            cv::Mat shrunk;
            cv::resize(full, shrunk, reduced.size(), 0, 0, cv::INTER_AREA);
            const double mean = cv::norm(reduced, shrunk, cv::NORM_L1) / reduced.total() / 3;
            EXPECT_LT(mean, 6.0) << name << " 1/" << d;
        }
    }
    const cv::Mat full = DecodePicture("frame.jpg");
    EXPECT_EQ(DecodePictureReduced("frame.jpg", 3).size(), full.size());
    EXPECT_EQ(MaxDifference(DecodePictureReduced("frame.jpg", 1), full), 0.0);
}

// The 32-bit layout is the BGR picture with an opaque alpha byte, for every reader and scale.
TEST(DecodePictureReduced, BgraIsTheBgrPictureWithOpaqueAlpha) {
    TempTree tree;
    const cv::Mat picture = DetailedPicture(203, 117);
    ASSERT_TRUE(cv::imwrite("frame.jpg", picture, {cv::IMWRITE_JPEG_QUALITY, 95}));
    ASSERT_TRUE(cv::imwrite("frame.png", picture));
    for (const char* name : {"frame.jpg", "frame.png"}) {
        for (int d : {1, 2, 4, 8}) {
            cv::Mat expected;
            cv::cvtColor(DecodePictureReduced(name, d), expected, cv::COLOR_BGR2BGRA);
            const cv::Mat bgra = DecodePictureReduced(name, d, 4);
            ASSERT_EQ(bgra.type(), CV_8UC4) << name << " 1/" << d;
            EXPECT_EQ(MaxDifference(bgra, expected), 0.0) << name << " 1/" << d;
        }
    }
    EXPECT_TRUE(DecodePictureReduced("missing.jpg", 1, 4).empty());
}
