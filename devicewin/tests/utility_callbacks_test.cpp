// The device-window utility callbacks: a write that waits for the device on
// the virtual clock (against a drive whose value changes by itself), the
// device-busy guard and the timer guard, the oscilloscope channels, and the
// small callbacks.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/scope_channels.h"
#include "devicewin/set_para_wait.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/utility_callbacks.h"
#include "devicewin/widget_changes.h"
#include "platform/system/clock.h"
#include "platform/system/program_start.h"
#include "scope/recorder/scope_recorder.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

int& Shows() {
    static int shows = 0;
    return shows;
}
int CountShow(GwCore*, GwEvent*, GwUD) { return ++Shows(), 1; }
const GwFuncDesc kShowCounter[] = {{"CountShow", CountShow}, {nullptr, nullptr}};

// The calling button sits in a container whose shows are counted, beside an
// edit bound to a parameter the refresh reads.
constexpr char kWaitWindow[] =
    "formatedit Speed_PN_12 { }\n"
    "button BT_TakeIt { }\n"
    "container Box { on show = CountShow\n"
    "  button Go { aux_text = \"Busy;Timed out;Done\" }\n"
    "  label Pos_PN_14 { } }\n";

class SetParaWaitTest : public DeviceWindowTest {
public:
    void SetUp() override {
        DeviceWindowTest::SetUp();
        Shows() = 0;
        GwRcMgr::use_func_desc(kShowCounter);
    }
    TestContext* Open(const char* body = kWaitWindow) {
        TestContext* context = MakeContext(true);
        OpenWindow(body, context);
        Drive().ClearCapture();
        MarkBoxes();
        Shows() = 0;
        return context;
    }
    // The telegrams heard with their times in ms after `start_us`.
    std::vector<std::pair<std::string, uint64_t>> Timed(uint64_t startUs) {
        std::vector<std::pair<std::string, uint64_t>> out;
        for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
            out.push_back({t.text, (t.time_us - startUs) / 1000});
        }
        return out;
    }
    size_t Count(const std::string& text) {
        size_t n = 0;
        for (const std::string& t : Heard()) n += t == text;
        return n;
    }
};

TEST_F(SetParaWaitTest, AWriteWithoutWaitWritesOnlyThat) {
    Open();
    EXPECT_EQ(CB_SetParaWait(W("Go"), nullptr, GwUD("550 1")), 1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"W 20550=1"}));
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(Shows(), 0);
}

TEST_F(SetParaWaitTest, WaitsUntilTheDriveReachesTheTarget) {
    Open();
    SetWidgetChanged(W("Speed_PN_12"), true);
    W("Speed_PN_12")->set_text("9");
    const uint64_t start = platform::TheClock().NowUs();
    Drive().Table().ScheduleValue(kCommand, 3, start + 700000);
    std::string activity;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord&) { activity = ActivityWindowOpen ? "open" : "closed"; });
    EXPECT_EQ(CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT GE 3 5000 1")), 1);

    const auto timed = Timed(start);
    ASSERT_GE(timed.size(), 5u);
    EXPECT_EQ(timed[0].first, "W 20012=9");
    EXPECT_EQ(timed[1].first, "W 20550=1");
    // Reads about every 300 ms (the wait, then the exchange itself) until
    // one sees 3, at the third.
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(timed[i].first, "R 20550");
        const uint64_t gap = timed[i].second - timed[i - 1].second;
        EXPECT_GE(gap, 300u) << i;
        EXPECT_LT(gap, 360u) << i;
    }
    EXPECT_EQ(Count("R 20550"), 3u);
    // Then the refresh of the window, the bound label included.
    EXPECT_EQ(Count("R 20014"), 1u);
    EXPECT_EQ(Shows(), 1);
    EXPECT_FALSE(W("BT_TakeIt")->is_enabled());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "info");
    EXPECT_EQ(NewBoxes()[0].text, "Done");
    EXPECT_EQ(activity, "closed");
    EXPECT_FALSE(ActivityWindowOpen);
}

TEST_F(SetParaWaitTest, ADriveThatStaysBelowTimesOut) {
    Open();
    const uint32_t start = platform::GetTickCount();
    std::string activity;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord&) { activity = ActivityWindowOpen ? "open" : "closed"; });
    CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT GE 3 5000 1"));
    // The time-out, one more poll, and the activity window's closing wait.
    EXPECT_GE(platform::GetTickCount() - start, 5000u);
    EXPECT_LT(platform::GetTickCount() - start, 5400u + kActivityCloseWaitMs);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "Timed out");
    EXPECT_EQ(activity, "open");
    EXPECT_EQ(Shows(), 0);
    EXPECT_EQ(Count("R 20014"), 0u);
    EXPECT_FALSE(ActivityWindowOpen);
}

