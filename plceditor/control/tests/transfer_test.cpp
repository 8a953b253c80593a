// Saving a translated program into a file or the device with the files and
// events that go with it, and reading programme files back into source text.
#include <filesystem>

#include "platform/base/format.h"
#include "plceditor/control/tests/translation_fixture.h"
#include "plceditor/control/translation_lines.h"

namespace sindel {
namespace {

using namespace platform;

const std::string kNamed310 = Source(
    {"%TEXT(Demo)", "DEF H001 = Speed", "END", "%P00", "N10 SET H1 = 5", "N20 JMP (H1 = 0) END", "N25 JMP N10", "END"});
const std::string kUnnamed110 = Source({"%P00", "N1 SET H1 = 5", "N2 JMP (H1 != 0) N1", "END"});

std::string Absolute(const std::string& runtime_path) {
    return std::filesystem::absolute(testsupport::RuntimePath(runtime_path)).lexically_normal().string();
}

class TransferTest : public TranslationTest {
protected:
    void OpenFor(int generator, const std::string& text, bool online = false) {
        OpenOn(generator, text);
        host_->Call(kPlcSetTmpFileName, {VariantFromString("..\\TMP\\PlcOut.txt")});
        host_->Call(kPlcSetPlcProjPath, {VariantFromString("..\\FIRMDATA\\")});
        if (online) host_->Call(kPlcSetOnline);
    }
    std::vector<ReceivedEvent>& Events() { return host_->sink.events; }
    // Writes a programme file of `text` with a generator through Save in file.
    void MakeProgrammeFile(int generator, const std::string& text) {
        OpenFor(generator, text);
        if (generator != kGeneratorV110) ExpectDecode();
        Command(ids::kCmdSaveInFile);
        ASSERT_TRUE(std::filesystem::exists(testsupport::RuntimePath("TMP/PlcOut.txt")));
        host_.reset();
    }
    const std::string out_ = Absolute("TMP/PlcOut.txt");
};

TEST_F(TransferTest, SaveInFileWritesBothFilesThenReportsNameAndFile) {
    OpenFor(kGeneratorV310, kNamed310);
    bool file_there = false;
    host_->sink.on_event = [&](DISPID) {
        file_there = std::filesystem::exists(testsupport::RuntimePath("TMP/PlcOut.txt"));
    };
    ExpectDecode();
    Command(ids::kCmdSaveInFile);
    EXPECT_TRUE(file_there);
    EXPECT_EQ(Events(),
              (std::vector<ReceivedEvent>{{kPlcUpDateProjName, {"Demo", "FALSE"}}, {kPlcFileToArchiv, {out_}}}));
    const std::vector<std::string> rows = Messages();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[rows.size() - 2], "Binary programme file was made - " + out_);
    EXPECT_EQ(rows.back(), "Text declaration file was made - " + Absolute("FIRMDATA/Demo.txt"));
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("FIRMDATA/Demo.txt")), "[PLC_H]\r\n1: Speed\r\n");
    const std::string file = testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcOut.txt"));
    EXPECT_EQ(file.size(), 747u * 10);
    EXPECT_EQ(file.substr(0, 10), "000000ae\r\n");  // the program head comes first
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(TransferTest, SaveInDeviceReportsTheFileThenTheNameOnline) {
    const struct {
        int generator;
        std::string text;
        std::vector<std::string> names;  // the online project names reported
    } cases[] = {
        {kGeneratorV310, kNamed310, {"Demo"}},
        {kGeneratorV210, kNamed310, {"Demo"}},
        {kGeneratorV110, Source({"%TEXT(Mini)", "END", "%P00", "N1 NOP", "END"}), {"Mini"}},
        // No name, nothing that would overwrite the device's project name.
        {kGeneratorV110, kUnnamed110, {}},
        {kGeneratorV310, Source({"%P00", "N10 NOP", "END"}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.generator);
        OpenFor(c.generator, c.text, true);
        if (c.generator != kGeneratorV110) ExpectDecode();
        Command(ids::kCmdSaveInDevice);
        std::vector<ReceivedEvent> expected = {{kPlcFileToDevice, {out_}}};
        for (const std::string& name : c.names) expected.push_back({kPlcUpDateProjName, {name, "TRUE"}});
        EXPECT_EQ(Events(), expected);
        host_.reset();
    }
}

TEST_F(TransferTest, AnUnnamedProgramSavedInFileReportsAnEmptyName) {
    OpenFor(kGeneratorV110, kUnnamed110);
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(Events(), (std::vector<ReceivedEvent>{{kPlcUpDateProjName, {"", "FALSE"}}, {kPlcFileToArchiv, {out_}}}));
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcOut.txt")).size(), 512u * 10);
    EXPECT_EQ(Messages().back(), "Binary programme file was made - " + out_);
}

TEST_F(TransferTest, AHostMayLetGoOfTheControlInsideAnEvent) {
    OpenFor(kGeneratorV110, kUnnamed110);
    host_->sink.on_event = [this](DISPID) { host_->Release(); };
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(Events(), (std::vector<ReceivedEvent>{{kPlcUpDateProjName, {"", "FALSE"}}}));
    EXPECT_EQ(EditorWindow(), nullptr);

    OpenFor(kGeneratorV110, kUnnamed110);
    host_->sink.answers[kPlcFileFromArchiv] = "";
    host_->sink.on_event = [this](DISPID) { host_->Release(); };
    Command(ids::kCmdReadFromFile);
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(TransferTest, MissingPathsStopTheSave) {
    // No programme file name: nothing written, nothing reported.
    OpenFor(kGeneratorV110, kUnnamed110);
    host_->Call(kPlcSetTmpFileName, {VariantFromString("")});
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"No valied path data found for programme file."});
    EXPECT_TRUE(Events().empty());

    // No project path: the programme file goes out first.
    host_->Call(kPlcSetTmpFileName, {VariantFromString("..\\TMP\\PlcOut.txt")});
    host_->Call(kPlcSetPlcProjPath, {VariantFromString("")});
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(BoxTexts()[1], "No valied path data found for text declaration file.");
    EXPECT_EQ(Events(), (std::vector<ReceivedEvent>{{kPlcUpDateProjName, {"", "FALSE"}}, {kPlcFileToArchiv, {out_}}}));

    // A file that cannot be created.
    Events().clear();
    host_->Call(kPlcSetTmpFileName, {VariantFromString("..\\nowhere\\deep\\PlcOut.txt")});
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(BoxTexts()[2], "..\\nowhere\\deep\\PlcOut.txt could not be created.");
    EXPECT_TRUE(Events().empty());

    // A program that does not translate.
    Edit().set_text(Source({"%P00", "N1 FOO", "END"}));
    host_->Call(kPlcSetTmpFileName, {VariantFromString("..\\TMP\\Other.txt")});
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdSaveInFile);
    EXPECT_EQ(BoxTexts()[3], "Syntax check ends with error.");
    EXPECT_TRUE(Events().empty());
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("TMP/Other.txt")));
}

