// The drive's measurement step on the virtual clock: the readiness check per
// family with its complaints, the transient states of family 4, the reset,
// the step with its deadlines, and the wait cursor.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_step.h"
#include "motor/ident/tests/ident_fixture.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "sim/drive_scripts.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace identtest {
namespace {

using sim::ReadStep;

constexpr uint32_t High(int state) { return static_cast<uint32_t>(state) << 12; }
constexpr char kNotReady133[] = "\nCorrect the state of the drive and confirm";
constexpr int kYes = 6;
constexpr int kNo = 7;

class StepTest : public IdentTest {
public:
    explicit StepTest(uint16_t type = kPescoType) : IdentTest(type) {}
    void SetUp() override {
        IdentTest::SetUp();
        TheMotorIdentState().ActiveIdentTable = typeNumber_ == kRuvexType ? &kRuvexIdentTable : &kPescoIdentTable;
        Drive().Table().Find(43)->elements[2] = std::bit_cast<uint32_t>(2.0f);
        Open();
    }
    bool Step(double command = 2.0) { return RunIdentStep(command, contexts_.back()->Base.get()); }
    // Times (ms on the drive's clock) of the telegrams with this text.
    std::vector<uint64_t> TimesOf(const std::string& text) {
        std::vector<uint64_t> times;
        for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
            if (t.text == text) times.push_back(t.time_us / 1000);
        }
        return times;
    }
};

class RuvexStepTest : public StepTest {
public:
    RuvexStepTest() : StepTest(kRuvexType) {}
};

TEST_F(StepTest, AReadyDriveIsResetThenRunsTheStepUnderTheWaitCursor) {
    GwRecorder::Clear();
    const uint64_t start = platform::TheClock().NowUs();
    EXPECT_TRUE(Step());
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(heard.front(), R(403));
    EXPECT_TRUE(InOrder(heard, {R(403), W(120, 1.0f), R(832), W(120, 2.0f), R(832), R(832)}));
    // The reset's state 0 comes at the first poll: one reset write.
    EXPECT_EQ(Count(heard, W(120, 1.0f)), 1u);
    EXPECT_EQ(Count(heard, W(120, 2.0f)), 1u);
    EXPECT_TRUE(BoxTexts().empty());
    // Settle 1000, reset poll 300, settle 1000, 500, two polls of 1000, 500.
    const std::vector<uint64_t> reads = TimesOf(R(832));
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_GE(platform::TheClock().NowUs() - start, 5300000u);
    EXPECT_GE(platform::TheClock().NowUs() / 1000 - reads.back(), 500u);
    std::vector<std::string> cursor;
    for (const GwEffect& e : GwRecorder::EffectsOf("cursor")) cursor.push_back(e.value);
    ASSERT_EQ(cursor.size(), 14u);  // seven waits, each on and off
    for (size_t i = 0; i < cursor.size(); i += 2) {
        EXPECT_EQ(cursor[i], "wait") << i;
        EXPECT_NE(cursor[i + 1], "wait") << i;
    }
}

TEST_F(StepTest, ComplaintsOfFamiliesFiveToSevenAskAndTheAnswerDecides) {
    struct Case {
        int state;
        const char* reason;
    } cases[] = {
        {1, "The drive is not ready"},
        {2, "The drive is not enabled"},
        {4, "The drive is running"},
        {7, "The drive is running"},
        {8, "The drive reports an error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        const std::string expected = std::string("warning: ") + c.reason + kNotReady133;
        // "No" fails the step before any write.
        Drive().Table().ScriptReads(403, {ReadStep::Forever(static_cast<uint32_t>(c.state))});
        ClearCaptures();
        MarkBoxes();
        gwtest::AnswerBox(kNo);
        EXPECT_FALSE(Step());
        EXPECT_EQ(Writes(), std::vector<std::string>{});
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{expected});
        // "Yes" reads the state again: ready the second time.
        Drive().Table().ScriptReads(403, {ReadStep::ForReads(static_cast<uint32_t>(c.state), 1), ReadStep::Forever(3)});
        ClearCaptures();
        MarkBoxes();
        gwtest::AnswerBox(kYes);
        EXPECT_TRUE(Step());
        EXPECT_EQ(BoxTexts().size(), 1u);
        EXPECT_EQ(Count(Heard(), R(403)), 2u);
    }
}

TEST_F(StepTest, UnreadableOrUnknownStatesAreAskedAgainThenTimeOut) {
    // 0 and 9 are no state of the table for these families.
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(0, 2), ReadStep::ForReads(9, 1), ReadStep::Forever(3)});
    EXPECT_TRUE(Step());
    const std::vector<uint64_t> reads = TimesOf(R(403));
    ASSERT_EQ(reads.size(), 4u);
    for (size_t i = 1; i < reads.size(); ++i) EXPECT_GE(reads[i] - reads[i - 1], 300u);

    // A read the drive refuses (0xFFFE) is asked again 300 ms later.
    Drive().Table().ScriptReads(403, {});
    Drive().Table().Find(403)->value = 3;
    Drive().AddFault(sim::DriveFault::Nak(0x0004).For("20403"));
    ClearCaptures();
    MarkBoxes();
    EXPECT_TRUE(Step());
    const std::vector<uint64_t> again = TimesOf(R(403));
    ASSERT_EQ(again.size(), 2u) << testing::PrintToString(BoxTexts());
    EXPECT_GE(again[1] - again[0], 300u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});

    Drive().Table().ScriptReads(403, {ReadStep::Forever(0)});
    ClearCaptures();
    MarkBoxes();
    EXPECT_FALSE(Step());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: Time-out while waiting for the drive!"});
    const std::vector<uint64_t> polls = TimesOf(R(403));
    ASSERT_GE(polls.size(), 2u);
    EXPECT_GE(polls.back() - polls.front(), 5000u);
    EXPECT_LT(polls.back() - polls.front(), 5400u);
    EXPECT_EQ(Writes(), std::vector<std::string>{});
}

