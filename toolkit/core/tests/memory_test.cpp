// A program that opens and closes windows all day keeps its memory bounded:
// what a load made goes when the window is destroyed, and the record of what
// the user saw keeps only its latest part.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/core/tests/toolkit_fixture.h"

namespace toolkit_test {
namespace {

using Memory = ToolkitTest;

// A day of windows is long by its nature: about 6 s under the sanitizers on
// an idle core, several times that on a loaded 2-core machine.
constexpr std::chrono::seconds kDayOfWindowsLimit{90};

TEST_F(Memory, WindowsLoadedAndDestroyedAllDayLeaveBoundedStores) {
    testsupport::SetTestTimeLimit(kDayOfWindowsLimit);
    auto& store = GwWidgetStore::Get();
    const size_t liveBefore = store.live.size();
    const size_t toplevelBefore = store.toplevel.size();
    for (int i = 0; i < 10000; ++i) {
        GwCore* w = GwRcMgr::load(nullptr, "Settings", 1);
        ASSERT_NE(w, nullptr);
        w->show();
        w->child("Name")->set_text("round " + std::to_string(i));
        w->destroy();
    }
    EXPECT_EQ(store.live.size(), liveBefore);
    EXPECT_EQ(store.toplevel.size(), toplevelBefore);
    EXPECT_EQ(store.graveyard.size(), kGwGraveyardLimit);
    EXPECT_LE(store.graveyard_widgets, kGwGraveyardWidgetLimit);
    EXPECT_LE(GwRecorder::Effects().size(), kGwRecorderLimit);
    EXPECT_EQ(GwRecorder::Effects().back().what, "destroy");
}

TEST_F(Memory, BigDestroyedWindowsAreFreedByTheirWidgetCount) {
    testsupport::SetTestTimeLimit(kDayOfWindowsLimit);
    std::string text = "dialogframe Big {\n";
    for (int i = 0; i < 1000; ++i) text += "    label L" + std::to_string(i) + " { }\n";
    text += "}\n";
    ASSERT_TRUE(GwRcMgr::use_text(text, "big.cgw"));
    auto& store = GwWidgetStore::Get();
    for (int i = 0; i < 100; ++i) GwRcMgr::load(nullptr, "Big", 1)->destroy();
    EXPECT_LE(store.graveyard.size(), kGwGraveyardWidgetLimit / 1001);
    EXPECT_LE(store.graveyard_widgets, kGwGraveyardWidgetLimit);
}

TEST_F(Memory, RecorderKeepsItsLatestRecords) {
    for (size_t i = 0; i < 2 * kGwRecorderLimit + 10; ++i) GwRecorder::Record("text", "W", std::to_string(i));
    for (int i = 0; i < 3; ++i) {
        GwBoxRecord box;
        box.kind = "info";
        box.text = std::to_string(i);
        GwRecorder::RecordBox(box);
    }
    const auto& effects = GwRecorder::Effects();
    ASSERT_LE(effects.size(), kGwRecorderLimit);
    EXPECT_GE(effects.size(), kGwRecorderLimit / 2);
    EXPECT_EQ(effects[effects.size() - 4].value, std::to_string(2 * kGwRecorderLimit + 9));
    EXPECT_EQ(GwRecorder::Boxes().size(), 3u);
}

}  // namespace
}  // namespace toolkit_test
