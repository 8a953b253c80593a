// Creating, showing and closing the oscilloscope window: its widgets, the
// engine on a copy of the active base, the window at rest, the trigger mode
// toggles and the plot-tool page.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/window_handler.h"
#include "parameters/parabase/para_base.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

TEST_F(ScopeWindowTest, ShowSetsUpTheWindowAtRestFromTheRecorder) {
    GwCore* window = OpenScope();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(Child("State")->text(), "");
    EXPECT_FALSE(Child("Slider")->is_visible());
    EXPECT_FALSE(Child("BT_UserTrigger")->is_enabled());
    EXPECT_FALSE(Child("BT_AutoScopeStop")->is_enabled());
    EXPECT_TRUE(Child("BT_AutoScope")->is_enabled());
    EXPECT_TRUE(IsReadOnly(Child("TmBaseVal")));
    EXPECT_FALSE(IsReadOnly(Child("FlashTmVal")));
    EXPECT_TRUE(IsChecked(Child("FlashTmFix")));
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 500u);
    // Trigger on channel 0 of "Speed" (1/min, no fraction bits) at level 0.
    EXPECT_TRUE(IsChecked(Child("TrigCh0")));
    EXPECT_EQ(Child("TrigLevel")->text(), "0.");
    EXPECT_EQ(dynamic_cast<GwEdit*>(Child("TrigLevel"))->suffix(), "1/min");
    EXPECT_EQ(Child("PreTrigVal")->text(), "0.00");
    // The channels: variable buttons with their display texts.
    EXPECT_TRUE(IsChecked(Child("ChActiv0")));
    EXPECT_TRUE(IsChecked(Child("ChActiv1")));
    EXPECT_FALSE(IsChecked(Child("ChActiv2")));
    EXPECT_EQ(Child("ChVal0")->text(), "Actual speed");
    EXPECT_EQ(Child("ChVal1")->text(), "Motor current");
    // Nothing was written to the drive.
    EXPECT_EQ(Writes(), Strings{});
}

TEST_F(ScopeWindowTest, ADefinitionWithoutSpecialShowsErrorSeven) {
    std::string definition = "dialogframe ScopeWithoutSpecial {\n    on create = CB_CreateScope\n";
    for (int i = 0; i < kScopeWidgetCount; ++i) {
        if (i != kSpecialPage) definition += std::string("    label ") + kScopeWidgetNames[i] + " { }\n";
    }
    definition += "}\n";
    ASSERT_TRUE(GwRcMgr::use_text(definition, "scope_without_special.cgw"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    window_ = GwRcMgr::load(mainWindow_, "ScopeWithoutSpecial", 1);
    ASSERT_NE(window_, nullptr);
    window_->show();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text, "A window or one of its elements could not be loaded!");
}

TEST_F(ScopeWindowTest, WithoutAnActiveDeviceShowOnlyTellsSo) {
    main_->CloseTarnBus();
    ASSERT_EQ(Main::ActiveBase(), nullptr);
    ClearCaptures();
    GwCore* window = OpenScope();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "info");
    EXPECT_EQ(gwtest::Boxes()[0].text, "No device is online!");
    EXPECT_EQ(TheScopeWindowState().Engine, nullptr);
    EXPECT_FALSE(window->is_timer_running());
    EXPECT_EQ(Child("TmBaseVal")->text(), "");
    EXPECT_EQ(Heard(), Strings{});
}

TEST_F(ScopeWindowTest, TheTriggerModeTogglesFollowParameter65) {
    struct Case {
        uint32_t value;
        const char* on;
        bool writes;
    };
    const Case cases[] = {
        {4, "TrigModeBoth", false},
        {0, "TrigModeBoth", false},
        {3, "TrigModeFall", false},
        {2, "TrigModeRis", false},
        {1, "TrigModeAuto", false},
        {0xFFFFFFFFu, "TrigModeBoth", true},
    };
    const char* const toggles[] = {"TrigModeRis", "TrigModeFall", "TrigModeBoth", "TrigModeAuto"};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int32_t>(c.value));
        OnDrive(65).value = c.value;
        ClearCaptures();
        ASSERT_NE(OpenScope(), nullptr);
        for (const char* toggle : toggles) EXPECT_EQ(IsChecked(Child(toggle)), std::string(toggle) == c.on) << toggle;
        EXPECT_EQ(Writes(), c.writes ? Strings{"W 20065=4"} : Strings{});
        window_->destroy();
    }
}

