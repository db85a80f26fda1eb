// The command-line frame-file rule on any argument text.
#include <string>

#include "contents/naming.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    IsFrameFileName(text.c_str());
    return 0;
}
