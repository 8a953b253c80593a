// The test-signal runs of a Ruvex drive end to end against a virtual drive
// with a recorder: the recorder set-up and the signal's parameters as the
// drive heard them, the wait for the signal's end, the recording handed to
// the plot tool, and the recorder's settings put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/ruvex_test_signal.h"
#include "families/tests/test_signal_expectations.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/clock.h"
#include "sim/drive_recorder.h"
#include "sim/recorder_registers.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace devicewintest {
namespace {

using sim::ReadStep;

constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }
constexpr char kPlotTool[] = "/opt/plot/tool";

// The variables of the drive's firmware: name, unit, fraction bits, factor,
// kind, level.
constexpr char kListFile[] = "FIRMDATA/4_001_65.MCW";
constexpr char kListText[] =
    "isd.Soll, A, 0, 1.0, 1, 1\n"
    "isd.Ist, A, 0, 1.0, 1, 1\n"
    "usd.Soll, V, 0, 1.0, 1, 1\n";

class TestSignalRunTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = maintest::ActivationTable(4120, 33);
        sim::PutRecorderRegisters(table);
        for (int number : {15, 120, 158}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("F" + std::to_string(number)).c_str(), "FLOAT32", 0);
            p->minimum = maintest::FloatBits(0.0f);
            p->maximum = maintest::FloatBits(1000.0f);
        }
        table.Find(158)->value = maintest::FloatBits(10.0f);
        for (int number : {42, 43}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("A" + std::to_string(number)).c_str(), "FLOAT32", 0);
            p->minimum = maintest::FloatBits(0.0f);
            p->maximum = maintest::FloatBits(1000.0f);
            p->flags |= sim::kFlagArray;
            p->elements = {0, 0, 0};
        }
        for (auto [number, value] : {std::pair{280, 10}, {281, 20}, {289, 30}, {290, 40}, {284, 7}, {260, 5}}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("P" + std::to_string(number)).c_str(), "INT16", value);
            p->minimum = static_cast<uint32_t>(-1000);
            p->maximum = 1000;
        }
        table.Find(403)->value = State(2);
        return table;
    }
    void SetUp() override {
        WriteTreeFile(kListFile, kListText);
        DeviceWindowTest::SetUp();
        Drive().AddRecorder();
        SetPlotTool("extern");
        SetExternalPlotTool(kPlotTool);
        plotServer_ = &gwtest::StartDdeServer(kPlotTool);
    }
    void TearDown() override {
        TheParaWriteLock().Reset();
        DeviceWindowTest::TearDown();
    }
    void Open(const std::string& amplitude, bool online = true) {
        OpenWindow("button Test { }\n edit CurrentAmplitude { }", MakeContext(online));
        W("CurrentAmplitude")->set_text(amplitude);
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        return writes;
    }

    std::vector<uint32_t> RecorderSettings() { return testsignaltest::RecorderSettings(Drive().Table()); }

    gwtest::FakeDdeServer* plotServer_ = nullptr;
};