TEST_F(ScopeWindowTest, TheTriggerControlsSetTheRecorderAndShowItAgain) {
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    // A level in "Speed" (no fraction bits, factor 1) goes out raw and is
    // read back; an empty field sets 0.
    ASSERT_TRUE(gwtest::Replace(Child("TrigLevel"), "4"));
    gwtest::Fire(Child("TrigLevel"), "confirm");
    EXPECT_EQ(Writes(), Strings{"W 20064=4"});
    EXPECT_EQ(Child("TrigLevel")->text(), "4.");
    ASSERT_TRUE(gwtest::Replace(Child("TrigLevel"), ""));
    gwtest::Fire(Child("TrigLevel"), "confirm");
    EXPECT_EQ(Writes().back(), "W 20064=0");

    ClearCaptures();
    ASSERT_TRUE(gwtest::Replace(Child("PreTrigVal"), "25"));
    gwtest::Fire(Child("PreTrigVal"), "confirm");
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].rfind("W 20067=", 0), 0u);
    EXPECT_EQ(Child("PreTrigVal")->text(), "25.00");

    // The trigger channel: its level now in the unit of "Current".
    ClearCaptures();
    ASSERT_TRUE(gwtest::Click(Child("TrigCh1")));
    EXPECT_EQ(Writes(), Strings{"W 20066=1"});
    EXPECT_FALSE(IsChecked(Child("TrigCh0")));
    EXPECT_EQ(dynamic_cast<GwEdit*>(Child("TrigLevel"))->suffix(), "Nm");

    // A mode toggle writes its mode; the one switched off writes nothing.
    ClearCaptures();
    ASSERT_TRUE(gwtest::Click(Child("TrigModeFall")));
    EXPECT_EQ(Writes(), Strings{"W 20065=3"});
    ASSERT_TRUE(gwtest::Click(Child("TrigModeAuto")));
    EXPECT_EQ(Writes(), (Strings{"W 20065=3", "W 20065=1"}));
}

TEST_F(ScopeWindowTest, StateShowsTheRecordingOnlyWhileTheRecorderRuns) {
    OnDrive(68).value = 1;
    ASSERT_NE(OpenScope(), nullptr);
    EXPECT_EQ(Child("State")->text(), "Recording");
    window_->destroy();
    OnDrive(68).value = 0;
    ASSERT_NE(OpenScope(), nullptr);
    EXPECT_EQ(Child("State")->text(), "");
}

TEST_F(ScopeWindowTest, AnEngineErrorAtShowGivesErrorFiveAndResultZero) {
    ASSERT_NE(OpenScope(), nullptr);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20068"));
    MarkBoxes();
    EXPECT_EQ(CB_ShowScope(window_, nullptr, GwUD()), 0);
    // Error 5 for the device once for the failed read and once for the flag
    // it left.
    const std::string error5 =
        "error: RS232 transmission error in parameter 68-SCCTL: \nDevice canceled last telegram!";
    EXPECT_EQ(NewBoxes(), (Strings{error5, error5}));
    // The rest of the show did not happen.
    EXPECT_TRUE(Heard().back() == "R 20068") << Heard().back();
}

