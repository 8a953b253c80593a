#include "plceditor/control/source_text.h"
#include "plceditor/control/tests/editor_fixture.h"

namespace sindel {
namespace {

using namespace platform;

std::string UserFile(const std::string& name) { return "..\\userdata\\" + name; }
void WriteUserFile(const std::string& name, const std::string& bytes) {
    testsupport::WriteFile(testsupport::RuntimePath("userdata/" + name), bytes);
}
std::string ReadUserFile(const std::string& name) {
    return testsupport::ReadFile(testsupport::RuntimePath("userdata/" + name));
}

TEST(SourceText, LinesGetCrLfAndEmptyLinesStay) {
    const struct {
        std::string file, text;
    } cases[] = {
        {"A\r\n\r\nB\r\n", "A\r\n\r\nB\r\n"},
        {"A\n\nB\n", "A\r\n\r\nB\r\n"},
        {"A\r\nB", "A\r\nB"},
        {"A\nB\r", "A\r\nB\r\n"},
        {"", ""},
        {"\n", "\r\n"},
        {"x\ry\n", "x\ry\r\n"},
    };
    for (const auto& c : cases) {
        SourceText source = SourceTextFromBytes(c.file, 100);
        EXPECT_EQ(source.text, c.text);
        EXPECT_EQ(source.fit, SourceText::Fit::kWhole);
    }
}

TEST(SourceText, StopsAtTheLimit) {
    const struct {
        std::string file;
        size_t limit;
        std::string text;
        SourceText::Fit fit;
    } cases[] = {
        {"ABC\r\nDE\r\n", 10, "ABC\r\nDE\r\n", SourceText::Fit::kWhole},
        {"ABC\r\nDE\r\n", 9, "ABC\r\nDE\r\n", SourceText::Fit::kAtLimit},
        {"ABC\r\nDE\r\n", 7, "ABC\r\nDE", SourceText::Fit::kCut},
        {"ABC\nDE", 7, "ABC\r\nDE", SourceText::Fit::kAtLimit},
        {"ABCDEFGH", 4, "ABCD", SourceText::Fit::kCut},
    };
    for (const auto& c : cases) {
        SourceText source = SourceTextFromBytes(c.file, c.limit);
        EXPECT_EQ(source.text, c.text) << c.limit;
        EXPECT_EQ(source.fit, c.fit) << c.limit;
    }
}

TEST_F(EditorTest, OpenKeepsEmptyLinesOfCrLfAndLfFiles) {
    WriteUserFile("crlf.plc", "%P00\r\n\r\nEND\r\n");
    WriteUserFile("lf.plc", "%P00\n\nEND\n");
    Open();
    gwtest::AnswerFile(UserFile("crlf.plc"));
    Command(ids::kCmdOpen);
    EXPECT_EQ(Text(), "%P00\r\n\r\nEND\r\n");
    EXPECT_EQ(editor_->CurrentPath(), UserFile("crlf.plc"));
    EXPECT_EQ(Edit().Buffer().LineCount(), 4);

    gwtest::AnswerFile(UserFile("lf.plc"));
    Command(ids::kCmdOpen);
    EXPECT_EQ(Text(), "%P00\r\n\r\nEND\r\n");
    EXPECT_FALSE(editor_->IsModified());

    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].filter, "PLC-Program (*.plc)|*.plc|all files (*.*)|*.*|");
    EXPECT_EQ(requests[0].directory, "..\\userdata\\");
    EXPECT_EQ(requests[0].mode, GwFILESELECTOR_OPEN);
    EXPECT_EQ(requests[1].directory, "..\\userdata\\");
}

TEST_F(EditorTest, AFileBeyondTheLimitLoadsItsBeginningUnbound) {
    const std::string file(kMaxTextChars + 10, 'x');
    WriteUserFile("big.plc", file);
    Open();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host_->Call(kPlcFileOpen, {VariantFromString(UserFile("big.plc"))}), "TRUE");
    EXPECT_EQ(Text(), file.substr(0, kMaxTextChars));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Due to its size file cannot be opened completely!");
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");

    // Save asks for a name instead of overwriting the whole file with its beginning.
    EXPECT_EQ(editor_->CurrentPath(), "PlcPrg");
    gwtest::CancelFile();
    Command(ids::kCmdSave);
    EXPECT_EQ(ReadUserFile("big.plc"), file);
    EXPECT_EQ(GwRecorder::FileRequests().back().mode, GwFILESELECTOR_SAVE);
}

TEST_F(EditorTest, AFileOfExactlyTheLimitLoadsWholeWithTheSizeWarning) {
    std::string file(kMaxTextChars - 2, 'y');
    file += "\r\n";
    WriteUserFile("full.plc", file);
    Open();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host_->Call(kPlcFileOpen, {VariantFromString(UserFile("full.plc"))}), "TRUE");
    EXPECT_EQ(Text(), file);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text,
              "Max. size of document is reached.\nSave and reduce size of document before datas are lost.");
    EXPECT_EQ(editor_->CurrentPath(), UserFile("full.plc"));

    // Typing at the limit is refused with the same message.
    Edit().SetSel(0, 0);
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::Type(&Edit(), "z");
    EXPECT_EQ(Text(), file);
    EXPECT_EQ(gwtest::Boxes().back().text, gwtest::Boxes()[0].text);
    EXPECT_FALSE(editor_->IsModified());
}

