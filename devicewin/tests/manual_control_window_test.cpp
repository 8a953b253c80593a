// The manual control window "DeviceControl" over a Marlo panel on a virtual
// drive: its set-up from the panel's limits, the typed and slid reference,
// the key and actual-value timers, and every way the window goes away.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/device_control.h"
#include "devicewin/device_window.h"
#include "devicewin/manual_control_window.h"
#include "devicewin/tests/device_control_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

using maintest::FloatBits;

constexpr char kWindow[] = "DeviceControl";

const GwFuncDesc kShellEntries[] = {
    {"CB_CloseDeviceWindow", CB_CloseDeviceWindow},
    {"CB_CallDeviceControl", CB_CallDeviceControl},
    {nullptr, nullptr},
};

// "W 20284=<float bits>" as the capture writes a reference.
std::string ReferenceWrite(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "W 20284=%X", static_cast<unsigned>(FloatBits(value)));
    return text;
}

// A Marlo drive with the limits -1600 .. 1600, named control types and a
// reference of 0, ready to start (state 2).
class ManualControlTest : public DeviceControlTest {
public:
    ManualControlTest() { typeNumber_ = 3102; }
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = MarloTable(typeNumber_);
        sim::DriveParameter* types = table.Find(300);
        types->flags |= sim::kFlagValueTexts;
        types->maximum = 2;
        types->value_texts = {{0, "Frequency"}, {1, "Speed"}, {2, "Torque"}};
        for (int n : {303, 306}) table.Find(n)->value = FloatBits(1600.0f);
        table.Find(kState)->value = 2u << 12;
        return table;
    }
    void SetUp() override {
        DeviceControlTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(kShellEntries), 0);
        SetUserLevel(5);
    }
    void TearDown() override {
        TheWindowHandler().CloseAll();
        DeviceControlTest::TearDown();
    }
    // The listed window after the main window's command; null when none.
    GwCore* Open() {
        CB_CallDeviceControl(nullptr, nullptr, GwUD());
        return TheWindowHandler().FindByName(kWindow);
    }
    GwCore* Key(const char* name) { return gwtest::Find(std::string(kWindow) + "/" + name); }
    GwSlider* Slider(const char* name) { return dynamic_cast<GwSlider*>(Key(name)); }
    GwEdit* RefVal() { return dynamic_cast<GwEdit*>(Key("RefVal")); }
    // The writes of a parameter the drive heard since the capture was cleared.
    std::vector<std::string> WritesOf(int number) {
        std::vector<std::string> found;
        const std::string code = "W " + std::to_string(20000 + number) + "=";
        for (const std::string& t : Heard()) {
            if (t.rfind(code, 0) == 0) found.push_back(t);
        }
        return found;
    }
    bool Listed() { return TheWindowHandler().FindByName(kWindow) != nullptr; }
};

TEST_F(ManualControlTest, OpensOnThePanelsLimitsSendsTheStartReferenceAndStartsBothTimers) {
    GwCore* window = Open();
    ASSERT_NE(window, nullptr);
    ManualControlState& state = TheManualControlState();
    ASSERT_NE(state.Panel, nullptr);
    EXPECT_EQ(window->user_data().pointer(), state.Panel);
    EXPECT_EQ(state.Panel->Window.get(), window);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(window));

    auto* list = dynamic_cast<GwMultiList*>(Key("CtrlType"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->row_text(0), "Frequency");
    EXPECT_EQ(list->row_text(2), "Torque");
    EXPECT_EQ(list->first_selected(), 0);
    GwSlider* slider = Slider("RefValSlider");
    EXPECT_EQ(slider->start(), -1600.0);
    EXPECT_EQ(slider->end(), 1600.0);
    EXPECT_EQ(slider->increment(), 1600.0);
    EXPECT_EQ(slider->value(), 0.0);
    GwSlider* gauge = Slider("ActVal");
    EXPECT_EQ(gauge->start(), 0.0);
    EXPECT_EQ(gauge->end(), 1600.0);
    EXPECT_EQ(gwtest::Text("DeviceControl/ActValUnit"), "Hz");
    EXPECT_EQ(RefVal()->suffix(), "Hz");
    EXPECT_EQ(RefVal()->text(), "0");
    // The start reference is the last thing written at the opening.
    EXPECT_EQ(Writes().back(), "20284=0");
    EXPECT_EQ(window->timer_interval(), 500u);
    EXPECT_EQ(gauge->timer_interval(), 500u);
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_TRUE(gauge->is_timer_running());
}