TEST_F(TestSignalRunTest, TheSignalRunsUnderTheRecorderAndItsRecordingIsPlotted) {
    const std::vector<uint32_t> before = RecorderSettings();
    Drive().Table().ScriptCommand(120, 0x40000000, {ReadStep::ForReads(0x40000000, 2), ReadStep::Forever(0)});
    Open("10");
    // The plot tool's listed window, behind the others.
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe PlotTool { rect = 0, 0, 200, 100 }\n", "plottool.cgw"));
    GwCore* plot = GwRcMgr::load(mainWindow_, kPlotToolWindowName, 1);
    ASSERT_NE(plot, nullptr);
    plot->show();
    TheWindowHandler().Add(plot, 0);
    const size_t plotFocus = gwtest::Effects("focus").size();
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    // Between the passes the activity window tells the user to wait.
    std::string during;
    gwtest::At(1500, [&] {
        if (ActivityWindowOpen) during = "open";
    });
    const size_t textsBefore = gwtest::Effects("text").size();
    EXPECT_EQ(CB_4_200_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
    EXPECT_EQ(during, "open");
    EXPECT_FALSE(ActivityWindowOpen);
    bool waitShown = false;
    const std::vector<GwEffect> texts = gwtest::Effects("text");
    for (size_t i = textsBefore; i < texts.size(); ++i) waitShown |= texts[i].value == "Waiting for the drive ...";
    EXPECT_TRUE(waitShown);
    // The plot tool's window comes to the front with the recording.
    const std::vector<GwEffect> focus = gwtest::Effects("focus");
    ASSERT_GT(focus.size(), plotFocus);
    EXPECT_EQ(focus.back().widget, plot->identifier());
    const std::vector<std::string> heard = Heard();
    // The settings are read (into the setup file) before the recording stops,
    // then the channels, the time, the trigger, the start and the signal.
    std::vector<std::string> expected = testsignaltest::kRecorderSetUp;
    expected.insert(expected.end(), testsignaltest::kSignal.begin(), testsignaltest::kSignal.end());
    EXPECT_TRUE(InOrder(heard, expected));
    // The signal's end is polled a second apart; the third pass finds it.
    std::vector<uint64_t> polls;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
        if (t.text == "R 20120") polls.push_back(t.time_us);
    }
    ASSERT_EQ(polls.size(), 3u);
    EXPECT_GE(polls[1] - polls[0], 1000000u);
    EXPECT_GE(polls[2] - polls[1], 1000000u);
    EXPECT_EQ(plotServer_->commands.size(), 1u);
    EXPECT_EQ(plotServer_->commands[0].rfind("OpenFirst ", 0), 0u);
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(RecorderSettings(), before);
    // The settings as they were, one "%d=%lf" line each, in the setup file.
    const std::string setup = testsupport::ReadFile(testsupport::RuntimePath("TMP/CB4_200_CtrlTestSignal.scs"));
    for (const char* line : {"64=0.000000\r\n", "65=4.000000\r\n", "66=1.000000\r\n", "62=1200.000000\r\n"}) {
        EXPECT_NE(setup.find(line), std::string::npos) << line;
    }
    std::filesystem::remove(testsupport::RuntimePath("TMP/CB4_200_CtrlTestSignal.scs"));
}

