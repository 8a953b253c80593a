// The oscilloscope window's timers: their periods by the bus rate, the live
// values in turn, the start, stop and read buttons, refused ticks and the
// engine's error flag.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

// The reads of the live-value parameters 70 to 73, in order.
Strings LiveValueReads(const Strings& heard) {
    Strings reads;
    for (const std::string& text : heard) {
        if (text.rfind("R 2007", 0) == 0) reads.push_back(text);
    }
    return reads;
}

// The texts the live-value fields got, "ChAct<n>=<text>".
Strings LiveValueTexts() {
    Strings texts;
    for (const GwEffect& effect : gwtest::Effects("text")) {
        const size_t at = effect.widget.rfind(".ChAct");
        if (at != std::string::npos && effect.widget.size() == at + 7)
            texts.push_back(effect.widget.substr(at + 1) + "=" + effect.value);
    }
    return texts;
}

class ScopeTimersTest : public ScopeWindowTest {};

TEST_F(ScopeTimersTest, EachTimerRestartsByItsRecordAtTheBusRate) {
    struct Case {
        int32_t baud;
        uint32_t channels, liveValue, specialPage;
    };
    const Case cases[] = {{9600, 1500, 10000, 1500}, {19200, 750, 5000, 750}, {38400, 700, 4000, 700}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        ActivateAt(c.baud);
        ASSERT_NE(OpenScope(), nullptr);
        gwtest::Fire(window_, "timer");
        gwtest::Fire(Child("ChAct"), "timer");
        gwtest::Fire(Child("Special"), "timer");
        EXPECT_EQ(window_->timer_interval(), c.channels);
        EXPECT_EQ(Child("ChAct")->timer_interval(), c.liveValue);
        EXPECT_EQ(Child("Special")->timer_interval(), c.specialPage);
        EXPECT_TRUE(window_->is_timer_running());
        window_->destroy();
    }
}

TEST_F(ScopeTimersTest, TheLiveValueTimerShowsOneChannelAfterTheOther) {
    // Channels 0 to 3 record "Speed", "Current", "Position" and "Speed";
    // each variable's signal is its own constant.
    OnDrive(24).value = 0x40;
    OnDrive(27).value = 0;
    Recorder().SetSignal(1, 0, [](size_t) { return 100u; });
    Recorder().SetSignal(1, 1, [](size_t) { return 0x300u; });
    Recorder().SetSignal(2, 0, [](size_t) { return 0x70000u; });
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    GwRecorder::Clear();
    for (int tick = 0; tick < 5; ++tick) gwtest::Fire(Child("ChAct"), "timer");
    EXPECT_EQ(LiveValueReads(Heard()), (Strings{"R 20070", "R 20071", "R 20072", "R 20073", "R 20070"}));
    // "Current" has 8 fraction bits and factor 2, in Nm by control type 1.
    EXPECT_EQ(
        LiveValueTexts(),
        (Strings{"ChAct0=100. 1/min", "ChAct1=6. Nm", "ChAct2=7. Incr", "ChAct3=100. 1/min", "ChAct0=100. 1/min"}));
}

TEST_F(ScopeTimersTest, ConsecutiveLiveValuesFollowTheDrivesClock) {
    Recorder().SetSignal(1, 0, [](size_t row) { return static_cast<uint32_t>(row % 30000); });
    ASSERT_NE(OpenScope(), nullptr);
    GwRecorder::Clear();
    gwtest::Fire(Child("ChAct"), "timer");
    gwtest::Advance(20000);
    for (int tick = 0; tick < 3; ++tick) gwtest::Fire(Child("ChAct"), "timer");
    gwtest::Fire(Child("ChAct"), "timer");
    Strings channel0;
    for (const std::string& text : LiveValueTexts())
        if (text.rfind("ChAct0=", 0) == 0) channel0.push_back(text);
    ASSERT_GE(channel0.size(), 2u);
    EXPECT_NE(channel0[0], channel0[1]);
}

TEST_F(ScopeTimersTest, TheSpecialPageEnablesTheButtonsByTheRecorder) {
    ASSERT_NE(OpenScope(), nullptr);
    EXPECT_TRUE(Child("BT_ScopeStart")->is_enabled());
    EXPECT_TRUE(Child("BT_ScopeRead")->is_enabled());
    EXPECT_FALSE(Child("BT_ScopeStop")->is_enabled());
    OnDrive(68).value = 1;
    gwtest::Fire(Child("Special"), "timer");
    EXPECT_FALSE(Child("BT_ScopeStart")->is_enabled());
    EXPECT_FALSE(Child("BT_ScopeRead")->is_enabled());
    EXPECT_TRUE(Child("BT_ScopeStop")->is_enabled());
    OnDrive(68).value = 0;
    gwtest::Fire(Child("Special"), "timer");
    EXPECT_TRUE(Child("BT_ScopeStart")->is_enabled());
    EXPECT_TRUE(Child("BT_ScopeRead")->is_enabled());
    EXPECT_FALSE(Child("BT_ScopeStop")->is_enabled());
}

TEST_F(ScopeTimersTest, ARefusedTickDoesNothing) {
    ASSERT_NE(OpenScope(), nullptr);
    window_->hide();
    ClearCaptures();
    GwRecorder::Clear();
    for (const char* timer : {"", "ChAct", "Special"}) {
        GwCore* widget = *timer == '\0' ? window_ : Child(timer);
        gwtest::Fire(widget, "timer");
    }
    EXPECT_EQ(Heard(), Strings{});
    EXPECT_EQ(LiveValueTexts(), Strings{});
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(ScopeTimersTest, AnEngineErrorIsShownByTheNextTickWhichMayCloseTheWindow) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        bool closes;
    };
    const Case cases[] = {
        {"ok", {GwRESULT_OK}, false},
        {"quit, then keep the devices", {GwRESULT_CANCEL, GwRESULT_NO}, false},
        {"quit, then uncouple", {GwRESULT_CANCEL, GwRESULT_YES}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DevicesUncoupled = false;
        UncouplingPending = false;
        ASSERT_NE(OpenScope(), nullptr);
        // The first tick's read of channel 0's configuration fails: error 5,
        // and the flag stays set.
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20020"));
        MarkBoxes();
        gwtest::Fire(window_, "timer");
        ASSERT_EQ(NewBoxes().size(), 1u);
        ASSERT_TRUE(TheScopeWindowState().Engine->HasError());
        const std::string error5 = NewBoxes()[0];

        MarkBoxes();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        gwtest::Fire(window_, "timer");
        const Strings boxes = NewBoxes();
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], error5);
        EXPECT_EQ(boxes.size(), c.answers.size());
        EXPECT_EQ(window_->is_alive(), !c.closes);
        if (!c.closes) {
            EXPECT_FALSE(TheScopeWindowState().Engine->HasError());
            window_->destroy();
        }
    }
    DevicesUncoupled = false;
    UncouplingPending = false;
}

}  // namespace
}  // namespace scopewintest
