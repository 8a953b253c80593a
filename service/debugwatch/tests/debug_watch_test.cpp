#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "app/services/window_handler.h"
#include "service/debugwatch/debug_watch.h"
#include "service/debugwatch/tests/debug_watch_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace watchtest {
namespace {

using Strings = std::vector<std::string>;

const Strings kDistinctNames = {
    "motor_speed", "pos_actual", "pos_target", "far_kind_ok", "right_only", "edge_left", "edge_right", "exact_68"};

std::string ProfileValue(const char* section, const char* key) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->select_section(section) || !profile->key_exists(key)) return "<none>";
    return profile->read(key);
}

// Texts a widget of the named window was given, in order.
Strings TextsIn(const std::string& window, const std::string& what = "text") {
    Strings texts;
    for (const GwEffect& effect : gwtest::Effects(what)) {
        if (effect.widget.find(window) != std::string::npos) texts.push_back(effect.value);
    }
    return texts;
}

class DebugWatchWindowTest : public DebugWatchTest {};

TEST_F(DebugWatchWindowTest, ANewMapFileFillsTheNamesAndMovesTheWatchedRows) {
    InstallMapFile();
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);
    List(window)->add_row("1|pos_target|int16|7");
    List(window)->add_row("2|gone|word|");
    List(window)->add_row("F01236||word|");

    gwtest::AnswerFile(kMapProgramPath);
    ASSERT_TRUE(gwtest::Click(window->child("MapFile")));

    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.title, "MAP-Datei wählen");
    EXPECT_NE(request.filter.find("*.map"), std::string::npos);
    EXPECT_EQ(request.directory, "..\\FIRMDATA");
    EXPECT_EQ(ProfileValue("Directories", "DebugSymbolDir"), "..\\FIRMDATA\\");
    EXPECT_EQ(TreeFile(kCacheFile), TestFile("golden/MAPFILE_5_V2_15.TMP"));

    // The later "pos_actual" is dropped; the first name is selected.
    EXPECT_EQ(SymbolNames(window), kDistinctNames);
    EXPECT_EQ(SymbolNamesOf(window)->selected_index(), 0);
    EXPECT_EQ(SymbolNamesOf(window)->text(), "motor_speed");
    // A row keeps its type and gets its symbol's new address; rows whose
    // name is gone (or that never had one) go.
    EXPECT_EQ(Rows(window), (Strings{"00F01238|pos_target|int16|"}));

    const Strings shown = TextsIn("ProgressMessage");
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Lade Symbolinformationen ..."), shown.end());
    const Strings activity = TextsIn("StateMessage");
    EXPECT_NE(std::find(activity.begin(), activity.end(), "Update der Symboladressen ..."), activity.end());
    // Nine cache lines: reading, sorting out and filling each start a third.
    EXPECT_EQ(TextsIn("ProgressMessage", "value"), (Strings{"0", "0", "9", "18"}));
    EXPECT_TRUE(gwtest::Boxes().empty());

    // The next chooser starts where the last one ended.
    gwtest::CancelFile();
    ASSERT_TRUE(gwtest::Click(window->child("MapFile")));
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, "..\\FIRMDATA\\");
}

TEST_F(DebugWatchWindowTest, ConversionErrorsShowTheirTextThenTheInvalidFileNote) {
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);
    struct Case {
        const char* name;
        const char* map;  // null: no MAP file
        bool cacheBlocked;
        const char* error;
    };
    const Case cases[] = {
        {"no MAP file", nullptr, false, "Cannot open File ´..\\FIRMDATA\\fw215.map´!"},
        {"cache not creatable", "", true, "Cannot create File ´..\\TMP\\MAPFILE_5_V2_15.TMP´!"},
        {"no symbol table", "Interrupt table:\n", false, "Bad format of mapfile ´..\\FIRMDATA\\fw215.map´ !"},
        {"no interrupt table",
         "Symbol table   :\nx........ 0001 00F01234h VAR\n",
         false,
         "Bad format of mapfile ´..\\FIRMDATA\\fw215.map´ !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTreeFile(kMapFile);
        if (c.map != nullptr) WriteTreeFile(kMapFile, *c.map != '\0' ? c.map : TestFile("fixtures/fw215.map"));
        if (c.cacheBlocked) std::filesystem::create_directories(testsupport::RuntimePath(kCacheFile));
        const size_t before = gwtest::Boxes().size();
        gwtest::AnswerFile(kMapProgramPath);
        ASSERT_TRUE(gwtest::Click(window->child("MapFile")));
        const Strings all = BoxTexts();
        EXPECT_EQ(Strings(all.begin() + static_cast<long>(before), all.end()),
                  (Strings{std::string("error: ") + c.error, "info: Die Symboldatei ist ungültig"}));
        EXPECT_FALSE(TheDebugWatch().Symbols->IsValid());
        std::filesystem::remove_all(testsupport::RuntimePath(kCacheFile));
    }
}

