// The controller test signal of a Ruvex drive against a virtual drive on the
// virtual clock: the readiness check by the state the drive reports, and the
// current amplitude proposed from the motor current.
#include "families/ruvex_test_signal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

using sim::ReadStep;

constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }

class TestSignalTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.version = 2252;
        for (int number : {15, 120}) {
            sim::DriveParameter* p = table.PutFullRange(number, number == 15 ? "CMD15" : "TSTCMD", "FLOAT32", 0);
            p->minimum = maintest::FloatBits(0.0f);
            p->maximum = maintest::FloatBits(100.0f);
        }
        sim::DriveParameter* current = table.PutFullRange(kMotorCurrentParameter, "IMOT", "FLOAT32", 0);
        current->minimum = maintest::FloatBits(0.0f);
        current->maximum = maintest::FloatBits(1000.0f);
        current->value = maintest::FloatBits(3.0f);
        table.Find(403)->value = State(2);
        return table;
    }
    void Open(const std::string& body, bool online = true) {
        OpenWindow(body, MakeContext(online));
        ClearCaptures();
        MarkBoxes();
        start_ = platform::TheClock().NowUs();
    }
    // The state reads and drive commands heard, with their time in ms from
    // the opening.
    std::vector<std::pair<std::string, uint64_t>> Timed() {
        std::vector<std::pair<std::string, uint64_t>> out;
        for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
            if (t.text.find("20403") == std::string::npos && t.text.find("20015") == std::string::npos) continue;
            out.push_back({t.text, (t.time_us - start_) / 1000});
        }
        return out;
    }
    uint64_t start_ = 0;
};

constexpr char kPage[] = "button Test { }\n edit CurrentAmplitude { }";

