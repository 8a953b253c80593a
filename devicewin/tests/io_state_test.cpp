// The I/O state windows on virtual drives: lamps, voltages and the extension
// module on the window's tick, tooltips and function texts on the function
// tick, the view switch, and what each model does differently.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "bus/base/parameter_entry.h"
#include "devicewin/io_state_windows.h"
#include "devicewin/tests/io_state_fixture.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace iostatetest {
namespace {

using Callback = int (*)(GwCore*, GwEvent*, GwUD);

int CountResize(GwCore*, GwEvent*, GwUD counter) {
    ++*static_cast<int*>(counter.pointer());
    return 1;
}

class IoStateTest : public StateWindowTest {
public:
    // Runs a tick as the timer would: the widget's timer is running.
    int Tick(Callback tick, GwCore* widget) {
        if (widget == nullptr) return 0;
        widget->start_timer(500);
        return tick(widget, nullptr, GwUD());
    }
    std::string Colour(const char* name) { return W(name)->foreground(); }
    ParaBase& Base() { return *main_->ActiveParaBase(); }
};

const char* const kRuvexLamps[] = {
    "enpo", "is00", "is01", "is02", "is03", "is04", "os00", "os01", "os02", "os03", "isa0", "isa1"};

TEST_F(IoStateTest, RuvexCreationRunsTheShowAndStartsBothTimers) {
    Connect(kRuvexType, [](sim::DriveTable& t) { t.Find(578)->value = 4; });
    window_ = Docked("Ruvex_IO_State");
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(window_->is_visible());
    EXPECT_EQ(W("fct")->text(), "IO");
    EXPECT_TRUE(window_->is_timer_running());
    EXPECT_EQ(window_->timer_interval(), 500u);
    EXPECT_TRUE(W("enpo")->is_timer_running());
    EXPECT_EQ(W("enpo")->timer_interval(), 500u);
    const std::vector<std::string> heard = Heard();
    std::vector<std::string> slots;
    for (const std::string& t : heard) {
        if (t == "R 20579" || t == "R 20578") slots.push_back(t);
    }
    // The base's own reading comes first; then the show runs from the
    // creation and once more as the window is shown.
    ASSERT_GE(slots.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(slots.end() - 4, slots.end()),
              (std::vector<std::string>{"R 20579", "R 20578", "R 20579", "R 20578"}));
    EXPECT_TRUE(W("ie1xx")->is_enabled());
}

TEST_F(IoStateTest, EachStatusBitColoursItsLamp) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    for (int bit = -1; bit < 12; ++bit) {
        SCOPED_TRACE(bit);
        // -1: only bit 0 set, the power-stage enable.
        P(495)->value = bit < 0 ? 0x0001 : (1u << bit);
        Tick(Ruvex_Timer_IOState, window_);
        for (int lamp = 0; lamp < 12; ++lamp) {
            const bool lit = bit < 0 ? lamp == 0 : lamp == bit;
            EXPECT_EQ(Colour(kRuvexLamps[lamp]), lit ? "green" : "gray") << kRuvexLamps[lamp];
        }
    }
}

TEST_F(IoStateTest, AnalogueInputsAreReadOnEverySecondTick) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    const std::string before = W("isa0_v")->text();
    Tick(Ruvex_Timer_IOState, window_);
    std::vector<std::string> heard = Heard();
    EXPECT_FALSE(Read(heard, 416));
    EXPECT_FALSE(Read(heard, 417));
    EXPECT_EQ(W("isa0_v")->text(), before);
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_EQ(W("isa0_v")->text(), "1.25V");
    EXPECT_EQ(W("isa1_v")->text(), "2.50V");
    Heard();
    SetFloat(416, 0.5f);
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_FALSE(Read(Heard(), 416));
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_TRUE(Read(Heard(), 416));
    EXPECT_EQ(W("isa0_v")->text(), "0.50V");
}

TEST_F(IoStateTest, TheExtensionModuleLightsItsLampsFromParameter583) {
    Connect(kRuvexType, [](sim::DriveTable& t) {
        t.Find(579)->value = 0;
        t.Find(578)->value = 4;
        t.Find(583)->value = 0x0A05;  // inputs 0 and 2, outputs 1 and 3
    });
    QuietWindow("Ruvex_IO_State");
    Tick(Ruvex_Timer_IOState, window_);
    for (const char* group : {"ie1xx", "ie2xx", "oe1xx"}) EXPECT_TRUE(W(group)->is_enabled()) << group;
    const char* lit[] = {"ie00", "ie02", "oe01", "oe03"};
    const char* dark[] = {"ie01", "ie03", "ie04", "ie05", "ie06", "ie07", "oe00", "oe02"};
    for (const char* name : lit) EXPECT_EQ(Colour(name), "green") << name;
    for (const char* name : dark) EXPECT_EQ(Colour(name), "gray") << name;
}