TEST_F(ManualControlTest, AWindowWithoutItsReferenceFieldShowsMessage22) {
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe BrokenControl {\n on create = CTRL_CreateControl\n"
                          " button Start { }\n button Stop { }\n button Reverse { }\n button Halt { }\n"
                          " button ErrorReset { }\n list CtrlType { }\n slider RefValSlider { }\n}\n",
                          "broken.cgw"));
    GwCore* window = GwRcMgr::load(mainWindow_, "BrokenControl", 1);
    ASSERT_NE(window, nullptr);
    MarkBoxes();
    window->show();
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "The window is incomplete: one of its elements is missing!");
    EXPECT_EQ(NewBoxes()[0].parent, window->identifier());
    // The lookup stops at the first missing one.
    EXPECT_NE(TheManualControlState().CtrlType.get(), nullptr);
    EXPECT_EQ(TheManualControlState().RefValSlider.get(), nullptr);
    window->destroy();
}

// The slider's limits from the panel's: a minimum that is a whole multiple
// or part of 685 pulls both towards zero by a unit of its fourth digit.
TEST_F(ManualControlTest, SliderLimitsFollowTheControlTypesLimits) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        float limit;
        double start, end;
    } cases[] = {
        {1600.0f, -1600.0, 1600.0},
        {685.0f, -684.9, 684.9},
        {1370.0f, -1369.0, 1369.0},
        {68.5f, -68.49, 68.49},
        {123.456f, -123.5, 123.5},
    };
    for (const Case& c : cases) {
        SetFloat(303, c.limit);
        SetFloat(306, c.limit);
        Drive().ClearCapture();
        ASSERT_TRUE(gwtest::Select("DeviceControl/CtrlType", 1));
        EXPECT_EQ(WritesOf(300), (std::vector<std::string>{"W 20300=1"})) << c.limit;
        EXPECT_EQ(dynamic_cast<GwMultiList*>(Key("CtrlType"))->first_selected(), 1);
        GwSlider* slider = Slider("RefValSlider");
        EXPECT_NEAR(slider->start(), c.start, 1e-9) << c.limit;
        EXPECT_NEAR(slider->end(), c.end, 1e-9) << c.limit;
        EXPECT_NEAR(slider->increment(), c.end, 1e-9) << c.limit;
        EXPECT_FLOAT_EQ(static_cast<float>(Slider("ActVal")->end()), c.limit);
        EXPECT_EQ(WritesOf(284), (std::vector<std::string>{"W 20284=0"}));
    }
}

TEST_F(ManualControlTest, TheTypedReferenceIsTakenOnlyAsAWholeNumberWithinTheLimits) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        const char* typed;
        std::vector<std::string> writes;
        const char* shown;
        double slider;
    } cases[] = {
        {"2000", {ReferenceWrite(1600.0f)}, "1600", 1600.0},
        {"-50,5", {ReferenceWrite(-50.5f)}, "-50.5", -50.5},
        {"-3000", {ReferenceWrite(-1600.0f)}, "-1600", -1600.0},
        {"12.3456", {ReferenceWrite(12.3456f)}, "12.35", 12.35},
        // Not a number: nothing is sent and the drive's reference is shown.
        {"15OO", {}, "12.35", 12.35},
        {"1.5.0", {}, "12.35", 12.35},
        {"", {}, "", 12.35},
    };
    for (const Case& c : cases) {
        Drive().ClearCapture();
        ASSERT_TRUE(gwtest::Replace("DeviceControl/RefVal", c.typed));
        ASSERT_TRUE(gwtest::LeaveField("DeviceControl/RefVal"));
        EXPECT_EQ(WritesOf(284), c.writes) << c.typed;
        EXPECT_EQ(RefVal()->text(), c.shown) << c.typed;
        EXPECT_NEAR(Slider("RefValSlider")->value(), c.slider, 1e-4) << c.typed;
    }
}

TEST_F(ManualControlTest, AtMostThreeSliderMovesReachTheDrivePerKeyTick) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_EQ(TheManualControlState().SliderEvents % 3, 0);
    // Before the first key tick the slider sends nothing.
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::MoveSlider("DeviceControl/RefValSlider", 50.0));
    EXPECT_TRUE(WritesOf(284).empty());
    gwtest::Advance(500);
    Drive().ClearCapture();
    for (double value : {100.0, 200.0, 300.0, 400.0}) {
        ASSERT_TRUE(gwtest::MoveSlider("DeviceControl/RefValSlider", value));
    }
    EXPECT_EQ(WritesOf(284),
              (std::vector<std::string>{ReferenceWrite(100.0f), ReferenceWrite(200.0f), ReferenceWrite(300.0f)}));
    EXPECT_EQ(RefVal()->text(), "300");
    EXPECT_TRUE(RefVal()->has_focus());
    // The unthrottled event always sends.
    Drive().ClearCapture();
    gwtest::Fire("DeviceControl/RefValSlider", "mouse");
    EXPECT_EQ(WritesOf(284), (std::vector<std::string>{ReferenceWrite(400.0f)}));
    // The next key tick lets slider events through again.
    gwtest::Advance(1000);
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::MoveSlider("DeviceControl/RefValSlider", -123.456));
    EXPECT_EQ(WritesOf(284), (std::vector<std::string>{ReferenceWrite(-123.5f)}));
}

