// The drive models' state windows docked for the active device: their
// widgets, the error lamp by status word with the device error note and the
// error reset, the offline display and the poll rate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "devicewin/tests/state_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace statewintest {
namespace {

constexpr char kNoteQuestion[] = "The device reports an error. Reset the error now?";

class DeviceStateTest : public StateWindowTest {
protected:
    void SetUp() override {
        StateWindowTest::SetUp();
        // Explanations of the codes 2 and 5 for every model's class.
        for (const char* file : {"LANGUAGE/044/4000_ERR.TXT",
                                 "LANGUAGE/044/3000_ERR.TXT",
                                 "LANGUAGE/044/5000_ERR.TXT",
                                 "LANGUAGE/044/9000_ERR.TXT"}) {
            WriteTreeFile(file, "[E2]\n0=Explanation two\n[E5]\n0=Explanation five\n");
        }
    }
    // Opens the pane of a model whose family does not dock it.
    void OpenPane(const char* name) {
        ASSERT_TRUE(docking_->OpenDockingFrame(name, true));
        MarkBoxes();
    }
    int Reads(int address, int number) {
        int n = 0;
        for (const std::string& t : Heard(address))
            n += t == "R 20" + std::to_string(number).insert(0, 3 - std::to_string(number).size(), '0');
        return n;
    }
};

TEST_F(DeviceStateTest, FamilyFourDocksItsStateWindowWithEveryWidget) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    EXPECT_TRUE(NewBoxes().empty());
    auto* frame = dynamic_cast<GwDockingFrame*>(frame_->child("Ruvex_State"));
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->is_shown());
    for (const char* name : {"error", "eres", "state"}) EXPECT_NE(In("Ruvex_State", name), nullptr) << name;
    EXPECT_FALSE(In("Ruvex_State", "eres")->is_enabled());
    EXPECT_TRUE(Pane("Ruvex_State")->is_timer_running());
    EXPECT_EQ(Pane("Ruvex_State")->timer_interval(), 500u);
    // No family docks the Pesco window; it opens by name.
    EXPECT_EQ(frame_->child("Pesco_State"), nullptr);
    OpenPane("Pesco_State");
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_TRUE(Pane("Pesco_State")->is_timer_running());
}

TEST_F(DeviceStateTest, AWindowMissingAWidgetShowsErrorSevenAndIsDestroyed) {
    struct Case {
        const char* create;
        const char* body;
    };
    const Case cases[] = {
        {"Ruvex_Create_State", "label error { }\nlabel state { }"},
        {"Marlo_Create_State", "label error { }\nbutton eres { }\nlabel state { }"},
        {"Pesco_Create_State", "label eres { }\nlabel state { }"},
        {"Wenzo_Create_State", "label error { }\nbutton eres { }\nlabel state { }"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.create);
        ASSERT_TRUE(GwRcMgr::use_text(
            std::string("dialogframe Lacking {\n on create = ") + c.create + "\n" + c.body + "\n}\n", "lacking.cgw"));
        GwCore* window = GwRcMgr::load(frame_, "Lacking", 1);
        ASSERT_NE(window, nullptr);
        MarkBoxes();
        gwtest::AnswerBox(GwRESULT_OK);
        window->show();
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].text, "A window or one of its elements could not be loaded!");
        EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    }
}