TEST_F(IoStateTest, WithoutAModuleTheFirstTickLaysTheWindowOutOnce) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    int resizes = 0;
    window_->set_callback(GwCB_RESIZE, CountResize, GwUD(static_cast<void*>(&resizes)));
    const GwRect rect = window_->rect();
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_EQ(resizes, 2);  // its own position, then its own dimension
    EXPECT_EQ(window_->rect(), rect);
    for (const char* group : {"ie1xx", "ie2xx", "oe1xx"}) EXPECT_FALSE(W(group)->is_enabled()) << group;
    W("ie1xx")->enable();
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_EQ(resizes, 2);
    EXPECT_FALSE(W("ie1xx")->is_enabled());
    EXPECT_FALSE(Read(Heard(), 583));
}

TEST_F(IoStateTest, AModuleFoundFirstMeansNoRelayoutInThatRun) {
    Connect(kRuvexType, [](sim::DriveTable& t) { t.Find(579)->value = 4; });
    QuietWindow("Ruvex_IO_State");
    int resizes = 0;
    window_->set_callback(GwCB_RESIZE, CountResize, GwUD(static_cast<void*>(&resizes)));
    Tick(Ruvex_Timer_IOState, window_);
    P(579)->value = 0;
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_FALSE(W("ie1xx")->is_enabled());
    // Closing and opening the window again does not bring the mark back.
    Ruvex_Hide_IOState(window_, nullptr, GwUD());
    Ruvex_Show_IOState(window_, nullptr, GwUD());
    QuietWindow("Ruvex_IO_State");
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_EQ(resizes, 0);
}

TEST_F(IoStateTest, TheIoTickFollowsTheBaudRate) {
    struct Case {
        int32_t baud;
        uint32_t interval;
    };
    for (const Case& c : {Case{9600, 1500}, Case{38400, 800}}) {
        SCOPED_TRACE(c.baud);
        Connect(kRuvexType, {}, c.baud);
        QuietWindow("Ruvex_IO_State");
        Tick(Ruvex_Timer_IOState, window_);
        EXPECT_TRUE(window_->is_timer_running());
        EXPECT_EQ(window_->timer_interval(), c.interval);
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, RuvexReadsEveryFunctionAndShowsTipsAndTexts) {
    Connect(kRuvexType, [](sim::DriveTable& t) { t.Find(211)->value = kLongTextValue; });
    QuietWindow("Ruvex_IO_State");
    GwCore* enpo = W("enpo");
    W("is02")->set_text("ON   ");
    Tick(Ruvex_Timer_fct, enpo);
    const std::vector<std::string> heard = Heard();
    int reads = 0;
    for (int number : {180, 181, 210, 211, 212, 213, 224, 214, 215, 216, 217, 218,
                       219, 220, 221, 240, 241, 242, 247, 243, 244, 245, 246}) {
        reads += Read(heard, number);
    }
    EXPECT_EQ(reads, 23);
    EXPECT_EQ(enpo->timer_interval(), 8000u);
    EXPECT_EQ(W("is00")->tip_text(), std::string("IS00  = ") + Base().GetDispatchedValueText(210));
    EXPECT_EQ(W("is00")->tip_text(), "IS00  = Enable");
    EXPECT_EQ(W("is00")->text(), "ON   ");
    EXPECT_EQ(W("is01")->text(), "LONGTEXT");
    EXPECT_EQ(W("oe03")->text(), "ON   ");
    EXPECT_EQ(W("oe03")->tip_text(), "OE03  = ON");
}

TEST_F(IoStateTest, UnchangedFunctionTextsAreNotWrittenAgain) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    Tick(Ruvex_Timer_fct, W("enpo"));
    const size_t before = gwtest::Effects("text").size();
    Tick(Ruvex_Timer_fct, W("enpo"));
    EXPECT_EQ(gwtest::Effects("text").size(), before);
}

