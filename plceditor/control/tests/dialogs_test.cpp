// Search/replace over the edit lines, the code generator dialog and the
// information dialog.
#include "plceditor/control/codegen_dialog.h"
#include "plceditor/control/info_dialog.h"
#include "plceditor/control/search_replace.h"
#include "plceditor/control/search_replace_dialog.h"
#include "plceditor/control/tests/translation_fixture.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_toggle.h"

namespace sindel {
namespace {

TEST(FindOccurrences, WholeWordsAndRepeats) {
    const struct {
        std::string line, find;
        bool whole_word;
        std::vector<int> columns;
    } cases[] = {
        {"JMP JMPP", "JMP", true, {0}},
        {"JMPP JMP", "JMP", true, {5}},
        {"JMPP JMP", "JMP", false, {0, 5}},
        {"N1JMP x_JMP", "JMP", true, {8}},  // a digit joins the word, '_' does not
        {"(JMP)", "JMP", true, {1}},
        {"aaaa", "aa", false, {0, 2}},  // the next search starts behind an occurrence
        {"ab", "abc", false, {}},
        {"abc", "", false, {}},
        {"", "", false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindOccurrences(c.line, c.find, c.whole_word), c.columns) << c.line << " / " << c.find;
}

class SearchTest : public TranslationTest {
protected:
    // The user fills the dialog and presses a button.
    static void ScriptSearch(const std::string& find, const std::string& replace, bool case_sensitive, bool whole_word,
                             const char* button) {
        gwtest::ScriptModal({SearchReplaceDialog::kWindowName,
                             [=](GwCore* window) {
                                 gwtest::Replace(window->child("FindWhat"), find);
                                 gwtest::Replace(window->child("ReplaceWith"), replace);
                                 if (case_sensitive) gwtest::Toggle(window->child("CaseSensitive"));
                                 if (whole_word) gwtest::Toggle(window->child("WholeWord"));
                                 gwtest::Click(window->child(button));
                             },
                             std::nullopt});
    }
};

TEST_F(SearchTest, SearchListsEachFindWithItsLineAndColumn) {
    OpenOn(kGeneratorV310, Source({"N10 JMP N20", "N20 JMPP N30", "\tN30 jmp\tEND"}));
    ScriptSearch("JMP", "", false, true, "Search");
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "  LINE(001,004): N10 JMP N20", "  LINE(003,005): N30 jmpEND", "", "2 Conformity found/replaced."}));
    EXPECT_EQ(Text(), Source({"N10 JMP N20", "N20 JMPP N30", "\tN30 jmp\tEND"}));

    // Double-clicking a result selects it for the length of the text searched.
    gwtest::DoubleClick(editor_->Messages(), 1);
    EXPECT_EQ(Edit().Buffer().SelectedText(), "jmp");

    // The settings stay for the next use; case sensitive now.
    gwtest::ScriptModal({SearchReplaceDialog::kWindowName,
                         [](GwCore* window) {
                             EXPECT_EQ(gwtest::Text(window->child("FindWhat")), "jmp");  // the selection
                             EXPECT_TRUE(dynamic_cast<GwToggle*>(window->child("WholeWord"))->is_checked());
                             gwtest::Toggle(window->child("CaseSensitive"));
                             gwtest::Click(window->child("Search"));
                         },
                         std::nullopt});
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"  LINE(003,005): N30 jmpEND", "", "1 Conformity found/replaced."}));
}

TEST_F(SearchTest, ReplaceAllShiftsLaterColumnsOfTheLine) {
    OpenOn(kGeneratorV310, Source({"AB x AB", "ab"}));
    gwtest::AnswerBox(GwRESULT_YES);
    ScriptSearch("AB", "ABC", true, false, "ReplaceAll");
    Command(ids::kCmdSearchReplace);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Really replace in the whole document ?");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Search/Replace");
    EXPECT_EQ(Text(), Source({"ABC x ABC", "ab"}));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"  LINE(001,000) F5: Replace 'AB' with 'ABC'.",
                                        "  LINE(001,006) F5: Replace 'AB' with 'ABC'.",
                                        "",
                                        "2 Conformity found/replaced."}));
    EXPECT_EQ(Commands().SearchSelectionLength(), 3);
    Edit().Undo();  // each replacement can be undone
    EXPECT_EQ(Text(), Source({"ABC x AB", "ab"}));

    // No to the question replaces nothing.
    gwtest::AnswerBox(GwRESULT_NO);
    ScriptSearch("AB", "X", false, false, "ReplaceAll");
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Text(), Source({"ABC x AB", "ab"}));
}

