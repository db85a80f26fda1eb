// The four knowledge-base files of folder 1 from one input (parts split by FF 00).
#include "common/state.hpp"
#include "fuzz_support.hpp"
#include "knowledge/knowledge_base.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSetUp();
    const std::vector<std::string> parts = SplitParts(data, size);
    for (int n = 1; n <= 4; ++n) {
        const std::string name = "TRUVO_data-1-" + std::to_string(n) + ".dat";
        // A part left out leaves its file empty rather than missing, so the readers still run.
        const std::string& part = static_cast<size_t>(n - 1) < parts.size() ? parts[n - 1] : "";
        WriteInputFile(name, reinterpret_cast<const uint8_t*>(part.data()), part.size());
    }
    folder_index = 0;
    ReadKB();
    FreeKnowledgeBase();
    return 0;
}