TEST_F(SetParaWaitTest, TheKindsCompareWithTheTarget) {
    struct Case {
        const char* kind;
        int target;
        bool reached;  // the drive holds 1 throughout
    };
    const Case cases[] = {
        {"LE", 1, true},
        {"LE", 0, false},
        {"GE", 1, true},
        {"GE", 2, false},
        {"D", 2, true},
        {"D", 1, false},
        {"EQ", 1, true},
        {"XY", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.target));
        Open();
        gwtest::AnswerBox(GwRESULT_OK);
        CB_SetParaWait(
            W("Go"), nullptr, GwUD("550 1 WAIT " + std::string(c.kind) + " " + std::to_string(c.target) + " 1000 1"));
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].text, c.reached ? "Done" : "Timed out");
        window_->destroy();
    }
}

TEST_F(SetParaWaitTest, TheTickCountsWrapChangesNothing) {
    platform::TheVirtualClock()->AdvanceToUs((uint64_t{1} << 32) * 1000 - 500000);
    Open();
    Drive().Table().ScheduleValue(kCommand, 3, platform::TheClock().NowUs() + 700000);
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT GE 3 5000 1"));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "Done");
    EXPECT_EQ(Count("R 20550"), 3u);
}

TEST_F(SetParaWaitTest, LevelsAboveTenCountFromTheWindow) {
    Open("dialogframe Inner { button Go { aux_text = \"Busy;Timed out\" } }");
    GwCore* inner = W("Inner");
    inner->set_user_data(window_->user_data());
    window_->set_callback(GwCB_SHOW, CountShow);
    Shows() = 0;
    CB_SetParaWait(inner->child("Go"), nullptr, GwUD("550 1 WAIT EQ 1 1000 11"));
    // The window above "Inner" was shown anew.
    EXPECT_EQ(Shows(), 1);
    EXPECT_TRUE(inner->is_visible());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(SetParaWaitTest, FailuresBeforeTheWait) {
    // Without an aux text nothing waits.
    Open("button Go { }");
    CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT GE 3 5000 1"));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"W 20550=1"}));
    EXPECT_TRUE(NewBoxes().empty());
    window_->destroy();

    // A refused write is reported and the wait still runs.
    Open();
    Drive().Table().Find(kCommand)->value = 0;
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20550").Times(1));
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT EQ 0 1000 1"));
    ASSERT_EQ(NewBoxes().size(), 2u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[1].text, "Done");
    window_->destroy();

    // A take-over that fails ends it before the write.
    Open();
    SetWidgetChanged(W("Speed_PN_12"), true);
    W("Speed_PN_12")->set_text("9");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20012").Times(1));
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SetParaWait(W("Go"), nullptr, GwUD("550 1 WAIT EQ 1 1000 1"));
    EXPECT_EQ(Count("W 20550=1"), 0u);
    EXPECT_EQ(NewBoxes().size(), 1u);
}

using BusyGuardTest = DeviceWindowTest;

TEST_F(BusyGuardTest, ATimerTickWaitsWhileTheDeviceIsBusy) {
    OpenWindow("formatedit Speed_PN_12 { }", MakeContext(true));
    Drive().ClearCapture();
    {
        DeviceBusyGuard busy;
        EXPECT_FALSE(main_->CheckTimerIntegrity(W("Speed_PN_12"), true));
        CB_DvFctTimerStandard(W("Speed_PN_12"), nullptr, GwUD());
        EXPECT_TRUE(Heard().empty());
    }
    EXPECT_TRUE(main_->CheckTimerIntegrity(W("Speed_PN_12"), true));
    CB_DvFctTimerStandard(W("Speed_PN_12"), nullptr, GwUD());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20012"}));
}

TEST(DeviceBusyGuard, OnlyTheGuardThatRaisedTheFlagLowersIt) {
    DeviceBusyFlag = false;
    {
        DeviceBusyGuard outer;
        {
            DeviceBusyGuard inner;
            EXPECT_TRUE(DeviceBusyFlag);
        }
        EXPECT_TRUE(DeviceBusyFlag);
    }
    EXPECT_FALSE(DeviceBusyFlag);

    DeviceBusyFlag = true;  // raised by someone else
    { DeviceBusyGuard guard; }
    EXPECT_TRUE(DeviceBusyFlag);

    DeviceBusyFlag = false;
    try {
        DeviceBusyGuard guard;
        throw std::runtime_error("device gone");
    } catch (const std::runtime_error&) {}
    EXPECT_FALSE(DeviceBusyFlag);
}

// The recorder's channel parameters (configuration and variable of each
// channel) and its time base, beside what the activation reads.
sim::DriveTable ScopeTable() {
    sim::DriveTable table = maintest::ActivationTable();
    const char* names[] = {"CFG0", "VAR0", "CFG1", "VAR1", "CFG2", "VAR2", "CFG3", "VAR3"};
    for (int i = 0; i < 8; ++i) {
        sim::DriveParameter* p = table.PutFullRange(20 + i, names[i], "USIGN16", 0);
        p->minimum = 0;
        p->maximum = 255;
    }
    table.PutFullRange(300, "CTYPE", "USIGN8", 1);
    sim::DriveParameter* timeBase = table.PutFullRange(304, "SCTB", "FLOAT32", maintest::FloatBits(1.0f));
    timeBase->minimum = 0;
    timeBase->maximum = maintest::FloatBits(1000.0f);
    return table;
}

constexpr char kVariableList[] = "Speed, 1/min, 8, 2.0, 1, 1\nNull, none, 8, 1.0, 1, 1\n";

class ScopeChannelTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override { return ScopeTable(); }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        WriteTreeFile(ListFile(), kVariableList);
    }
    static std::string ListFile() {
        const float version = static_cast<float>(maintest::kVersionSteps) / 20.0f;
        const int major = static_cast<int>(version);
        const int minor = static_cast<int>(version * 100.0f + 0.5f) % 100;
        char name[64];
        std::snprintf(name, sizeof name, "FIRMDATA/%01d_%03d_%02d.MCW", maintest::kTypeNumber / 1000, major, minor);
        return name;
    }
    ScopeRecorder* Recorder() { return ScopeChannels().Recorder.get(); }
};