TEST_F(DebugWatchWindowTest, ExitStoresTheListAndTheNextShowRestoresRowsWithASymbol) {
    InstallCache();
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SymbolNames(window), kDistinctNames);
    EXPECT_TRUE(List(window)->is_timer_running());
    EXPECT_EQ(List(window)->timer_interval(), 500u);
    List(window)->add_row("00F01238|pos_target|word|5");
    List(window)->add_row("00F01300|io_buffer|byte|");
    List(window)->add_row("F01230||usign8|");
    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section("DEBUG_Addresses_5000", true));
    profile->write("Address7", "00F01234");

    ASSERT_TRUE(gwtest::Close(window));
    ASSERT_TRUE(profile->select_section("DEBUG_Addresses_5000"));
    EXPECT_EQ(profile->key_count(), 6);
    const std::pair<const char*, const char*> stored[] = {
        {"Address0", "00F01238"},
        {"DataType0", "word"},
        {"Address1", "00F01300"},
        {"DataType1", "byte"},
        {"Address2", "F01230"},
        {"DataType2", "usign8"},
    };
    for (const auto& [key, value] : stored) EXPECT_EQ(ProfileValue("DEBUG_Addresses_5000", key), value) << key;
    EXPECT_EQ(FindWatchWindow(), nullptr);
    EXPECT_EQ(TheWindowHandler().Count(), 0);

    window = OpenWatch();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Rows(window), (Strings{"00F01238|pos_target|word|", "F01230|pos_actual|usign8|"}));
    EXPECT_EQ(SymbolNames(window), kDistinctNames);  // shown again: no name twice
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(DebugWatchWindowTest, WithoutACacheTheWindowOpensEmptyAndQuiet) {
    MainProfile()->select_section("DEBUG_Addresses_5000", true);
    MainProfile()->write("Address0", "00F01238");
    MainProfile()->write("DataType0", "word");
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SymbolNames(window).empty());
    EXPECT_TRUE(Rows(window).empty());
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
}

TEST_F(DebugWatchWindowTest, WithoutADeviceTheShowSaysSoOnce) {
    InstallCache();
    main_->UncoupleDevice(maintest::kAddress);
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(BoxTexts(), (Strings{"info: No device is online!"}));
    EXPECT_TRUE(SymbolNames(window).empty());
    EXPECT_FALSE(List(window)->is_timer_running());
}

TEST_F(DebugWatchWindowTest, SymbolsAndAddressesBecomeRows) {
    InstallCache();
    GwCore* window = OpenWatch();
    ASSERT_NE(window, nullptr);

    // The dialog closed without a choice keeps "word".
    gwtest::AnswerModal(GwRESULT_CANCEL, kDebugOptionsDialog);
    ASSERT_TRUE(gwtest::Click(window->child("SetSymbol")));
    EXPECT_EQ(Rows(window), (Strings{"00F01234|motor_speed|word|"}));

    ASSERT_TRUE(gwtest::Select(window->child(kSymbolNameField), 2));
    EXPECT_EQ(gwtest::Text(window->child(kSymbolAddressField)), "00F01238");
    ChooseType("int16");
    ASSERT_TRUE(gwtest::Click(window->child("SetSymbol")));
    EXPECT_EQ(Rows(window).back(), "00F01238|pos_target|int16|");
    EXPECT_EQ(TheDebugWatch().CurrentType, "int16");

    // An address without a symbol asks for the type and watches it unnamed.
    ASSERT_TRUE(gwtest::Replace(window->child(kSymbolAddressField), "F01236"));
    ChooseType("word");
    ASSERT_TRUE(gwtest::Click(window->child("SetAddress")));
    EXPECT_EQ(Rows(window).back(), "F01236||word|");
    EXPECT_EQ(SymbolNamesOf(window)->text(), "");

    // A symbol's address shows its name and adds nothing.
    ASSERT_TRUE(gwtest::Replace(window->child(kSymbolAddressField), "f01238"));
    ASSERT_TRUE(gwtest::Click(window->child("SetAddress")));
    EXPECT_EQ(SymbolNamesOf(window)->text(), "pos_target");
    EXPECT_EQ(Rows(window).size(), 3u);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);

    // Delete takes the selected row, and nothing without a selection.
    ASSERT_TRUE(gwtest::Select(window->child(kWatchList), 1));
    ASSERT_TRUE(gwtest::Click(window->child("DeleteSymbol")));
    EXPECT_EQ(Rows(window), (Strings{"00F01234|motor_speed|word|", "F01236||word|"}));
    List(window)->deselect_all();
    ASSERT_TRUE(gwtest::Click(window->child("DeleteSymbol")));
    EXPECT_EQ(Rows(window).size(), 2u);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

}  // namespace
}  // namespace watchtest
