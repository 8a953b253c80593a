// Lines of the V2.10 line compiler: the record of every statement it knows,
// what it answers differently from V3.10, program heads out of order, the
// checks at a program's END and the line entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v210/tests/v210_fixture.h"

namespace plc {
namespace {

using test::LineCompiler;
using test::V210Compiler;
using test::V310Compiler;

// Opens program 0 and translates one statement line; the record it left is
// the one behind the head.
int CompileOneStatement(LineCompiler& compiler, const std::string& line) {
    EXPECT_EQ(compiler.Line("%P00"), msg::kNoError);
    return compiler.Line(line);
}

TEST(V210Statements, EveryStatementKindGivesItsRecord) {
    for (const test::StatementCase& c : test::V210Cases()) {
        SCOPED_TRACE(c.source);
        V210Compiler compiler;
        ASSERT_EQ(CompileOneStatement(compiler, std::string("N10 ") + c.source), msg::kNoError);
        ASSERT_EQ(compiler.store.UsedRecords(), 2);
        test::ExpectStatementRecord(compiler.store.SourceRecords()[1], c);
    }
}

// Each line translated by both generators: what V2.10 answers, and what
// V3.10 answers for the same line. A refused line appends nothing.
TEST(V210Statements, AnswersThatDifferFromV310) {
    struct Case {
        const char* line;
        int v210;
        int v310;
    };
    constexpr int kOk = msg::kNoError;
    const Case cases[] = {
        // Compares with a constant and the subroutine call.
        {"N010JMP(H001=1)N020", msg::kFaultyInteger, msg::kFaultyCompareValue},
        {"N010JMP(F001=1)N020", msg::kFaultyCompareValue, msg::kFaultyCompareValue},
        {"N010CALLN100", msg::kNotSupported, msg::kNotSupported},
        // Statements V2.10 does not have match no keyword.
        {"N10 SAVE", msg::kUnexpectedAssignation, kOk},
        {"N10 JMP (TP1 = 1) N20", msg::kUnexpectedAssignation, kOk},
        {"N10 SET TP 1 SN 1 EG 1 = 1", msg::kUnexpectedAssignation, kOk},
        {"N10 SET EVPRG 1 = 0", msg::kUnexpectedAssignation, kOk},
        {"N10 RCAM START", msg::kUnexpectedAssignation, kOk},
        {"N10 WAIT TP1", msg::kFaultyInteger, kOk},
        // Names beyond V2.10's tables.
        {"N10 SET H1 = TP0INC", msg::kFaultySetValue, kOk},
        {"N10 SET H1 = PLC_ID", msg::kFaultySetValue, kOk},
        {"N10 SET RACTPOS = H1", msg::kUnexpectedAssignation, kOk},
        {"N10 SET ACTPOSINC = H1", msg::kUnexpectedAssignation, kOk},
        {"N10 JMP (STA_TP1 = 1) N20", msg::kFaultyCompareValue, kOk},
        {"N10 JMP (STA_PRACT = M1) N20", msg::kFaultyCompareValue, kOk},
        {"N10 SET M1 = STA_CM16", msg::kFaultySetOperator, kOk},
        // A flag with its operand: '=' only, no touch probes.
        {"N10 JMP (M1 & M2) N20", msg::kFaultySetOperator, kOk},
        {"N10 JMP (M1 | IS1) N20", msg::kFaultySetOperator, kOk},
        {"N10 JMP (M1 = TP1) N20", msg::kFaultySetValue, kOk},
        {"N10 JMP (IS1 = IS2) N20", msg::kFaultySetValue, kOk},
        {"N10 JMP (OS1 ^ OS2) N20", msg::kFaultySetOperator, kOk},
        {"N10 SET M1 & H2", msg::kFaultySetOperator, kOk},
        {"N10 SET M1 | OS2", msg::kFaultySetOperator, kOk},
        {"N10 SET M1 ^ CM2", msg::kFaultySetOperator, kOk},
        {"N010SETM001=CM0", msg::kFaultySetValue, msg::kFaultySetValue},
        {"N10 SET M1 = TP1", msg::kFaultySetValue, kOk},
        // No three-address forms.
        {"N010SETF001=F002X", msg::kInternalError, msg::kLineTooLong},
        {"N10 SET F1 = F2 + F3", msg::kInternalError, kOk},
        {"N10 SET H1 = H2 + H3", msg::kLineTooLong, kOk},
        {"N10 SET M1 = M2 & M3", msg::kLineTooLong, kOk},
        {"N10 SET H1 = ROUND F2", msg::kFaultySetValue, kOk},
        // A drive value read into F must end the line.
        {"N10 SET F1 = ACTPOSX", msg::kFaultySetValue, msg::kLineTooLong},
        // Messages of V2.10's own.
        {"N10 SET REFVAL = F128", msg::kFaultyInteger, msg::kFaultyFloat},
        {"N10 SET ENCTRL = 2", msg::kFaultyFlag, msg::kFaultySetValue},
        {"N10 WAIT H128", msg::kFaultyIoNumber, msg::kFaultyInteger},
        // GO: only the speed option V.
        {"N10 GO A H1 V H2 A H3", msg::kLineTooLong, kOk},
        {"N10 GO V H1 A H2", msg::kLineTooLong, kOk},
        {"N10 GO W A H1 V H2 J H3", msg::kLineTooLong, kOk},
        {"N10 GO R H1 X", msg::kUnknownGoCommand, msg::kUnknownGoCommand},
        {"N10 GO W RT H128", msg::kFaultyInteger, msg::kFaultyInteger},
        {"N10 GO R H1 V H128", msg::kFaultyInteger, msg::kFaultyInteger},
        {"N10 GO V H128", msg::kFaultyInteger, msg::kFaultyInteger},
        {"N010WAIT4294967296", msg::kFaultyInteger, msg::kFaultyInteger},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        V210Compiler v210;
        EXPECT_EQ(CompileOneStatement(v210, c.line), c.v210);
        EXPECT_EQ(v210.store.UsedRecords(), c.v210 == kOk ? 2 : 1);
        V310Compiler v310;
        EXPECT_EQ(CompileOneStatement(v310, c.line), c.v310);
    }
}

TEST(V210Programs, HeadOutOfOrderAnswersByTheTakenPosition) {
    // The second head declares 0, which position 0 does not hold (it holds
    // 2); V2.10 asks whether position 0 holds a head, V3.10 whether an
    // earlier head declared 0.
    const std::vector<std::string> source = {"%P02", "END", "%P00", "END"};
    V210Compiler v210;
    EXPECT_EQ(v210.Lines(source),
              (std::vector<int>{msg::kProgramNumberNotRising, msg::kNoError, msg::kProgramNumberUsed, msg::kNoError}));
    V310Compiler v310;
    EXPECT_EQ(
        v310.Lines(source),
        (std::vector<int>{msg::kProgramNumberNotRising, msg::kNoError, msg::kProgramNumberNotRising, msg::kNoError}));

    V210Compiler twice;
    EXPECT_EQ(twice.Lines({"%P00", "END", "%P00"}),
              (std::vector<int>{msg::kNoError, msg::kNoError, msg::kProgramNumberUsed}));

    // The head is still recorded, with its position.
    V210Compiler first;
    EXPECT_EQ(first.Line("%P05"), msg::kProgramNumberNotRising);
    ASSERT_EQ(first.store.UsedRecords(), 1);
    EXPECT_EQ(first.store.SourceRecords()[0].Opcode(), op::kProgramHead);
    EXPECT_EQ(first.store.SourceRecords()[0].OperandA(), 0);
    EXPECT_EQ(first.store.ProgramNumber(0), 5);
}

TEST(V210Programs, EndReportsTheFirstFaultWithItsLine) {
    struct Case {
        std::vector<std::string> lines;  // the last one is the END that fails
        int message;
        int line;
    };
    const Case cases[] = {
        {{"%P00", "N10 NOP", "N30 NOP", "N20 NOP", "END"}, msg::kLabelsNotRising, 3},
        {{"%P00", "N10 NOP", "N20 NOP", "N10 NOP", "END"}, msg::kLabelAlreadyUsed, 3},
        {{"%P00", "N10 NOP", "END", "%P01", "N20 JMP N10", "END"}, msg::kJumpTargetMissing, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.back());
        V210Compiler compiler;
        std::vector<int> results = compiler.Lines(c.lines);
        EXPECT_EQ(results.back(), c.message);
        EXPECT_EQ(compiler.lastLine, c.line);
        results.pop_back();
        for (int result : results) EXPECT_EQ(result, msg::kNoError);
    }
}

TEST(V210Entry, LineLengthBlanksAndCase) {
    V210Compiler compiler;
    EXPECT_EQ(compiler.Line(""), msg::kLineTooLong);
    EXPECT_EQ(compiler.Line(" \t\r\n"), msg::kNoError);
    EXPECT_EQ(compiler.store.UsedRecords(), 0);
    EXPECT_EQ(compiler.Line("%p00"), msg::kNoError);
    const std::string statement = "n10 set h1 = 5";
    const std::string exact = statement + std::string(79 - statement.size(), ' ');
    EXPECT_EQ(compiler.Line(exact + " "), msg::kLineTooLong);
    EXPECT_EQ(compiler.Line(exact), msg::kNoError);
    ASSERT_EQ(compiler.store.UsedRecords(), 2);
    EXPECT_EQ(compiler.store.SourceRecords()[1].Opcode(), op::kSetIntegerConstant);
    EXPECT_EQ(compiler.store.SourceRecords()[1].Constant(), 5u);
}

}  // namespace
}  // namespace plc
