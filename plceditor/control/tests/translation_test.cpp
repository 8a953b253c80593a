// The syntax check of each generator, the driver's modes and the decode that
// writes a checked program back into the edit lines.
#include <cstring>

#include "platform/base/format.h"
#include "plceditor/control/tests/translation_fixture.h"
#include "plceditor/control/translation_lines.h"
#include "plceditor/core/program_words.h"
#include "plceditor/core/programme_file.h"
#include "toolkit/core/gw_slider.h"

namespace sindel {
namespace {

using namespace platform;

const std::string kGood310 = Source({
    "; demo program",
    "%TEXT(Demo)",
    "DEF H001 = Speed",
    "END",
    "%P00",
    "n10 set h1 = 5 ; start value",
    "N20 JMP (H1 = 0) END",
    "N25 JMP N10",
    "END",
});

// The CRC of a programme file as the device would compute it over its words.
uint32_t FileCrc(const std::string& runtime_path) {
    const auto words = plc::ReadProgrammeWordFile(testsupport::RuntimePath(runtime_path).string(), 4096);
    if (!words || words->empty()) return 0;
    std::vector<uint8_t> bytes(words->size() * 4);
    for (size_t i = 0; i < words->size(); ++i)
        for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<uint8_t>((*words)[i] >> (8 * b));
    return plc::programCrc32(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

TEST_F(TranslationTest, CorrectProgramListsTheChecksumOfItsCode) {
    // One head, 60 statements and END: 62 of the 498 records of 747 words.
    std::vector<std::string> lines = {"%P00"};
    for (int label = 1; label <= 60; ++label) lines.push_back(Format("N%d SET H1 + %d", label, label));
    lines.push_back("END");
    OpenOn(kGeneratorV310, Source(lines));
    Command(ids::kCmdCheckSyntax);

    std::string path = "..\\TMP\\check.txt";
    ASSERT_TRUE(editor_->Generators().v310.writeBinaryProgrammeFile(path));
    const std::vector<std::string> expected = {
        "PLC V3.10, Compiling runs....",
        "Syntax check - 0 Error(s), 0 Warning(s).",
        Format("Checksum: 0x%08X CRC - 12.4%% (62/498) of memory used.", FileCrc("TMP/check.txt")),
    };
    EXPECT_EQ(Messages(), expected);
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_EQ(Text(), Source(lines));  // a check alone rewrites nothing
}

TEST_F(TranslationTest, ErrorsAreListedWithTheirLinesAndCounted) {
    OpenOn(kGeneratorV310, Source({"%P00", "N10 NOP", "N20 SET H1 = 5", "", "N30 JMP (H1 = 0) XYZ", "N40 FOO", "END"}));
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdCheckSyntax);
    const std::vector<std::string> expected = {
        "PLC V3.10, Compiling runs....",
        "  LINE(005): ERR(57688) - Faulty jump destination. Example: JMP (...) Nxxx; JMP (...) "
        "END.",
        "  LINE(006): ERR(57687) - Unexpected assignation or unknown command.",
        "2  Error. Syntax check ends with error.",
    };
    EXPECT_EQ(Messages(), expected);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "Syntax check ends with error.");
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
}

TEST_F(TranslationTest, AFaultFoundAtEndNamesTheLineAtFault) {
    for (int generator : {kGeneratorV110, kGeneratorV210, kGeneratorV310}) {
        SCOPED_TRACE(generator);
        OpenOn(generator, Source({"%P00", "N1 NOP", "N2 JMP N4", "N3 NOP", "END"}));
        gwtest::AnswerBox(GwRESULT_OK);
        Command(ids::kCmdCheckSyntax);
        const std::vector<std::string> rows = Messages();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[1], "  LINE(003): ERR(57712) - Jump destination JMP (...) Nxxx not available.");
        host_.reset();
    }
}

TEST_F(TranslationTest, EveryGeneratorStopsAfterThirtyErrors) {
    std::vector<std::string> lines = {"%P00"};
    for (int label = 1; label <= 31; ++label) lines.push_back(Format("N%d FOO", label));
    lines.push_back("END");
    for (int generator : {kGeneratorV110, kGeneratorV210, kGeneratorV310}) {
        SCOPED_TRACE(generator);
        OpenOn(generator, Source(lines));
        const size_t boxes = gwtest::Boxes().size();
        gwtest::AnswerBox(GwRESULT_OK);
        Command(ids::kCmdCheckSyntax);
        const std::vector<std::string> rows = Messages();
        ASSERT_EQ(rows.size(), 32u);
        EXPECT_EQ(rows[0], GeneratorName(generator) + ", Compiling runs....");
        for (int row = 1; row <= 30; ++row)
            EXPECT_EQ(rows[row].substr(0, 17), Format("  LINE(%03d): ERR(", row + 1)) << rows[row];
        EXPECT_EQ(rows[31], "Maximum number of errors of 30 errors exceeded. Syntax check aborted.");
        ASSERT_EQ(gwtest::Boxes().size(), boxes + 1);
        EXPECT_EQ(gwtest::Boxes().back().text, "Syntax check ends with error.");
        host_.reset();
    }
}

TEST_F(TranslationTest, ProgramNumbersOnlyAreOfferedToRenum) {
    const std::string text = Source({"%P00", "N10 NOP", "END", "%P02 ; second", "N5 NOP", "N7 JMP N5", "END"});
    OpenOn(kGeneratorV310, text);
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdCheckSyntax);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "PLC V3.10, Compiling runs....",
                  "  LINE(004): ERR(57720) - Program number not in rising raw or error in command steps.",
                  "1  Error. Syntax check ends with error.",
              }));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text,
              "Ther are only erros at the program numbers detected (program deleted or "
              "inserted).\nWith the "
              "renum-function you can correct this error automatically.");
    EXPECT_EQ(gwtest::Boxes()[0].kind, "info");

    // No keeps the text; Yes rewrites the numbers and the labels.
    gwtest::AnswerBox(GwRESULT_NO);
    Command(ids::kCmdRenum);
    EXPECT_EQ(Text(), text);
    gwtest::AnswerBox(GwRESULT_YES);
    ExpectDecode();
    Command(ids::kCmdRenum);
    EXPECT_EQ(gwtest::Boxes().back().text,
              "Ther are only erros at the program numbers detected (program deleted or "
              "inserted).\nCorrect the "
              "program numbers automatically?");
    EXPECT_EQ(gwtest::Boxes().back().kind, "question");
    EXPECT_EQ(Text(),
              Source({"%P00\t\t",
                      "N010 NOP\t\t",
                      "END\t\t",
                      "%P01\t\t; second",
                      "N010 NOP\t\t",
                      "N020 JMP N010\t\t",
                      "END\t\t"}));
    const std::vector<std::string> rows = Messages();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], "Syntax check - 0 Error(s), 0 Warning(s).");
    EXPECT_EQ(rows[3], "");
    EXPECT_EQ(rows[4], "PLC V3.10, Text coding...");
    EXPECT_EQ(rows[5], "Textcoding - 0 Error(s), 0 Warning(s).");
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
}

