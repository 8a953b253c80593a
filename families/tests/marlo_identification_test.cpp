// The identification a Marlo drive runs by itself, against a virtual drive
// on the virtual clock: the start's state checks and busy waits as the drive
// heard them, the progress window, its ticks and its stop.
#include "families/marlo_identification.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

using sim::ReadStep;

// Clock times (us) of the page timer's ticks.
std::vector<uint64_t>& PageTicks() {
    static std::vector<uint64_t> ticks;
    return ticks;
}
int CountTick(GwCore*, GwEvent*, GwUD) {
    PageTicks().push_back(platform::TheClock().NowUs());
    return 1;
}

const GwFuncDesc kIdentCallbacks[] = {
    {"CB3_StartMotorIdent", CB3_StartMotorIdent},
    {"CB_3_ShowIdent", CB_3_ShowIdent},
    {"CB_3_HideIdent", CB_3_HideIdent},
    {"CB_3_StopIdent", CB_3_StopIdent},
    {"CB_3_CheckIdentProgress", CB_3_CheckIdentProgress},
    {"CountTick", CountTick},
    {nullptr, nullptr},
};

constexpr char kProgressWindows[] =
    "dialogframe 3_IdentProgressWin {\n rect = 0, 0, 300, 200\n on show = CB_3_ShowIdent\n"
    " on hide = CB_3_HideIdent\n media MediaShow { }\n"
    " slider ScProgress { on timer = CB_3_CheckIdentProgress }\n"
    " button Stop { on activate = CB_3_StopIdent }\n}\n"
    "dialogframe 3_IdentProgressWinNonAnimated {\n rect = 0, 0, 300, 100\n on show = CB_3_ShowIdent\n"
    " on hide = CB_3_HideIdent\n slider ScProgress { on timer = CB_3_CheckIdentProgress }\n"
    " button Stop { on activate = CB_3_StopIdent }\n}\n";

constexpr char kPage[] = "button Start { }\n edit _PN_12 { }\n label Ticker { on timer = CountTick }";

// The state word of a family-3 drive holds the state in bits 12 to 15.
constexpr uint32_t State(int state) { return static_cast<uint32_t>(state) << 12; }

class MarloIdentTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        // A firmware of its own, so that no other test's cached descriptions
        // of the type stand in for this drive's.
        table.version = 2225;
        table.type_number = 3012;
        table.Find(91)->value = 3012;
        sim::DriveParameter* command = table.PutFullRange(kIdentCommandParameter, "IDENT", "FLOAT32", 0);
        command->minimum = maintest::FloatBits(0.0f);
        command->maximum = maintest::FloatBits(1.0f);
        table.PutFullRange(kIdentProgressParameter, "IDPRG", "USIGN8", 0)->maximum = 100;
        table.Find(403)->value = State(2);
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        PageTicks().clear();
        GwRcMgr::use_func_desc(kIdentCallbacks);
        ASSERT_TRUE(GwRcMgr::use_text(kProgressWindows, "ident.cgw"));
    }
    void TearDown() override {
        AnimationOff = false;
        DeviceWindowTest::TearDown();
    }
    void OpenPage() {
        OpenWindow(kPage, MakeContext(true));
        W("Ticker")->start_timer(100);
        ClearCaptures();
        start_ = platform::TheClock().NowUs();
    }
    void Start() { EXPECT_EQ(CB3_StartMotorIdent(W("Start"), nullptr, GwUD()), 1); }
    // The telegrams heard since the page opened, with their time in ms from
    // then, state reads and the identification command only.
    std::vector<std::pair<std::string, uint64_t>> Timed() {
        std::vector<std::pair<std::string, uint64_t>> out;
        for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
            if (t.text.find("20403") == std::string::npos && t.text.find("20163") == std::string::npos) continue;
            out.push_back({t.text, (t.time_us - start_) / 1000});
        }
        return out;
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const auto& [text, at] : Timed()) texts.push_back(text);
        return texts;
    }
    GwCore* Progress(const char* name = kIdentProgressWindowName) { return window_->child(name); }
    // Whether a tick of the page's timer fell inside a wait between two
    // telegrams (a gap of 500 ms or more): the busy waits run no timer. (The
    // timer that fell due meanwhile may tick once the wait is over, as the
    // next exchange begins.)
    bool TickedWhileWaiting() {
        const std::vector<sim::HeardTelegram> heard = Drive().Capture().Telegrams();
        for (size_t i = 0; i + 1 < heard.size(); ++i) {
            const uint64_t from = heard[i].time_us + 50000;
            const uint64_t to = heard[i + 1].time_us - 20000;
            if (to < from + 400000) continue;
            for (uint64_t tick : PageTicks()) {
                if (tick > from && tick < to) return true;
            }
        }
        return false;
    }

    uint64_t start_ = 0;
};

