// The Zov device's state, value and current windows: the error lamp by
// status word with the note and the error reset, storing the data set, and
// the values of the arrays 401 and 402 and of 400 and 406.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/tests/state_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace statewintest {
namespace {

class ZovTest : public StateWindowTest {
protected:
    void SetUp() override {
        StateWindowTest::SetUp();
        WriteTreeFile("LANGUAGE/044/9000_ERR.TXT", "[E2]\n0=Explanation two\n[E5]\n0=Explanation five\n");
        AddModel(kZovAddress);
        ActivateModel(kZovAddress);
    }
    sim::DriveParameter& P(int number) { return Parameter(kZovAddress, number); }
    size_t Tick(const char* pane, int answer = 0) {
        MarkBoxes();
        if (answer != 0) gwtest::AnswerBox(answer);
        gwtest::Fire(Pane(pane), "timer");
        return NewBoxes().size();
    }
    bool Read95() {
        for (const std::string& t : Heard(kZovAddress)) {
            if (t == "R 20095") return true;
        }
        return false;
    }
};

TEST_F(ZovTest, TheStateLampFollowsTheStatusWord) {
    struct Case {
        uint32_t status;
        uint32_t errorValue;
        const char* lamp;
        bool eres;
        const char* error;
        const char* note;
        bool reads95;
    };
    const Case cases[] = {
        {0x0003, kLeadingComma, "red", true, "abc", "The device reports an error. Reset the error now?", true},
        {0x0003, kOvercurrent, "red", true, "Overcurrent", "Explanation five", true},
        {0x0002, kOvercurrent, "yellow", true, "Overcurrent", "Explanation five", true},
        {0x0401, kOvercurrent, "red", true, "Fixed fault", "Explanation two", false},
        {0x0400, kOvercurrent, "green", false, "", "", false},
    };
    EXPECT_TRUE(NewBoxes().empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " " + std::to_string(c.errorValue));
        P(403).value = c.status;
        P(95).value = c.errorValue;
        P(74).value = 0;
        ClearCaptures();
        const size_t boxes = Tick("Zov_State", c.note[0] != '\0' ? GwRESULT_YES : 0);
        EXPECT_EQ(In("Zov_State", "error")->background(), c.lamp);
        EXPECT_EQ(In("Zov_State", "eres")->is_enabled(), c.eres);
        EXPECT_EQ(In("Zov_State", "error")->text(), c.error);
        EXPECT_EQ(Read95(), c.reads95);
        EXPECT_EQ(In("Zov_State", "state")->text(), main_->GetDeviceStateText(kZovAddress));
        if (c.note[0] == '\0') {
            EXPECT_EQ(boxes, 0u);
        } else {
            ASSERT_EQ(boxes, 1u);
            EXPECT_EQ(NewBoxes()[0].text, c.note);
            EXPECT_EQ(P(74).value, 1u);
        }
    }
    EXPECT_EQ(Pane("Zov_State")->timer_interval(), 2000u);
}

TEST_F(ZovTest, ARefusedNoteWaitsForTheErrorToClearOrTheWindowToHide) {
    P(403).value = 0x0001;
    EXPECT_EQ(Tick("Zov_State", GwRESULT_YES), 1u);
    EXPECT_EQ(Tick("Zov_State", GwRESULT_NO), 1u);
    EXPECT_EQ(Tick("Zov_State"), 0u);
    P(403).value = 0;
    EXPECT_EQ(Tick("Zov_State"), 0u);
    P(403).value = 0x0001;
    EXPECT_EQ(Tick("Zov_State", GwRESULT_NO), 1u);
    EXPECT_EQ(Tick("Zov_State"), 0u);
    frame_->child("Zov_State")->hide();
    EXPECT_FALSE(Pane("Zov_State")->is_timer_running());
    frame_->child("Zov_State")->show();
    EXPECT_FALSE(In("Zov_State", "eres")->is_enabled());
    EXPECT_EQ(Tick("Zov_State", GwRESULT_NO), 1u);
}