TEST_F(EditorTest, AFileThatCannotBeOpenedLeavesTextAndPath) {
    WriteUserFile("a.plc", "A\r\n");
    Open();
    ASSERT_EQ(host_->Call(kPlcFileOpen, {VariantFromString(UserFile("a.plc"))}), "TRUE");
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerFile(UserFile("missing.plc"));
    Command(ids::kCmdOpen);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text, "Error at opening of\n..\\userdata\\missing.plc");
    EXPECT_EQ(Text(), "A\r\n");
    EXPECT_EQ(editor_->CurrentPath(), UserFile("a.plc"));
}

TEST_F(EditorTest, SaveWritesTheTextAsItStands) {
    Open();
    Edit().set_text("%P00\r\n\r\nEND");
    gwtest::Type(&Edit(), ";");
    gwtest::AnswerFile(UserFile("new.plc"));
    Command(ids::kCmdSave);
    EXPECT_EQ(ReadUserFile("new.plc"), ";%P00\r\n\r\nEND");
    EXPECT_EQ(editor_->CurrentPath(), UserFile("new.plc"));
    EXPECT_FALSE(editor_->IsModified());
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, "..\\userdata\\");

    // Save as always asks; the folder chosen last is where it starts.
    gwtest::AnswerFile("..\\TMP\\copy.plc");
    Command(ids::kCmdSaveAs);
    gwtest::AnswerFile("..\\TMP\\copy2.plc");
    Command(ids::kCmdSaveAs);
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, "..\\TMP\\");
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/copy2.plc")), ";%P00\r\n\r\nEND");

    // A failed write says so and keeps the text bound where it was.
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerFile("..\\nowhere\\x.plc");
    Command(ids::kCmdSaveAs);
    EXPECT_EQ(gwtest::Boxes().back().text, "Error at saving of\n..\\nowhere\\x.plc");
    EXPECT_EQ(gwtest::Boxes().back().kind, "error");
    EXPECT_EQ(editor_->CurrentPath(), "..\\TMP\\copy2.plc");
}

TEST_F(EditorTest, SavePromptBeforeNew) {
    Open();
    gwtest::Type(&Edit(), "A");
    gwtest::AnswerBox(GwRESULT_CANCEL);
    Command(ids::kCmdNew);
    EXPECT_EQ(Text(), "A");
    EXPECT_EQ(gwtest::Boxes().back().kind, "question");
    EXPECT_EQ(gwtest::Boxes().back().window, "SindelBoxQuestionYesNoCancel");

    // Yes saves first (asking for a name), and only a saved text is replaced.
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::CancelFile();
    Command(ids::kCmdNew);
    EXPECT_EQ(Text(), "A");
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerFile(UserFile("saved.plc"));
    editor_->AppendMessage("old message");
    Command(ids::kCmdNew);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(ReadUserFile("saved.plc"), "A");
    EXPECT_EQ(editor_->CurrentPath(), "PlcPrg");
    EXPECT_EQ(editor_->Messages()->GetCount(), 0);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST_F(EditorTest, RecentFileOpensOrIsForgotten) {
    WriteUserFile("last.plc", "L\r\n");
    WriteProfile("[Menu]\r\nLastPath=..\\userdata\\last.plc\r\n");
    Open();
    Command(ids::kCmdRecentFile);
    EXPECT_EQ(Text(), "L\r\n");

    ASSERT_TRUE(std::filesystem::remove(testsupport::RuntimePath("userdata/last.plc")));
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdRecentFile);
    EXPECT_EQ(gwtest::Boxes().back().text, "Error at opening of\n..\\userdata\\last.plc");
    EXPECT_EQ(gwtest::Text("PlcEditorDialog/Menu32791"), "?");
    EXPECT_FALSE(gwtest::IsEnabled("PlcEditorDialog/Menu32791"));
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[Menu]\r\nLastPath=?\r\n");
}

TEST_F(EditorTest, ClosingRemembersTheFileAndTheCodeArray) {
    WriteUserFile("a.plc", "A\r\n");
    WriteProfile("[CodeGenerator]\r\nMemorySize=1200\r\n");
    Open();
    host_->Call(kPlcFileOpen, {VariantFromString(UserFile("a.plc"))});
    gwtest::Type(&Edit(), "B");
    gwtest::AnswerBox(GwRESULT_CANCEL);
    EXPECT_FALSE(gwtest::Close(EditorWindow()));
    EXPECT_NE(EditorWindow(), nullptr);
    EXPECT_TRUE(host_->sink.events.empty());

    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_TRUE(gwtest::Close(EditorWindow()));
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_EQ(host_->sink.events, (std::vector<ReceivedEvent>{{kPlcOnCancel, {}}}));
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()),
              "[CodeGenerator]\r\nMemorySize=1200\r\n\r\n[Menu]\r\nLastPath=..\\userdata\\a.plc\r\n\r\n"
              "[Interpreter]\r\nMax32BitCodeArray=1200\r\n");
    EXPECT_EQ(ReadUserFile("a.plc"), "A\r\n");
}

}  // namespace
}  // namespace sindel