TEST_F(TestSignalTest, ReadinessFollowsTheStateTheDriveReports) {
    const std::string notReady = "The drive is not ready. Try again?";
    const std::string running = "The drive is running. Continue?";
    struct Case {
        const char* name;
        std::vector<ReadStep> states;
        int answer;  // every question
        bool ready;
        int stateReads;
        std::vector<std::string> boxes;
        std::vector<std::string> commands;  // writes of 15
    } cases[] = {
        {"2", {ReadStep::Forever(State(2))}, GwRESULT_YES, true, 1, {}, {}},
        {"0 on 9 reads",
         {ReadStep::ForReads(State(0), 9), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         true,
         10,
         std::vector<std::string>(9, notReady),
         {}},
        {"0 on 10 reads",
         {ReadStep::ForReads(State(0), 10), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         false,
         11,
         std::vector<std::string>(10, notReady),
         {}},
        {"0 answered no", {ReadStep::Forever(State(0))}, GwRESULT_NO, false, 1, {notReady}, {}},
        {"1 then 2",
         {ReadStep::ForReads(State(1), 1), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         true,
         2,
         {notReady},
         {}},
        {"10 then 2",
         {ReadStep::ForReads(State(10), 1), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         true,
         2,
         {notReady},
         {}},
        {"5 then 2",
         {ReadStep::ForReads(State(5), 1), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         true,
         2,
         {},
         {"W 20015=3F800000"}},
        {"7 then 2",
         {ReadStep::ForReads(State(7), 1), ReadStep::Forever(State(2))},
         GwRESULT_YES,
         true,
         2,
         {},
         {"W 20015=3F800000"}},
        {"8", {ReadStep::Forever(State(8))}, GwRESULT_YES, false, 1, {}, {}},
        {"9", {ReadStep::Forever(State(9))}, GwRESULT_YES, false, 1, {}, {}},
        {"3", {ReadStep::Forever(State(3))}, GwRESULT_YES, false, 1, {running}, {}},
        {"4", {ReadStep::Forever(State(4))}, GwRESULT_NO, false, 1, {running}, {}},
        {"6", {ReadStep::Forever(State(6))}, GwRESULT_YES, false, 1, {running}, {}},
        {"11", {ReadStep::Forever(State(11))}, GwRESULT_YES, false, 1, {running}, {}},
        {"12", {ReadStep::Forever(State(12))}, GwRESULT_YES, false, 1, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().ScriptReads(403, c.states);
        Open(kPage);
        gwtest::SetDefaultBoxAnswer(c.answer, "question");
        EXPECT_EQ(PrepareDriveForTest(contexts_.back().get(), W("Test")), c.ready);
        int reads = 0;
        std::vector<std::string> commands;
        for (const auto& [text, at] : Timed()) {
            if (text == "R 20403") ++reads;
            if (text.rfind("W 20015", 0) == 0) commands.push_back(text);
        }
        EXPECT_EQ(reads, c.stateReads);
        EXPECT_EQ(commands, c.commands);
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) {
            texts.push_back(box.text);
            EXPECT_EQ(box.kind, "question");
        }
        EXPECT_EQ(texts, c.boxes);
        window_->destroy();
    }
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
}

TEST_F(TestSignalTest, ReadinessWaitsLetTheDriveSettle) {
    // Ready: half a second after the read.
    Open(kPage);
    EXPECT_TRUE(PrepareDriveForTest(contexts_.back().get(), W("Test")));
    EXPECT_GE((platform::TheClock().NowUs() - start_) / 1000, 500u);
    window_->destroy();

    // A stopped drive is read again 2500 ms after the stop command.
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(State(5), 1), ReadStep::Forever(State(2))});
    Open(kPage);
    EXPECT_TRUE(PrepareDriveForTest(contexts_.back().get(), W("Test")));
    const auto timed = Timed();
    ASSERT_EQ(timed.size(), 3u);
    EXPECT_EQ(timed[1].first, "W 20015=3F800000");
    EXPECT_EQ(timed[2].first, "R 20403");
    EXPECT_GE(timed[2].second - timed[1].second, 2500u);
    EXPECT_LT(timed[2].second - timed[1].second, 2600u);
    window_->destroy();

    // A drive that stops by itself 3 s after the command is still in state 7
    // at the first look: it is told again and found stopped at the next.
    Drive().Table().ScriptReads(403, {});
    Drive().Table().Find(403)->value = State(7);
    Drive().Table().stop.enabled = true;
    Drive().Table().stop.after_us = 3'000'000;
    Open(kPage);
    EXPECT_TRUE(PrepareDriveForTest(contexts_.back().get(), W("Test")));
    std::vector<std::string> heard;
    for (const auto& [text, at] : Timed()) heard.push_back(text);
    EXPECT_EQ(heard,
              (std::vector<std::string>{"R 20403", "W 20015=3F800000", "R 20403", "W 20015=3F800000", "R 20403"}));
    EXPECT_EQ(Drive().Table().stop.stops, 2);
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(TestSignalTest, AStateThatCannotBeHadOrAStopThatIsRefusedIsNotReady) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20403"));
    Open(kPage);
    EXPECT_FALSE(PrepareDriveForTest(contexts_.back().get(), W("Test")));
    EXPECT_TRUE(NewBoxes().empty());
    window_->destroy();

    Drive().Table().ScriptReads(403, {ReadStep::Forever(State(5))});
    Drive().Table().Find(15)->read_only = true;
    Open(kPage);
    EXPECT_FALSE(PrepareDriveForTest(contexts_.back().get(), W("Test")));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text,
              "RS232 transmission error in parameter 15-CMD15: \nInvalid writeaccess to parameter!");
    int reads = 0;
    for (const auto& [text, at] : Timed()) reads += text == "R 20403" ? 1 : 0;
    EXPECT_EQ(reads, 1);
}

TEST_F(TestSignalTest, TheAmplitudeIsProposedFromTheMotorCurrent) {
    Open("button Test { }\n edit CurrentAmplitude { }");
    EXPECT_EQ(CB_ShowCurrentAmplitude(W("Test"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("CurrentAmplitude")->text(), "2.4");
    window_->destroy();

    Open("container Cont {\n edit CurrentAmplitude { }\n }");
    EXPECT_EQ(CB4_Show4CurrentAmplitude(W("Cont"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("CurrentAmplitude")->text(), "2.400000");
    EXPECT_EQ(TheRuvexTestSignalState().MotorCurrent, 3.0);
}

TEST_F(TestSignalTest, AMotorCurrentThatCannotBeReadIsShown) {
    Open("container Cont {\n edit CurrentAmplitude { }\n }");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20158"));
    EXPECT_EQ(CB4_Show4CurrentAmplitude(W("Cont"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("CurrentAmplitude")->text(), "");
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
}

}  // namespace
}  // namespace devicewintest