// Model, status word and the error code's value against lamp, reset key,
// error text and the note offered (with its explanation, or the question).
TEST_F(DeviceStateTest, TheLampFollowsTheStatusWordOfEachModel) {
    struct Case {
        const char* pane;
        int address;
        int statusParameter;
        uint32_t status;
        uint32_t errorValue;
        const char* lamp;
        bool eres;
        const char* error;
        const char* note;  // "" none
        bool reads95;
    };
    const Case cases[] = {
        {"Ruvex_State", kRuvexAddress, 403, 0x0001, kOvercurrent, "red", true, "Overcurrent", "Explanation five", true},
        {"Ruvex_State",
         kRuvexAddress,
         403,
         0x0002,
         kOvercurrent,
         "yellow",
         true,
         "Overcurrent",
         "Explanation five",
         true},
        {"Ruvex_State", kRuvexAddress, 403, 0x0401, kOvercurrent, "red", true, "Fixed fault", "Explanation two", false},
        {"Ruvex_State", kRuvexAddress, 403, 0x0000, kOvercurrent, "green", false, "", "", false},
        {"Ruvex_State", kRuvexAddress, 403, 0x0001, kLeadingComma, "red", true, "", kNoteQuestion, true},
        {"Marlo_State", kMarloAddress, 403, 0x0401, kOvercurrent, "red", true, "Fixed fault", "Explanation two", false},
        {"Marlo_State", kMarloAddress, 403, 0x0001, kOvercurrent, "red", true, "Overcurrent", "Explanation five", true},
        {"Pesco_State", kPescoAddress, 410, 0x18, kOvercurrent, "red", true, "Overcurrent", "Explanation five", true},
        {"Pesco_State", kPescoAddress, 410, 0x08, kOvercurrent, "red", true, "Fixed fault", "Explanation two", false},
        {"Pesco_State", kPescoAddress, 410, 0x10, kOvercurrent, "green", false, "", "", false},
        {"Wenzo_State", kWenzoAddress, 410, 0x0018, kOvercurrent, "red", true, "Overcurrent", "Explanation five", true},
        {"Wenzo_State", kWenzoAddress, 410, 0x1008, kOvercurrent, "red", true, "Fixed fault", "Explanation two", false},
        {"Wenzo_State", kWenzoAddress, 410, 0x0010, kOvercurrent, "green", false, "", "", false},
    };
    for (int address : {kRuvexAddress, kMarloAddress, kWenzoAddress, kPescoAddress}) AddModel(address);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pane) + " " + std::to_string(c.status) + " " + std::to_string(c.errorValue));
        if (main_->GetActiveAddress() != c.address) {
            ActivateModel(c.address);
            if (frame_->child(c.pane) == nullptr) OpenPane(c.pane);
        }
        Parameter(c.address, c.statusParameter).value = c.status;
        Parameter(c.address, 95).value = c.errorValue;
        Parameter(c.address, 74).value = 0;
        ClearCaptures();
        MarkBoxes();
        if (c.note[0] != '\0') gwtest::AnswerBox(GwRESULT_YES);
        gwtest::Fire(Pane(c.pane), "timer");
        EXPECT_EQ(In(c.pane, "error")->background(), c.lamp);
        EXPECT_EQ(In(c.pane, "eres")->is_enabled(), c.eres);
        EXPECT_EQ(In(c.pane, "error")->text(), c.error);
        EXPECT_EQ(Reads(c.address, 95) > 0, c.reads95);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        if (c.note[0] == '\0') {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(Parameter(c.address, 74).value, 0u);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.note);
            EXPECT_EQ(Parameter(c.address, 74).value, 1u);  // the confirmed note resets the error
        }
        EXPECT_EQ(In(c.pane, "state")->text(), main_->GetDeviceStateText(c.address));
        if (std::string(c.pane) == "Wenzo_State") {
            EXPECT_EQ(In(c.pane, "SH")->is_enabled(), (c.status & 0x1000) != 0);
        }
        if (std::string(c.pane) == "Marlo_State") {
            EXPECT_EQ(In(c.pane, "uzk")->text(), "565");
        }
    }
}

TEST_F(DeviceStateTest, ARefusedNoteComesBackOnlyAfterTheErrorClearedOrTheWindowHid) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    GwCore* window = Pane("Ruvex_State");
    Parameter(kRuvexAddress, 403).value = 0x0001;
    auto tick = [&](int answer) {
        MarkBoxes();
        if (answer != 0) gwtest::AnswerBox(answer);
        gwtest::Fire(window, "timer");
        return NewBoxes().size();
    };
    EXPECT_EQ(tick(GwRESULT_YES), 1u);  // confirmed
    EXPECT_EQ(Parameter(kRuvexAddress, 74).value, 1u);
    Parameter(kRuvexAddress, 74).value = 0;
    EXPECT_EQ(tick(GwRESULT_NO), 1u);  // refused
    EXPECT_EQ(Parameter(kRuvexAddress, 74).value, 0u);
    EXPECT_EQ(tick(0), 0u);
    EXPECT_EQ(In("Ruvex_State", "error")->background(), "red");
    Parameter(kRuvexAddress, 403).value = 0;
    EXPECT_EQ(tick(0), 0u);
    Parameter(kRuvexAddress, 403).value = 0x0001;
    EXPECT_EQ(tick(GwRESULT_NO), 1u);  // the error came back
    EXPECT_EQ(tick(0), 0u);
    frame_->child("Ruvex_State")->hide();
    EXPECT_FALSE(window->is_timer_running());
    frame_->child("Ruvex_State")->show();
    EXPECT_EQ(tick(GwRESULT_NO), 1u);  // hiding cleared the refusal
}

TEST_F(DeviceStateTest, WithoutShowDeviceErrorNoNoteWhileLampAndTextFollow) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    ShowDeviceErrorFlag = false;
    Parameter(kRuvexAddress, 403).value = 0x0001;
    gwtest::Fire(Pane("Ruvex_State"), "timer");
    ShowDeviceErrorFlag = true;
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(In("Ruvex_State", "error")->background(), "red");
    EXPECT_EQ(In("Ruvex_State", "error")->text(), "Overcurrent");
}

