// The runs the drive does by itself from the controller set-up windows, on
// the virtual drive and its clock: the encoder-offset detection, the
// auto-tuning and the auto-tuning's default settings.
#include "motor/tuning/drive_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "motor/tuning/tests/tuning_fixture.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace tuningtest {
namespace {

using sim::ReadStep;

constexpr char kSetupWindow[] =
    " on show = CB_DvFctShowStandard\n edit _PN_155 { }\n button Go { }\n button BT_TakeIt { }";
constexpr char kFailed[] = "error: Time-out of the encoder offset detection!";
constexpr char kTimeout[] = "error: Time-out: the drive did not answer in time!";

class DriveRunsTest : public TuningTest {
public:
    void Open() {
        OpenWindow(kSetupWindow, MakeContext(true));
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.kind + ": " + box.text);
        return texts;
    }
    // Times of the telegrams `text` on the drive's clock, in ms after `start`.
    std::vector<uint64_t> TimesOf(const std::string& text, uint64_t startUs) {
        std::vector<uint64_t> times;
        for (const sim::HeardTelegram& t : Drive().Capture().Telegrams()) {
            if (t.text == text) times.push_back((t.time_us - startUs) / 1000);
        }
        return times;
    }
    // Reads of `text` after the last read of `after`.
    size_t ReadsAfterLast(const std::string& text, const std::string& after) {
        const std::vector<std::string> heard = Heard();
        size_t last = 0;
        for (size_t i = 0; i < heard.size(); ++i) {
            if (heard[i] == after) last = i;
        }
        return Count({heard.begin() + static_cast<std::ptrdiff_t>(last), heard.end()}, text);
    }
};

TEST_F(DriveRunsTest, TheEncoderOffsetDetectionWaitsForItsEnd) {
    struct Case {
        const char* name;
        float end;         // the state the drive reports at the end
        uint64_t takesUs;  // after the start
        size_t polls;
        std::vector<std::string> boxes;
        bool refreshed;
    } const cases[] = {
        {"ends with 2", 2.0f, 2500000, 3, {}, true},
        {"ends with 0", 0.0f, 1500000, 2, {}, true},
        {"fails at once", 3.0f, 0, 1, {kFailed}, false},
        {"never ends", 1.0f, 0, 19, {kTimeout}, false},
    };
    Drive().Table().motor_ident.enabled = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().motor_ident.encoder_offset_end = c.end;
        Drive().Table().motor_ident.encoder_offset_us = c.takesUs;
        Open();
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
        bool activity = false;
        gwtest::At(1500, [&] { activity = ActivityWindowOpen; });
        const uint64_t start = platform::TheClock().NowUs();
        EXPECT_EQ(CB2_DetectEncoderOffset(W("Go"), nullptr, GwUD()), 1);
        EXPECT_TRUE(InOrder(Heard(), {"R 20403", "R 20410", "W 20120=40800000", "R 20120", "R 20832"}));
        EXPECT_EQ(Count(Heard(), "R 20832"), c.polls);
        const std::vector<uint64_t> started = TimesOf("W 20120=40800000", start);
        const std::vector<uint64_t> polls = TimesOf("R 20832", start);
        ASSERT_EQ(started.size(), 1u);
        ASSERT_FALSE(polls.empty());
        // The first look comes a second after the start.
        EXPECT_GE(polls[0] - started[0], 1000u);
        EXPECT_LT(polls[0] - started[0], 1100u);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_TRUE(activity);
        EXPECT_FALSE(ActivityWindowOpen);
        // Shown again, the window reads its field.
        EXPECT_EQ(ReadsAfterLast("R 20155", "R 20832"), c.refreshed ? 1u : 0u);
        EXPECT_TRUE(window_->is_shown());
        window_->destroy();
    }
    EXPECT_EQ(Drive().Table().motor_ident.encoder_offset_runs, 4);
    EXPECT_NE(NewLogText().find("Detecting the encoder offset ..."), std::string::npos);
}

