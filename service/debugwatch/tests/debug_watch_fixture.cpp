#include "service/debugwatch/tests/debug_watch_fixture.h"

#include <filesystem>

#include "app/services/window_handler.h"
#include "service/debugwatch/debug_watch.h"
#include "sim/drive_table.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace watchtest {

void DebugWatchTest::SetUp() {
    maintest::MainTest::SetUp();
    ASSERT_NE(GwRcMgr::use_func_desc(DebugWatchCallbacks()), 0);
    new GwLabel("State1", mainWindow_);
    sim::DriveTable table = maintest::ActivationTable(kWatchTypeNumber, kWatchVersionSteps);
    table.PutFullRange(sim::kMemoryAddressLowParameter, "MADRL", "USIGN16", 0);
    table.PutFullRange(sim::kMemoryAddressHighParameter, "MADRH", "USIGN16", 0);
    table.PutFullRange(sim::kMemoryWordParameter, "MWORD", "USIGN16", 0);
    table.memory.enabled = true;
    AddDrive(maintest::kAddress, std::move(table));
    Activate();
}

void DebugWatchTest::TearDown() {
    std::filesystem::remove_all(testsupport::RuntimePath(kCacheFile));
    for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("FIRMDATA"))) {
        if (entry.path().filename().string().rfind("5012_", 0) == 0) std::filesystem::remove(entry.path());
    }
    maintest::MainTest::TearDown();
}

void DebugWatchTest::SetWords(uint32_t address, uint16_t w0, uint16_t w1) {
    Drive().Table().memory.SetWord(address & ~1u, w0);
    Drive().Table().memory.SetWord((address & ~1u) + 2, w1);
}

std::vector<std::string> DebugWatchTest::Heard() { return Drive().Capture().TelegramTexts(); }

GwCore* DebugWatchTest::OpenWatch() {
    GwCore* window = GwRcMgr::load(mainWindow_, kDebugWatchFrame, 1);
    EXPECT_NE(window, nullptr);
    if (window == nullptr) return nullptr;
    EXPECT_EQ(TheWindowHandler().Add(window, 1), 1);
    window->show();
    return window;
}

GwMultiList* DebugWatchTest::List(GwCore* window) { return WatchListOf(window); }

std::vector<std::string> DebugWatchTest::Rows(GwCore* window) {
    std::vector<std::string> rows;
    GwMultiList* list = List(window);
    for (int i = 0; list != nullptr && i < list->row_count(); ++i) rows.push_back(list->row_text(i));
    return rows;
}

std::vector<std::string> DebugWatchTest::SymbolNames(GwCore* window) {
    std::vector<std::string> names;
    GwCombo* combo = SymbolNamesOf(window);
    for (int i = 0; combo != nullptr && i < combo->count(); ++i) names.push_back(combo->item_text(i));
    return names;
}

void DebugWatchTest::InstallMapFile() { WriteTreeFile(kMapFile, TestFile("fixtures/fw215.map")); }

void DebugWatchTest::InstallCache() { WriteTreeFile(kCacheFile, TestFile("golden/MAPFILE_5_V2_15.TMP")); }

std::string DebugWatchTest::TestFile(const std::string& relative) {
    return testsupport::ReadFile(std::filesystem::path(DEBUGWATCH_TEST_DIR) / relative);
}

std::string DebugWatchTest::TreeFile(const std::string& relative) {
    return testsupport::ReadFile(testsupport::RuntimePath(relative));
}

void DebugWatchTest::ChooseType(const std::string& type) {
    gwtest::ScriptModal(kDebugOptionsDialog, [type](GwCore* dialog) {
        for (GwCore* button : dialog->children()) {
            if (button->text() == type) {
                gwtest::Click(button);
                return;
            }
        }
        ADD_FAILURE() << "no button " << type;
    });
}

}  // namespace watchtest
