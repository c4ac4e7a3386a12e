// Every committed fuzz input, seeds and regressions, replayed through its target in every
// build: a fault a fuzzer once found stays fixed even where no fuzzer runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_registry.h"
#include "test_support.h"

using namespace qvar;
namespace fs = std::filesystem;

TEST(FuzzInputs, EveryCommittedInputRunsThroughItsTarget) {
    const fs::path root = fs::path(QVAR_SOURCE_DIR) / "fuzz";
    for (const fuzz::NamedTarget& target : fuzz::fuzz_targets()) {
        size_t seeds = 0;
        for (const char* folder : {"corpus", "regressions"}) {
            const fs::path dir = root / folder / target.name;
            if (!fs::is_directory(dir)) continue;
            for (const auto& entry : fs::directory_iterator(dir)) {
                if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
                SCOPED_TRACE(entry.path().string());
                const std::vector<uint8_t> bytes = test::read_bytes(entry.path());
                EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
                seeds += std::string(folder) == "corpus";
            }
        }
        EXPECT_GT(seeds, 0u) << target.name << " has no committed seeds";
    }
}