TEST_F(ScopeWindowTest, EachShowMakesANewCopyOfTheActiveBaseAndANewEngine) {
    ASSERT_NE(OpenScope(), nullptr);
    ScopeWindowState& state = TheScopeWindowState();
    const int serial = state.EngineSerial;
    ParaBase* active = Main::ActiveBase();
    ASSERT_NE(active, nullptr);
    ASSERT_NE(state.Base.get(), active);
    EXPECT_EQ(state.Engine->GetParaBase(), state.Base.get());
    EXPECT_EQ(state.Base->GetBus(), active->GetBus());
    EXPECT_EQ(state.Base->GetAddress(), active->GetAddress());
    // A value changed in the active base after the show stays out of the
    // copy; the next show copies it.
    ASSERT_EQ(active->SetValueU8(300, 3), 0);
    uint8_t copied = 0;
    state.Base->GetValueU8(300, &copied);
    EXPECT_EQ(copied, 1);
    EXPECT_EQ(CB_ShowScope(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(state.EngineSerial, serial + 1);
    state.Base->GetValueU8(300, &copied);
    EXPECT_EQ(copied, 3);
    // The copy has its own variable list.
    EXPECT_NE(state.Base->GetScopeVariables(), nullptr);
    EXPECT_NE(state.Base->GetScopeVariables(), active->GetScopeVariables());
}

TEST_F(ScopeWindowTest, ClosingTheWindowUnlistsItAndLeavesTheEngineUntilTheNextShow) {
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_NE(TheWindowHandler().FindByName(kScopeWindowName), nullptr);
    ASSERT_TRUE(gwtest::Close(window_));
    EXPECT_FALSE(window_->is_alive());
    EXPECT_EQ(TheWindowHandler().FindByName(kScopeWindowName), nullptr);
    ScopeWindowState& state = TheScopeWindowState();
    EXPECT_NE(state.Engine, nullptr);
    EXPECT_TRUE(state.StopRequested);
    EXPECT_FALSE(state.Repeat);
    EXPECT_FALSE(TheScopeWindowLink().HasEngine());
    EXPECT_TRUE(TheScopeWindowLink().IsStopRequested());
    TheScopeWindowLink().SetSlider(50.0f);
    TheScopeWindowLink().ResetSlider();
}

TEST_F(ScopeWindowTest, ThePlotToolPageShowsTheOptions) {
    SetExternalPlotTool("/usr/bin/viewer");
    for (const char* tool : {"extern", "intern", "ScopeWizard", "other"}) {
        SCOPED_TRACE(tool);
        SetPlotTool(tool);
        ASSERT_NE(OpenScope(), nullptr);
        for (const char* toggle : {"extern", "intern", "ScopeWizard"})
            EXPECT_EQ(IsChecked(Child(toggle)), std::string(toggle) == tool) << toggle;
        EXPECT_EQ(Child("ExternalTool")->text(), "/usr/bin/viewer");
        window_->destroy();
    }
}

TEST_F(ScopeWindowTest, ThePlotToolPageIsStoredAtCloseReadAndRecordingStart) {
    struct Case {
        const char* name;
        std::function<void(GwCore* window)> store;
    };
    const Case cases[] = {
        {"close", [](GwCore* window) { window->destroy(); }},
        {"read", [](GwCore* window) { gwtest::Click(window->child("BT_ScopeRead")); }},
        {"recording start",
         [this](GwCore* window) {
             // The start itself fails; the page is stored before it.
             Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20068"));
             gwtest::Click(window->child("BT_AutoScope"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A chosen tool and a typed path are stored.
        SetPlotTool("extern");
        ASSERT_NE(OpenScope(), nullptr);
        ASSERT_TRUE(gwtest::Click(Child("intern")));
        ASSERT_TRUE(gwtest::Replace(Child("ExternalTool"), "/bin/other"));
        c.store(window_);
        EXPECT_EQ(GetPlotTool(), "intern");
        EXPECT_EQ(GetExternalPlotTool(), "/bin/other");
        if (window_->is_alive()) window_->destroy();

        // With none of the three on, "PlotTool" stays.
        SetPlotTool("my viewer");
        ASSERT_NE(OpenScope(), nullptr);
        c.store(window_);
        EXPECT_EQ(GetPlotTool(), "my viewer");
        if (window_->is_alive()) window_->destroy();
        SetExternalPlotTool(kPlotTool);
    }
}

}  // namespace
}  // namespace scopewintest
