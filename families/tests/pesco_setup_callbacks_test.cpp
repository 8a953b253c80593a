// The Pesco port-A switch and the take-over that redraws the positioning
// sequence table, on the virtual drive.
#include "families/pesco_setup_callbacks.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "devicewin/change_callbacks.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_item_list.h"
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

// A sequence step at element 2: its sources and targets.
constexpr char kStepWindow[] =
    "container Step {\n edit Index { text = \"2\" }\n combo _PN_274[2] { }\n combo _PN_761[2] { }\n"
    " combo _PN_762[2] { }\n combo _PN_764[2] { }\n combo _PN_765[2] { }\n combo _PN_763[2] { }\n"
    " combo _PN_272[2] { }\n button Other { }\n }";

class SelectAndEnableTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.version = 2224;  // descriptions of its own
        for (auto [number, minimum, maximum] : {std::tuple{272, 0, 9},
                                                std::tuple{274, 0, 3},
                                                std::tuple{761, -1, 3},
                                                std::tuple{762, 0, 3},
                                                std::tuple{763, 0, 9},
                                                std::tuple{764, 0, 3},
                                                std::tuple{765, 0, 7}}) {
            sim::DriveParameter* p = table.PutFullRange(number, "SEQ", "INT16", 0);
            p->minimum = static_cast<uint32_t>(minimum);
            p->maximum = static_cast<uint32_t>(maximum);
            p->flags |= sim::kFlagArray;
            p->elements = {0, 0, 0, 0};
        }
        return table;
    }
    void SetElement(int number, int value) { Drive().Table().Find(number)->elements[2] = static_cast<uint32_t>(value); }
    void Open() {
        OpenWindow(kStepWindow, MakeContext(true));
        CB_DvFctShowObject(W("Step"), nullptr, GwUD());
    }
    GwItemList* Element(int number) { return dynamic_cast<GwItemList*>(W("_PN_" + std::to_string(number) + "[2]")); }
    void SetConditions(int number, const char* list) { Element(number)->set_user_data(GwUD(list)); }
};

TEST_F(SelectAndEnableTest, ConditionListsEnableTheirTargetByTheSelectedValues) {
    struct Case {
        const char* list;
        std::vector<std::pair<int, int>> elements;  // values of element 2 in the drive
        bool enabled;
    };
    const Case cases[] = {
        {"1", {{274, 1}}, true},
        {"1", {{274, 0}}, false},
        {"2", {{761, -1}, {762, 0}}, false},
        {"2", {{761, 0}, {762, 0}}, true},
        {"2", {{761, -1}, {762, 1}}, true},
        {"3,4", {{764, 2}}, true},
        {"3,4", {{764, 0}}, false},
        {"3,4", {{764, 1}}, false},
        {"9", {{274, 0}, {764, 3}}, true},
        {"5", {{274, 2}}, false},
        {"5", {{274, 1}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " " + testing::PrintToString(c.elements));
        for (int number : {274, 761, 762, 764}) SetElement(number, 0);
        for (auto [number, value] : c.elements) SetElement(number, value);
        Open();
        SetConditions(762, c.list);
        Element(762)->set_sensitive(!c.enabled);
        EXPECT_EQ(CB_5_SelectAndEnableIf(W("Step"), nullptr, GwUD()), 1);
        EXPECT_EQ(Element(762)->is_enabled(), c.enabled);
        window_->destroy();
    }
}

TEST_F(SelectAndEnableTest, AListWithZeroEndsTheCallbackBeforeTheRemainingTargets) {
    SetElement(274, 2);
    Open();
    SetConditions(762, "5");
    SetConditions(764, "0");
    for (int number : {765, 763, 272}) SetConditions(number, "5");
    CB_5_SelectAndEnableIf(W("Step"), nullptr, GwUD());
    EXPECT_FALSE(Element(762)->is_enabled());
    for (int number : {764, 765, 763, 272}) EXPECT_TRUE(Element(number)->is_enabled()) << number;
}

TEST_F(SelectAndEnableTest, AComboCallerChangesItsParameterAndReadsChangedSourcesFromTheBase) {
    SetElement(274, 0);
    Open();
    SetConditions(762, "1");
    // The user picked type 1, not yet taken over: shown again from the base
    // (0) before it counts.
    Element(274)->select(1);
    SetWidgetChanged(Element(274), true);
    Element(764)->select(2);
    EXPECT_EQ(CB_5_SelectAndEnableIf(Element(764), nullptr, GwUD()), 1);
    EXPECT_FALSE(Element(762)->is_enabled());
    EXPECT_EQ(Element(274)->first_selected(), 0);
    // The caller's own change was marked for the take-over.
    EXPECT_TRUE(IsWidgetChanged(Element(764)));

    // A source with nothing selected, or none at all, lets its condition hold.
    Element(274)->deselect_all();
    CB_5_SelectAndEnableIf(Element(764), nullptr, GwUD());
    EXPECT_TRUE(Element(762)->is_enabled());
    Element(762)->disable();
    Element(274)->destroy();
    CB_5_SelectAndEnableIf(Element(764), nullptr, GwUD());
    EXPECT_TRUE(Element(762)->is_enabled());
}

TEST_F(SelectAndEnableTest, OtherCallersAndAnEmptyIndexDoNothing) {
    Open();
    SetConditions(762, "1");
    Element(762)->disable();
    ClearCaptures();
    EXPECT_EQ(CB_5_SelectAndEnableIf(W("Other"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(Element(762)->is_enabled());
    W("Index")->set_text("");
    CB_5_SelectAndEnableIf(W("Step"), nullptr, GwUD());
    EXPECT_FALSE(Element(762)->is_enabled());
}

}  // namespace
}  // namespace devicewintest
