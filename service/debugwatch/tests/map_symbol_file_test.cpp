#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "service/debugwatch/debug_watch.h"
#include "service/debugwatch/map_conversion.h"
#include "service/debugwatch/map_symbol_file.h"
#include "service/debugwatch/tests/debug_watch_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace watchtest {
namespace {

using MapSymbolFileTest = DebugWatchTest;

// The fixture holds every kind of entry the reader takes or leaves out; the
// cache must match the golden file byte for byte.
TEST_F(MapSymbolFileTest, ConvertsTheFixtureMapIntoTheCacheOfTheActiveDevice) {
    InstallMapFile();
    EXPECT_EQ(SymbolCachePath(), kCacheProgramPath);
    MapSymbolFile symbols(kMapProgramPath, SymbolCachePath());
    ASSERT_TRUE(symbols.IsValid()) << symbols.MessageBuffer();
    EXPECT_EQ(TreeFile(kCacheFile), TestFile("golden/MAPFILE_5_V2_15.TMP"));
    EXPECT_TRUE(gwtest::Boxes().empty());

    EXPECT_EQ(symbols.CountLines(), 9);
    std::vector<std::string> names;
    for (auto name = symbols.First(); name; name = symbols.Next()) names.push_back(*name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"motor_speed",
                                        "pos_actual",
                                        "pos_target",
                                        "far_kind_ok",
                                        "right_only",
                                        "edge_left",
                                        "edge_right",
                                        "exact_68",
                                        "pos_actual"}));
    EXPECT_EQ(symbols.FindAddressByName("pos_target"), "00F01238");
    EXPECT_EQ(symbols.FindAddressByName("POS_TARGET"), std::nullopt);
    EXPECT_EQ(symbols.FindAddressByName("pos_actual"), "00F01230");  // the first of two
}

// The lookup by address reads each address as hexadecimal and shows every
// name it passes in the main window's state field.
TEST_F(MapSymbolFileTest, FindsTheNameOfAnAddressShowingEachNameItPasses) {
    InstallCache();
    MapSymbolFile symbols(kCacheProgramPath);
    ASSERT_TRUE(symbols.IsValid());
    EXPECT_TRUE(symbols.MapPath().empty());
    gwtest::SetRecording(true);
    EXPECT_EQ(symbols.FindNameByAddress(0x00F01238), "pos_target");
    std::vector<std::string> shown;
    for (const GwEffect& effect : gwtest::Effects("text")) {
        if (effect.widget.find("State1") != std::string::npos) shown.push_back(effect.value);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"motor_speed", "pos_actual", "pos_target"}));
    EXPECT_EQ(symbols.FindNameByAddress(0x00F01237), std::nullopt);
}

TEST_F(MapSymbolFileTest, AMissingCacheIsNotValidAndAnEmptyOneCannotBeRead) {
    MapSymbolFile missing("..\\TMP\\MAPFILE_9_V0_00.TMP");
    EXPECT_FALSE(missing.IsValid());
    EXPECT_EQ(missing.First(), std::nullopt);
    EXPECT_EQ(missing.FindAddressByName("pos_target"), std::nullopt);
    EXPECT_TRUE(gwtest::Boxes().empty());

    WriteTreeFile(kCacheFile, "");
    MapSymbolFile empty(kCacheProgramPath);
    ASSERT_TRUE(empty.IsValid());
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(empty.First(), std::nullopt);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"error: Cannot read file ´´!"}));
}

// A MAP file of bad format leaves the cache it would have replaced alone.
TEST_F(MapSymbolFileTest, ABadMapFileKeepsTheEarlierCache) {
    InstallCache();
    WriteTreeFile(kMapFile, "Symbol table   :\nx........ 0001 00F01234h VAR\n");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    MapSymbolFile symbols(kMapProgramPath, kCacheProgramPath);
    EXPECT_FALSE(symbols.IsValid());
    EXPECT_EQ(symbols.FindAddressByName("x"), std::nullopt);
    EXPECT_EQ(TreeFile(kCacheFile), TestFile("golden/MAPFILE_5_V2_15.TMP"));
}

// Lines longer than the reader's buffer come in pieces; cache lines with
// blanks in the name keep the name whole.
TEST(MapConversion, LongLinesAndCacheLines) {
    std::string cache;
    std::string longLine(kMapLineLength - 1, ' ');
    longLine.append("hidden...... 0001 00F00002h VAR");
    EXPECT_EQ(ConvertMapText("Symbol table   :\r\n" + longLine + "\nInterrupt table:\n", &cache),
              MapConversion::kConverted);
    EXPECT_EQ(cache, "hidden 00F00002\n");

    struct Case {
        const char* line;
        std::optional<std::string> name;
        std::optional<std::string> address;
    };
    const Case cases[] = {
        {"pos 00F01234", "pos", "00F01234"},
        {"pos 00F01234\r", "pos", "00F01234"},
        {"a b 12", "a b", "12"},
        {"nothing", std::nullopt, std::nullopt},
        {" 12", std::nullopt, std::nullopt},
        {"pos ", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto symbol = ParseCacheLine(c.line);
        EXPECT_EQ(symbol.has_value(), c.name.has_value()) << c.line;
        if (symbol && c.name) {
            EXPECT_EQ(symbol->Name, *c.name);
            EXPECT_EQ(symbol->Address, *c.address);
        }
    }
    EXPECT_EQ(ParseHexAddress("00F01234"), 0x00F01234u);
    EXPECT_EQ(ParseHexAddress("f01236zz"), 0x00F01236u);
    EXPECT_EQ(ParseHexAddress("123456789"), 0x23456789u);
    EXPECT_EQ(ParseHexAddress("zz"), std::nullopt);
}

}  // namespace
}  // namespace watchtest
