// Modal runs, message boxes and file selectors answered from the test's
// script, and the failure of anything the test did not script.
#include <gtest/gtest.h>

#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_message_box.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/tests/toolkit_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace toolkit_test {
namespace {

class Modal : public ToolkitTest {
protected:
    // Collects driver failures instead of failing the test.
    void CaptureFailures() {
        gwtest::SetFailureReporter([this](const std::string& m) { failures_.push_back(m); });
    }
    std::vector<std::string> failures_;
};

TEST_F(Modal, RunEndsWithTheScriptedResult) {
    GwCore* dialog = GwRcMgr::load(nullptr, "Settings", 1);
    gwtest::AnswerModal(GwRESULT_YES, "Settings");
    EXPECT_EQ(dialog->go(), GwRESULT_YES);
    EXPECT_EQ(dialog->result(), GwRESULT_YES);
    EXPECT_FALSE(dialog->in_modal_run());
}

TEST_F(Modal, ScriptActsInTheWindowAndAResultButtonEndsTheRun) {
    GwCore* dialog = GwRcMgr::load(nullptr, "Settings", 1);
    gwtest::ScriptModal({"Settings",
                         [](GwCore* w) {
                             EXPECT_TRUE(w->is_visible());
                             gwtest::Type(w->child("Name"), "Drive 7");
                             gwtest::Click(w->child("OK"));
                         },
                         std::nullopt});
    EXPECT_EQ(dialog->go(), GwRESULT_OK);
    EXPECT_EQ(dialog->child("Name")->text(), "Drive 7");
}

TEST_F(Modal, RunsOfTheWrongWindowOrNotEndedFailTheTest) {
    CaptureFailures();
    GwCore* dialog = GwRcMgr::load(nullptr, "Settings", 1);
    gwtest::AnswerModal(GwRESULT_OK, "Other");
    EXPECT_EQ(dialog->go(), GwRESULT_CANCEL);
    gwtest::ScriptModal({"", [](GwCore*) {}, std::nullopt});
    EXPECT_EQ(dialog->go(), GwRESULT_CANCEL);
    EXPECT_EQ(dialog->go(), GwRESULT_CANCEL);
    EXPECT_EQ(failures_,
              (std::vector<std::string>{
                  "modal run of \"Settings\" where the script expected \"Other\"",
                  "the script did not end the modal run of \"Settings\"",
                  "unscripted modal run of \"Settings\"",
              }));
    gwtest::SetDefaultModalResult(GwRESULT_NO);
    failures_.clear();
    EXPECT_EQ(dialog->go(), GwRESULT_NO);
    EXPECT_TRUE(failures_.empty());
}

// What the program's box function does with a box definition.
int ShowBox(const char* definition, GwCore* parent, const std::string& caption, const std::string& text) {
    GwCore* box = GwRcMgr::load(parent, definition, 1);
    box->set_modality(2);
    box->set_title(caption);
    box->child("Message")->set_text(text);
    int result = box->go();
    box->destroy();
    return result;
}

TEST_F(Modal, BoxReturnsTheScriptedAnswerAndIsRecorded) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    main->show();
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(ShowBox("x_QuestionBox", main, "Question", "Save the data set?"), GwRESULT_NO);
    EXPECT_EQ(ShowBox("x_ErrorBox", main->child("BT_Save"), "Error", "Device 3 does not answer!"), GwRESULT_OK);
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    const GwBoxRecord& question = gwtest::Boxes()[0];
    EXPECT_EQ(question.kind, "question");
    EXPECT_EQ(question.caption, "Question");
    EXPECT_EQ(question.text, "Save the data set?");
    EXPECT_EQ(question.parent, "MainWindow");
    EXPECT_EQ(question.window, "x_QuestionBox");
    EXPECT_EQ(question.answer, GwRESULT_NO);
    EXPECT_EQ(gwtest::Boxes()[1].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[1].parent, "MainWindow.MainContainer.BT_Save");
}

TEST_F(Modal, BoxButtonsEndTheRunWithTheirFixedCodes) {
    struct Case {
        const char* box;
        const char* button;
        int code;
    };
    const Case cases[] = {
        {"x_QuestionBox", "Yes", 6},
        {"x_QuestionBox", "No", 7},
        {"x_ErrorBox", "OK", 8},
        {"x_WarningBox", "OK", 8},
        {"x_InfoBox", "OK", 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.button);
        GwCore* box = GwRcMgr::load(nullptr, c.box, 1);
        auto* button = dynamic_cast<GwPushButton*>(box->child(c.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->result_code(), c.code);
    }
}

TEST_F(Modal, UnscriptedBoxFailsTheTestUnlessADefaultIsSet) {
    CaptureFailures();
    EXPECT_EQ(ShowBox("x_WarningBox", nullptr, "Warning", "Careful!"), GwRESULT_CANCEL);
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0], "unscripted warning box \"Warning\": Careful!");

    failures_.clear();
    gwtest::SetDefaultBoxAnswer(GwRESULT_YES, "question");
    EXPECT_EQ(ShowBox("x_QuestionBox", nullptr, "Question", "Go on?"), GwRESULT_YES);
    EXPECT_TRUE(failures_.empty());
    EXPECT_EQ(ShowBox("x_InfoBox", nullptr, "Info", "Done"), GwRESULT_CANCEL) << "the default was for questions only";
    EXPECT_EQ(failures_.size(), 1u);
}