TEST_F(TranslationTest, AFaultOfTheFinalCheckCountsAsOne) {
    OpenOn(kGeneratorV210, Source({"%P00", "N10 NOP"}));
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdCheckSyntax);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{
                  "PLC V2.10, Compiling runs....",
                  "  LINE(003): ERR(57691) - Missing END-assignation of programme % Pxx ... END.",
                  "1  Error. Syntax check ends with error.",
              }));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Syntax check ends with error."});
}

TEST_F(TranslationTest, TranslateRewritesTheLinesInTheGeneratorsFormKeepingComments) {
    OpenOn(kGeneratorV310, kGood310);
    ExpectDecode();
    EXPECT_TRUE(Commands().RunDriver(kDriverTranslate));
    EXPECT_EQ(Text(),
              Source({
                  "; demo program",
                  "%TEXT(Demo)",
                  "DEF H001 = Speed",
                  "END",
                  "%P00\t\t",
                  "N010 SET H001 = 5\t\t; start value",
                  "N020 JMP (H001 = 0) END\t\t",
                  "N030 JMP N010\t\t",
                  "END\t\t",
              }));
    const std::vector<std::string> rows = Messages();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[4], "PLC V3.10, Text coding...");
    EXPECT_EQ(rows[5], "Textcoding - 0 Error(s), 0 Warning(s).");
    EXPECT_TRUE(editor_->IsModified());
}

TEST_F(TranslationTest, TheDecodeShowsItsProgressAndRunsWhenItsWindowOpens) {
    OpenOn(kGeneratorV310, kGood310);
    gwtest::ScriptModal({DecodeProgressDialog::kWindowName,
                         [this](GwCore* window) {
                             EXPECT_EQ(gwtest::Text(window->child("Text")), "Renum und decode program...");
                             gwtest::Advance(DecodeProgressDialog::kStartDelayMs - 1);
                             EXPECT_EQ(Text(), kGood310);
                             gwtest::Advance(1);
                             auto* bar = dynamic_cast<GwSlider*>(window->child("Progress"));
                             ASSERT_NE(bar, nullptr);
                             EXPECT_EQ(bar->end(), 5);  // head, three statements, END
                             EXPECT_EQ(bar->value(), 5);
                             EXPECT_NE(Text(), kGood310);
                         },
                         std::nullopt});
    EXPECT_TRUE(Commands().RunDriver(kDriverTranslate));
    // A window whose run ends before its timer still gets the work done.
    Edit().set_text(kGood310);
    gwtest::AnswerModal(GwRESULT_CANCEL, DecodeProgressDialog::kWindowName);
    EXPECT_TRUE(Commands().RunDriver(kDriverTranslate));
    EXPECT_EQ(Messages().back(), "Textcoding - 0 Error(s), 0 Warning(s).");
    EXPECT_NE(Text(), kGood310);
}

