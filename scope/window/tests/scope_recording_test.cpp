// The recording loop and the recorder buttons against the virtual drive's
// recorder: one recording, stop requests, a series into numbered files, the
// window closed while recording, a failing drive, the manual trigger and
// reading a running recorder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "parameters/parabase/para_base.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

constexpr int kCancelledCode = 24;
const char* const kExportFiles[] = {"TMP/Scope.SDC", "TMP/Scope.DAT", "TMP/Scope.HEX"};
constexpr char kSeriesDir[] = "TMP/series";
constexpr uint64_t kTriggerDelayUs = 500000;

// Runs `action` as the user at the first event pump at which `condition`
// holds, looking each millisecond.
void When(std::function<bool()> condition, std::function<void()> action) {
    gwtest::At(1, [condition, action] {
        if (condition())
            action();
        else
            When(condition, action);
    });
}

// The scratch value file as the plot tool is told it.
std::string DefaultPlotFile() {
    const std::string dir = std::filesystem::current_path().string() + "\\..\\TMP";
    return GwMakepath("", dir.c_str(), "Scope", "dat").str();
}

bool RuntimeExists(const std::string& relative) { return std::filesystem::exists(testsupport::RuntimePath(relative)); }

// Whether `part` appears in `whole` in order (not necessarily together).
bool InOrder(const Strings& whole, const Strings& part) {
    size_t at = 0;
    for (const std::string& text : whole)
        if (at < part.size() && text == part[at]) ++at;
    return at == part.size();
}

class ScopeRecordingTest : public ScopeWindowTest {
protected:
    void SetUp() override {
        ScopeWindowTest::SetUp();
        RemoveOutputs();
    }
    void TearDown() override {
        RemoveOutputs();
        ScopeWindowTest::TearDown();
    }
    static void RemoveOutputs() {
        for (const char* file : kExportFiles) std::filesystem::remove(testsupport::RuntimePath(file));
        std::filesystem::remove_all(testsupport::RuntimePath(kSeriesDir));
    }
    int Record() { return CB_ScopeStartSerialOverwrite(Child("BT_AutoScope"), nullptr, GwUD()); }
    bool StateIs(const char* text) {
        GwCore* state = Child("State");
        return state != nullptr && state->text() == text;
    }
    // Waits for the named state, then clicks the button.
    void ClickWhen(const char* state, const char* button) {
        When([this, state] { return StateIs(state); }, [this, button] { gwtest::Click(Child(button)); });
    }
};

TEST_F(ScopeRecordingTest, OneRecordingRunsThroughItsStatesIntoTheDefaultFiles) {
    OnDrive(65).value = 1;  // automatic
    ASSERT_NE(OpenScope(), nullptr);
    GwRecorder::Clear();
    ClearCaptures();
    EXPECT_EQ(Record(), 1);
    EXPECT_EQ(StateTexts(), (Strings{"Waiting for trigger", "Triggered", "Reading data", ""}));
    for (const char* file : kExportFiles) EXPECT_TRUE(RuntimeExists(file)) << file;
    EXPECT_EQ(plotServer_->commands, Strings{"OpenFirst " + DefaultPlotFile()});
    EXPECT_TRUE(Child("BT_AutoScope")->is_enabled());
    EXPECT_FALSE(Child("BT_AutoScopeStop")->is_enabled());
    EXPECT_FALSE(Child("BT_UserTrigger")->is_enabled());
    EXPECT_TRUE(Child("ScopeSetup")->is_enabled());
    EXPECT_FALSE(Child("Slider")->is_visible());
    EXPECT_FALSE(TheScopeWindowState().RecordingBusy);
    // Started once, stopped after the read, the automatic mode written back.
    const Strings writes = Writes();
    EXPECT_TRUE(InOrder(writes, {"W 20068=1", "W 20110=2", "W 20068=0", "W 20065=1"}))
        << ::testing::PrintToString(writes);
    EXPECT_EQ(writes.back(), "W 20065=1");
}

