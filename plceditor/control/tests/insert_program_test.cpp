// Insert Program: a new program body at the caret, numbered into the
// programs around it, or refused with the text as it was.
#include "plceditor/control/tests/translation_fixture.h"

namespace sindel {
namespace {

class InsertProgramTest : public TranslationTest {
protected:
    void CaretAtLine(int line) {
        const int at = Edit().Buffer().LineIndex(line);
        Edit().SetSel(at, at);
    }
    static constexpr char kBody[] = "\r\n%P00\r\n;TODO: Insert own programme code here\r\nEND\r\n";
};

TEST_F(InsertProgramTest, ABodyBehindAProgramIsNumberedAndItsTodoSelected) {
    OpenOn(kGeneratorV310, Source({"%P00", "N10 NOP ; first", "END", ""}));
    CaretAtLine(3);
    ExpectDecode();
    gwtest::AnswerBox(GwRESULT_YES);
    ExpectDecode();
    Command(ids::kCmdInsertProgram);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Crate a new program body at actual cursor position?"});
    EXPECT_EQ(Text(),
              Source({"%P00\t\t",
                      "N010 NOP\t\t; first",
                      "END\t\t",
                      "",
                      "%P01\t\t",
                      ";TODO: Insert own programme code here",
                      "END\t\t",
                      ""}));
    EXPECT_EQ(Edit().Buffer().SelectedText(), ";TODO: Insert own programme code here");
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST_F(InsertProgramTest, ABodyInsideAProgramIsTakenBack) {
    const std::string text = Source({"%P00", "N10 NOP", "", "N20 NOP", "END"});
    OpenOn(kGeneratorV310, text);
    CaretAtLine(2);
    ExpectDecode();
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdInsertProgram);
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[1].text,
              "A new program body can not created without errors.\nInfo:\n\nIf you want to insert "
              "a new program body "
              "please place the cursor\n\t - above a program,\n\t - at the end of a program or\n\t "
              "- between to "
              "programs\nbut never inside a program!\n");
    EXPECT_EQ(Text(), text);
}

TEST_F(InsertProgramTest, TextsWithoutAProgram) {
    // An empty text gets a whole first text.
    OpenOn(kGeneratorV210, "");
    gwtest::AnswerBox(GwRESULT_YES);
    Command(ids::kCmdInsertProgram);
    EXPECT_EQ(Text(), std::string(kStamp) + "\r\n\r\n%TEXT(NAME)\r\nEND\r\n" + kBody);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No programme available.\nNow create programme body ?"});

    // Comments only: the text block and the body go in at the caret.
    Edit().set_text(Source({"; notes", ""}));
    CaretAtLine(1);
    gwtest::AnswerBox(GwRESULT_YES);
    Command(ids::kCmdInsertProgram);
    EXPECT_EQ(Text(), "; notes\r\n%TEXT(NAME)\r\nEND\r\n" + std::string(kBody) + "\r\n");
}

TEST_F(InsertProgramTest, NeedsAnEmptyCaretLineAndALaterGenerator) {
    const std::string text = Source({"%P00", "N10 NOP", "END"});
    OpenOn(kGeneratorV310, text);
    CaretAtLine(1);
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdInsertProgram);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"Can not create a new program body!\nIf you want to insert a new "
                                       "program body please place the cursor in an empty line."});
    EXPECT_EQ(Text(), text);

    // The command is not offered for V1.10, and does nothing there.
    editor_->SetGenerator(kGeneratorV110);
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32780"));
    CaretAtLine(3);
    Commands().InsertProgram();
    EXPECT_EQ(Text(), text);
    EXPECT_EQ(gwtest::Boxes().size(), 1u);
}

}  // namespace
}  // namespace sindel
