// Replays a fuzz target's seed corpus as a test: every file is fed to
// LLVMFuzzerTestOneInput once, under the sanitizers of the build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "testsupport/test_env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The seed corpus' folder, given by each replay executable.
extern const char kFuzzCorpus[];

TEST(FuzzReplay, SeedCorpusRunsClean) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kFuzzCorpus)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no seeds in " << kFuzzCorpus;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::string bytes = testsupport::ReadFile(file);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
}
