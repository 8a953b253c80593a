// The Pesco port-A switch and the take-over that redraws the positioning
// sequence table, on the virtual drive.
#include "families/pesco_setup_callbacks.h"

#include <gtest/gtest.h>

#include <string>

#include "devicewin/change_callbacks.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

int& TableShows() {
    static int shows = 0;
    return shows;
}
int CountShow(GwCore*, GwEvent*, GwUD) {
    ++TableShows();
    return 1;
}
const GwFuncDesc kCountCallbacks[] = {{"CountShow", CountShow}, {nullptr, nullptr}};

constexpr char kPortAWindow[] =
    "combo _PN_773 { }\n edit _PN_308 { }\n edit _PN_774 { }\n edit _PN_775 { }\n button Caller { }\n"
    " edit _PN_12 { }\n container PosSeqTab { on show = CountShow }";

class PescoCallbacksTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* portA = table.PutFullRange(kPortAParameter, "PORTA", "USIGN8", 0);
        portA->minimum = 0;
        portA->maximum = 2;
        portA->flags |= sim::kFlagValueTexts;
        portA->value_texts = {{0, "OFF"}, {1, "ON"}, {2, "On"}};
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        TableShows() = 0;
        GwRcMgr::use_func_desc(kCountCallbacks);
    }
    GwCore* OpenPortA(int selected) {
        OpenWindow(kPortAWindow, MakeContext(true));
        auto* combo = dynamic_cast<GwCombo*>(W("_PN_773"));
        for (const char* item : {"OFF", "ON", "On"}) combo->append(item);
        if (selected >= 0) combo->select_item(selected);
        return combo;
    }
    bool PortAEnabled() {
        const bool first = W("_PN_308")->is_enabled();
        EXPECT_EQ(W("_PN_774")->is_enabled(), first);
        EXPECT_EQ(W("_PN_775")->is_enabled(), first);
        return first;
    }
};

TEST_F(PescoCallbacksTest, PortAWidgetsFollowTheDisplayTextOn) {
    const std::pair<int, bool> cases[] = {{1, true}, {0, false}, {2, false}};
    for (auto [selected, enabled] : cases) {
        SCOPED_TRACE(selected);
        OpenPortA(selected);
        W("_PN_308")->set_sensitive(!enabled);
        EXPECT_EQ(CB_5_PORTA_Changed(W("Caller"), nullptr, GwUD()), 1);
        EXPECT_EQ(PortAEnabled(), enabled);
        window_->destroy();
    }
    // Nothing selected: the widgets stay as they are.
    OpenPortA(-1);
    W("_PN_308")->disable();
    CB_5_PORTA_Changed(W("Caller"), nullptr, GwUD());
    EXPECT_FALSE(W("_PN_308")->is_enabled());
    EXPECT_TRUE(W("_PN_774")->is_enabled());
}

TEST_F(PescoCallbacksTest, FromPortAItselfTheParameterChanges) {
    GwCore* portA = OpenPortA(1);
    const int expected = CB_DvFctParaChange(portA, nullptr, GwUD());
    W("_PN_308")->disable();
    EXPECT_EQ(CB_5_PORTA_Changed(portA, nullptr, GwUD()), expected);
    EXPECT_TRUE(PortAEnabled());
}

TEST_F(PescoCallbacksTest, TakeOverWritesThenRedrawsTheSequenceTable) {
    OpenWindow(kPortAWindow, MakeContext(true));
    const int shows = TableShows();
    W("_PN_12")->set_text("7");
    SetWidgetChanged(W("_PN_12"), true);
    ClearCaptures();
    GwEvent event;
    EXPECT_EQ(CB_DvFctTakeItPST(W("Caller"), &event, GwUD()), 1);
    bool written = false;
    for (const std::string& heard : Heard()) written = written || heard.rfind("W 20012", 0) == 0;
    EXPECT_TRUE(written);
    EXPECT_EQ(TableShows(), shows + 1);
    EXPECT_TRUE(W("PosSeqTab")->is_visible());
}

}  // namespace
}  // namespace devicewintest