TEST_F(ScopeChannelTest, WithoutARecorderNothingHappens) {
    OpenWindow("label Var { text = \"Speed\"; tip = \"old\" }\ntoggle 0 { checked = yes }", MakeContext(true));
    window_->set_aux_text("Speed");
    Drive().ClearCapture();
    EXPECT_EQ(CB_DS_SetTipText(W("Var"), nullptr, GwUD()), 1);
    EXPECT_EQ(CB_DS_Popup(W("Var"), nullptr, GwUD()), 1);
    EXPECT_EQ(CB_DS_SetToCh(W("0"), nullptr, GwUD("0")), 1);
    EXPECT_EQ(W("Var")->tip_text(), "old");
    EXPECT_TRUE(Heard().empty());
}

TEST_F(ScopeChannelTest, InitMakesTheRecorderOnTheWindowsBase) {
    TestContext* first = MakeContext(true);
    OpenWindow("button Init { }", first);
    MarkBoxes();
    EXPECT_EQ(CB_DS_Init(W("Init"), nullptr, GwUD()), 1);
    for (const GwBoxRecord& box : NewBoxes()) ADD_FAILURE() << box.text;
    ASSERT_NE(Recorder(), nullptr);
    EXPECT_EQ(Recorder()->GetParaBase(), first->Base.get());
    TestContext* second = MakeContext(true);
    OpenWindow("button Init { }", second);
    CB_DS_Init(W("Init"), nullptr, GwUD());
    ASSERT_NE(Recorder(), nullptr);
    EXPECT_EQ(Recorder()->GetParaBase(), second->Base.get());
    EXPECT_TRUE(Recorder()->IsValid());
}

TEST_F(ScopeChannelTest, ARecorderWithoutValidStateGoesWithItsWindow) {
    RemoveTreeFile(ListFile());
    OpenWindow("button Init { }", MakeContext(true));
    GwCore* window = window_;
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_DS_Init(W("Init"), nullptr, GwUD());
    EXPECT_EQ(Recorder(), nullptr);
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_NE(NewBoxes()[0].text.find(".MCW"), std::string::npos) << NewBoxes()[0].text;
}

TEST_F(ScopeChannelTest, TipsNameTheKnownVariables) {
    OpenWindow("button Init { }\nlabel Known { text = \"Speed\"; enabled = no }\nlabel Unknown { text = \"Bogus\" }",
               MakeContext(true));
    CB_DS_Init(W("Init"), nullptr, GwUD());
    CB_DS_SetTipText(W("Known"), nullptr, GwUD());
    CB_DS_SetTipText(W("Unknown"), nullptr, GwUD());
    EXPECT_TRUE(W("Known")->is_enabled());
    EXPECT_EQ(W("Known")->tip_text(), "Speed = Actual speed of the motor");
    EXPECT_FALSE(W("Unknown")->is_enabled());
}