TEST_F(ScopeRecordingTest, AStopRequestEndsTheRecordingByItsState) {
    struct Case {
        const char* state;
        int result;
    };
    // Rising edge; the trigger comes half a second after the start, or
    // never. A poll of the drive takes longer than a row at the default
    // interval, so the recording is made long enough to be stopped.
    const Case cases[] = {{"Waiting for trigger", 0}, {"Triggered", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        OnDrive(65).value = 2;
        OnDrive(60).value = 99;  // 300 rows of 10 ms
        Recorder().SetTriggerDelayUs(c.result == 0 ? std::nullopt : std::optional<uint64_t>(kTriggerDelayUs));
        ASSERT_NE(OpenScope(), nullptr);
        ClearCaptures();
        ClickWhen(c.state, "BT_AutoScopeStop");
        EXPECT_EQ(Record(), c.result);
        const Strings writes = Writes();
        EXPECT_TRUE(InOrder(writes, {"W 20068=1", "W 20068=0", "W 20065=2"})) << ::testing::PrintToString(writes);
        for (const std::string& w : writes) EXPECT_NE(w, "W 20110=2");
        EXPECT_EQ(Child("State")->text(), "");
        EXPECT_TRUE(Child("BT_AutoScope")->is_enabled());
        EXPECT_FALSE(TheScopeWindowState().StopRequested);
        EXPECT_TRUE(plotServer_->commands.empty());
        window_->destroy();
    }
}

TEST_F(ScopeRecordingTest, AStopDuringTheReadCancelsItAndNothingIsPlotted) {
    OnDrive(65).value = 1;
    ASSERT_NE(OpenScope(), nullptr);
    ClickWhen("Reading data", "BT_AutoScopeStop");
    EXPECT_EQ(Record(), 1);
    ScopeBase& base = *TheScopeWindowState().Base;
    EXPECT_STREQ(base.MessageBuffer, base.GetErrorText(kCancelledCode));
    EXPECT_TRUE(plotServer_->commands.empty());
    EXPECT_FALSE(RuntimeExists("TMP/Scope.DAT"));
    EXPECT_EQ(Child("State")->text(), "");
}

TEST_F(ScopeRecordingTest, ASecondStartWhileOneRunsReturnsAtOnce) {
    OnDrive(65).value = 2;  // waits for ever
    ASSERT_NE(OpenScope(), nullptr);
    int second = -1;
    Strings heardBySecond;
    When([this] { return StateIs("Waiting for trigger"); },
         [this, &second, &heardBySecond] {
             ClearCaptures();
             second = Record();
             heardBySecond = Writes();
             gwtest::Click(Child("BT_AutoScopeStop"));
         });
    EXPECT_EQ(Record(), 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(heardBySecond, Strings{});
}

TEST_F(ScopeRecordingTest, ASeriesGoesIntoNumberedFilesAndToTheOutsidePlotTool) {
    // Rising edge, triggered half a second after each start.
    OnDrive(65).value = 2;
    Recorder().SetTriggerDelayUs(kTriggerDelayUs);
    std::filesystem::create_directories(testsupport::RuntimePath(kSeriesDir));
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(gwtest::Click(Child("SerialFiles")));
    ASSERT_EQ(TheScopeWindowState().SerialMode, kScopeNumberedRecordings);
    gwtest::AnswerFile("..\\TMP\\series\\run.x");
    // The third recording is stopped while it waits.
    When([this] { return plotServer_->commands.size() == 2 && StateIs("Waiting for trigger"); },
         [this] { gwtest::Click(Child("BT_AutoScopeStop")); });
    EXPECT_EQ(Record(), 0);

    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.id, "id");
    EXPECT_EQ(request.title, "Choose oscilloscope file");
    EXPECT_EQ(request.filter, "All files|*|");
    for (const char* file : {"run0.SDC", "run0.DAT", "run1.SDC", "run1.DAT"})
        EXPECT_TRUE(RuntimeExists(std::string(kSeriesDir) + "/" + file)) << file;
    EXPECT_FALSE(RuntimeExists(std::string(kSeriesDir) + "/run2.DAT"));
    EXPECT_FALSE(RuntimeExists(std::string(kSeriesDir) + "/run.HEX"));
    EXPECT_TRUE(RuntimeExists("TMP/Scope.HEX"));
    EXPECT_EQ(plotServer_->commands,
              (Strings{"OpenFirst ..\\TMP\\series\\run0.dat", "OpenNext ..\\TMP\\series\\run1.dat"}));
    EXPECT_EQ(TheScopeWindowState().RecordingFolder, "..\\TMP\\series\\");

    // The next series starts in the remembered folder.
    gwtest::CancelFile();
    EXPECT_EQ(Record(), 0);
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, "..\\TMP\\series\\");
}

TEST_F(ScopeRecordingTest, ACancelledSeriesChooserWritesTheTriggerModeBack) {
    OnDrive(65).value = 3;  // falling edge
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(gwtest::Click(Child("SerialFiles")));
    ClearCaptures();
    gwtest::CancelFile();
    EXPECT_EQ(Record(), 0);
    EXPECT_EQ(Writes(), Strings{"W 20065=3"});
    EXPECT_TRUE(Child("ScopeSetup")->is_enabled());
    EXPECT_FALSE(TheScopeWindowState().RecordingBusy);
}