constexpr char kStart[] = "W 20163=3F800000";
constexpr char kStop[] = "W 20163=0";
constexpr char kStateRead[] = "R 20403";

TEST_F(MarloIdentTest, StartFromAReadyDriveWaitsASecondThenShowsTheProgressWindow) {
    OpenPage();
    Start();
    const auto timed = Timed();
    ASSERT_EQ(Texts(), (std::vector<std::string>{kStateRead, kStart}));
    EXPECT_GE(timed[1].second - timed[0].second, 1000u);
    EXPECT_LT(timed[1].second - timed[0].second, 1100u);
    GwCore* progress = Progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->is_visible());
    EXPECT_EQ(progress->child<GwSlider>("ScProgress")->value(), 0.0);
    EXPECT_EQ(progress->user_data().pointer_as<DeviceSetupContext>(), contexts_.back().get());
    EXPECT_EQ(progress->modality(), 2);
    EXPECT_EQ(progress->close_mode(), 2);
    const GwPosition placed = progress->position();
    CB_CenterMessage(progress, nullptr, GwUD());
    EXPECT_EQ(progress->position(), placed);
    EXPECT_FALSE(TickedWhileWaiting());
}

TEST_F(MarloIdentTest, StartFollowsTheDrivesStateScript) {
    struct Case {
        const char* name;
        std::vector<ReadStep> states;
        std::vector<int> answers;  // of the warning boxes, in order
        std::vector<std::string> heard;
        std::vector<uint64_t> gaps;  // ms between the telegrams heard, at least
        bool progress;
        int warnings;
    };
    const Case cases[] = {
        {"11", {ReadStep::Forever(State(11))}, {}, {kStateRead, kStop, kStart}, {0, 2000}, true, 0},
        {"3 yes, 2",
         {ReadStep::ForReads(State(3), 1), ReadStep::Forever(State(2))},
         {GwRESULT_YES},
         {kStateRead, kStateRead, kStart},
         {1000, 1000},
         true,
         1},
        {"3 no", {ReadStep::Forever(State(3))}, {GwRESULT_NO}, {kStateRead}, {}, false, 1},
        {"1, then 7",
         {ReadStep::ForReads(State(1), 1), ReadStep::Forever(State(7))},
         {GwRESULT_OK},
         {kStateRead, kStart, kStateRead, kStateRead, kStateRead, kStateRead, kStateRead, kStart},
         {1000, 500, 500, 500, 500, 500, 0},
         false,
         1},
        {"1, then 3",
         {ReadStep::ForReads(State(1), 2), ReadStep::Forever(State(3))},
         {},
         {kStateRead, kStart, kStateRead, kStateRead},
         {1000, 500, 500},
         true,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().ScriptReads(403, c.states);
        OpenPage();
        MarkBoxes();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        Start();
        EXPECT_EQ(Texts(), c.heard);
        const auto timed = Timed();
        for (size_t i = 0; i < c.gaps.size() && i + 1 < timed.size(); ++i) {
            const uint64_t gap = timed[i + 1].second - timed[i].second;
            EXPECT_GE(gap, c.gaps[i]) << i;
            EXPECT_LT(gap, c.gaps[i] + 100) << i;
        }
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), static_cast<size_t>(c.warnings));
        for (const GwBoxRecord& box : boxes) EXPECT_EQ(box.text, "The drive is not ready for the identification!");
        EXPECT_EQ(Progress() != nullptr, c.progress);
        EXPECT_FALSE(TickedWhileWaiting());
        window_->destroy();
    }
}