TEST_F(ManualControlTest, TheKeyTickSetsEachKeyByTheDeviceStateAndTouchesNoneThatMatches) {
    GwCore* window = Open();
    ASSERT_NE(window, nullptr);
    struct Case {
        uint32_t state;
        bool start, stop, reverse, halt, ctrlType;
    } cases[] = {
        {2, true, false, false, false, true},
        {4, false, true, true, true, false},
        {3, false, true, false, false, false},
        {12, false, true, false, false, false},
        {14, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        SetState(c.state);
        gwtest::Advance(1000);
        EXPECT_EQ(gwtest::IsEnabled("DeviceControl/Start"), c.start) << c.state;
        EXPECT_EQ(gwtest::IsEnabled("DeviceControl/Stop"), c.stop) << c.state;
        EXPECT_EQ(gwtest::IsEnabled("DeviceControl/Reverse"), c.reverse) << c.state;
        EXPECT_EQ(gwtest::IsEnabled("DeviceControl/Halt"), c.halt) << c.state;
        EXPECT_EQ(gwtest::IsEnabled("DeviceControl/CtrlType"), c.ctrlType) << c.state;
        EXPECT_FALSE(gwtest::IsEnabled("DeviceControl/ErrorReset")) << c.state;
        EXPECT_EQ(window->timer_interval(), 1000u);
    }
    // A tick in the same state changes no key.
    const size_t before = gwtest::Effects("enable").size();
    gwtest::Advance(1000);
    EXPECT_EQ(gwtest::Effects("enable").size(), before);
}

class ManualControlFastLineTest : public ManualControlTest {
public:
    ManualControlFastLineTest() { baud_ = 19200; }
};

TEST_F(ManualControlFastLineTest, BothTimersTickEveryHalfSecondFrom19200Baud) {
    GwCore* window = Open();
    ASSERT_NE(window, nullptr);
    gwtest::Advance(500);
    EXPECT_EQ(window->timer_interval(), 500u);
    EXPECT_EQ(Slider("ActVal")->timer_interval(), 500u);
}

TEST_F(ManualControlTest, TheActualValueShowsAbsoluteAndRoundedToFourDigits) {
    ASSERT_NE(Open(), nullptr);
    SetFloat(400, -1234.56f);
    gwtest::Advance(500);
    EXPECT_EQ(Slider("ActVal")->value(), 1235.0);
    EXPECT_EQ(Slider("ActVal")->timer_interval(), 1000u);
    SetFloat(400, 12.3441f);
    gwtest::Advance(1000);
    EXPECT_NEAR(Slider("ActVal")->value(), 12.34, 1e-9);
}

TEST_F(ManualControlTest, ReverseShowsTheNewReferenceUnrounded) {
    ASSERT_NE(Open(), nullptr);
    SetFloat(284, 12.3456f);
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::Click("DeviceControl/Reverse"));
    EXPECT_EQ(WritesOf(284), (std::vector<std::string>{ReferenceWrite(-12.3456f)}));
    EXPECT_EQ(RefVal()->text(), "-12.3456");
    EXPECT_NEAR(Slider("RefValSlider")->value(), -12.3456, 1e-6);
}

TEST_F(ManualControlTest, StartSendsTheTypedReferenceFirst) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(gwtest::Replace("DeviceControl/RefVal", "250"));
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::Click("DeviceControl/Start"));
    const std::vector<std::string> heard = Heard();
    auto reference = std::find(heard.begin(), heard.end(), ReferenceWrite(250.0f));
    auto start = std::find(heard.begin(), heard.end(), "W 20551=15");
    ASSERT_NE(reference, heard.end());
    ASSERT_NE(start, heard.end());
    EXPECT_LT(reference, start);
    // Stop and Halt reach the drive as the panel does them.
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::Click("DeviceControl/Stop"));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"20551=0"}));
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::Click("DeviceControl/Halt"));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"20551=5", "20284=0"}));
}

