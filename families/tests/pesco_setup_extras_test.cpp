// The small functions of the Pesco setup windows on a virtual drive: the
// hand-mode button over the control mode, the characteristic viewer, the
// inertia field and its switch, the voltage-frequency window, the start-up
// current and the field-control page.
#include "families/pesco_setup_extras.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/pesco_setup_context.h"
#include "platform/system/program_start.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kInertia = 160;
constexpr int kLoadInertia = 817;

constexpr char kWindows[] =
    "dialogframe 5_AOC_1 { rect = 0, 0, 200, 200 }\n"
    "dialogframe VfcWin { rect = 0, 0, 200, 200 }\n"
    "dialogframe VfcWin_VFCON { rect = 0, 0, 200, 200 }\n";

constexpr char kBody[] =
    "button Hand { }\n edit _PN_160 { }\n label InertiaNote { }\n toggle yes { }\n toggle no { }\n"
    " edit Startup { }\n container TAB_FieldControl { }";

class PescoExtrasTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        // A signed control mode, so that a mode below 0 can be read.
        sim::DriveParameter* mode = table.PutFullRange(kRunModeParameter, "MODE", "INT16", 12);
        mode->minimum = static_cast<uint32_t>(-100);
        mode->maximum = 100;
        sim::DriveParameter* control = table.PutFullRange(kControlModeTextParameter, "CTRL", "USIGN8", 0);
        control->flags |= sim::kFlagValueTexts;
        control->value_texts = {{0, "SPEED"}, {1, "VFCON"}};
        control->maximum = 1;
        table.PutFullRange(kInertia, "INERT", "USIGN16", 5)->maximum = 1000;
        table.PutFullRange(kLoadInertia, "LINRT", "USIGN16", 0)->maximum = 1000;
        table.PutFullRange(kStartupCurrentBase, "NCURR", "USIGN16", 10)->maximum = 1000;
        table.PutFullRange(kStartupCurrentPercent, "SCURR", "USIGN16", 150)->maximum = 1000;
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        ASSERT_TRUE(GwRcMgr::use_text(kWindows, "extras.cgw"));
    }
    void TearDown() override {
        pesco_.reset();
        DeviceWindowTest::TearDown();
    }
    // The setup window on a Pesco context of the active drive.
    void OpenPesco(bool online = true) {
        pesco_ = std::make_unique<PescoSetupContext>(nullptr, *main_->ActiveParaBase(), online);
        OpenWindow(kBody, pesco_.get());
        ClearCaptures();
        MarkBoxes();
    }
    void SetDrive(int number, int32_t value) { Drive().Table().Find(number)->value = static_cast<uint32_t>(value); }
    GwToggle* Toggle(const char* name) { return dynamic_cast<GwToggle*>(W(name)); }
    static GwCore* Listed(const char* name) { return TheWindowHandler().FindByName(name); }

    std::unique_ptr<PescoSetupContext> pesco_;
};

TEST_F(PescoExtrasTest, HandModeOpensTheWindowOfTheControlMode) {
    struct Case {
        const char* what;
        int32_t mode;
        int note;  // the risk note's answer, 0: not asked
        const char* noteOwner;
        int result;
        bool aoc;  // "5_AOC_1" listed afterwards
    };
    const Case cases[] = {
        {"mode 12 confirmed", 12, kRiskNoteConfirmed, "DevWin", 1, true},
        {"mode 20 confirmed", 20, kRiskNoteConfirmed, "DevWin", 1, true},
        {"mode 12 declined", 12, 2, "DevWin", 1, false},
        // The generic manual control asks its own note over the main window.
        {"mode 11", 11, 2, "MainWindow", 1, false},
        {"mode 24 beyond the table", 24, 0, "", 0, false},
        {"mode below 0", -1, 0, "", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetDrive(kRunModeParameter, c.mode);
        OpenPesco();
        std::string noteOwner;
        if (c.note != 0) {
            gwtest::ScriptModal(
                kRiskNoteManualMode,
                [&noteOwner](GwCore* note) { noteOwner = note->parent() != nullptr ? note->parent()->name() : "-"; },
                c.note);
        }
        EXPECT_EQ(CB5_CallHandMode(W("Hand"), nullptr, GwUD()), c.result);
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        EXPECT_EQ(noteOwner, c.noteOwner);
        GwCore* aoc = Listed("5_AOC_1");
        EXPECT_EQ(aoc != nullptr, c.aoc);
        EXPECT_EQ(Listed("DeviceControl"), nullptr);
        EXPECT_TRUE(NewBoxes().empty());
        if (aoc != nullptr) {
            EXPECT_EQ(aoc->user_data().pointer_as<PescoSetupContext>(), pesco_.get());
            // Pressed again, the listed window gets the focus without a note.
            W("Hand")->set_focus();
            EXPECT_EQ(CB5_CallHandMode(W("Hand"), nullptr, GwUD()), 1);
            EXPECT_TRUE(aoc->has_focus() || GwCore::focus_widget() == aoc->first_control());
            EXPECT_EQ(Listed("5_AOC_1"), aoc);
            TheWindowHandler().Close(aoc);
        }
        window_->destroy();
    }
}

TEST_F(PescoExtrasTest, HandModeWithoutModeOrContext) {
    SetDrive(kRunModeParameter, 12);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20151").Times(sim::kForever));
    OpenPesco();
    EXPECT_EQ(CB5_CallHandMode(W("Hand"), nullptr, GwUD()), 0);
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Device access error");
    EXPECT_EQ(boxes[0].parent, "MainWindow.DevWin");
    EXPECT_EQ(Listed("5_AOC_1"), nullptr);

    GwCore* bare = OpenWindow(kBody, nullptr);
    EXPECT_EQ(CB5_CallHandMode(W("Hand"), nullptr, GwUD()), 1);
    EXPECT_FALSE(GwRcMgr::is_valid_child(bare));
}

TEST_F(PescoExtrasTest, CharacteristicViewerStartsWithoutWaiting) {
    MarkBoxes();
    EXPECT_EQ(CB_ShowCalcCharacteristic(nullptr, nullptr, GwUD()), 1);
    const platform::ProgramStart start{"Quenta.exe", {"Quenta.exe", "..\\TMP\\CalcFlux-Torque.dat"}, false};
    EXPECT_EQ(platform::RecordedProgramStarts(), std::vector<platform::ProgramStart>{start});
    EXPECT_TRUE(NewBoxes().empty());

    platform::SetProgramStartHandler([](const platform::ProgramStart&) { return -1; });
    MarkBoxes();
    CB_ShowCalcCharacteristic(nullptr, nullptr, GwUD());
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, "error");
    EXPECT_EQ(boxes[0].text, "Error while calling external process Quenta.exe");
    // Asked for without a parent; the box service puts it over the main
    // window.
    EXPECT_EQ(boxes[0].parent, "MainWindow");
}