TEST_F(MarloIdentTest, AChangedWidgetReachesTheDriveBeforeTheStart) {
    OpenPage();
    W("_PN_12")->set_text("9");
    SetWidgetChanged(W("_PN_12"), true);
    Start();
    const std::vector<std::string> heard = Heard();
    const auto taken = std::find(heard.begin(), heard.end(), "W 20012=9");
    const auto started = std::find(heard.begin(), heard.end(), kStart);
    ASSERT_NE(taken, heard.end());
    ASSERT_NE(started, heard.end());
    EXPECT_LT(taken, started);
}

TEST_F(MarloIdentTest, WithoutAnimationsTheStillWindowOpens) {
    AnimationOff = true;
    OpenPage();
    Start();
    EXPECT_EQ(Progress(), nullptr);
    ASSERT_NE(Progress(kIdentProgressWindowStillName), nullptr);
    EXPECT_TRUE(Progress(kIdentProgressWindowStillName)->is_visible());
}

class MarloProgressTest : public MarloIdentTest {
public:
    // Starts against the drive's own identification of `seconds`, ending at
    // `endsAt` percent.
    GwCore* StartIdentification(uint64_t seconds, int endsAt = 100) {
        Drive().Table().identification.enabled = true;
        Drive().Table().identification.duration_us = seconds * 1000000;
        Drive().Table().identification.ends_at = endsAt;
        OpenPage();
        Start();
        GwCore* progress = Progress();
        EXPECT_NE(progress, nullptr);
        return progress;
    }
    GwSlider* Slider(GwCore* progress) { return progress->child<GwSlider>("ScProgress"); }
    GwMedia* Media(GwCore* progress) { return progress->child<GwMedia>("MediaShow"); }
};

TEST_F(MarloProgressTest, ShowStartsTheSliderAndTheAnimationAndTicksFollowTheDrive) {
    GwCore* progress = StartIdentification(10);
    ASSERT_NE(progress, nullptr);
    GwSlider* slider = Slider(progress);
    EXPECT_TRUE(slider->is_timer_running());
    EXPECT_EQ(slider->timer_interval(), 500u);
    EXPECT_EQ(slider->start(), 0.0);
    EXPECT_EQ(slider->end(), 100.0);
    EXPECT_EQ(Media(progress)->clip(), "IdentMot.avi");
    EXPECT_TRUE(Media(progress)->is_playing());

    MarkBoxes();
    gwtest::Advance(500);
    // The tick restarts its timer as a poll timer: 2000 ms at 9600 baud.
    EXPECT_EQ(slider->timer_interval(), 2000u);
    EXPECT_GT(slider->value(), 0.0);
    EXPECT_TRUE(TheMarloIdentState().Started);
    gwtest::Advance(12000);
    // Done: info 80 without parent, the window and its parent hidden.
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, "info");
    EXPECT_EQ(boxes[0].text, "The identification is finished!");
    EXPECT_EQ(boxes[0].parent, "MainWindow");
    EXPECT_FALSE(progress->is_visible());
    EXPECT_FALSE(window_->is_visible());
    EXPECT_FALSE(slider->is_timer_running());
    EXPECT_EQ(Media(progress)->clip(), "NONE.avi");
}

TEST_F(MarloProgressTest, ProgressScriptsEndTheWindowAsTheDriveReports) {
    struct Case {
        const char* name;
        std::vector<ReadStep> progress;
        std::vector<ReadStep> command;
        int ticksToEnd;  // ticks after the first until the window hides
        const char* kind;
        const char* text;
    };
    const uint32_t on = maintest::FloatBits(1.0f);
    const Case cases[] = {
        {"40 then 100",
         {ReadStep::ForReads(40, 1), ReadStep::Forever(100)},
         {ReadStep::Forever(on)},
         1,
         "info",
         "The identification is finished!"},
        {"100 at the first tick",
         {ReadStep::Forever(100)},
         {ReadStep::Forever(on)},
         1,
         "info",
         "The identification is finished!"},
        {"ends at 60",
         {ReadStep::ForReads(30, 1), ReadStep::Forever(60)},
         {ReadStep::ForReads(on, 1), ReadStep::Forever(0)},
         1,
         "warning",
         "The drive ended the identification early!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GwCore* progress = StartIdentification(1000);
        ASSERT_NE(progress, nullptr);
        Drive().Table().ScriptReads(kIdentProgressParameter, c.progress);
        Drive().Table().ScriptReads(kIdentCommandParameter, c.command);
        MarkBoxes();
        gwtest::Advance(500);  // the first tick
        EXPECT_TRUE(progress->is_visible());
        EXPECT_TRUE(NewBoxes().empty());
        gwtest::Advance(2000 * static_cast<uint32_t>(c.ticksToEnd));
        EXPECT_FALSE(progress->is_visible());
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, c.kind);
        EXPECT_EQ(boxes[0].text, c.text);
        // Info 80 has no parent of its own (the main window takes it),
        // warning 81 is the progress window's.
        EXPECT_EQ(boxes[0].parent, std::string(c.kind) == "info" ? "MainWindow" : progress->identifier());
        // The end hides the page that started it as well.
        EXPECT_EQ(window_->is_visible(), std::string(c.kind) != "info");
        window_->destroy();
    }
}