TEST_F(Modal, ToolkitMessageBoxIsAnsweredAndRecordedToo) {
    GwCore* main = GwRcMgr::load(nullptr, "MainWindow", 1);
    gwtest::AnswerBox(GwRESULT_CANCEL);
    auto* box = new GwMessageBox("Error", main, main->position());
    box->set_modality(2);
    box->set_buttons(0x10000);
    box->set_button_text(GwBUTTONBOX_CANCEL_TEXT, "Quit");
    box->set_bitmap("mb_stop");
    box->set_text("No box definition");
    EXPECT_EQ(box->go(), GwRESULT_CANCEL);
    box->destroy();
    delete box;
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "message");
    EXPECT_EQ(gwtest::Boxes()[0].text, "No box definition");
    EXPECT_EQ(gwtest::Boxes()[0].parent, "MainWindow");
}

TEST_F(Modal, FileSelectorsAnswerFromTheScript) {
    gwtest::AnswerFile("..\\userdata\\servo.00D");
    gwtest::CancelFile();
    GwFileSelector chooser;
    chooser.set_title("Choose a parameter file");
    chooser.set_filter("Parameter files|*.00D|All files|*|");
    chooser.set_directory("..\\userdata\\");
    ASSERT_TRUE(chooser.go());
    EXPECT_EQ(chooser.selection(), "..\\userdata\\servo.00D");
    EXPECT_EQ(chooser.directory(), "..\\userdata\\");

    GwFileSelectorControl folder("id", nullptr);
    folder.set_folder_mode(true);
    folder.set_start_folder("..\\userdata\\");
    EXPECT_FALSE(folder.go());
    EXPECT_FALSE(folder.selection_ok());
    EXPECT_EQ(folder.folder(), "..\\userdata\\");

    ASSERT_EQ(GwRecorder::FileRequests().size(), 2u);
    EXPECT_EQ(GwRecorder::FileRequests()[0].title, "Choose a parameter file");
    EXPECT_TRUE(GwRecorder::FileRequests()[0].chosen);
    EXPECT_TRUE(GwRecorder::FileRequests()[1].folder_mode);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

// Both kinds of selector carry their mode in one meaning, so a screen shows
// an open dialog for a file that must exist and a save dialog for a target.
TEST_F(Modal, FileRequestsSayOpenSaveOrFolder) {
    GwFileSelector plain;
    EXPECT_EQ(plain.request().action, GwFileAction::kOpen);
    plain.set_mode(GwFILESELECTOR_SAVE);
    EXPECT_EQ(plain.request().action, GwFileAction::kSave);
    plain.set_mode(GwFILESELECTOR_OPEN);
    EXPECT_EQ(plain.request().action, GwFileAction::kOpen);

    GwFileSelectorControl control("ParaBaseFile", nullptr);
    EXPECT_EQ(control.request().action, GwFileAction::kSave);
    control.set_mode(GwFILESELECTORCONTROL_SOURCE);
    EXPECT_EQ(control.request().action, GwFileAction::kOpen);
    control.set_folder_mode(true);
    EXPECT_EQ(control.request().action, GwFileAction::kFolder);
    control.set_folder_mode(false);
    EXPECT_EQ(control.request().action, GwFileAction::kOpen);
    control.set_mode(GwFILESELECTORCONTROL_TARGET);
    EXPECT_EQ(control.request().action, GwFileAction::kSave);
}

TEST_F(Modal, UnscriptedFileSelectorFailsTheTest) {
    CaptureFailures();
    GwFileSelector chooser(nullptr, "ScopeFileWrite");
    chooser.set_title("Save scope data");
    EXPECT_FALSE(chooser.go());
    EXPECT_EQ(failures_, std::vector<std::string>{"unscripted file selector \"Save scope data\" (ScopeFileWrite)"});
    gwtest::SetDefaultFileAnswer(std::nullopt);
    EXPECT_FALSE(chooser.go());
    EXPECT_EQ(failures_.size(), 1u);
}

TEST(FileFilter, PatternsMatchWithoutRegardToCase) {
    const std::string filter = "Parameter files (*.00d)|*.00d|Programs|*.prg;*.plc|";
    EXPECT_TRUE(GwFilterMatches(filter, "SERVO.00D"));
    EXPECT_TRUE(GwFilterMatches(filter, "main.PLC"));
    EXPECT_FALSE(GwFilterMatches(filter, "notes.txt"));
    EXPECT_FALSE(GwFilterMatches(filter, "Parameter files (x.00d)")) << "descriptions are not patterns";
}

TEST_F(Modal, WaitObjectSetsAndRestoresTheGlobalCursor) {
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    {
        GwWaitObject wait;
        EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_WAIT);
    }
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    auto cursors = gwtest::Effects("cursor");
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_EQ(cursors[0].value, "wait");
    EXPECT_EQ(cursors[1].value, "arrow");
}

}  // namespace
}  // namespace toolkit_test