TEST_F(StepTest, ResetAndStepEndsAsTheDriveReports) {
    struct Case {
        const char* name;
        std::function<void(sim::MotorIdentUnit&)> script;
        bool result;
        std::vector<std::string> boxes;
        size_t stepWrites;
        uint64_t minMs;
    } cases[] = {
        {"reset never ends",
         [this](sim::MotorIdentUnit& u) {
             u.reset_delay_us = 100000000;
             SetValue(832, 2.0f);
         },
         false,
         {"error: Time-out while waiting for the drive!"},
         0,
         3000},
        {"step stays running",
         [](sim::MotorIdentUnit& u) {
             u.scripts.push_back({0, sim::MotorIdentFault::kStayRunning});
         },
         false,
         {"error: Time-out while waiting for the end of the step!"},
         1,
         65000},
        {"step fails",
         [](sim::MotorIdentUnit& u) {
             u.scripts.push_back({0, sim::MotorIdentFault::kFail});
         },
         false,
         {"info: The drive ended the step with an error!"},
         1,
         0},
        {"step drops to 0 once",
         [](sim::MotorIdentUnit& u) {
             u.scripts.push_back({0, sim::MotorIdentFault::kDropOnce});
         },
         true,
         {},
         2,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Unit() = sim::MotorIdentUnit{};
        Unit().enabled = true;
        c.script(Unit());
        ClearCaptures();
        MarkBoxes();
        const uint64_t start = platform::TheClock().NowMs();
        EXPECT_EQ(Step(), c.result);
        EXPECT_EQ(BoxTexts(), c.boxes);
        const std::vector<std::string> heard = Heard();
        EXPECT_EQ(Count(heard, W(120, 2.0f)), c.stepWrites);
        EXPECT_GE(platform::TheClock().NowMs() - start, c.minMs);
        if (c.stepWrites == 0) {
            // 1.0 again at every poll of the reset.
            EXPECT_EQ(Count(heard, W(120, 1.0f)), Count(heard, R(832)) + 1);
            EXPECT_GE(Count(heard, R(832)), 6u);
        }
    }
}

TEST_F(RuvexStepTest, ATransientStateIsEndedAndWaitedForThenJudgedAfresh) {
    // 7, then 10 for two polls a second apart, then ready.
    Drive().Table().ScriptReads(
        403, {ReadStep::ForReads(High(7), 1), ReadStep::ForReads(High(10), 2), ReadStep::Forever(High(2))});
    EXPECT_TRUE(Step());
    EXPECT_TRUE(InOrder(Heard(), {R(403), W(15, 1.0f), R(403), R(403), R(403), W(120, 1.0f)}));
    std::vector<uint64_t> polls = TimesOf(R(403));
    // The wait's polls; the state that ends it is read once more at once.
    ASSERT_EQ(polls.size(), 5u);
    for (size_t i = 1; i < 4; ++i) EXPECT_GE(polls[i] - polls[i - 1], 1000u) << i;
    EXPECT_LT(polls[4] - polls[3], 1000u);
    EXPECT_TRUE(BoxTexts().empty());

    // The drive that ends its state 7 2.5 s after the write of 15.
    Drive().Table().ScriptReads(403, {});
    Drive().Table().Find(403)->value = High(7);
    Drive().Table().stop = {true, 2500000};
    ClearCaptures();
    EXPECT_TRUE(Step());
    polls = TimesOf(R(403));
    ASSERT_EQ(polls.size(), 5u);  // 7; 7, 7, 2 a second apart; 2 judged afresh
    EXPECT_EQ(Writes().front(), W(15, 1.0f));
    EXPECT_EQ(Drive().Table().stop.stops, 1);
    Drive().Table().stop = {};

    // The state after the wait is judged afresh: 0 is a complaint, "No" ends.
    Drive().Table().ScriptReads(403, {ReadStep::ForReads(High(7), 1), ReadStep::Forever(High(0))});
    ClearCaptures();
    MarkBoxes();
    gwtest::AnswerBox(kNo);
    EXPECT_FALSE(Step());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"warning: The drive is not ready" + std::string(kNotReady133)});
    EXPECT_EQ(Writes(), std::vector<std::string>{W(15, 1.0f)});

    // Still 7 after 5000 ms: time-out, a poll every second.
    Drive().Table().ScriptReads(403, {ReadStep::Forever(High(7))});
    ClearCaptures();
    MarkBoxes();
    EXPECT_FALSE(Step());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: Time-out while waiting for the drive!"});
    polls = TimesOf(R(403));
    ASSERT_EQ(polls.size(), 6u);
    EXPECT_GE(polls.back() - polls[1], 4000u);
    EXPECT_EQ(Writes(), std::vector<std::string>{W(15, 1.0f)});
}

TEST_F(RuvexStepTest, ComplaintStatesOfFamilyFour) {
    struct Case {
        int state;
        const char* reason;
    } cases[] = {
        {0, "The drive is not ready"},
        {1, "The drive is not enabled"},
        {3, "The drive is running"},
        {4, "The drive is running"},
        {6, "The drive is running"},
        {8, "The drive reports an error"},
        {9, "The drive reports an error"},
        {11, "The drive is running"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Drive().Table().ScriptReads(403, {ReadStep::Forever(High(c.state))});
        ClearCaptures();
        MarkBoxes();
        gwtest::AnswerBox(kNo);
        EXPECT_FALSE(Step());
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("warning: ") + c.reason + kNotReady133});
        EXPECT_EQ(Writes(), std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace identtest
