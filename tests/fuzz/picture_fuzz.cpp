// Frame pictures: any file content decodes to a picture or to nothing, never a crash.
#include "fuzz_support.hpp"
#include "platform/picture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    WriteInputFile("frame.jpg", data, size);
    const cv::Mat picture = DecodePicture("frame.jpg");
    if (!picture.empty() && picture.type() != CV_8UC3) __builtin_trap();
    return 0;
}