TEST_F(SearchTest, WholeWordReplacementsSayWhereTheWordStood) {
    OpenOn(kGeneratorV310, Source({"AB", "AB x", "x AB", "x AB y"}));
    for (int i = 0; i < 4; ++i) gwtest::AnswerBox(GwRESULT_YES);
    ScriptSearch("ab", "Z", false, true, "Replace");
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Text(), Source({"Z", "Z x", "x Z", "x Z y"}));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "  LINE(001,000) F4: Replace 'ab' with 'Z'.",
                  "  LINE(002,000) F3: Replace 'ab' with 'Z'.",
                  "  LINE(003,002) F2: Replace 'ab' with 'Z'.",
                  "  LINE(004,002): Replace 'ab' with 'Z'.",
                  "",
                  "4 Conformity found/replaced.",
              }));
    EXPECT_EQ(gwtest::Boxes()[0].text, "Replace 'ab' with 'Z'.");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Search/Replace");
}

TEST_F(SearchTest, NoSkipsAnOccurrenceAndCancelStopsAtOnce) {
    OpenOn(kGeneratorV310, Source({"A A", "A"}));
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_CANCEL);
    ScriptSearch("A", "BB", true, false, "Replace");
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Text(), Source({"A BB", "A"}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"  LINE(001,002) F5: Replace 'A' with 'BB'."});

    // Cancel in the dialog changes nothing, not even the settings.
    gwtest::ScriptModal({SearchReplaceDialog::kWindowName,
                         [](GwCore* window) { gwtest::Replace(window->child("FindWhat"), "other"); },
                         GwRESULT_CANCEL});
    Command(ids::kCmdSearchReplace);
    EXPECT_EQ(Messages(), std::vector<std::string>{"  LINE(001,002) F5: Replace 'A' with 'BB'."});
}

class CodeGeneratorTest : public TranslationTest {};

TEST_F(CodeGeneratorTest, RefusesTooMuchMemoryForV310) {
    OpenOn(kGeneratorV310, "");
    gwtest::ScriptModal({CodeGeneratorDialog::kWindowName,
                         [](GwCore* window) {
                             EXPECT_EQ(dynamic_cast<GwCombo*>(window->child("Version"))->selection_text(),
                                       "PLC V3.xx (Vanta, RCAM support)");
                             EXPECT_EQ(gwtest::Text(window->child("MemorySize")), "747");
                             EXPECT_TRUE(gwtest::IsVisible(window->child("MemorySize")));
                             for (const char* refused : {"4097", "-1"}) {
                                 gwtest::Replace(window->child("MemorySize"), refused);
                                 gwtest::AnswerBox(GwRESULT_OK);
                                 gwtest::Click(window->child("OK"));
                                 EXPECT_FALSE(window->modal_ended());
                             }
                             gwtest::Replace(window->child("MemorySize"), "4096");
                             gwtest::Click(window->child("OK"));
                         },
                         std::nullopt});
    Command(ids::kCmdCodeGenerator);
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "The maximum memory is 4096 of 32-Bit elements.\nPleace correct your settings!");
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(editor_->MemorySize(), 4096);
    EXPECT_EQ(editor_->Generators().v310.recordCapacity(), 2730);
    EXPECT_EQ(editor_->Generators().v210.memorySize(), 4096);
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[CodeGenerator]\r\nVersion=2\r\nMemorySize=4096\r\n");
}

TEST_F(CodeGeneratorTest, V110TakesNoMemorySize) {
    OpenOn(kGeneratorV210, "");
    gwtest::ScriptModal({CodeGeneratorDialog::kWindowName,
                         [](GwCore* window) {
                             gwtest::Select(window->child("Version"), kGeneratorV110);
                             EXPECT_FALSE(gwtest::IsVisible(window->child("MemorySize")));
                             EXPECT_FALSE(gwtest::IsVisible(window->child("MemoryLabel")));
                             gwtest::Select(window->child("Version"), kGeneratorV310);
                             EXPECT_TRUE(gwtest::IsVisible(window->child("MemoryLabel")));
                             gwtest::Select(window->child("Version"), kGeneratorV110);
                             gwtest::Replace(window->child("MemorySize"), "99999");
                             gwtest::Click(window->child("OK"));
                         },
                         std::nullopt});
    Command(ids::kCmdCodeGenerator);
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(editor_->Generator(), kGeneratorV110);
    EXPECT_EQ(editor_->MemorySize(), 747);
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Tool32780"));
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32780"));
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[CodeGenerator]\r\nVersion=0\r\nMemorySize=747\r\n");

    // Cancel keeps everything.
    gwtest::ScriptModal({CodeGeneratorDialog::kWindowName,
                         [](GwCore* window) { gwtest::Select(window->child("Version"), kGeneratorV310); },
                         GwRESULT_CANCEL});
    Command(ids::kCmdCodeGenerator);
    EXPECT_EQ(editor_->Generator(), kGeneratorV110);
}

TEST_F(CodeGeneratorTest, InfoShowsTheEditorsVersion) {
    OpenOn(kGeneratorV310, "");
    gwtest::ScriptModal({kInfoDialogName,
                         [](GwCore* window) {
                             EXPECT_EQ(window->title(), "Information about PLC editor");
                             EXPECT_EQ(gwtest::Text(window->child("Text")), "\n PLC-Editor V3.60-00");
                             gwtest::Click(window->child("OK"));
                         },
                         std::nullopt});
    Command(ids::kCmdInfo);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

}  // namespace
}  // namespace sindel
