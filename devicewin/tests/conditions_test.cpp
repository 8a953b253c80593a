// Widgets shown, hidden, enabled and disabled by parameter conditions, by
// the presence of a parameter and by the user level.
#include <gtest/gtest.h>

#include <string>

#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "devicewin/conditions.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/docking/gw_tab_book.h"

namespace devicewintest {
namespace {

constexpr int kLevels = 410;  // "LEVS" USIGN16 array {0, 0, 12, 0}

class ConditionTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* application = table.Find(kApplication);
        application->value = 3;
        application->flags &= static_cast<uint16_t>(~sim::kFlagValueTexts);
        application->value_texts.clear();
        sim::DriveParameter* levels = table.PutFullRange(kLevels, "LEVS", "USIGN16", 0);
        levels->maximum = 1000;
        levels->flags |= sim::kFlagArray;
        levels->elements = {0, 0, 12, 0};
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        SetUserLevel(3);
    }
};

TEST_F(ConditionTest, ConditionsShowAndEnable) {
    struct Case {
        const char* condition;
        bool holds;
        bool online = true;
        bool context = true;
        bool refused = false;
    };
    const Case cases[] = {
        {"152 == 3", true},
        {"152 == 3", true, false},
        {"152 == 4", false},
        {"152 == 4", false, false},
        {"152 != 3", false},
        {"152 != 4", true},
        {"152 < 3", false},
        {"152 <= 3", true},
        {"152 > 2", true},
        {"152 >= 4", false},
        {"410[2] >= 10", true},
        {"410[2] >= 13", false},
        {"410 >= 10", false},
        {"410[1] >= 10", false},
        {"152 = 3", true},
        {"152 <", true},
        {"152", true},
        {"", true},
        {"999 == 1", true},
        {"152 == 4", true, true, false},
        {"152 == 4", true, true, true, true},  // last: the fault stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.condition) + (c.online ? " online" : " offline") +
                     (c.context ? "" : " without context") + (c.refused ? " refused" : ""));
        GwCore* shown = nullptr;
        if (c.context) {
            shown = OpenCase(c.online, "label Shown { }\nlabel Enabled { }", "Shown");
        } else {
            OpenWindow("label Shown { }\nlabel Enabled { }", nullptr);
            shown = W("Shown");
        }
        GwCore* enabled = W("Enabled");
        // Each starts in the state the condition should change.
        shown->set_considered(!c.holds);
        enabled->set_sensitive(!c.holds);
        if (c.refused)
            Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20152").Times(sim::kForever));
        Drive().ClearCapture();
        EXPECT_EQ(CB_ShowIf(shown, nullptr, GwUD(c.condition)), 1);
        EXPECT_EQ(CB_EnableIf(enabled, nullptr, GwUD(c.condition)), 1);
        EXPECT_EQ(shown->is_shown(), c.holds);
        EXPECT_EQ(enabled->is_enabled(), c.holds);
        if (!c.online) {
            EXPECT_TRUE(Heard().empty()) << "offline reads the table";
        }
    }
}

TEST_F(ConditionTest, TheTimerVariantWaitsForTheTimerGuard) {
    GwCore* widget = OpenCase(true, "label Shown { }", "Shown");
    BusTransferFlag = true;
    EXPECT_EQ(CB_ShowIfViaTimer(widget, nullptr, GwUD("152 == 4")), 1);
    EXPECT_TRUE(widget->is_shown());
    BusTransferFlag = false;
    CB_ShowIfViaTimer(widget, nullptr, GwUD("152 == 4"));
    EXPECT_FALSE(widget->is_shown());
}

