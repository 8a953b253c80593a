// The readiness check before a drive test, state by state, on the virtual
// drive and its clock.
#include "motor/tuning/drive_ready.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "motor/tuning/tests/tuning_fixture.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace tuningtest {
namespace {

using sim::ReadStep;

constexpr char kNotReady[] = "question: The drive is not ready. Try again?";
constexpr char kRunning[] = "question: The drive is running. Continue?";
constexpr char kTimeout[] = "error: Time-out: the drive did not answer in time!";

class DriveReadyTest : public TuningTest {};

TEST_F(DriveReadyTest, EachStateGoesOnStopsAsksOrWaits) {
    struct Case {
        const char* name;
        std::vector<ReadStep> states;
        uint16_t status;
        std::vector<int> answers;
        bool goesOn;
        std::vector<std::string> boxes;
        size_t stateReads;
        uint64_t elapsedMs;  // on the virtual clock, at least
    } const cases[] = {
        {"0, yes", {ReadStep::Forever(0)}, 0, {GwRESULT_YES}, true, {kNotReady}, 1, 500},
        {"1, no", {ReadStep::Forever(1)}, 0, {GwRESULT_NO}, false, {kNotReady}, 1, 0},
        {"2, yes", {ReadStep::Forever(2)}, 0, {GwRESULT_YES}, true, {kNotReady}, 1, 500},
        {"3", {ReadStep::Forever(3)}, 0, {}, true, {}, 1, 500},
        {"4, bits clear", {ReadStep::Forever(4)}, 0x3FFF, {}, true, {}, 1, 500},
        {"5, bit 14, yes, then 3",
         {ReadStep::ForReads(5, 1), ReadStep::Forever(3)},
         0x4000,
         {GwRESULT_YES},
         true,
         {kRunning},
         2,
         1000},
        {"6, bit 15, no", {ReadStep::Forever(6)}, 0x8000, {GwRESULT_NO}, false, {kRunning}, 1, 0},
        {"7", {ReadStep::Forever(7)}, 0, {}, false, {}, 1, 0},
        {"8", {ReadStep::Forever(8)}, 0, {}, false, {}, 1, 0},
        {"12, then 3", {ReadStep::ForReads(12, 2), ReadStep::Forever(3)}, 0, {}, true, {}, 3, 1500},
        // A drive that stays busy is given 20 rounds of 500 ms.
        {"9 for ever", {ReadStep::Forever(9)}, 0, {}, false, {kTimeout}, 20, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenWindow("button Go { }", MakeContext(true));
        Drive().Table().ScriptReads(403, c.states);
        Drive().Table().Find(410)->value = c.status;
        ClearCaptures();
        MarkBoxes();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        const uint64_t start = platform::TheClock().NowUs();
        EXPECT_EQ(WaitDriveReadyForTest(window_, contexts_.back().get()), c.goesOn);
        const uint64_t elapsedMs = (platform::TheClock().NowUs() - start) / 1000;
        EXPECT_GE(elapsedMs, c.elapsedMs);
        // The telegrams themselves take some 20 ms each at 9600 baud.
        EXPECT_LT(elapsedMs, c.elapsedMs + 100 * c.stateReads + 300);
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.kind + ": " + box.text);
        EXPECT_EQ(boxes, c.boxes);
        const std::vector<std::string> heard = Heard();
        EXPECT_EQ(Count(heard, "R 20403"), c.stateReads);
        EXPECT_EQ(Count(heard, "R 20410"), c.stateReads);
        EXPECT_TRUE(Writes().empty());
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        window_->destroy();
    }
}

TEST_F(DriveReadyTest, AFailedReadReportsTheDeviceAccessError) {
    for (const char* code : {"20403", "20410"}) {
        SCOPED_TRACE(code);
        OpenWindow("button Go { }", MakeContext(true));
        MarkBoxes();
        Drive().AddFault(sim::DriveFault::Nak(0x0004).For(code));
        EXPECT_FALSE(WaitDriveReadyForTest(window_, contexts_.back().get()));
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_EQ(Drive().FaultsLeft(), 0u);
        window_->destroy();
    }
}

}  // namespace
}  // namespace tuningtest