TEST_F(ScopeRecordingTest, ClosingTheWindowEndsTheLoopAndWritesTheTriggerModeBack) {
    struct Case {
        const char* state;
        uint32_t mode;
    };
    // A repeated series: waiting for an edge that never comes, or reading
    // an automatic recording.
    const Case cases[] = {{"Waiting for trigger", 2}, {"Reading data", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        OnDrive(65).value = c.mode;
        ASSERT_NE(OpenScope(), nullptr);
        ASSERT_TRUE(gwtest::Click(Child("SerialRepeat")));
        ClearCaptures();
        GwCore* window = window_;
        When([this, c] { return StateIs(c.state); }, [window] { gwtest::Close(window); });
        EXPECT_EQ(Record(), 0);
        EXPECT_FALSE(window->is_alive());
        const Strings writes = Writes();
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(writes.back(), "W 20065=" + std::to_string(c.mode));
        EXPECT_TRUE(plotServer_->commands.empty());
        EXPECT_FALSE(TheScopeWindowState().RecordingBusy);
        EXPECT_FALSE(TheScopeWindowState().Repeat);
    }
}

TEST_F(ScopeRecordingTest, ClosingTheBusWhileWaitingEndsTheLoopWithoutTheGoneBus) {
    OnDrive(65).value = 2;
    ASSERT_NE(OpenScope(), nullptr);
    GwCore* window = window_;
    size_t heardAtClose = 0;
    When([this] { return StateIs("Waiting for trigger"); },
         [this, &heardAtClose] {
             main_->CloseTarnBus();
             heardAtClose = Heard().size();
         });
    EXPECT_EQ(Record(), 0);
    EXPECT_FALSE(window->is_alive());
    EXPECT_EQ(Heard().size(), heardAtClose);
    EXPECT_FALSE(TheScopeWindowState().RecordingBusy);
}

TEST_F(ScopeRecordingTest, ADriveThatFailsEveryPollEndsTheLoopAfterOneBox) {
    OnDrive(65).value = 2;
    ASSERT_NE(OpenScope(), nullptr);
    MarkBoxes();
    When([this] { return StateIs("Waiting for trigger"); },
         [this] { Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20068").Times(sim::kForever)); });
    EXPECT_EQ(Record(), 0);
    EXPECT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(Writes().back(), "W 20065=2");
    EXPECT_TRUE(Child("BT_AutoScope")->is_enabled());
    EXPECT_FALSE(Child("BT_AutoScopeStop")->is_enabled());
}

TEST_F(ScopeRecordingTest, TheManualTriggerRecordsAutomaticallyOnceAndRestoresTheMode) {
    OnDrive(65).value = 2;  // rising edge, which never comes
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    bool enabledAfterClick = true;
    Strings writesOfTrigger;
    When([this] { return StateIs("Waiting for trigger") && Child("BT_UserTrigger")->is_enabled(); },
         [this, &enabledAfterClick, &writesOfTrigger] {
             const size_t before = Writes().size();
             gwtest::Click(Child("BT_UserTrigger"));
             enabledAfterClick = Child("BT_UserTrigger")->is_enabled();
             const Strings writes = Writes();
             writesOfTrigger.assign(writes.begin() + static_cast<long>(before), writes.end());
         });
    EXPECT_EQ(Record(), 1);
    EXPECT_FALSE(enabledAfterClick);
    EXPECT_EQ(writesOfTrigger, (Strings{"W 20068=0", "W 20065=1", "W 20068=1"}));
    EXPECT_EQ(plotServer_->commands, Strings{"OpenFirst " + DefaultPlotFile()});
    EXPECT_EQ(Writes().back(), "W 20065=2");
    EXPECT_EQ(OnDrive(65).value, 2u);
    EXPECT_FALSE(TheScopeWindowState().RestorePending);
}

TEST_F(ScopeRecordingTest, ReadingARunningRecorderOnlyTellsSo) {
    ASSERT_NE(OpenScope(), nullptr);
    OnDrive(68).value = 1;
    ClearCaptures();
    MarkBoxes();
    ASSERT_TRUE(gwtest::Click(Child("BT_ScopeRead")));
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0], "info: The oscilloscope is still recording!");
    EXPECT_EQ(Writes(), Strings{});
    EXPECT_EQ(Child("State")->text(), "");
    EXPECT_TRUE(plotServer_->commands.empty());
}

TEST_F(ScopeRecordingTest, ReadingAStoppedRecorderShowsTheRecording) {
    OnDrive(65).value = 1;
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(gwtest::Click(Child("BT_ScopeStart")));
    EXPECT_EQ(Child("State")->text(), "Recording");
    gwtest::Advance(200);
    ClearCaptures();
    ASSERT_TRUE(gwtest::Click(Child("BT_ScopeRead")));
    EXPECT_TRUE(InOrder(Writes(), {"W 20110=2", "W 20068=0"})) << ::testing::PrintToString(Writes());
    EXPECT_EQ(Child("State")->text(), "");
    EXPECT_FALSE(Child("Slider")->is_visible());
    EXPECT_TRUE(RuntimeExists("TMP/Scope.DAT"));
    EXPECT_EQ(plotServer_->commands, Strings{"OpenFirst " + DefaultPlotFile()});
}

}  // namespace
}  // namespace scopewintest
