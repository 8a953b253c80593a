// Device error notes from the language directory's error text files, and
// the risk notes asked before actions with risk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "app/notes/device_error_note.h"
#include "app/notes/risk_note.h"
#include "app/services/user_level.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::kAddress;
using maintest::MainTest;

// The standard drive: type 4120, version 1.3.
constexpr char kVersionFile[] = "LANGUAGE/044/4_001_30.ERR";
constexpr char kClassFile[] = "LANGUAGE/044/4000_ERR.TXT";
// Main message 20, shown when no explanation is found.
constexpr int kMessage = 20;
constexpr char kQuestionText[] = "question: This ends the online work with the active device. Continue?";

const GwFuncDesc kNoteCallbacks[] = {
    {"CB_DontShowRiskNote_Tuning", CB_DontShowRiskNote_Tuning},
    {"CB_CenterMessage", CB_CenterMessage},
    {nullptr, nullptr},
};

class NotesTest : public MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(GwRcMgr::use_func_desc(kNoteCallbacks), 0);
        Activate();
        gwtest::SetDefaultBoxAnswer(GwRESULT_YES);
    }
    void TearDown() override {
        for (const char* file : {kVersionFile, kClassFile}) RemoveTreeFile(file);
        MainTest::TearDown();
    }
};

TEST_F(NotesTest, ErrorNoteTakesItsTextFromTheDevicesErrorFile) {
    struct Case {
        const char* name;
        const char* file;  // null: no error file
        std::string text;
        uint16_t code;
        bool infoOnly;
        std::vector<std::string> boxes;
    };
    const std::string withDialog =
        "[DIALOG]\nPre=Drive reports:\nPost=Call service.\n[E5]\n1=Overload\n3=Overheated\\nLet it cool\n";
    // clang-format off
    const Case cases[] = {
        {"sub-code key", kVersionFile, "[E5]\n1=Overload\n3=Overheated\n", 0x0305, false, {"warning: Overheated"}},
        {"missing key takes the first", kVersionFile, "[E5]\n1=Overload\n3=Overheated\n", 0x0905, false,
         {"warning: Overload"}},
        {"lead-in and closing, line breaks", kVersionFile, withDialog, 0x0305, false,
         {"warning: Drive reports:Overheated \nLet it coolCall service."}},
        {"info only shows the explanation alone", kVersionFile, withDialog, 0x0105, true, {"info: Overload"}},
        {"the class file without a version file", kClassFile, "[E7]\n0=Encoder lost\n", 0x0007, false,
         {"warning: Encoder lost"}},
        {"the version file before the class file", kVersionFile, "[E7]\n0=Encoder unplugged\n", 0x0007, false,
         {"warning: Encoder unplugged"}},
        {"no section: the message", kVersionFile, "[E5]\n1=Overload\n", 0x0106, false, {kQuestionText}},
        {"no file: the message", nullptr, "", 0x0305, false, {kQuestionText}},
        {"no file, info only", nullptr, "", 0x0305, true, {"info: This ends the online work with the active device. Continue!"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* file : {kVersionFile, kClassFile}) RemoveTreeFile(file);
        if (c.file != nullptr) WriteTreeFile(c.file, c.text);
        if (c.file == kVersionFile) WriteTreeFile(kClassFile, "[E7]\n0=Encoder lost\n");
        const size_t before = gwtest::Boxes().size();
        EXPECT_TRUE(ShowDeviceErrorNote(kMessage, c.code, nullptr, c.infoOnly, nullptr));
        std::vector<std::string> shown = BoxTexts();
        shown.erase(shown.begin(), shown.begin() + static_cast<long>(before));
        EXPECT_EQ(shown, c.boxes);
    }
}

TEST_F(NotesTest, ErrorNoteAnswersAsItsBoxAndReadsTheGivenBase) {
    WriteTreeFile(kVersionFile, "[E5]\n3=Overheated\n");
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_FALSE(ShowDeviceErrorNote(kMessage, 0x0305, nullptr, false, main_->ActiveParaBase()));
    ASSERT_EQ(BoxTexts(), (std::vector<std::string>{"warning: Overheated"}));

    RemoveTreeFile(kVersionFile);
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_FALSE(ShowDeviceErrorNote(kMessage, 0x0305, nullptr, false, main_->ActiveParaBase()));
    EXPECT_EQ(BoxTexts().back(), kQuestionText);
}

TEST_F(NotesTest, LongTextsAreCutEachToTheirBuffer) {
    const std::string longText(600, 'x');
    WriteTreeFile(kVersionFile, "[DIALOG]\nPre=" + longText + "\n[E5]\n3=" + longText + "\n");
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_TRUE(ShowDeviceErrorNote(kMessage, 0x0305, nullptr, true, nullptr));
    EXPECT_EQ(BoxTexts().back(), "info: " + std::string(511, 'x'));
}

TEST_F(NotesTest, RiskNoteAsksOnlyUpToLevelFourAndTakesResultSixAsYes) {
    struct Case {
        uint16_t level;
        int result;  // 0: no window expected
        bool answer;
    };
    const Case cases[] = {{4, 6, true}, {4, 2, false}, {4, 7, false}, {3, 6, true}, {5, 0, true}, {6, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 100 + c.result);
        SetUserLevel(c.level);
        if (c.result != 0) gwtest::AnswerModal(c.result, kRiskNoteManualMode);
        EXPECT_EQ(ShowRiskNoteManualMode(mainWindow_), c.answer);
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        EXPECT_EQ(mainWindow_->child(kRiskNoteManualMode), nullptr);
    }
    SetUserLevel(4);
    gwtest::AnswerModal(6, kRiskNoteAdjustmentChanged);
    EXPECT_TRUE(ShowRiskNoteAdjustmentChanged(mainWindow_));
    EXPECT_FALSE(ShowRiskNote("RiskNote_NotDefined", mainWindow_));
}

TEST_F(NotesTest, TickedTuningNoteStaysAwayForTheLifeOfItsWindow) {
    SetUserLevel(4);
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe TuningWindow { container Body { } }\n", "tuning.cgw"));
    GwCore* window = GwRcMgr::load(mainWindow_, "TuningWindow", 1);
    window->show();
    gwtest::ScriptModal(
        kRiskNoteTuning, [](GwCore* note) { ASSERT_TRUE(gwtest::Toggle(note->child("DontShowAgain"))); }, 6);
    EXPECT_TRUE(ShowRiskNoteTuning(window));
    EXPECT_EQ(window->child("Body")->aux_text(), kDontShowTuningNoteMark);
    // No window now: an unscripted modal run would fail the test.
    EXPECT_TRUE(ShowRiskNoteTuning(window));

    window->destroy();
    GwCore* again = GwRcMgr::load(mainWindow_, "TuningWindow", 1);
    again->show();
    gwtest::AnswerModal(2, kRiskNoteTuning);
    EXPECT_FALSE(ShowRiskNoteTuning(again));
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST_F(NotesTest, CenterMessagePutsTheFrameOverTheMiddleOfItsOwner) {
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe Owner { }\n", "owner.cgw"));
    GwCore* owner = GwRcMgr::load(nullptr, "Owner", 1);
    owner->set_rect({100, 50, 601, 400});
    GwCore* note = GwRcMgr::load(owner, kRiskNoteManualMode, 1);
    note->set_rect({0, 0, 441, 190});
    CB_CenterMessage(note->child("Continue"), nullptr, GwUD());
    EXPECT_EQ(note->position().x, 100 + 300 - 220);
    EXPECT_EQ(note->position().y, 50 + 200 - 95);
}

}  // namespace