TEST_F(ConditionTest, AvailabilityShowsHidesAndDisables) {
    using Callback = int (*)(GwCore*, GwEvent*, GwUD);
    struct Case {
        const char* name;
        Callback callback;
        const char* parameter;
        bool shown;
        bool enabled;
    };
    const Case cases[] = {
        {"show if available", CB_ShowIfParaAvailable, "152", true, false},
        {"show if available, absent", CB_ShowIfParaAvailable, "999", false, false},
        {"hide if not available", CB_HideIfNotParaAvailable, "152", true, false},
        {"hide if not available, absent", CB_HideIfNotParaAvailable, "999", false, false},
        {"hide if available", CB_HideIfParaAvailable, "152", false, false},
        {"hide if available, absent", CB_HideIfParaAvailable, "999", true, false},
        {"disable if not available", CB_DisableIfNotParaAvailable, "152", false, true},
        {"disable if not available, absent", CB_DisableIfNotParaAvailable, "999", false, false},
        // An empty argument changes nothing.
        {"show, empty", CB_ShowIfParaAvailable, "", false, false},
        {"hide, empty", CB_HideIfParaAvailable, "", false, false},
        {"hide if not, empty", CB_HideIfNotParaAvailable, "", false, false},
        {"disable, empty", CB_DisableIfNotParaAvailable, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* widget = OpenCase(true, "label W { }", "W");
        widget->hide();
        widget->disable();
        EXPECT_EQ(c.callback(widget, nullptr, GwUD(c.parameter)), 1);
        EXPECT_EQ(widget->is_shown(), c.shown);
        EXPECT_EQ(widget->is_enabled(), c.enabled);
    }
}

TEST_F(ConditionTest, UserLevelsShowEnableAndTakeTabPages) {
    struct Case {
        const char* level;
        bool allowed;
    };
    for (const Case& c : {Case{"3", true}, Case{"2", true}, Case{"4", false}, Case{"", false}}) {
        SCOPED_TRACE(c.level);
        GwCore* widget = OpenCase(true, "label W { }", "W");
        widget->set_considered(!c.allowed);
        widget->set_sensitive(!c.allowed);
        EXPECT_EQ(CB_ShowIfUserLevelEGT(widget, nullptr, GwUD(c.level)), 1);
        EXPECT_EQ(widget->is_shown(), c.allowed);
        EXPECT_EQ(widget->is_enabled(), c.allowed);
    }

    OpenCase(true, "tabbook Book { tabpage General { }\n tabpage Expert { } }", "Book");
    auto* book = dynamic_cast<GwTabBook*>(W("Book"));
    ASSERT_NE(book, nullptr);
    SetUserLevel(5);
    EXPECT_EQ(CB_ShowTabPageIfUserLevelEGT(book, nullptr, GwUD("Expert 5")), 1);
    EXPECT_TRUE(book->is_page_included(W("Expert")));
    SetUserLevel(4);
    CB_ShowTabPageIfUserLevelEGT(book, nullptr, GwUD("Expert 5"));
    EXPECT_FALSE(book->is_page_included(W("Expert")));
    EXPECT_TRUE(book->is_page_included(W("General")));
    EXPECT_EQ(CB_ShowTabPageIfUserLevelEGT(book, nullptr, GwUD("Missing 1")), 1);
}

TEST_F(ConditionTest, GlobalLevelChecksReadTheAuxText) {
    OpenCase(true, "label Show { aux_text = \"4\" }\nlabel Enable { aux_text = \"4\" }\nlabel Free { }", "Show");
    EXPECT_EQ(CheckGlobalUserLevel_Show(W("Show"), nullptr, GwUD()), 1);
    EXPECT_EQ(CheckGlobalUserLevel_Enable(W("Enable"), nullptr, GwUD()), 1);
    EXPECT_FALSE(W("Show")->is_shown());
    EXPECT_FALSE(W("Enable")->is_enabled());
    EXPECT_TRUE(W("Enable")->is_shown());
    SetUserLevel(4);
    CheckGlobalUserLevel_Show(W("Show"), nullptr, GwUD());
    CheckGlobalUserLevel_Enable(W("Enable"), nullptr, GwUD());
    EXPECT_TRUE(W("Show")->is_shown());
    EXPECT_TRUE(W("Enable")->is_enabled());
    W("Free")->hide();
    W("Free")->disable();
    CheckGlobalUserLevel_Show(W("Free"), nullptr, GwUD());
    CheckGlobalUserLevel_Enable(W("Free"), nullptr, GwUD());
    EXPECT_FALSE(W("Free")->is_shown()) << "no aux text, no change";
    EXPECT_FALSE(W("Free")->is_enabled());
}

// Parameter 152 with the value texts OFF, ON, AUTO and TEST, holding AUTO.
class SelectionConditionTest : public ConditionTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = ConditionTest::MakeTable();
        sim::DriveParameter* application = table.Find(kApplication);
        application->value = 2;
        application->maximum = 3;
        application->flags |= sim::kFlagValueTexts;
        application->value_texts = {{0, "OFF"}, {1, "ON"}, {2, "AUTO"}, {3, "TEST"}};
        return table;
    }
};

TEST_F(SelectionConditionTest, TheValueTextIsCompared) {
    for (const char* condition : {"152 == AUTO", "152 != TEST"}) {
        SCOPED_TRACE(condition);
        GwCore* widget = OpenCase(true, "label W { }", "W");
        widget->hide();
        CB_ShowIf(widget, nullptr, GwUD(condition));
        EXPECT_TRUE(widget->is_shown());
        CB_ShowIf(widget, nullptr, GwUD("152 == 2"));
        EXPECT_FALSE(widget->is_shown()) << "the text, not the number";
    }
}

TEST_F(SelectionConditionTest, TheComboEnablesItsTargetWhileTheSelectionHolds) {
    OpenCase(true,
             "combo _PN_152 { items = \"OFF\", \"ON\", \"AUTO\", \"TEST\"; aux_text = \"Target\" }\n"
             "combo Free_PN_152 { items = \"OFF\", \"ON\", \"AUTO\", \"TEST\" }\n"
             "label Lbl_PN_152 { aux_text = \"Target\" }\nbutton Target { }\nbutton BT_TakeIt { }",
             "_PN_152");
    auto* combo = dynamic_cast<GwCombo*>(W("_PN_152"));
    GwCore* target = W("Target");
    struct Case {
        const char* condition;
        int selected;
        bool enabled;
    };
    const Case cases[] = {
        {"== AUTO", 2, true},
        {"== AUTO", 1, false},
        {"!= AUTO", 1, true},
        {">= 2", 3, true},
        {"< 2", 3, false},
        {"=~ AUTO", 0, true},
        {"==", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.condition) + " " + std::to_string(c.selected));
        combo->select(c.selected);
        target->set_sensitive(!c.enabled);
        EXPECT_EQ(CB_ComboBoxEnableOtherObjectIf(combo, nullptr, GwUD(c.condition)), 1);
        EXPECT_EQ(target->is_enabled(), c.enabled);
        EXPECT_EQ(IsWidgetChanged(combo), c.selected != 2) << "the change callback ran";
    }
    // A bound widget that selects nothing makes the condition false.
    target->enable();
    CB_ComboBoxEnableOtherObjectIf(W("Lbl_PN_152"), nullptr, GwUD("== AUTO"));
    EXPECT_FALSE(target->is_enabled());
    // Without an aux text nothing is enabled and nothing is marked.
    auto* free = dynamic_cast<GwCombo*>(W("Free_PN_152"));
    free->select(0);
    target->disable();
    EXPECT_EQ(CB_ComboBoxEnableOtherObjectIf(free, nullptr, GwUD("== OFF")), 1);
    EXPECT_FALSE(target->is_enabled());
    EXPECT_FALSE(IsWidgetChanged(free));
}

}  // namespace
}  // namespace devicewintest