TEST_F(TransferTest, AHostAnswerWithoutAFileReadsNothing) {
    const struct {
        int command;
        DISPID event;
        std::optional<std::string> answer;  // none: the host leaves the name alone
        bool box;
    } cases[] = {
        {ids::kCmdReadFromFile, kPlcFileFromArchiv, "", true},
        {ids::kCmdReadFromFile, kPlcFileFromArchiv, std::nullopt, false},
        {ids::kCmdReadFromDevice, kPlcFileFromDevice, "", true},
        {ids::kCmdReadFromDevice, kPlcFileFromDevice, std::nullopt, false},
        {ids::kCmdReadFromDevice, kPlcFileFromDevice, "  ", false},
    };
    for (const auto& c : cases) {
        OpenFor(kGeneratorV310, kNamed310, true);
        if (c.answer) host_->sink.answers[c.event] = *c.answer;
        if (c.box) gwtest::AnswerBox(GwRESULT_OK);
        const size_t boxes = gwtest::Boxes().size();
        Command(c.command);
        ASSERT_EQ(Events().size(), 1u);
        EXPECT_EQ(Events()[0].id, c.event);
        EXPECT_EQ(Text(), kNamed310);
        ASSERT_EQ(gwtest::Boxes().size(), boxes + (c.box ? 1 : 0));
        if (c.box) {
            EXPECT_EQ(gwtest::Boxes().back().text, "No valied path data found for programme file.");
        }
        host_.reset();
    }
}

TEST_F(TransferTest, AFileThatCannotBeReadLeavesTheText) {
    OpenFor(kGeneratorV310, kNamed310, true);
    host_->sink.answers[kPlcFileFromDevice] = "..\\TMP\\none.txt";
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdReadFromDevice);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Error at opening of\n..\\TMP\\none.txt."});
    EXPECT_EQ(Text(), kNamed310);
}