TEST_F(DeviceStateTest, OfflineRuvexGreysItsLampWhileOtherModelsKeepTheirDisplay) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    // Windows of their own, so they outlive the device's frames.
    ASSERT_TRUE(GwRcMgr::use_text(
        "dialogframe OwnRuvex {\n on create = Ruvex_Create_State\n on show = Ruvex_Show_State\n"
        " on timer = Ruvex_Timer_State\n label error { }\n button eres { }\n label state { }\n}\n"
        "dialogframe OwnMarlo {\n on create = Marlo_Create_State\n on show = Marlo_Show_State\n"
        " on timer = Marlo_Timer_State\n label error { }\n button eres { }\n label uzk { }\n label state { }\n}\n",
        "own.cgw"));
    GwCore* ruvex = GwRcMgr::load(frame_, "OwnRuvex", 1);
    GwCore* marlo = GwRcMgr::load(frame_, "OwnMarlo", 1);
    ruvex->show();
    marlo->show();
    Parameter(kRuvexAddress, 403).value = 0x0001;
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    gwtest::Fire(ruvex, "timer");
    gwtest::Fire(marlo, "timer");
    ASSERT_EQ(ruvex->child("error")->background(), "red");
    ASSERT_EQ(marlo->child("error")->text(), "Overcurrent");
    main_->UncoupleAllDevices();
    ruvex->start_timer(500);
    marlo->start_timer(500);
    gwtest::Fire(ruvex, "timer");
    gwtest::Fire(marlo, "timer");
    EXPECT_EQ(ruvex->child("error")->background(), "gray");
    EXPECT_EQ(ruvex->child("error")->text(), "");
    EXPECT_EQ(ruvex->child("state")->text(), "");
    EXPECT_FALSE(ruvex->child("eres")->is_enabled());
    EXPECT_EQ(ruvex->timer_interval(), 1500u);
    EXPECT_EQ(marlo->child("error")->background(), "red");
    EXPECT_EQ(marlo->child("error")->text(), "Overcurrent");
    EXPECT_TRUE(marlo->child("eres")->is_enabled());
}

TEST_F(DeviceStateTest, TheTickRestartsByTheBusRateAndARefusedReadShowsErrorFive) {
    AddModel(kRuvexAddress);
    ActivateModel(kRuvexAddress);
    GwCore* window = Pane("Ruvex_State");
    gwtest::Fire(window, "timer");
    EXPECT_EQ(window->timer_interval(), 2000u);
    main_->CloseTarnBus();
    baud_ = 19200;
    for (auto& [address, drive] : drives_) drive->SetBaud(19200);
    ActivateModel(kRuvexAddress);
    window = Pane("Ruvex_State");
    gwtest::Fire(window, "timer");
    EXPECT_EQ(window->timer_interval(), 1000u);
    DriveAt(kRuvexAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20403"));
    MarkBoxes();
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    gwtest::Fire(window, "timer");
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_NE(NewBoxes()[0].text.find("parameter 403"), std::string::npos) << NewBoxes()[0].text;
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 1000u);
}

}  // namespace
}  // namespace statewintest

namespace statewintest {
namespace {

TEST_F(DeviceStateTest, WenzoShowsItsFeatureFieldByTheDriveAndARefusedReadTouchesNothing) {
    AddModel(kWenzoAddress);
    Parameter(kWenzoAddress, 412).value = 0x0080;
    ActivateModel(kWenzoAddress);
    GwCore* frame = frame_->child("Wenzo_State");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(In("Wenzo_State", "SH")->is_shown());
    frame->hide();
    Parameter(kWenzoAddress, 412).value = 0x0000;
    frame->show();
    EXPECT_FALSE(In("Wenzo_State", "SH")->is_shown());
    EXPECT_TRUE(Pane("Wenzo_State")->is_timer_running());

    frame->hide();
    In("Wenzo_State", "eres")->enable();
    DriveAt(kWenzoAddress).AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20412"));
    Parameter(kWenzoAddress, 412).value = 0x0080;
    MarkBoxes();
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO);
    frame->show();
    ASSERT_FALSE(NewBoxes().empty());  // error 5, then the uncoupling question
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_FALSE(In("Wenzo_State", "SH")->is_shown());
    EXPECT_TRUE(In("Wenzo_State", "eres")->is_enabled());
    EXPECT_FALSE(Pane("Wenzo_State")->is_timer_running());
}

}  // namespace
}  // namespace statewintest