// The user closes the window while the drive runs: the watch ends without a
// further look and without touching the window, whose memory is freed.
TEST_F(DriveRunsTest, AWindowClosedDuringTheEncoderOffsetDetectionEndsTheWatch) {
    Drive().Table().motor_ident.enabled = true;
    Drive().Table().motor_ident.encoder_offset_end = 2.0f;
    Drive().Table().motor_ident.encoder_offset_us = 4500000;
    Open();
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
    size_t looksAtClose = 0;
    bool closed = false;
    gwtest::At(2500, [&] {
        looksAtClose = Count(Heard(), "R 20832");
        DestroyAndFree(window_);
        closed = true;
    });
    EXPECT_EQ(CB2_DetectEncoderOffset(W("Go"), nullptr, GwUD()), 1);
    ASSERT_TRUE(closed);
    EXPECT_EQ(Count(Heard(), "W 20120=40800000"), 1u);
    EXPECT_GE(looksAtClose, 1u);
    EXPECT_EQ(Count(Heard(), "R 20832"), looksAtClose) << "no look after the close";
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_FALSE(ActivityWindowOpen);
}

TEST_F(DriveRunsTest, ARefusedRiskNoteStartsNothing) {
    Open();
    gwtest::AnswerModal(GwRESULT_CANCEL, kRiskNoteTuning);
    EXPECT_EQ(CB2_DetectEncoderOffset(W("Go"), nullptr, GwUD()), 1);
    gwtest::AnswerModal(GwRESULT_CANCEL, kRiskNoteTuning);
    EXPECT_EQ(CB_1_200_StartAutoTuning(W("Go"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(DriveRunsTest, TheAutoTuningEndsWhenTheDriveResetsItsCommand) {
    struct Case {
        const char* name;
        std::vector<ReadStep> residues;  // of 896 after the start
        size_t polls;
        std::vector<std::string> boxes;
        bool tuningWindowOpen;
    } const cases[] = {
        // 0.004 rounded up to two digits has no whole part; 0.96 becomes 1.
        {"residue 0.004", {ReadStep::ForReads(F(0.96f), 1), ReadStep::Forever(F(0.004f))}, 2, {}, true},
        {"residue 0.004, no tuning window", {ReadStep::Forever(F(0.004f))}, 1, {}, false},
        {"0.96 stays", {ReadStep::Forever(F(0.96f))}, 9, {kTimeout}, true},
        {"1.0 stays", {ReadStep::Forever(F(1.0f))}, 9, {kTimeout}, true},
    };
    Define(kAutoTuningWindowName, " edit _PN_896 { }\n edit _PN_154 { }");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().ScriptCommand(896, F(1.0f), c.residues);
        Open();
        GwRef<> tuning;
        if (c.tuningWindowOpen) {
            tuning = GwRcMgr::load(mainWindow_, kAutoTuningWindowName, 1);
            ASSERT_NE(tuning.get(), nullptr);
            tuning->set_user_data(GwUD(static_cast<void*>(contexts_.back().get())));
            tuning->show();
            TheWindowHandler().Add(tuning.get(), 1);
            ClearCaptures();
        }
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
        bool activity = false;
        gwtest::At(1500, [&] { activity = ActivityWindowOpen; });
        EXPECT_EQ(CB_1_200_StartAutoTuning(W("Go"), nullptr, GwUD()), 1);
        const std::vector<std::string> heard = Heard();
        EXPECT_TRUE(InOrder(heard, {"R 20403", "R 20410", "W 20896=3F800000", "R 20896"}));
        EXPECT_EQ(Count(heard, "R 20896"), c.polls + (c.boxes.empty() && c.tuningWindowOpen ? 1u : 0u));
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_TRUE(activity);
        EXPECT_FALSE(ActivityWindowOpen);
        const bool finished = c.boxes.empty();
        // Finished: the tuning window (when open) and the calling window
        // read their fields again.
        EXPECT_EQ(ReadsAfterLast("R 20154", "W 20896=3F800000"), finished && c.tuningWindowOpen ? 1u : 0u);
        EXPECT_EQ(ReadsAfterLast("R 20155", "W 20896=3F800000"), finished ? 1u : 0u);
        if (tuning) tuning->destroy();
        window_->destroy();
    }
}

TEST_F(DriveRunsTest, TheDefaultSettingsGoIntoEveryElement) {
    Open();
    EXPECT_EQ(CB_1_200_DefaultAutoTuningAdjustment(W("Go"), nullptr, GwUD()), 1);
    for (int element = 0; element < 4; ++element) EXPECT_EQ(DriveValue(895, element), 0.5f) << element;
    EXPECT_TRUE(NewBoxes().empty());
    // All four elements in one block, then the window shows what the drive
    // holds.
    EXPECT_EQ(Heard(), (std::vector<std::string>{"W 708950000004=3F0000003F0000003F0000003F000000", "R 20155"}));
}

}  // namespace
}  // namespace tuningtest