// Every way the window goes away destroys it and ends the panel once: the
// drive is handed back (84 := 0.0 and the handshake of 80) and the lock is
// free.
TEST_F(ManualControlTest, EveryWayOutEndsThePanelOnce) {
    struct Case {
        const char* way;
        uint32_t stateAtEnd;  // the drive's state when the window goes
        std::vector<std::string> boxes;
    } cases[] = {
        {"close button", 2, {"The drive is still enabled. It is stopped now!"}},
        {"close request", 14, {}},
        {"error state", 9, {"The drive has entered its error state and is stopped!"}},
        {"window list", 2, {"The drive is still enabled. It is stopped now!"}},
    };
    for (const Case& c : cases) {
        SetState(2);
        GwCore* window = Open();
        ASSERT_NE(window, nullptr) << c.way;
        GwRef<> ref(window);
        gwtest::Advance(500);
        SetState(c.stateAtEnd);
        Drive().ClearCapture();
        MarkBoxes();
        const std::string way = c.way;
        if (way == "close button") {
            ASSERT_TRUE(gwtest::Click("DeviceControl/Close"));
        } else if (way == "close request") {
            // A tick in that state first: no key is usable at the end.
            gwtest::Advance(1000);
            Drive().ClearCapture();
            TheManualControlState().Panel->CloseRequest = true;
            gwtest::Advance(1000);
        } else if (way == "error state") {
            gwtest::Advance(1000);
        } else {
            TheWindowHandler().CloseAll();
        }
        EXPECT_EQ(ref.get(), nullptr) << c.way;
        EXPECT_FALSE(Listed()) << c.way;
        EXPECT_EQ(TheManualControlState().Panel, nullptr) << c.way;
        EXPECT_FALSE(TheParaWriteLock().IsHeld()) << c.way;
        EXPECT_EQ(WritesOf(84), (std::vector<std::string>{"W 20084=0"})) << c.way;
        EXPECT_EQ(WritesOf(80), (std::vector<std::string>{"W 20080=FFFFFFFF", "W 20080=FFFFFFFE"})) << c.way;
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.text);
        EXPECT_EQ(texts, c.boxes) << c.way;
        // Nothing ticks on.
        Drive().ClearCapture();
        gwtest::Advance(3000);
        EXPECT_TRUE(Heard().empty()) << c.way;
    }
}

TEST_F(ManualControlTest, AWindowDestroyedBeforeItWasShownStillEndsItsPanel) {
    auto panel = std::make_unique<Marlo_Control>();
    ASSERT_TRUE(panel->Opened);
    GwCore* window = GwRcMgr::load(mainWindow_, kWindow, 1);
    ASSERT_NE(window, nullptr);
    window->set_user_data(GwUD(static_cast<void*>(panel.release())));
    Drive().ClearCapture();
    window->destroy();
    EXPECT_EQ(WritesOf(84), (std::vector<std::string>{"W 20084=0"}));
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(ManualControlTest, TheErrorStateStopsTheDriveBeforeTheWindowGoes) {
    ASSERT_NE(Open(), nullptr);
    gwtest::Advance(500);
    SetState(9);
    Drive().ClearCapture();
    gwtest::Advance(1000);
    const std::vector<std::string> writes = Writes();
    ASSERT_GE(writes.size(), 3u);
    // The tick's stop, then the shut-down's.
    EXPECT_EQ(writes[0], "20551=0");
    EXPECT_EQ(writes[1], "20551=0");
    EXPECT_EQ(writes[2], "20084=0");
}

// The main window's command.
TEST_F(ManualControlTest, CallDeviceControlRaisesAListedWindowAndRefusesWhatItMust) {
    GwCore* window = Open();
    ASSERT_NE(window, nullptr);
    DeviceControl* panel = TheManualControlState().Panel;
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(TheManualControlState().Panel, panel);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(NewBoxes().empty());
    TheWindowHandler().CloseAll();
    ASSERT_FALSE(Listed());

    // At user level 4 the risk note asks first; a refusal makes nothing.
    SetUserLevel(4);
    gwtest::AnswerModal(2, "RiskNote_ManualMode");
    Drive().ClearCapture();
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);

    // A running drive: info 30 and nothing written.
    SetUserLevel(5);
    SetState(3);
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "The active device is running. Manual control cannot be started!");

    // Another owner of the write lock: error 140 and no window.
    SetState(2);
    ASSERT_TRUE(TheParaWriteLock().Acquire(5));
    MarkBoxes();
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(BoxSays(NewBoxes(), "The parameters are locked by another window"));
    EXPECT_TRUE(TheParaWriteLock().Release(5));
}

class ManualControlZovTest : public ManualControlTest {
public:
    ManualControlZovTest() { typeNumber_ = 9102; }
};

TEST_F(ManualControlZovTest, AZovDriveHasNoManualControl) {
    ASSERT_EQ(GetMain()->GetActiveDeviceFamily(), 8);
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "No manual control is available for this device family!");
}

}  // namespace
}  // namespace devicewintest
