// The current-controller test signal on a Pesco drive with a recorder: the
// run end to end as the drive heard it, and its other ends.
#include "motor/tuning/current_test_signal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/widget_changes.h"
#include "families/parameter_freeze.h"
#include "families/tests/test_signal_expectations.h"
#include "motor/tuning/tests/tuning_fixture.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "sim/motor_ident_unit.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace tuningtest {
namespace {

using sim::ReadStep;

constexpr char kSetupWindow[] = "edit _PN_818 { }\n edit CurrentAmplitude { }\n button Test { }\n button BT_TakeIt { }";
const std::vector<std::string> kFreeze = {"W 20280=0", "W 20281=0", "W 20289=0", "W 20290=0", "W 20284=0"};
const std::vector<std::string> kThaw = {"W 20280=A", "W 20281=14", "W 20289=1E", "W 20290=28", "W 20260=5"};
const char* const kExportFiles[] = {"TMP/Scope.SDC", "TMP/Scope.DAT", "TMP/Scope.HEX"};

std::string Hex(uint32_t bits) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", bits);
    return text;
}

class TestSignalTest : public TuningTest {
public:
    void SetUp() override {
        TuningTest::SetUp();
        for (const char* file : kExportFiles) std::filesystem::remove(testsupport::RuntimePath(file));
        std::filesystem::remove(testsupport::RuntimePath("TMP/CB4_CtrlTestSignal.scs"));
    }
    void TearDown() override {
        TheCurrentTestSignalState() = CurrentTestSignalState{};
        TuningTest::TearDown();
    }
    // The window with the amplitude proposed from 158 = 10 A, then typed.
    void Open(const std::string& amplitude) {
        Drive().Table().Find(158)->value = F(10.0f);
        OpenWindow(kSetupWindow, MakeContext(true));
        EXPECT_EQ(CB_Show2CurrentAmplitude(W("CurrentAmplitude"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("CurrentAmplitude")->text(), "8.000000");
        W("CurrentAmplitude")->set_text(amplitude);
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.kind + ": " + box.text);
        return texts;
    }
    std::vector<uint32_t> RecorderSettings() { return testsignaltest::RecorderSettings(Drive().Table()); }
    bool Exported() {
        for (const char* file : kExportFiles) {
            if (!std::filesystem::exists(testsupport::RuntimePath(file))) return false;
        }
        return true;
    }
};

TEST_F(TestSignalTest, TheSignalRunsFrozenUnderTheRecorderAndItsRecordingIsPlotted) {
    const std::vector<uint32_t> before = RecorderSettings();
    Drive().Table().ScriptReads(832, {ReadStep::ForReads(F(1.0f), 2), ReadStep::Forever(F(2.0f))});
    Open("10");
    W("_PN_818")->set_text("2");
    SetWidgetChanged(W("_PN_818"), true);
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    bool activityAt2500 = false;
    gwtest::At(2500, [&] { activityAt2500 = ActivityWindowOpen; });
    EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);

    const std::vector<std::string> heard = Heard();
    std::vector<std::string> expected = kFreeze;
    expected.push_back("W 20818=" + Hex(F(2.0f)));
    expected.insert(expected.end(), {"R 20403", "R 20410"});
    expected.insert(expected.end(), testsignaltest::kRecorderSetUp.begin(), testsignaltest::kRecorderSetUp.end());
    expected.insert(expected.end(), testsignaltest::kSignal.begin(), testsignaltest::kSignal.end());
    for (int round = 0; round < 3; ++round) {
        expected.push_back("R 20120");
        expected.push_back("R 20832");
    }
    expected.insert(expected.end(), kThaw.begin(), kThaw.end());
    EXPECT_TRUE(InOrder(heard, expected));
    EXPECT_EQ(Count(heard, "R 20832"), 3u);
    // The state is read a second apart.
    std::vector<uint64_t> polls;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
        if (t.text == "R 20832") polls.push_back(t.time_us);
    }
    ASSERT_EQ(polls.size(), 3u);
    EXPECT_GE(polls[1] - polls[0], 1000000u);
    EXPECT_GE(polls[2] - polls[1], 1000000u);
    EXPECT_TRUE(activityAt2500);
    EXPECT_FALSE(ActivityWindowOpen);
    EXPECT_NE(NewLogText().find("Waiting for the drive ..."), std::string::npos);
    EXPECT_TRUE(Exported());
    EXPECT_TRUE(std::filesystem::exists(testsupport::RuntimePath("TMP/CB4_CtrlTestSignal.scs")));
    GwCore* plot = TheWindowHandler().FindByName("PlotTool");
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->is_shown());
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(RecorderSettings(), before);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_TRUE(window_->is_enabled());
}