TEST_F(MarloProgressTest, EveryThirdRunningTickReplaysTheAnimation) {
    GwCore* progress = StartIdentification(1000);
    ASSERT_NE(progress, nullptr);
    gwtest::Advance(500);
    const int before = TheMarloIdentState().AnimationTicks;
    std::vector<bool> replayed;
    for (int tick = 0; tick < 6; ++tick) {
        Media(progress)->stop();
        gwtest::Advance(2000);
        replayed.push_back(Media(progress)->is_playing());
    }
    std::vector<bool> expected;
    for (int tick = 1; tick <= 6; ++tick) expected.push_back((before + tick) % 3 == 0);
    EXPECT_EQ(replayed, expected);
    EXPECT_TRUE(progress->is_visible());
}

TEST_F(MarloProgressTest, AFailedProgressReadAsksWhetherToGoOn) {
    for (int answer : {GwRESULT_OK, GwRESULT_CANCEL}) {
        SCOPED_TRACE(answer);
        GwCore* progress = StartIdentification(1000);
        ASSERT_NE(progress, nullptr);
        gwtest::Advance(500);
        const double shown = Slider(progress)->value();
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20167").Times(sim::kForever));
        MarkBoxes();
        gwtest::AnswerBox(answer);
        gwtest::Advance(2000);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, "error");
        EXPECT_EQ(progress->is_visible(), answer == GwRESULT_OK);
        EXPECT_EQ(Slider(progress)->value(), shown);
        EXPECT_EQ(Slider(progress)->is_timer_running(), answer == GwRESULT_OK);
        if (answer == GwRESULT_OK) {
            EXPECT_EQ(Slider(progress)->timer_interval(), 2000u);
        }
        window_->destroy();
        Drive().Table().identification.running = false;
    }
}

TEST_F(MarloProgressTest, ARefusedTickChangesNothing) {
    GwCore* progress = StartIdentification(1000);
    ASSERT_NE(progress, nullptr);
    MessageBoxOpenFlag = true;
    ClearCaptures();
    EXPECT_EQ(CB_3_CheckIdentProgress(progress->child("ScProgress"), nullptr, GwUD()), 1);
    MessageBoxOpenFlag = false;
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(Slider(progress)->is_timer_running());
    EXPECT_EQ(Slider(progress)->timer_interval(), 500u);
}

TEST_F(MarloProgressTest, StopWritesZeroStopsTheAnimationAndHides) {
    GwCore* progress = StartIdentification(1000);
    ASSERT_NE(progress, nullptr);
    gwtest::Advance(500);
    ClearCaptures();
    gwtest::Click(progress->child("Stop"));
    EXPECT_EQ(Heard(), std::vector<std::string>{kStop});
    EXPECT_FALSE(Drive().Table().identification.running);
    EXPECT_FALSE(progress->is_visible());
    EXPECT_FALSE(Media(progress)->is_playing());
    EXPECT_FALSE(Slider(progress)->is_timer_running());
    EXPECT_FALSE(TheMarloIdentState().Started);
}

class MarloProgressFastLineTest : public MarloProgressTest {
public:
    MarloProgressFastLineTest() { baud_ = 19200; }
};

TEST_F(MarloProgressFastLineTest, TicksComeEverySecondAt19200Baud) {
    GwCore* progress = StartIdentification(1000);
    ASSERT_NE(progress, nullptr);
    gwtest::Advance(500);
    EXPECT_EQ(Slider(progress)->timer_interval(), 1000u);
    EXPECT_EQ(TheMarloIdentState().ProgressTimer.Maximum, 100000u);
}

}  // namespace
}  // namespace devicewintest