TEST_F(IoStateTest, FunctionTimersRestartWithTheirWeights) {
    struct Case {
        uint16_t type;
        const char* window;
        Callback tick;
        int32_t baud;
        uint32_t interval;
    };
    const Case cases[] = {
        {kRuvexType, "Ruvex_IO_State", Ruvex_Timer_fct, 9600, 8000},
        {kRuvexType, "Ruvex_IO_State", Ruvex_Timer_fct, 38400, 4000},
        {kMarloType, "Marlo_IO_State", Marlo_Timer_fct, 9600, 8000},
        {kPescoType, "Pesco_IO_State", Pesco_Timer_fct, 9600, 2000},
        {kPescoType, "Pesco_IO_State", Pesco_Timer_fct, 38400, 1000},
        {kWenzoType, "Wenzo_IO_State", Wenzo_Timer_fct, 115200, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + std::to_string(c.baud));
        Connect(c.type, {}, c.baud);
        QuietWindow(c.window);
        Tick(c.tick, W("enpo"));
        EXPECT_EQ(W("enpo")->timer_interval(), c.interval);
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, PescoReadsOneEntryPerTickAndRetriesARefusedOne) {
    Connect(kPescoType);
    QuietWindow("Pesco_IO_State");
    GwCore* enpo = W("enpo");
    Tick(Pesco_Timer_fct, enpo);
    std::vector<std::string> heard = Heard();
    EXPECT_TRUE(Read(heard, 180));
    EXPECT_FALSE(Read(heard, 181));
    EXPECT_EQ(W("isa1")->tip_text(), "");
    RefuseReadsOf(181);
    Tick(Pesco_Timer_fct, enpo);
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_TRUE(enpo->is_timer_running());
    EXPECT_EQ(enpo->timer_interval(), 2000u);
    EXPECT_EQ(W("isa1")->tip_text(), "");
    Heard();
    Tick(Pesco_Timer_fct, enpo);
    EXPECT_TRUE(Read(Heard(), 181));
    EXPECT_EQ(W("isa1")->tip_text(), "ISA1  = ON");
    for (int tick = 2; tick < 22; ++tick) Tick(Pesco_Timer_fct, enpo);
    // The stored run mode 'A' picks the run-mode texts.
    EXPECT_EQ(W("is00")->tip_text(), "ISD00 = Enable in A");
    EXPECT_EQ(W("oe03")->tip_text(), "OED03 = ON");
    Tick(Pesco_Timer_fct, enpo);
    EXPECT_TRUE(Read(Heard(), 180));
}

TEST_F(IoStateTest, MarloReadsTheRunModeAndTakesARefusedOneAsNone) {
    Connect(kMarloType);
    QuietWindow("Marlo_IO_State");
    Tick(Marlo_Timer_fct, W("enpo"));
    EXPECT_TRUE(Read(Heard(), 151));
    EXPECT_EQ(W("is00")->tip_text(), "ISD00 = Enable in A");
    RefuseReadsOf(151);
    Tick(Marlo_Timer_fct, W("enpo"));
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(W("is00")->tip_text(), "ISD00 = Enable");
}

TEST_F(IoStateTest, TalinEndsTheTickAtTheShieldInputAndWenzoGoesOn) {
    struct Case {
        uint16_t type;
        const char* window;
        Callback tick;
        size_t shieldIndex;
        bool textsWritten;
    };
    for (const Case& c : {Case{kTalinType, "Talin_IO_State", Talin_Timer_fct, 9, false},
                          Case{kWenzoType, "Wenzo_IO_State", Wenzo_Timer_fct, 5, true}}) {
        SCOPED_TRACE(c.window);
        Connect(c.type);
        QuietWindow(c.window);
        GwCore* enpo = W("enpo");
        for (size_t i = 0; i < c.shieldIndex; ++i) Tick(c.tick, enpo);
        W("isa0")->set_text("x");
        W("isdsh")->set_text("ISDSH");
        Heard();
        Tick(c.tick, enpo);
        EXPECT_TRUE(Heard().empty());
        EXPECT_EQ(W("isa0")->text(), c.textsWritten ? "ON   " : "x");
        EXPECT_EQ(W("isdsh")->text(), "ISDSH");
        EXPECT_EQ(W("isdsh")->tip_text(), "");
        EXPECT_TRUE(enpo->is_timer_running());
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, WenzoShowsAfterReadingEveryTerminalOnce) {
    Connect(kWenzoType);
    QuietWindow("Wenzo_IO_State");
    W("fct")->set_text("x");
    Wenzo_Show_IOState(window_, nullptr, GwUD());
    const std::vector<std::string> heard = Heard();
    for (int number : {180, 181, 210, 211, 212, 240, 251, 250, 252}) EXPECT_TRUE(Read(heard, number)) << number;
    EXPECT_EQ(W("fct")->text(), "IO");
    EXPECT_EQ(W("os05")->text(), "ON   ");
    EXPECT_EQ(W("isa0")->tip_text(), "ISA00 = ON");
    EXPECT_EQ(window_->timer_interval(), 500u);
    EXPECT_EQ(W("enpo")->timer_interval(), 500u);
}

TEST_F(IoStateTest, TheViewSwitchShowsLabelsOrFunctions) {
    struct Case {
        uint16_t type;
        const char* window;
        Callback flip;
        const char* widget;
        const char* label;
    };
    for (const Case& c : {Case{kRuvexType, "Ruvex_IO_State", Ruvex_Switch_IOStat, "is00", "IS00 "},
                          Case{kMarloType, "Marlo_IO_State", Marlo_Switch_IOStat, "is00", "ISD00"},
                          Case{kWenzoType, "Wenzo_IO_State", Wenzo_Switch_IOStat, "isa0", "ISA00"}}) {
        SCOPED_TRACE(c.window);
        Connect(c.type);
        QuietWindow(c.window);
        GwCore* fct = W("fct");
        c.flip(fct, nullptr, GwUD());
        EXPECT_EQ(fct->text(), "Fct");
        EXPECT_EQ(W(c.widget)->text(), c.label);
        Heard();
        c.flip(fct, nullptr, GwUD());
        EXPECT_EQ(fct->text(), "IO");
        EXPECT_FALSE(Heard().empty());
        EXPECT_TRUE(fct->is_timer_running());  // the button stood as the timer widget
        fct->stop_timer();
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, TheViewOutlivesTheWindowAndOfflineLabelsStay) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    Ruvex_Switch_IOStat(W("fct"), nullptr, GwUD());
    Ruvex_Hide_IOState(window_, nullptr, GwUD());
    EXPECT_FALSE(window_->is_timer_running());
    Ruvex_Show_IOState(window_, nullptr, GwUD());
    EXPECT_EQ(W("fct")->text(), "Fct");
    QuietWindow("Ruvex_IO_State");
    Tick(Ruvex_Timer_fct, W("enpo"));
    EXPECT_EQ(W("is00")->text(), "IS00 ");  // the name view writes no functions

    SetActiveOnline(false);
    Ruvex_Switch_IOStat(W("fct"), nullptr, GwUD());
    EXPECT_EQ(W("fct")->text(), "IO");
    EXPECT_EQ(W("is00")->text(), "IS00 ");
    SetActiveOnline(true);
    Tick(Ruvex_Timer_fct, W("enpo"));
    EXPECT_EQ(W("is00")->text(), "ON   ");
}

TEST_F(IoStateTest, WithoutAnOnlineDeviceNothingChanges) {
    Connect(kMarloType);
    QuietWindow("Marlo_IO_State");
    SetActiveOnline(false);
    const size_t effects = gwtest::Effects("text").size() + gwtest::Effects("foreground").size();
    for (int i = 0; i < 3; ++i) {
        Tick(Marlo_Timer_IOState, window_);
        Tick(Marlo_Timer_fct, W("enpo"));
    }
    EXPECT_EQ(gwtest::Effects("text").size() + gwtest::Effects("foreground").size(), effects);
    EXPECT_TRUE(Heard().empty());
    SetActiveOnline(true);
}

TEST_F(IoStateTest, AnalogueOutputShowsBlanksWithoutAValidParameter) {
    struct Case {
        uint16_t type;
        const char* window;
        Callback tick;
        const char* entry;  // "valid", "absent" or "not valid"
        const char* shown;
    };
    const Case cases[] = {
        {kMarloType, "Marlo_IO_State", Marlo_Timer_IOState, "valid", "-3.50V"},
        {kMarloType, "Marlo_IO_State", Marlo_Timer_IOState, "absent", "     "},
        {kPescoType, "Pesco_IO_State", Pesco_Timer_IOState, "not valid", "     "},
        {kPescoType, "Pesco_IO_State", Pesco_Timer_IOState, "valid", "-3.50V"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + c.entry);
        Connect(c.type);
        QuietWindow(c.window);
        ParameterEntry* entry = Base().GetEntry(420);
        if (std::string(c.entry) == "absent") entry->number = 0;
        if (std::string(c.entry) == "not valid") entry->valid = 0;
        W("osa0_v")->set_text("x");
        Tick(c.tick, window_);
        EXPECT_EQ(W("osa0_v")->text(), "x");
        Tick(c.tick, window_);
        EXPECT_EQ(W("osa0_v")->text(), c.shown);
        EXPECT_EQ(Read(Heard(), 420), std::string(c.entry) == "valid");
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, PescoAndTalinCountOnlySlot579AtOne) {
    struct Case {
        uint16_t type;
        const char* window;
        Callback tick;
        uint32_t slot579;
        uint32_t slot578;
        bool present;
    };
    const Case cases[] = {
        {kPescoType, "Pesco_IO_State", Pesco_Timer_IOState, 1, 0, true},
        {kPescoType, "Pesco_IO_State", Pesco_Timer_IOState, 4, 4, false},
        {kTalinType, "Talin_IO_State", Talin_Timer_IOState, 1, 0, true},
        {kMarloType, "Marlo_IO_State", Marlo_Timer_IOState, 1, 4, true},
        {kMarloType, "Marlo_IO_State", Marlo_Timer_IOState, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + std::to_string(c.slot579) + "/" + std::to_string(c.slot578));
        Connect(c.type, [&c](sim::DriveTable& t) {
            t.Find(579)->value = c.slot579;
            t.Find(578)->value = c.slot578;
        });
        QuietWindow(c.window);
        Tick(c.tick, window_);
        EXPECT_EQ(W("oe1xx")->is_enabled(), c.present);
        EXPECT_EQ(Read(Heard(), 583), c.present);
        main_->UncoupleAllDevices();
    }
}

TEST_F(IoStateTest, ATalinOfVersion200HidesTheGroups) {
    Connect(kTalinType, [](sim::DriveTable& t) { t.Find(579)->value = 1; });
    QuietWindow("Talin_IO_State");
    SetFloat(92, 205.3f);
    EXPECT_TRUE(Talin_IsVersion200());
    Talin_Show_IOState(window_, nullptr, GwUD());
    QuietWindow("Talin_IO_State");
    EXPECT_FALSE(W("isdsh")->is_shown());
    for (const char* group : {"ie1xx", "ie2xx", "oe1xx"}) EXPECT_FALSE(W(group)->is_shown()) << group;
    W("oe1xx")->show();
    Tick(Talin_Timer_IOState, window_);
    EXPECT_FALSE(W("oe1xx")->is_shown());
    EXPECT_FALSE(Read(Heard(), 583));

    SetFloat(92, 210.0f);
    EXPECT_FALSE(Talin_IsVersion200());
    RefuseReadsOf(92);
    EXPECT_FALSE(Talin_IsVersion200());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(IoStateTest, ARefusedReadShowsError5AndTheTimerGoesOn) {
    Connect(kRuvexType);
    QuietWindow("Ruvex_IO_State");
    P(495)->value = 0x0003;
    RefuseReadsOf(495);
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(Colour("is00"), "gray");
    EXPECT_TRUE(window_->is_timer_running());
    EXPECT_EQ(window_->timer_interval(), 1500u);
    // The tick count did not move: the next good tick is the first.
    Heard();
    Tick(Ruvex_Timer_IOState, window_);
    EXPECT_FALSE(Read(Heard(), 416));
    EXPECT_EQ(Colour("is00"), "green");

    RefuseReadsOf(579);
    Ruvex_Show_IOState(window_, nullptr, GwUD());
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_TRUE(window_->is_timer_running());
    EXPECT_TRUE(W("enpo")->is_timer_running());
    EXPECT_FALSE(Read(Heard(), 578));
}

TEST_F(IoStateTest, AMissingWidgetEndsTheWindowWithMessage7) {
    GwRcMgr::use_text(
        "dialogframe IoBroken { container Marlo_IO_State { on create = Marlo_Create_IOState; label isa0 { } } }\n",
        "broken.cgw");
    Connect(kMarloType);
    NewBoxes();
    GwCore* frame = GwRcMgr::load(frame_, "IoBroken", 1);
    ASSERT_NE(frame, nullptr);
    frame->show();
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(frame->child("Marlo_IO_State"), nullptr);
}

}  // namespace
}  // namespace iostatetest