TEST_F(ScopeChannelTest, ThePopupShowsAndSetsTheChannelsOfTheVariable) {
    OpenWindow("button Init { }\nlabel Var { text = \"Speed\" }", MakeContext(true));
    CB_DS_Init(W("Init"), nullptr, GwUD());
    ScopeRecorder* recorder = Recorder();
    ASSERT_NE(recorder, nullptr);
    for (int channel : {0, 1, 2, 3}) recorder->SetChannelVariable(channel, channel % 2 == 1 ? "Speed" : "Null");
    std::vector<bool> checked;
    std::string aux;
    gwtest::ScriptModal(
        kChannelPopupName,
        [&](GwCore* popup) {
            aux = popup->aux_text();
            for (int channel : {0, 1, 2, 3}) {
                checked.push_back(popup->child<GwToggle>(std::to_string(channel))->is_checked());
            }
            gwtest::Toggle(popup->child("0"));
            gwtest::Toggle(popup->child("1"));
        },
        1);
    EXPECT_EQ(CB_DS_Popup(W("Var"), nullptr, GwUD()), 1);
    EXPECT_EQ(aux, "Speed");
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(recorder->GetChannelVariableName(0), "Speed");
    EXPECT_EQ(recorder->GetChannelVariableName(1), "Null");
    EXPECT_EQ(recorder->GetChannelVariableName(3), "Speed");
}

using SmallCallbackTest = DeviceWindowTest;

TEST_F(SmallCallbackTest, MotorIdentificationByDeviceKindModeAndLevel) {
    struct Case {
        const char* what;
        bool online;
        int kindSix;  // 0: the fixture's kind 4; else the mode in 153
        int level;
        bool refused;
        bool enabled;
    };
    const Case cases[] = {
        {"offline", false, 0, 6, false, false},
        {"another kind", true, 0, 1, false, true},
        {"mode 0 below level 4", true, 1, 3, false, false},
        {"mode 0 at level 4", true, 1, 4, false, true},
        {"mode 1 at level 4", true, 2, 4, false, false},
        {"mode 1 at level 5", true, 2, 5, false, true},
        {"mode 2", true, 3, 6, false, false},
        {"refused read", true, 1, 6, true, false},
    };
    const uint16_t level = GetUserLevel();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestContext* context = MakeContext(c.online);
        if (c.kindSix != 0) {
            context->Base->GetEntry(91)->value = 1120;
            Drive().Table().Find(kIdentMode)->value = static_cast<uint32_t>(c.kindSix - 1);
        }
        OpenWindow("button Ident { enabled = no }", context);
        W("Ident")->set_sensitive(!c.enabled);
        SetUserLevel(static_cast<uint16_t>(c.level));
        MarkBoxes();
        if (c.refused) {
            Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20153").Times(sim::kForever));
            gwtest::AnswerBox(GwRESULT_OK);
        }
        EXPECT_EQ(CB_ShowMotorIdent(W("Ident"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("Ident")->is_enabled(), c.enabled);
        EXPECT_EQ(NewBoxes().size(), c.refused ? 1u : 0u);
        window_->destroy();
    }
    SetUserLevel(level);
}

TEST_F(SmallCallbackTest, TextsTipsExplorerAndDeviceName) {
    OpenWindow(
        "label Long { rect = 0, 0, 70, 20; text = \"abcdefghijk\" }\n"
        "label Fits { rect = 0, 0, 70, 20; text = \"abcdefghij\"; tip = \"old\" }\n"
        "label Path { text = \"..\\\\TMP; rm x\" }\nlabel Name { }",
        MakeContext(true));
    CB_OverlenContent2Tooltip(W("Long"), nullptr, GwUD());
    CB_OverlenContent2Tooltip(W("Fits"), nullptr, GwUD());
    EXPECT_EQ(W("Long")->tip_text(), "abcdefghijk");
    EXPECT_EQ(W("Fits")->tip_text(), "");

    EXPECT_EQ(CB_CallExplorer(W("Path"), nullptr, GwUD()), 1);
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<platform::ProgramStart>{{"explorer", {"explorer", "..\\TMP; rm x"}, false}}));

    CB_SetDeviceNameAsText(W("Name"), nullptr, GwUD());
    EXPECT_EQ(W("Name")->text(), GetDeviceTypeName(maintest::kTypeNumber));
    W("Name")->set_text("");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20091").Times(sim::kForever));
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    CB_SetDeviceNameAsText(W("Name"), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

}  // namespace
}  // namespace devicewintest