TEST_F(PescoExtrasTest, InertiaFieldFollowsItsValue) {
    struct Case {
        int32_t value;
        bool field;  // the field and its partner: exactly one is shown
        bool yes;
    };
    for (const Case c : {Case{0, false, false}, Case{5, true, true}}) {
        SCOPED_TRACE(c.value);
        SetDrive(kInertia, c.value);
        OpenPesco();
        // Start from the opposite state.
        Toggle("yes")->set_checked(!c.yes);
        Toggle("no")->set_checked(c.yes);
        W("InertiaNote")->set_considered(c.field);
        EXPECT_EQ(CB5_ShowInertia(W("_PN_160"), nullptr, GwUD("InertiaNote")), 1);
        EXPECT_EQ(W("_PN_160")->is_shown(), c.field);
        EXPECT_EQ(W("InertiaNote")->is_shown(), !c.field);
        EXPECT_EQ(Toggle("yes")->is_checked(), c.yes);
        EXPECT_EQ(Toggle("no")->is_checked(), !c.yes);
        window_->destroy();
    }
    // An unbound widget is left alone.
    OpenPesco();
    Toggle("yes")->set_checked(false);
    CB5_ShowInertia(W("Startup"), nullptr, GwUD("InertiaNote"));
    EXPECT_FALSE(Toggle("yes")->is_checked());
}

TEST_F(PescoExtrasTest, InertiaSwitchActsOnlyWhileItsToggleIsOn) {
    SetDrive(kInertia, 5);
    OpenPesco();
    W("_PN_160")->set_text("5");
    W("InertiaNote")->hide();

    // "no" off: nothing happens.
    Toggle("no")->set_checked(false);
    EXPECT_EQ(CB5_ValHideInertia(W("no"), nullptr, GwUD("_PN_160 InertiaNote")), 1);
    EXPECT_EQ(W("_PN_160")->text(), "5");
    EXPECT_TRUE(W("_PN_160")->is_shown());
    EXPECT_TRUE(Heard().empty());

    // "no" on: the field becomes 0, written to its parameter, and hides.
    Toggle("no")->set_checked(true);
    CB5_ValHideInertia(W("no"), nullptr, GwUD("_PN_160 InertiaNote"));
    EXPECT_EQ(W("_PN_160")->text(), "0");
    EXPECT_FALSE(W("_PN_160")->is_shown());
    EXPECT_TRUE(W("InertiaNote")->is_shown());
    EXPECT_EQ(Drive().Table().Find(kInertia)->value, 0u);
    bool written = false;
    for (const std::string& heard : Heard()) written = written || heard.rfind("W 20160", 0) == 0;
    EXPECT_TRUE(written);

    // "yes" on shows the field again and hides its partner; off, nothing.
    Toggle("yes")->set_checked(false);
    CB5_ValShowInertia(W("yes"), nullptr, GwUD("_PN_160 InertiaNote"));
    EXPECT_FALSE(W("_PN_160")->is_shown());
    Toggle("yes")->set_checked(true);
    EXPECT_EQ(CB5_ValShowInertia(W("yes"), nullptr, GwUD("_PN_160 InertiaNote")), 1);
    EXPECT_TRUE(W("_PN_160")->is_shown());
    EXPECT_FALSE(W("InertiaNote")->is_shown());
    // An empty name list does nothing.
    CB5_ValHideInertia(W("no"), nullptr, GwUD(""));
    EXPECT_TRUE(W("_PN_160")->is_shown());
}