TEST_F(TranslationTest, ModesOfTheDriver) {
    const std::string numbers = Source({"%P00", "N10 NOP", "END", "%P03", "N10 NOP", "END"});
    OpenOn(kGeneratorV310, numbers);
    // Check only: nothing rewritten.
    Edit().set_text(kGood310);
    EXPECT_TRUE(Commands().RunDriver(kDriverCheck));
    EXPECT_EQ(Text(), kGood310);
    // After an insertion program numbers are lax and a failure is silent.
    Edit().set_text(numbers);
    ExpectDecode();
    EXPECT_TRUE(Commands().RunDriver(kDriverInserted));
    EXPECT_EQ(Text(), Source({"%P00\t\t", "N010 NOP\t\t", "END\t\t", "%P01\t\t", "N010 NOP\t\t", "END\t\t"}));
    EXPECT_TRUE(editor_->Generators().v310.StrictProgramNumbers());
    Edit().set_text(Source({"%P00", "N10 FOO", "END"}));
    EXPECT_FALSE(Commands().RunDriver(kDriverInserted));
    EXPECT_TRUE(gwtest::Boxes().empty());
    // A mode the driver does not know.
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(Commands().RunDriver(7));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Internal Error at textcoding of programme sequence."});
}

TEST_F(TranslationTest, V110CheckListsItsAddXorChecksum) {
    OpenOn(kGeneratorV110, Source({"%TEXT(Mini)", "END", "%P00", "N1 SET H1 = 5", "N2 JMP (H1 != 0) N1", "END"}));
    Command(ids::kCmdCheckSyntax);
    const std::vector<std::string> rows = Messages();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "PLC V1.10, Compiling runs....");
    EXPECT_EQ(rows[1], "Syntax check - 0 Error(s), 0 Warning(s).");
    uint16_t xor_sum = 0, add_sum = 0;
    double percent = 0;
    int count = 0;
    editor_->Generators().v110.programAddXor(xor_sum, add_sum, percent, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(rows[2], Format("Checksum: 0x%04X ADD, 0x%04X XOR - 0.8%% (2/254) of memory used.", add_sum, xor_sum));
}

TEST_F(TranslationTest, V110SectionsLeftOpenAreFaults) {
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> faults;
    } cases[] = {
        {{"%TEXT(A)", "DEF H1 = X"},
         {"  LINE(003): ERR(57705) - Missing END-assignation of Text declaration % TEXT(Name) "
          "...END.",
          "  LINE(003): ERR(57706) - No programme % Pxx ... END or program-head %Pxx found."}},
        {{"%P00", "N1 NOP"}, {"  LINE(003): ERR(57691) - Missing END-assignation of programme % Pxx ... END."}},
    };
    for (const auto& c : cases) {
        OpenOn(kGeneratorV110, Source(c.lines));
        gwtest::AnswerBox(GwRESULT_OK);
        Command(ids::kCmdCheckSyntax);
        std::vector<std::string> expected = {"PLC V1.10, Compiling runs...."};
        expected.insert(expected.end(), c.faults.begin(), c.faults.end());
        expected.push_back(Format("%d  Error. Syntax check ends with error.", static_cast<int>(c.faults.size())));
        EXPECT_EQ(Messages(), expected);
        host_.reset();
    }
}

TEST_F(TranslationTest, V110CheckOfAnEmptyTextOffersAProgramBody) {
    OpenOn(kGeneratorV110, "");
    gwtest::AnswerBox(GwRESULT_NO);
    Command(ids::kCmdCheckSyntax);
    EXPECT_EQ(Text(), "");
    gwtest::AnswerBox(GwRESULT_YES);
    Command(ids::kCmdCheckSyntax);
    EXPECT_EQ(gwtest::Boxes()[1].text, "No programme available.\nNow create programme body ?");
    EXPECT_EQ(Text(),
              std::string(kStamp) +
                  "Plc-Editor\r\n\r\n%TEXT(NAME)\r\nEND\r\n\r\n\r\n%P00\r\n;TODO: Insert "
                  "own programme code "
                  "here\r\nEND\r\n");
    EXPECT_TRUE(editor_->IsModified());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TranslationTest, V110RenumRewritesTheLabels) {
    OpenOn(kGeneratorV110, Source({"%P00", "N3 SET H1 = 5 ; go", "N7 JMP (H1 != 0) N3", "N9 JMP END", "END"}));
    Command(ids::kCmdRenum);
    EXPECT_EQ(
        Text(),
        Source({"%P00", "N010 SET H001 = 5\t\t; go", "N020 JMP (H001 != 0) N010\t\t", "N030 JMP END\t\t", "END"}));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"PLC V1.10, Text coding...", "", "Textcoding - 0 Error(s), 0 Warning(s)."}));
    // A text that does not check is not renumbered.
    Edit().set_text(Source({"%P00", "N3 FOO", "END"}));
    gwtest::AnswerBox(GwRESULT_OK);
    Command(ids::kCmdRenum);
    EXPECT_EQ(Text(), Source({"%P00", "N3 FOO", "END"}));
}

}  // namespace
}  // namespace sindel