TEST_F(TestSignalRunTest, PathsOfTheFirmware200Run) {
    struct Case {
        const char* name;
        std::vector<ReadStep> states;
        const char* amplitude;
        bool online;
        bool confirm;
        bool ends;  // 120 returns to 0
        std::vector<std::string> inOrder;
        std::vector<std::string> never;
        std::vector<std::string> boxes;
    } cases[] = {
        {"state 5 at the start",
         {ReadStep::ForReads(State(5), 1), ReadStep::Forever(State(2))},
         "10",
         true,
         true,
         true,
         {"R 20403", "W 20015=3F800000", "R 20403", "W 20120=40000000"},
         {},
         {}},
        {"empty amplitude", {ReadStep::Forever(State(2))}, "", true, true, true, {"R 20403"}, {"W "}, {}},
        {"risk note declined",
         {ReadStep::Forever(State(2))},
         "10",
         true,
         false,
         true,
         {"W 20068=0", "W 20065=4"},
         {"W 70042", "W 20120"},
         {}},
        {"120 stays",
         {ReadStep::Forever(State(2))},
         "10",
         true,
         true,
         false,
         {"W 20120=40000000", "W 20068=0", "W 20065=4"},
         {},
         {"Time-out of the encoder offset detection!"}},
        {"file base",
         {ReadStep::Forever(State(2))},
         "10",
         false,
         true,
         false,
         {},
         {"W 70042", "W 20120"},
         {"Time-out of the encoder offset detection!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint32_t> before = RecorderSettings();
        Drive().Table().ScriptReads(403, c.states);
        if (c.ends) {
            Drive().Table().ScriptCommand(120, 0x40000000, {ReadStep::ForReads(0x40000000, 2), ReadStep::Forever(0)});
        } else {
            Drive().Table().ScriptCommand(120, 0x40000000, {ReadStep::Forever(0x40000000)});
        }
        Open(c.amplitude, c.online);
        // The note is shown only once there is an amplitude.
        if (c.amplitude[0] != '\0')
            gwtest::AnswerModal(c.confirm ? kRiskNoteConfirmed : GwRESULT_CANCEL, kRiskNoteTuning);
        const uint64_t start = platform::TheClock().NowUs();
        EXPECT_EQ(CB_4_200_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
        const std::vector<std::string> heard = Heard();
        EXPECT_TRUE(InOrder(heard, c.inOrder));
        for (const std::string& t : heard) {
            for (const std::string& n : c.never) EXPECT_NE(t.rfind(n, 0), 0u) << t;
        }
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.text);
        EXPECT_EQ(boxes, c.boxes);
        if (!c.ends) {
            EXPECT_EQ(Count(heard, "R 20120"), c.online ? 19u : 0u);
            EXPECT_GE(platform::TheClock().NowUs() - start, 19000000u);
        }
        EXPECT_EQ(RecorderSettings(), before);
        if (!c.online) {
            double value = 0;
            ASSERT_EQ(contexts_.back()->Base->GetValueDouble(120, &value), 0);
            EXPECT_EQ(value, 2.0);
        }
        window_->destroy();
    }
}

TEST_F(TestSignalRunTest, TheOtherRunHoldsTheFreezeAndScalesWithTheMotorCurrent) {
    const std::vector<std::string> restore = {"W 20280=A", "W 20281=14", "W 20289=1E", "W 20290=28", "W 20260=5"};
    struct Case {
        const char* name;
        bool proposed;  // the amplitude proposal ran first (158 = 10)
        const char* amplitude;
        std::vector<std::string> inOrder;
        std::vector<std::string> never;
    } cases[] = {
        {"without proposal",
         false,
         "10",
         {"W 20280=0",
          "W 20064=0",
          "W 20068=1",
          "W 700420000001=00000000",
          "W 700420000101=00000000",
          "W 700420000201=41200000",
          "W 20120=40000000"},
         {}},
        {"after the proposal",
         true,
         "10",
         {"W 20280=0",
          "W 20064=3",
          "W 20068=1",
          "W 700420000001=00000000",
          "W 700420000101=40000000",
          "W 700420000201=41200000",
          "W 20120=40000000"},
         {}},
        {"empty amplitude",
         true,
         "",
         {"W 20280=0", "W 700420000001=00000000", "W 700420000101=40000000"},
         {"W 700420000201", "W 70043", "W 20120"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().ScriptCommand(120, 0x40000000, {ReadStep::ForReads(0x40000000, 1), ReadStep::Forever(0)});
        Open(c.amplitude);
        if (c.proposed) {
            EXPECT_EQ(CB4_Show4CurrentAmplitude(window_, nullptr, GwUD()), 1);
            EXPECT_EQ(W("CurrentAmplitude")->text(), "8.000000");
            W("CurrentAmplitude")->set_text(c.amplitude);
        }
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
        EXPECT_EQ(CB4_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
        std::vector<std::string> expected = c.inOrder;
        expected.insert(expected.end(), restore.begin(), restore.end());
        const std::vector<std::string> heard = Heard();
        EXPECT_TRUE(InOrder(heard, expected));
        for (const std::string& t : heard) {
            for (const std::string& n : c.never) EXPECT_NE(t.rfind(n, 0), 0u) << t;
        }
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_FALSE(TheParaWriteLock().IsHeld());
        EXPECT_TRUE(window_->is_enabled());
        window_->destroy();
        TheRuvexTestSignalState() = RuvexTestSignalState{};
    }
}

TEST_F(TestSignalRunTest, TheOtherRunTimesOutAfterNinePasses) {
    Drive().Table().ScriptCommand(120, 0x40000000, {ReadStep::Forever(0x40000000)});
    Open("10");
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    EXPECT_EQ(CB4_CtrlTestSignal(W("Test"), nullptr, GwUD()), 1);
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(Count(heard, "R 20120"), 9u);
    // The box comes before the recording is stopped.
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "Time-out: the drive did not answer in time!");
    EXPECT_TRUE(InOrder(heard, {"W 20120=40000000", "R 20120", "W 20068=0", "W 20280=A", "W 20260=5"}));
    EXPECT_FALSE(TheParaWriteLock().IsHeld());
}

}  // namespace
}  // namespace devicewintest
