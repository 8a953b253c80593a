// The speed-controller adjustment of the controller set-up window on the
// virtual drive: the motor data it reads, the settings recomputed from the
// stiffness and the filter, the stiffness field and its slider, the transfer
// into the parameter fields, the amplitude proposal, the refresh dialog and
// the way to the typed motor data.
#include "motor/tuning/controller_adjust.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/widget_changes.h"
#include "motor/numerics/controller_settings.h"
#include "motor/tuning/current_test_signal.h"
#include "motor/tuning/tests/tuning_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace tuningtest {
namespace {

constexpr char kSetupFields[] =
    "edit scdsc { }\n slider scdsc_slider { start = 0; end = 40; on change = CB2_NewScdscSliderValue }\n"
    " edit _PN_818 { }\n edit _PN_810 { }\n edit _PN_812 { }\n edit _PN_473 { }\n edit CurrentAmplitude { }\n"
    " button TakeCalculated { }\n button BT_TakeIt { }\n button Go { }";
constexpr char kShownResults[] =
    "\n label SCG { text = \"-\" }\n label SCTLG { text = \"-\" }\n label PCG { text = \"-\" }";
// The drive's values, as single floats hold them exactly.
constexpr double kMotorInertia = 0.015625;
constexpr double kTotalInertia = 0.03125;
constexpr double kSpeedDelay = 0.0009765625;
constexpr double kPositionDelay = 0.001953125;

class ControllerAdjustTest : public TuningTest {
public:
    void TearDown() override {
        TheControllerAdjustState() = ControllerAdjustState{};
        TuningTest::TearDown();
    }
    // The set-up window with its adjustment data read.
    void OpenSetup(const std::string& body = std::string(kSetupFields) + kShownResults) {
        OpenWindow(body, MakeContext(true));
        if (GwCore* take = window_->child(kTakeCalculatedName)) take->disable();
        EXPECT_EQ(CB2_NewCtrlAdjustData(window_, nullptr, GwUD()), 1);
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<std::string> Shown() { return {W("SCG")->text(), W("SCTLG")->text(), W("PCG")->text()}; }
    std::vector<std::string> Texts(const SpeedPositionSettings& s) {
        OnOffBase* base = contexts_.back()->Base.get();
        return {base->FormatDoubleValue(810, s.speedGain, false),
                base->FormatDoubleValue(812, s.speedResetTimeMs, false),
                base->FormatDoubleValue(473, s.positionGain, false)};
    }
};

TEST_F(ControllerAdjustTest, TheMotorDataAreReadInOrderUntilOneFails) {
    OpenWindow(kSetupFields, MakeContext(true));
    ClearCaptures();
    EXPECT_EQ(CB2_NewCtrlAdjustData(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20154", "R 20844", "R 20160", "R 20817", "R 20815", "R 20474"}));
    const std::optional<ControllerAdjustData>& data = TheControllerAdjustState().Data;
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->RatedPower, 4.0);
    EXPECT_EQ(data->PolePairs, 2.0);
    EXPECT_EQ(data->MotorInertia, kMotorInertia);
    EXPECT_EQ(data->TotalInertia, kTotalInertia);
    EXPECT_EQ(data->SpeedLoopDelay, kSpeedDelay);
    EXPECT_EQ(data->PositionLoopDelay, kPositionDelay);
    window_->destroy();

    // A failed read of 817: error 5, and what follows it stays 0.
    Drive().AddFault(sim::DriveFault::Nak(0x0004).For("20817"));
    OpenWindow(kSetupFields, MakeContext(true));
    ClearCaptures();
    MarkBoxes();
    EXPECT_EQ(CB2_NewCtrlAdjustData(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20154", "R 20844", "R 20160", "R 20817"}));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(data->MotorInertia, kMotorInertia);
    EXPECT_EQ(data->TotalInertia, 0.0);
    EXPECT_EQ(data->SpeedLoopDelay, 0.0);
    EXPECT_EQ(data->PositionLoopDelay, 0.0);
}

TEST_F(ControllerAdjustTest, TheSettingsFollowStiffnessFilterAndInertia) {
    const double estimated = EstimateMotorInertia(4.0, 2.0);
    struct Case {
        const char* name;
        const char* stiffness;
        const char* filter;
        float motorInertia;  // 160 on the drive
        float totalInertia;  // 817 on the drive
        double factor;       // 0: nothing shown
        double inertia;      // total inertia expected
        std::function<int(GwCore*)> call;
    } const cases[] = {
        {"stiffness 0", "0", "1", kMotorInertia, kTotalInertia, 6.0, kTotalInertia, nullptr},
        {"stiffness 40", "40", "1", kMotorInertia, kTotalInertia, 5.0, kTotalInertia, nullptr},
        {"stiffness 20, filter 4", "20", "4", kMotorInertia, kTotalInertia, 5.5, kTotalInertia, nullptr},
        {"no motor inertia", "0", "1", 0.0f, kTotalInertia, 6.0, kTotalInertia, nullptr},
        {"no total inertia", "0", "1", kMotorInertia, 0.0f, 6.0, 2 * kMotorInertia, nullptr},
        {"neither", "0", "1", 0.0f, 0.0f, 6.0, 2 * estimated, nullptr},
        {"from the filter's key",
         "40",
         "1",
         kMotorInertia,
         kTotalInertia,
         5.0,
         kTotalInertia,
         [](GwCore* w) { return CB5_NewEctfValue(w->child("_PN_818"), nullptr, GwUD()); }},
        {"empty stiffness", "", "1", kMotorInertia, kTotalInertia, 0, 0, nullptr},
        {"empty filter", "0", "", kMotorInertia, kTotalInertia, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().Find(160)->value = F(c.motorInertia);
        Drive().Table().Find(817)->value = F(c.totalInertia);
        OpenSetup();
        W("scdsc")->set_text(c.stiffness);
        W("_PN_818")->set_text(c.filter);
        if (c.call) {
            c.call(window_);
        } else {
            RecalcSpeedController(window_);
        }
        if (c.factor == 0) {
            EXPECT_EQ(Shown(), (std::vector<std::string>{"-", "-", "-"}));
            EXPECT_FALSE(W(kTakeCalculatedName)->is_enabled());
        } else {
            const double filter = std::atof(c.filter);
            const std::optional<SpeedPositionSettings> expected =
                CalcSpeedAndPositionController(c.factor, kSpeedDelay, kSpeedDelay, kPositionDelay, filter, c.inertia);
            ASSERT_TRUE(expected.has_value());
            EXPECT_EQ(Shown(), Texts(*expected));
            EXPECT_TRUE(W(kTakeCalculatedName)->is_enabled());
        }
        EXPECT_TRUE(Heard().empty());
        EXPECT_TRUE(NewBoxes().empty());
        window_->destroy();
    }
}

TEST_F(ControllerAdjustTest, AMissingFieldOrNoResultShowsNothing) {
    // Without "PCG": error 7.
    OpenSetup(std::string(kSetupFields) + "\n label SCG { }\n label SCTLG { }");
    W("scdsc")->set_text("0");
    W("_PN_818")->set_text("1");
    RecalcSpeedController(window_);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "A window or one of its elements could not be loaded!");
    window_->destroy();

    // Delays of 0 give no settings: the shown values stay.
    Drive().Table().Find(815)->value = F(0.0f);
    Drive().Table().Find(474)->value = F(0.0f);
    OpenSetup();
    W("scdsc")->set_text("0");
    W("_PN_818")->set_text("0");
    RecalcSpeedController(window_);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"-", "-", "-"}));
    EXPECT_FALSE(W(kTakeCalculatedName)->is_enabled());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ControllerAdjustTest, TheStiffnessStaysWithinTheSlider) {
    struct Case {
        const char* typed;
        const char* field;
        double slider;
    } const cases[] = {{"55", "40", 40.0}, {"-3", "0", 0.0}, {"20", "20", 20.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        OpenSetup();
        W("_PN_818")->set_text("1");
        W("scdsc")->set_text(c.typed);
        EXPECT_EQ(CB2_NewScdscValue(W("scdsc"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("scdsc")->text(), c.field);
        EXPECT_EQ(dynamic_cast<GwSlider*>(W("scdsc_slider"))->value(), c.slider);
        EXPECT_NE(W("SCG")->text(), "-");
        window_->destroy();
    }
    // The slider moved by the user writes its value into the field.
    OpenSetup();
    W("_PN_818")->set_text("1");
    EXPECT_TRUE(gwtest::MoveSlider(W("scdsc_slider"), 12.0));
    EXPECT_EQ(W("scdsc")->text(), "12");
    const std::optional<SpeedPositionSettings> expected =
        CalcSpeedAndPositionController(5.7, kSpeedDelay, kSpeedDelay, kPositionDelay, 1.0, kTotalInertia);
    EXPECT_EQ(Shown(), Texts(*expected));
}

TEST_F(ControllerAdjustTest, TheCalculatedSettingsGoIntoTheDrive) {
    OpenSetup();
    W("scdsc")->set_text("40");
    W("_PN_818")->set_text("1");
    RecalcSpeedController(window_);
    const std::vector<std::string> shown = Shown();
    EXPECT_EQ(CB2_TakeCalculatedCtrlData(W(kTakeCalculatedName), nullptr, GwUD()), 1);
    EXPECT_EQ(W("_PN_810")->text(), shown[0]);
    EXPECT_EQ(W("_PN_812")->text(), shown[1]);
    EXPECT_EQ(W("_PN_473")->text(), shown[2]);
    EXPECT_FALSE(W(kTakeCalculatedName)->is_enabled());
    std::vector<std::string> numbers;
    for (const std::string& t : Writes()) numbers.push_back(t.substr(0, t.find('=')));
    EXPECT_EQ(numbers, (std::vector<std::string>{"W 20810", "W 20812", "W 20473"}));
    const std::optional<SpeedPositionSettings> expected =
        CalcSpeedAndPositionController(5.0, kSpeedDelay, kSpeedDelay, kPositionDelay, 1.0, kTotalInertia);
    EXPECT_NEAR(DriveValue(810), expected->speedGain, 1e-3 * expected->speedGain);
    EXPECT_NEAR(DriveValue(812), expected->speedResetTimeMs, 1e-3 * expected->speedResetTimeMs);
    EXPECT_NEAR(DriveValue(473), expected->positionGain, 1e-3 * expected->positionGain);
    EXPECT_TRUE(NewBoxes().empty());
    window_->destroy();

    // Without the parameter fields: error 7 and nothing written.
    OpenSetup(std::string("button TakeCalculated { }") + kShownResults);
    EXPECT_EQ(CB2_TakeCalculatedCtrlData(W(kTakeCalculatedName), nullptr, GwUD()), 1);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "A window or one of its elements could not be loaded!");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(ControllerAdjustTest, TheAmplitudeProposalIsFourFifthsOfTheRatedCurrent) {
    Drive().Table().Find(158)->value = F(5.0f);
    OpenSetup();
    EXPECT_EQ(CB_Show2CurrentAmplitude(W("CurrentAmplitude"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("CurrentAmplitude")->text(), "4.000000");
    EXPECT_EQ(TheCurrentTestSignalState().RatedCurrent, 5.0);
    EXPECT_EQ(Heard(), std::vector<std::string>{"R 20158"});
    // A failed read: error 5, the field as it was.
    Drive().AddFault(sim::DriveFault::Nak(0x0004).For("20158"));
    W("CurrentAmplitude")->set_text("x");
    EXPECT_EQ(CB_Show2CurrentAmplitude(W("CurrentAmplitude"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("CurrentAmplitude")->text(), "x");
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

TEST_F(ControllerAdjustTest, TheRefreshDialogReadsAgainAndRecalculatesItsParent) {
    OpenSetup();
    W("scdsc")->set_text("40");
    W("_PN_818")->set_text("1");
    Define("RefreshDlg", " button Refresh { }");
    GwCore* dialog = GwRcMgr::load(window_, "RefreshDlg", 1);
    ASSERT_NE(dialog, nullptr);
    dialog->set_user_data(GwUD(static_cast<void*>(contexts_.back().get())));
    dialog->show();
    TheWindowHandler().Add(dialog, 1);
    GwRef<> dialogRef(dialog);
    Drive().Table().Find(817)->value = F(0.0625f);
    EXPECT_EQ(CB5_RefreshCtrlPara(dialog->child("Refresh"), nullptr, GwUD()), 1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20154", "R 20844", "R 20160", "R 20817", "R 20815", "R 20474"}));
    const std::optional<SpeedPositionSettings> expected =
        CalcSpeedAndPositionController(5.0, kSpeedDelay, kSpeedDelay, kPositionDelay, 1.0, 0.0625);
    EXPECT_EQ(Shown(), Texts(*expected));
    // The dialog is closed and off the window list.
    EXPECT_TRUE(dialogRef.get() == nullptr || !dialogRef->is_shown());
    EXPECT_LT(TheWindowHandler().IndexOf(dialogRef.get()), 0);
}

// A refresh dialog outliving the set-up window and its context reads nothing:
// the parameter copy the adjustment data pointed at is gone.
TEST_F(ControllerAdjustTest, TheRefreshDoesNothingOnceTheSetupContextIsGone) {
    OpenSetup();
    Define("RefreshDlg", " button Refresh { }");
    GwCore* dialog = GwRcMgr::load(mainWindow_, "RefreshDlg", 1);
    ASSERT_NE(dialog, nullptr);
    dialog->show();
    GwRef<> dialogRef(dialog);
    window_->destroy();
    window_ = nullptr;
    contexts_.back().reset();
    ClearCaptures();
    EXPECT_EQ(CB5_RefreshCtrlPara(dialog->child("Refresh"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(NewBoxes().empty());
    ASSERT_NE(dialogRef.get(), nullptr);
    dialogRef->destroy();
}

TEST_F(ControllerAdjustTest, TheTypedMotorDataGoToTheDriveBeforeTheIdentificationWindow) {
    Define(kMotorIdentWindowName, " edit _PN_155 { }");
    OpenSetup(" edit _PN_155 { }\n button Typed { }\n button BT_TakeIt { }");
    W("_PN_155")->set_text("230");
    SetWidgetChanged(W("_PN_155"), true);
    EXPECT_EQ(CB2_CallTypedMotorData(W("Typed"), nullptr, GwUD()), 1);
    EXPECT_TRUE(InOrder(Heard(), {"W 20155=" + [] {
                            char hex[16];
                            std::snprintf(hex, sizeof hex, "%X", F(230.0f));
                            return std::string(hex);
                        }()}));
    EXPECT_FALSE(window_->is_shown());
    GwCore* ident = TheWindowHandler().FindByName(kMotorIdentWindowName);
    ASSERT_NE(ident, nullptr);
    EXPECT_TRUE(ident->is_shown());
    window_->destroy();

    // Without a context the window is closed.
    OpenWindow(" button Typed { }", nullptr);
    TheWindowHandler().Add(window_, 1);
    GwRef<> ref(window_);
    EXPECT_EQ(CB2_CallTypedMotorData(W("Typed"), nullptr, GwUD()), 1);
    EXPECT_TRUE(ref.get() == nullptr || !ref->is_shown());
}

}  // namespace
}  // namespace tuningtest