TEST_F(PescoExtrasTest, VfcControlModeOpensItsOwnWindow) {
    for (auto [mode, opened] : {std::pair{1, "VfcWin_VFCON"}, std::pair{0, "VfcWin"}}) {
        SCOPED_TRACE(opened);
        SetDrive(kControlModeTextParameter, mode);
        OpenPesco();
        EXPECT_EQ(CB5_CallVfcDeviceWindow(W("Hand"), nullptr, GwUD("VfcWin")), 1);
        EXPECT_NE(Listed(opened), nullptr);
        EXPECT_EQ(Listed(mode == 1 ? "VfcWin" : "VfcWin_VFCON"), nullptr);
        EXPECT_EQ(Heard(), std::vector<std::string>{"R 20300"});
        TheWindowHandler().Close(Listed(opened));
        window_->destroy();
    }
}

TEST_F(PescoExtrasTest, StartupCurrentIsTheProductOfItsFactors) {
    OpenPesco();
    EXPECT_EQ(Pesco5_ShowCalcStartupCurrent(W("Startup"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("Startup")->text(), "15");
    // A failed read counts as 0 and is not reported.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20603").Times(sim::kForever));
    Pesco5_ShowCalcStartupCurrent(W("Startup"), nullptr, GwUD());
    EXPECT_EQ(W("Startup")->text(), "0");
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(PescoExtrasTest, FieldControlPageForAsynchronousMotorsOfKindsFiveAndSix) {
    struct Case {
        uint16_t typeNumber;
        int32_t motorKind;
        bool considered;
    };
    const Case cases[] = {
        {5120, 0, true},
        {1120, 0, true},
        {5120, 1, false},
        {2120, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeNumber);
        SetDrive(kFieldControlMotorKindParameter, c.motorKind);
        OpenPesco();
        ASSERT_EQ(pesco_->Base->SetValueU16(91, c.typeNumber), 0);
        W("TAB_FieldControl")->set_considered(!c.considered);
        EXPECT_EQ(CB_ShowFieldContol(W("Hand"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("TAB_FieldControl")->is_shown(), c.considered);
        window_->destroy();
    }
    // A failed refresh of 153 leaves the page as it was.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20153").Times(sim::kForever));
    for (bool shown : {false, true}) {
        OpenPesco();
        pesco_->Base->SetValueU16(91, 5120);
        W("TAB_FieldControl")->set_considered(shown);
        CB_ShowFieldContol(W("Hand"), nullptr, GwUD());
        EXPECT_EQ(W("TAB_FieldControl")->is_shown(), shown);
        window_->destroy();
    }
}

TEST_F(PescoExtrasTest, ShippedMotorDataWindow) {
    static const GwFuncDesc kExtras[] = {
        {"CB5_ShowInertia", CB5_ShowInertia},
        {"CB5_ValShowInertia", CB5_ValShowInertia},
        {"CB5_ValHideInertia", CB5_ValHideInertia},
        {"Pesco5_ShowCalcStartupCurrent", Pesco5_ShowCalcStartupCurrent},
        {"CB_ShowCalcCharacteristic", CB_ShowCalcCharacteristic},
        {"CB_ShowFieldContol", CB_ShowFieldContol},
        {nullptr, nullptr},
    };
    GwRcMgr::use_func_desc(kExtras);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/pesco.cgw").c_str()));
    SetDrive(kLoadInertia, 0);
    pesco_ = std::make_unique<PescoSetupContext>(nullptr, *main_->ActiveParaBase(), true);
    ASSERT_EQ(pesco_->Base->SetValueU16(91, 5120), 0);
    GwCore* window = GwRcMgr::load(mainWindow_, "5_MotorData", 1);
    ASSERT_NE(window, nullptr);
    window_ = window;
    window->set_user_data(GwUD(static_cast<void*>(pesco_.get())));
    window->show();
    EXPECT_EQ(W("StartupCurrent")->text(), "15");
    EXPECT_FALSE(W("_PN_817")->is_shown());
    EXPECT_TRUE(W("InertiaZero")->is_shown());
    EXPECT_TRUE(Toggle("no")->is_checked());
    EXPECT_TRUE(W("TAB_FieldControl")->is_visible());

    // "yes" brings the field back to enter a value (its check runs once, as
    // the window is made, so showing it does not hide it again); "no"
    // writes 0 and hides it.
    ASSERT_TRUE(gwtest::Click(W("yes")));
    EXPECT_TRUE(W("_PN_817")->is_shown());
    EXPECT_FALSE(W("InertiaZero")->is_shown());
    SetDrive(kLoadInertia, 9);
    ASSERT_TRUE(gwtest::Click(W("no")));
    EXPECT_FALSE(W("_PN_817")->is_shown());
    EXPECT_EQ(Drive().Table().Find(kLoadInertia)->value, 0u);

    ASSERT_TRUE(gwtest::Click(W("Characteristic")));
    EXPECT_EQ(platform::RecordedProgramStarts().size(), 1u);
}

}  // namespace
}  // namespace devicewintest
