// Per-version file names: the exact version, the nearest fraction of the same
// main version, any version of the device class, names in any letter case.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/tests/file_set_fixture.h"
#include "platform/system/clock.h"
#include "testsupport/test_env.h"

namespace {

using parabasetest::FileSetTest;

class VersionFileTest : public FileSetTest {};

constexpr char kDir[] = "..\\userdata\\pit";

TEST_F(VersionFileTest, ExactThenNearestThenAnyVersionOfTheClass) {
    struct Case {
        std::vector<const char*> files;
        uint16_t code;
        float version;
        bool allowOther;
        bool found;
        const char* name;  // of the path given back
    };
    const Case cases[] = {
        {{"5_003_60.PIT", "5_003_55.PIT"}, 5123, 3.60f, false, true, "5_003_60"},
        {{"5_003_60.pit"}, 5123, 3.60f, false, true, "5_003_60"},
        // Five away on either side: the one listed later wins.
        {{"5_003_55.PIT", "5_003_65.PIT"}, 5123, 3.60f, false, true, "5_003_65"},
        {{"5_003_10.PIT", "5_003_58.PIT", "5_003_99.PIT"}, 5123, 3.60f, false, true, "5_003_58"},
        {{"5_003_05.PIT"}, 5123, 3.05f, false, true, "5_003_05"},
        {{"5_004_00.PIT"}, 5123, 3.60f, false, false, "5_003_60"},
        {{"5_004_00.PIT"}, 5123, 3.60f, true, true, "5_004_00"},
        // Below version 100 the nearest main version, a later one winning.
        {{"5_001_00.PIT", "5_004_10.PIT", "5_009_00.PIT"}, 5123, 3.60f, true, true, "5_004_10"},
        {{"5_002_00.PIT", "5_004_10.PIT"}, 5123, 3.60f, true, true, "5_004_10"},
        // From 100 on the first in name order.
        {{"5_101_00.PIT", "5_121_10.PIT"}, 5123, 120.5f, true, true, "5_101_00"},
        {{"6_003_60.PIT", "5_003_60.TXT", "5_3_60.PIT"}, 5123, 3.60f, true, false, "5_003_60"},
        {{}, 123, 0.0f, true, false, "0_000_00"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(testsupport::RuntimePath("userdata/pit"));
        for (const char* file : c.files) WriteUserFile(std::string("pit/") + file, "");
        char out[kParaPathSize] = "junk";
        const std::string label = c.files.empty() ? "no files" : c.files.front();
        EXPECT_EQ(ParaBase::FindVersionFile(kDir, "PIT", out, c.code, c.version, c.allowOther), c.found) << label;
        EXPECT_EQ(std::string(out), std::string(kDir) + "\\" + c.name + ".PIT") << label;
    }
}

TEST_F(VersionFileTest, WaitSecondsBusyWaitsOnTheClock) {
    const uint32_t start = platform::GetTickCount();
    ParaBase::WaitSeconds(2);
    EXPECT_EQ(platform::GetTickCount() - start, 2000u);
    ParaBase::WaitSeconds(257);  // taken as a byte
    EXPECT_EQ(platform::GetTickCount() - start, 3000u);
}

}  // namespace