TEST_F(TransferTest, ReadingAV110FileSwitchesToV110) {
    MakeProgrammeFile(kGeneratorV110, kUnnamed110);
    OpenFor(kGeneratorV310, "");
    host_->sink.answers[kPlcFileFromArchiv] = "..\\TMP\\PlcOut.txt";
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdReadFromFile);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Switch to code generator PLC V1.10\nand start conversion.");
    EXPECT_EQ(gwtest::Boxes()[0].kind, "info");
    EXPECT_EQ(editor_->Generator(), kGeneratorV110);
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[CodeGenerator]\r\nVersion=0\r\n");
    EXPECT_EQ(Text(),
              std::string(kStamp) + "PLC V1.10\r\n\r\n%P00\r\nN001 SET H001 = 5\r\nN002 JMP (H001 != 0) N001\r\nEND");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"PLC V1.10, Text coding...", "Textcoding - 0 Error(s), 0 Warning(s)."}));
    EXPECT_TRUE(editor_->IsModified());
    EXPECT_EQ(editor_->CurrentPath(), PlcEditorDialog::kNoFile);
}

TEST_F(TransferTest, V210AndV310ReadEachOthersFilesButNotV110s) {
    MakeProgrammeFile(kGeneratorV210, kNamed310);
    const std::string decoded =
        "PLC V3.10\r\n\r\n%P00\r\nN010 SET H001 = 5\r\nN020 JMP (H001 = 0) END\r\n"
        "N030 JMP N010\r\nEND\r\n\r\n";
    OpenFor(kGeneratorV310, "");
    EXPECT_EQ(host_->Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\PlcOut.txt")}), "TRUE");
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(editor_->Generator(), kGeneratorV310);
    EXPECT_EQ(Text(), kStamp + decoded);
    host_.reset();

    // While V1.10 is chosen a file with program heads goes to V3.10.
    OpenFor(kGeneratorV110, "");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host_->Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\PlcOut.txt")}), "TRUE");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Switch to code generator PLC V3.10\nand start conversion."});
    EXPECT_EQ(editor_->Generator(), kGeneratorV310);
    EXPECT_TRUE(gwtest::IsEnabled("PlcEditorDialog/Tool32780"));
    EXPECT_EQ(testsupport::ReadFile(ProfilePath()), "[CodeGenerator]\r\nVersion=2\r\n");
    EXPECT_EQ(Text(), kStamp + decoded);
}

TEST_F(TransferTest, DecodeErrorsNameTheLineOfTheNewText) {
    // Head, a record of an unknown opcode, END.
    testsupport::WriteFile(testsupport::RuntimePath("TMP/bad.txt"),
                           "000000ae\r\n00fa0001\r\n00000000\r\n000000af\r\n00000000\r\n");
    OpenFor(kGeneratorV310, "");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(host_->Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\bad.txt")}), "TRUE");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "PLC V3.10, Text coding...",
                  "  LINE(004): ERR(57714) - Error at new-numbering of programme sequence.",
                  "1  Error. Textcoding of programme sequence ends with error.",
              }));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"1  Error. Textcoding of programme sequence ends with error."});
    std::string line;
    ASSERT_TRUE(editor_->GetLine(2, &line));
    EXPECT_EQ(line, "%P00");
    ASSERT_TRUE(editor_->GetLine(4, &line));
    EXPECT_EQ(line, "END");
}

TEST_F(TransferTest, AFileWithoutAProgramLeavesTheText) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/empty.txt"), "00000000\r\n00000000\r\n");
    const struct {
        int generator;
        std::string fault;
    } cases[] = {
        {kGeneratorV110, "  LINE(003): ERR() - ; No valid programme or programme head (%Pxx) found."},
        {kGeneratorV310, "  LINE(001): ERR(57706) - No programme % Pxx ... END or program-head %Pxx found."},
    };
    for (const auto& c : cases) {
        OpenFor(c.generator, kNamed310);
        editor_->SetModified(true);  // no save prompt: the text is not replaced
        gwtest::AnswerBox(GwRESULT_OK);
        EXPECT_EQ(host_->Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\empty.txt")}), "FALSE");
        EXPECT_EQ(Text(), kNamed310);
        EXPECT_EQ(Messages(),
                  (std::vector<std::string>{
                      GeneratorName(c.generator) + ", Text coding...",
                      c.fault,
                      "1  Error. Textcoding of programme sequence ends with error.",
                  }));
        host_.reset();
    }
}

TEST_F(TransferTest, CancellingTheSavePromptKeepsTheText) {
    MakeProgrammeFile(kGeneratorV110, kUnnamed110);
    OpenFor(kGeneratorV110, kNamed310);
    editor_->SetModified(true);
    gwtest::AnswerBox(GwRESULT_CANCEL);
    EXPECT_EQ(host_->Call(kPlcBinaryFileOpen, {VariantFromString("..\\TMP\\PlcOut.txt")}), "FALSE");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Do you like to save the changed process programme ?"});
    EXPECT_EQ(Text(), kNamed310);
}

}  // namespace
}  // namespace sindel
