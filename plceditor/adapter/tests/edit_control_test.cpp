#include "plceditor/adapter/edit_control.h"

#include <gtest/gtest.h>

#include <vector>

#include "plceditor/adapter/list_box.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/adapter/private_profile.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace sindel {
namespace {

class EditControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame_ = new GwDialogFrame("Window", nullptr);
        edit_ = new EditControl("Edit", frame_);
        edit_->SetNotify([this](EditNotification n) { notes_.push_back(n); });
        edit_->SetKeyHandler([this](int key) { keys_.push_back(key); });
        frame_->show();
    }
    void TearDown() override { frame_->destroy(); }

    GwCore* frame_ = nullptr;
    EditControl* edit_ = nullptr;
    std::vector<EditNotification> notes_;
    std::vector<int> keys_;
};

TEST_F(EditControlTest, TypedKeysEditTheTextAndNotifyEachChange) {
    edit_->set_text("ab");
    EXPECT_TRUE(notes_.empty());  // the program's text is no change notification
    edit_->SetSel(2, 2);
    EXPECT_TRUE(gwtest::Type(edit_, "c\n"));
    EXPECT_EQ(edit_->text(), "abc\r\n");
    gwtest::PressKey(edit_, GwKEY_BACKSPACE);  // the line end goes as one
    EXPECT_TRUE(gwtest::Type(edit_, "d"));
    EXPECT_EQ(gwtest::Text("Window/Edit"), "abcd");
    EXPECT_EQ(notes_.size(), 4u);
    edit_->SetSel(1, 1);
    EXPECT_TRUE(gwtest::PressKey(edit_, GwKEY_DELETE));
    EXPECT_EQ(edit_->text(), "acd");
    edit_->SetSel(1, 2);  // typing replaces a selection
    gwtest::Type(edit_, "XY");
    EXPECT_EQ(edit_->text(), "aXYd");
    EXPECT_EQ(edit_->Buffer().SelStart(), 3);

    gwtest::PressKey(edit_, CtrlKey('Z'));
    EXPECT_EQ(edit_->text(), "acd");
    gwtest::PressKey(edit_, CtrlKey('Z'));
    EXPECT_EQ(edit_->text(), "aXYd");

    edit_->SetSel(0, 2);
    gwtest::PressKey(edit_, CtrlKey('X'));
    EXPECT_EQ(edit_->text(), "Yd");
    EXPECT_EQ(EditControl::Clipboard(), "aX");
    gwtest::PressKey(edit_, CtrlKey('V'));
    gwtest::PressKey(edit_, CtrlKey('V'));
    EXPECT_EQ(edit_->text(), "aXaXYd");

    // Replacing the whole field as a user does.
    gwtest::Replace(edit_, "Z");
    EXPECT_EQ(edit_->text(), "Z");

    EXPECT_TRUE(keys_.empty());
    gwtest::PressKey(edit_, GwKEY_ESCAPE);
    gwtest::PressKey(edit_, CtrlKey('S'));
    EXPECT_EQ(keys_, (std::vector<int>{GwKEY_ESCAPE, CtrlKey('S')}));
}

TEST_F(EditControlTest, LimitReachedIsNotifiedBeforeTheChange) {
    edit_->LimitText(3);
    edit_->set_text("ab");
    edit_->SetSel(2, 2);
    edit_->ReplaceSel("cd", true);
    EXPECT_EQ(edit_->text(), "abc");
    EXPECT_EQ(notes_, (std::vector<EditNotification>{EditNotification::kMaxText, EditNotification::kChange}));
    notes_.clear();
    EXPECT_FALSE(gwtest::Type(edit_, "x"));
    EXPECT_EQ(notes_, (std::vector<EditNotification>{EditNotification::kMaxText}));
    EXPECT_EQ(edit_->text(), "abc");
}

TEST(MessageBoxes, KindIsTheIconAndWindowTheButtonSet) {
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(ShowMessageBox(nullptr, "Save?", "Sindel", BoxButtons::kYesNoCancel, BoxIcon::kQuestion), GwRESULT_NO);
    EXPECT_EQ(ShowMessageBox(nullptr, "Error at opening of\nx", "Sindel", BoxButtons::kOk, BoxIcon::kError),
              GwRESULT_OK);
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "question");
    EXPECT_EQ(gwtest::Boxes()[0].window, "SindelBoxQuestionYesNoCancel");
    EXPECT_EQ(gwtest::Boxes()[0].text, "Save?");
    EXPECT_EQ(gwtest::Boxes()[1].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[1].caption, "Sindel");
    EXPECT_EQ(gwtest::Boxes()[1].text, "Error at opening of\nx");
}

TEST(PrivateProfileCalls, EachWriteReachesTheFileAtOnce) {
    PrivateProfile profile(".\\PlcEdit.ini");
    EXPECT_EQ(profile.GetInt("Page", "Top", 10), 10);
    EXPECT_EQ(profile.GetString("Menu", "LastPath", "?"), "?");
    ASSERT_TRUE(profile.WriteInt("Page", "Top", 25));
    ASSERT_TRUE(profile.WriteString("Menu", "LastPath", "..\\userdata\\a.plc"));
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("bin/PlcEdit.ini")),
              "[Page]\r\nTop=25\r\n\r\n[Menu]\r\nLastPath=..\\userdata\\a.plc\r\n");
    EXPECT_EQ(PrivateProfile(".\\PlcEdit.ini").GetInt("Page", "Top", 10), 25);
    testsupport::WriteFile(testsupport::RuntimePath("bin/PlcEdit.ini"), "[CodeGenerator]\r\nVersion=abc\r\n");
    EXPECT_EQ(profile.GetInt("CodeGenerator", "Version", 5), 0);
}

}  // namespace
}  // namespace sindel