TEST_F(TestSignalTest, ItsOtherEnds) {
    struct Case {
        const char* name;
        const char* amplitude;
        int riskAnswer;
        std::vector<ReadStep> states;  // of 832
        std::vector<std::string> inOrder;
        std::vector<std::string> never;
        std::vector<std::string> boxes;
        size_t polls;
    } const cases[] = {
        {"risk note refused", "10", GwRESULT_CANCEL, {ReadStep::Forever(F(2.0f))}, {}, {"W ", "R "}, {}, 0},
        {"empty amplitude",
         "",
         kRiskNoteConfirmed,
         {ReadStep::Forever(F(2.0f))},
         {"W 20068=1", "W 700420000001=00000000", "W 700420000101=40000000", "W 20068=0"},
         {"W 700420000201", "W 70043", "W 20120"},
         {},
         0},
        {"state 3",
         "10",
         kRiskNoteConfirmed,
         {ReadStep::ForReads(F(1.0f), 1), ReadStep::Forever(F(3.0f))},
         {"W 20120=40000000", "R 20832", "R 20832"},
         {},
         {"error: Time-out of the encoder offset detection!"},
         2},
        {"nine rounds",
         "10",
         kRiskNoteConfirmed,
         {ReadStep::Forever(F(1.0f))},
         {"W 20120=40000000", "R 20832", "W 20068=0"},
         {},
         {"error: Time-out: the drive did not answer in time!"},
         9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint32_t> before = RecorderSettings();
        Drive().Table().ScriptReads(832, c.states);
        Open(c.amplitude);
        gwtest::AnswerModal(c.riskAnswer, kRiskNoteTuning);
        EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
        const std::vector<std::string> heard = Heard();
        std::vector<std::string> expected = c.inOrder;
        if (c.riskAnswer == kRiskNoteConfirmed) {
            expected.insert(expected.begin(), kFreeze.begin(), kFreeze.end());
            expected.insert(expected.end(), kThaw.begin(), kThaw.end());
        }
        EXPECT_TRUE(InOrder(heard, expected));
        for (const std::string& t : heard) {
            for (const std::string& n : c.never) EXPECT_NE(t.rfind(n, 0), 0u) << t;
        }
        EXPECT_EQ(Count(heard, "R 20832"), c.polls);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_FALSE(Exported());
        EXPECT_EQ(RecorderSettings(), before);
        EXPECT_FALSE(TheParaWriteLock().IsHeld());
        EXPECT_FALSE(ActivityWindowOpen);
        EXPECT_TRUE(window_->is_enabled());
        window_->destroy();
    }
}

// The user closes the window while the signal runs: the watch ends without a
// further look and without touching the window, whose memory is freed; the
// recorder is stopped and the frozen parameters are written back.
TEST_F(TestSignalTest, AWindowClosedDuringTheSignalEndsTheWatchAndRestoresTheDrive) {
    const std::vector<uint32_t> before = RecorderSettings();
    Drive().Table().ScriptReads(832, {ReadStep::Forever(F(1.0f))});
    Open("10");
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    size_t heardAtClose = 0;
    gwtest::At(3500, [&] {
        heardAtClose = Heard().size();
        DestroyAndFree(window_);
    });
    EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
    const std::vector<std::string> heard = Heard();
    ASSERT_GT(heardAtClose, 0u);
    ASSERT_LE(heardAtClose, heard.size());
    const std::vector<std::string> after(heard.begin() + static_cast<std::ptrdiff_t>(heardAtClose), heard.end());
    EXPECT_GE(Count(heard, "R 20832"), 1u);
    EXPECT_EQ(Count(after, "R 20832"), 0u) << "no look after the close";
    std::vector<std::string> cleanup = {"W 20068=0"};
    cleanup.insert(cleanup.end(), kThaw.begin(), kThaw.end());
    EXPECT_TRUE(InOrder(after, cleanup));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(RecorderSettings(), before);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
    EXPECT_FALSE(ActivityWindowOpen);
    EXPECT_FALSE(Exported());
}

// The drive's own identification unit runs the signal for 43[2] = 1 s and
// reports 2, or 3 when the step fails.
TEST_F(TestSignalTest, TheDriveEndsTheSignalAfterItsDuration) {
    Drive().Table().motor_ident.enabled = true;
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "fails" : "ends");
        if (fails) Drive().Table().motor_ident.scripts.push_back({1, sim::MotorIdentFault::kFail});
        Open("10");
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
        EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
        std::vector<std::string> expected = {"W 20120=40000000", "R 20120", "R 20832"};
        expected.insert(expected.end(), kThaw.begin(), kThaw.end());
        EXPECT_TRUE(InOrder(Heard(), expected));
        EXPECT_EQ(Count(Heard(), "R 20832"), 1u);
        EXPECT_EQ(Exported(), !fails);
        EXPECT_EQ(BoxTexts(),
                  fails ? std::vector<std::string>{"error: Time-out of the encoder offset detection!"}
                        : std::vector<std::string>{});
        window_->destroy();
        for (const char* file : kExportFiles) std::filesystem::remove(testsupport::RuntimePath(file));
    }
    EXPECT_EQ(Drive().Table().motor_ident.step_commands, (std::vector<double>{2.0, 2.0}));
}

TEST_F(TestSignalTest, AFailedExportEndsWithError144) {
    Drive().Table().ScriptReads(832, {ReadStep::Forever(F(2.0f))});
    Open("10");
    // The recording cannot be read: the drive does not answer the sample
    // block request.
    Drive().AddFault(sim::DriveFault::Nak(0x0004).For("60002").Times(sim::kForever));
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
    const std::vector<std::string> heard = Heard();
    std::vector<std::string> expected = {"W 20120=40000000", "R 20832", "W 20068=0"};
    expected.insert(expected.end(), kThaw.begin(), kThaw.end());
    EXPECT_TRUE(InOrder(heard, expected));
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "error: Time-out of the encoder offset detection!");
    EXPECT_EQ(TheWindowHandler().FindByName("PlotTool"), nullptr);
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

TEST_F(TestSignalTest, ALockHeldElsewhereGivesError140AndNothingElse) {
    Open("10");
    ParameterFreeze other(contexts_.back()->Base.get(), nullptr);
    ASSERT_TRUE(other.Active());
    ClearCaptures();
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    EXPECT_EQ(CB_2_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: The parameters are locked by another window!"});
}

}  // namespace
}  // namespace tuningtest