TEST_F(ZovTest, SaveStoresTheDataSetAndARefusedWriteIsShown) {
    GwCore* save = In("Zov_State", "Save");
    MarkBoxes();
    gwtest::Fire(save, "activate");
    EXPECT_EQ(P(150).value, 1u);
    EXPECT_TRUE(NewBoxes().empty());
    P(150).value = 0;
    DriveAt(kZovAddress).AddFault(sim::DriveFault::Nak(sim::kStatusWriteAccess).For("20150"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    gwtest::Fire(save, "activate");
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_NE(NewBoxes()[0].text.find("150"), std::string::npos) << NewBoxes()[0].text;
}

TEST_F(ZovTest, TheValueAndCurrentWindowsShowTheirArraysWithTwoDecimals) {
    EXPECT_EQ(Pane("Zov_Reference")->timer_interval(), 500u);
    EXPECT_EQ(Pane("Zov_Current")->timer_interval(), 500u);
    EXPECT_EQ(Tick("Zov_Reference"), 0u);
    const std::vector<std::pair<const char*, const char*>> values = {{"P0", "3.14"},
                                                                     {"P1", "-1.50"},
                                                                     {"P2", "123.46"},
                                                                     {"P3", "0.00"},
                                                                     {"P4", "7.00"},
                                                                     {"F0", "123.46"},
                                                                     {"F1", "-1.50"}};
    for (const auto& [box, text] : values) EXPECT_EQ(Value("Zov_Reference", box), text) << box;
    EXPECT_EQ(Tick("Zov_Current"), 0u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Value("Zov_Current", "I" + std::to_string(i)), i == 6 ? "7.25" : std::to_string(i + 1) + ".00");
    }
    EXPECT_EQ(Pane("Zov_Reference")->timer_interval(), 2000u);
    EXPECT_EQ(Pane("Zov_Current")->timer_interval(), 2000u);

    // A window without "P3" shows the other six.
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe NoP3 {\n on show = Zov_Show_Val\n on timer = Zov_Timer_Val\n"
                          " container P0 { label value { } }\n container P1 { label value { } }\n"
                          " container P2 { label value { } }\n container P4 { label value { } }\n"
                          " container F0 { label value { } }\n container F1 { }\n}\n",
                          "nop3.cgw"));
    GwCore* window = GwRcMgr::load(frame_, "NoP3", 1);
    window->show();
    EXPECT_TRUE(window->is_timer_running());
    MarkBoxes();
    gwtest::Fire(window, "timer");
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(window->child("P4")->child("value")->text(), "7.00");
    EXPECT_EQ(window->child("F0")->child("value")->text(), "123.46");

    // Without a device online the show starts nothing and the ticks are
    // refused, so the values stay.
    main_->UncoupleAllDevices();
    window->stop_timer();
    window->hide();
    window->show();
    EXPECT_FALSE(window->is_timer_running());
    gwtest::Fire(window, "timer");
    EXPECT_EQ(window->child("P0")->child("value")->text(), "3.14");
    EXPECT_FALSE(window->is_timer_running());
}

TEST_F(ZovTest, ARefusedReadShowsErrorFiveAndTheTimerRunsOn) {
    DriveAt(kZovAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("704010000005"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    ClearCaptures();
    ASSERT_GE(Tick("Zov_Reference"), 1u);
    // The tick ends at the refused array: 400 and 406 are not read.
    EXPECT_EQ(Heard(kZovAddress), (std::vector<std::string>{"R 704010000005"}));
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(Value("Zov_Reference", "P0"), "");
    EXPECT_EQ(Value("Zov_Reference", "F0"), "");
    EXPECT_TRUE(Pane("Zov_Reference")->is_timer_running());
    EXPECT_EQ(Pane("Zov_Reference")->timer_interval(), 2000u);
}

}  // namespace
}  // namespace statewintest
