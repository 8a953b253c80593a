// Statement lines of the V3.10 line compiler: the record of every statement
// kind, the faults and their messages, line length and a full store.
#include <gtest/gtest.h>

#include <string>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/tests/compiler_fixture.h"
#include "plceditor/v310/tests/statement_table.h"

namespace plc {
namespace {

using test::Bytes4;
using test::V310Compiler;
using test::Word4;

// Opens program 0 and translates one statement line; the record it left is
// the one behind the head.
struct OneStatement {
    explicit OneStatement(const std::string& line, int memoryWords = test::kDefaultMemoryWords)
        : compiler(memoryWords) {
        EXPECT_EQ(compiler.Line("%P00"), msg::kNoError);
        result = compiler.Line(line);
    }
    const CodeRecord& Record() const { return compiler.store.SourceRecords()[1]; }
    int Appended() const { return compiler.store.UsedRecords() - 1; }

    V310Compiler compiler;
    int result = 0;
};

TEST(V310Statements, EveryStatementKindGivesItsRecord) {
    for (const test::StatementCase& c : test::kStatementCases) {
        SCOPED_TRACE(c.source);
        OneStatement one(std::string("N10 ") + c.source);
        ASSERT_EQ(one.result, msg::kNoError);
        ASSERT_EQ(one.Appended(), 1);
        test::ExpectStatementRecord(one.Record(), c);
    }
}

TEST(V310Statements, CaseAndBlanksDoNotChangeTheRecord) {
    OneStatement spaced("n010 set h001 = 5");
    OneStatement packed("N10SETH1=5");
    OneStatement tabs("N 1 0\tS E T\tH 0 0 1 = 5\r\n");
    ASSERT_EQ(spaced.result, msg::kNoError);
    EXPECT_EQ(spaced.Record(), packed.Record());
    EXPECT_EQ(spaced.Record(), tabs.Record());
    EXPECT_EQ(packed.Record().Opcode(), 92);
}

TEST(V310Statements, FaultsGiveTheirMessageAndAppendNothing) {
    struct Case {
        const char* line;
        int message;
    };
    const Case cases[] = {
        // Refused forms and labels.
        {"N10 CALL N20", msg::kNotSupported},
        {"N10 JMP (H1 = 5) N20", msg::kFaultyCompareValue},
        {"N10 JMP (H128 = 0) N20", msg::kFaultyInteger},
        {"N10 JMP (H1 = H128) N20", msg::kFaultyInteger},
        {"N10 JMP (F1 = 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (F1 = X) N20", msg::kFaultyCompareValue},
        {"N10 JMP (F1 < F128) N20", msg::kFaultyFloat},
        {"N10 JMP (F1 ? F2) N20", msg::kFaultySetOperator},
        {"N10 JMP (ACTVAL = 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (Z1 = 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (Z11 = 0) N20", msg::kFaultyTimer},
        {"N10 JMP (C1 = 256) N20", msg::kFaultySetValue},
        {"N10 JMP (M1 = 2) N20", msg::kFaultySetValue},
        {"N10 JMP (M1 & M256) N20", msg::kFaultyFlag},
        {"N10 JMP (M1 = IS7) N20", msg::kFaultyIoNumber},
        {"N10 JMP (IE8 = 1) N20", msg::kFaultyIoNumber},
        {"N10 JMP (OS1 = IS1) N20", msg::kFaultySetValue},
        {"N10 JMP (STA_NOSUCH = 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (STA_ERR = M256) N20", msg::kFaultyFlag},
        {"N10 JMP (REF = 2) N20", msg::kFaultyFlag},
        {"N10 JMP (TP16 = 1) N20", msg::kWrongTouchProbe},
        {"N10 JMP (TP1 = TP16) N20", msg::kWrongTouchProbe},
        {"N10 JMP(RXMSG, 16, H1) N20", msg::kFaultySetValue},
        {"N10 JMP(RXMSG, 1, M1) N20", msg::kFaultySetValue},
        {"N10 JMP (H1 = H2) N0", msg::kFaultyJumpDestination},
        {"N10 JMP (H1 = H2)", msg::kFaultyJumpDestination},
        {"N10 JMP N0", msg::kFaultyJumpDestination},
        {"N10 JMP P128", msg::kProgramNumberError},
        {"N10 JMP P[H1", msg::kMissingBracket},
        {"N0 NOP", msg::kLabelError},
        {"N65536 NOP", msg::kLabelError},
        {"X10 NOP", msg::kUnknownCommandOrNoLabel},
        {"N10 FOO", msg::kUnexpectedAssignation},
        {"N10 NOP X", msg::kLineTooLong},
        {"N10 JMP END X", msg::kLineTooLong},
        {"N10 PLC = ON", msg::kFaultySetValue},
        // SET forms.
        {"N10 SET USER4 = 1", msg::kUnexpectedAssignation},
        {"N10 SET ERR = 2", msg::kFaultySetValue},
        {"N10 SET F[C11] = F1", msg::kFaultyCounter},
        {"N10 SET F[C1 = F1", msg::kMissingBracket},
        {"N10 SET F1 = 340000000000000000000000000000000000000", msg::kFaultySetValue},
        {"N10 SET F1 = 1.5.5", msg::kFaultySetValue},
        {"N10 SET F1 = F2 + H3", msg::kLineTooLong},
        {"N10 SET F1 = PARA[5", msg::kMissingBracket},
        {"N10 SET F1 = PARA[0]", msg::kFaultySetValue},
        {"N10 SET F1 = PARA[H1, 2]", msg::kFaultySetOperator},
        {"N10 SET F1 = TAN F2", msg::kFaultySetValue},
        {"N10 SET F1 ! F2", msg::kFaultySetOperator},
        {"N10 SET H1 << 33", msg::kFaultySetValue},
        {"N10 SET H1 = 2147483648", msg::kFaultySetValue},
        {"N10 SET H1 & 5", msg::kFaultySetOperator},
        {"N10 SET H1 = ACTPOSX", msg::kLineTooLong},
        {"N10 SET M1 = CM0", msg::kFaultySetValue},
        {"N10 SET M1 = CM17", msg::kFaultySetValue},
        {"N10 SET M1 & STA_NOSUCH", msg::kFaultySetOperator},
        {"N10 SET M1 = M2 & M256", msg::kFaultyFlag},
        {"N10 SET M1 = 2", msg::kFaultySetValue},
        {"N10 SET M1 = TP16", msg::kWrongTouchProbe},
        {"N10 SET C1 = 256", msg::kFaultySetValue},
        {"N10 SET Z11 = 1", msg::kFaultyTimer},
        {"N10 SET OS6 = 1", msg::kFaultyIoNumber},
        {"N10 SET OS3 = 2", msg::kFaultySetValue},
        {"N10 SET PARA[0] = H1", msg::kFaultySetValue},
        {"N10 SET PARA[1000] = H1", msg::kFaultySetValue},
        {"N10 SET PARA[5 = H1", msg::kFaultySetOperator},
        {"N10 SET PARA[5] = M1", msg::kFaultySetOperator},
        {"N10 SET PARA[H1, 2] = F1", msg::kFaultySetOperator},
        {"N10 SET ACCR = 151%", msg::kFaultyInteger},
        {"N10 SET ACCR = 100", msg::kFaultySetOperator},
        {"N10 SET RXMSG[16, 1, 1]", msg::kFaultySetValue},
        {"N10 SET RXMSG[1, 1, 1", msg::kMissingBracket},
        {"N10 SET TP 16 SN 1 EG 1 = 1", msg::kWrongTouchProbe},
        {"N10 SET TP 1 SN 1 EG 4 = 1", msg::kFaultySetValue},
        {"N10 SET TP 1 SN 1 EG 1 = M256", msg::kFaultyFlag},
        {"N10 SET TP 1 SN 1 EG 1 = 2", msg::kFaultySetValue},
        {"N10 SET EVPRG 2 = 1", msg::kWrongEventProgram},
        {"N10 SET EVPRG H128 = 1", msg::kFaultyInteger},
        {"N10 SET REFPOS = ACTPOS[0]", msg::kFaultySetValue},
        {"N10 SET REFPOS = ACTPOS + H128", msg::kFaultySetValue},
        // Commands.
        {"N10 WAIT 4294967296", msg::kFaultyInteger},
        {"N10 WAIT TP16", msg::kWrongTouchProbe},
        {"N10 STOP X", msg::kFaultySetOperator},
        {"N10 GO W A H128", msg::kFaultyInteger},
        {"N10 GO W A H1 X", msg::kUnknownGoCommand},
        {"N10 GO W A H1 V H2 D H3", msg::kUnknownGoCommand},
        {"N10 GO V H1 J H2 A H3", msg::kUnknownGoCommand},
        {"N10 GO 1", msg::kUnknownGoCommand},
        {"N10 GO X", msg::kUnknownGoCommand},
        {"N10 GO 0 + X", msg::kLineTooLong},
        {"N10 GO SYN 2", msg::kUnknownGoCommand},
        {"N10 GO T[H1", msg::kMissingBracket},
        {"N10 GO T[C11]", msg::kFaultyCounter},
        {"N10 SEND TXMSG[1, 9] = H1", msg::kFaultySetValue},
        {"N10 SEND NMTCMD[1, 128]", msg::kFaultySetValue},
        {"N10 RCAM POL5 H1 V0 F2 V1 H3", msg::kFaultySetValue},
        {"N10 RCAM NSPD F1 SL F2 ML H3 SP F4 MP F5", msg::kFaultySetValue},
        {"N10 RCAM BREAK 1 L", msg::kFaultySetValue},
        {"N10 RCAM FOO", msg::kFaultySetValue},
        {"N10 INV OS6", msg::kFaultyIoNumber},
        {"N10 SAVE 1", msg::kLineTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        OneStatement one(c.line);
        EXPECT_EQ(one.result, c.message);
        EXPECT_EQ(one.Appended(), 0);
    }
}

TEST(V310Statements, StatementPartOf79CharactersIsTheLimit) {
    const std::string statement = "SET H1 = 5";
    const std::string exact = "N10" + std::string(79 - 3 - statement.size(), ' ') + statement;
    ASSERT_EQ(exact.size(), 79u);
    OneStatement fits(exact);
    EXPECT_EQ(fits.result, msg::kNoError);
    EXPECT_EQ(fits.Appended(), 1);
    OneStatement tooLong(exact + " ");
    EXPECT_EQ(tooLong.result, msg::kLineTooLong);
    EXPECT_EQ(tooLong.Appended(), 0);

    V310Compiler compiler;
    EXPECT_EQ(compiler.Line(""), msg::kLineTooLong);
    EXPECT_EQ(compiler.Line(" \t\r\n"), msg::kNoError);
    EXPECT_EQ(compiler.store.UsedRecords(), 0);
}

TEST(V310Statements, FullStoreRefusesTheStatement) {
    // 3 words hold 2 records: the head and one statement.
    OneStatement one("N10 NOP", 3);
    ASSERT_EQ(one.result, msg::kNoError);
    EXPECT_EQ(one.compiler.Line("N20 NOP"), msg::kOutOfMemory);
    EXPECT_EQ(one.compiler.store.UsedRecords(), 2);
    EXPECT_EQ(one.compiler.Line("END"), msg::kOutOfMemory);
}

}  // namespace
}  // namespace plc
