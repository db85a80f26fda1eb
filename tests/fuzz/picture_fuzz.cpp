// Frame pictures: any file content decodes to a picture or to nothing, never a crash.
#include "fuzz_support.hpp"
#include "platform/picture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    WriteInputFile("frame.jpg", data, size);
    const cv::Mat picture = DecodePicture("frame.jpg");
    if (!picture.empty() && picture.type() != CV_8UC3) __builtin_trap();
    // The scaled decoding of the decode-ahead path: 1/2, 1/4 or 1/8 of the size.
    const int denominator = 2 << (size % 3);
    const cv::Mat reduced = DecodePictureReduced("frame.jpg", denominator);
    if (!reduced.empty() && reduced.type() != CV_8UC3) __builtin_trap();
    return 0;
}
