// Parameter file, key-frame import file and threshold file from one input (parts split by FF 00).
#include <cmath>

#include "common/state.hpp"
#include "contents/parameters.hpp"
#include "fuzz_support.hpp"
#include "motion/motion.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    const std::vector<std::string> parts = SplitParts(data, size);
    const auto write_part = [&](size_t index, const char* name) {
        if (index < parts.size()) {
            WriteInputFile(name, reinterpret_cast<const uint8_t*>(parts[index].data()),
                           parts[index].size());
        } else {
            RemoveInputFile(name);
        }
    };
    write_part(0, "glt_env.dat");
    write_part(1, "../S001/nqt_config.dat");
    write_part(2, kThresholdFile);
    folder_index = 0;
    LoadParameters();
    ReadThresholdFile();
    // What the file set must be safe for the tables and divisions that use it later.
    if (MaxCount < 0 || MaxCount > kMaxFrames) __builtin_trap();
    if (keyframe_index < 0 || keyframe_index >= kKeyFrames) __builtin_trap();
    if (sample_step <= 0) __builtin_trap();
    if (!std::isfinite(frame_no)) __builtin_trap();
    return 0;
}
