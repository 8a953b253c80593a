// Line compiler of V1.10: statements and their records, fault ids, sections,
// text declarations, and the linking and checks at END.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v110/tests/table8_helpers.h"

namespace plc {
namespace {

using test::Code8;
using test::EnterLines;

constexpr int kOk = msg::kNoError;

// A table inside %P00, ready for statement lines.
class InProgram : public ::testing::Test {
protected:
    void SetUp() override {
        int line = 0;
        ASSERT_EQ(table.enterLine("%P00", line), kOk);
    }
    int Enter(const std::string& text, int line = 1) { return table.enterLine(text, line); }
    LineTable8 table;
};

TEST_F(InProgram, StatementsFillTheRecordOfTheirLabel) {
    struct Case {
        std::string statement;  // behind "N10 "
        Code8 code;             // op, a, next (2), b/target (2), d, e
    } cases[] = {
        // Jumps: target in bytes 4-5, d and e in 6-7.
        {"JMP N20", {1, 0, 0, 0, 20, 0, 0, 0}},
        {"JMP END", {2, 0, 0, 0, 0, 0, 0, 0}},
        {"JMP (F1 >= F2) N20", {5, 0, 0, 0, 20, 0, 1, 2}},
        {"JMP (F3 != 0.0) END", {10, 0, 0, 0, 255, 0, 3, 0}},
        {"JMP (H1 = H2) END", {11, 0, 0, 0, 255, 0, 1, 2}},
        {"JMP (H4 < H5) N254", {16, 0, 0, 0, 254, 0, 4, 5}},
        {"JMP (H7 != -0) N20", {18, 0, 0, 0, 20, 0, 7, 0}},
        {"JMP (ACTVAL > F9) N20", {6, 1, 0, 0, 20, 0, 0, 9}},
        {"JMP (REFVAL <= H9) N20", {15, 2, 0, 0, 20, 0, 0, 9}},
        {"JMP (ACTVAL != 0) END", {18, 1, 0, 0, 255, 0, 0, 0}},
        {"JMP (M1 = M2) N20", {19, 0, 0, 0, 20, 0, 1, 2}},
        {"JMP (M1 != M200) N20", {20, 0, 0, 0, 20, 0, 1, 200}},
        {"JMP (M3 | IE05) N20", {22, 0, 0, 0, 20, 0, 3, 9}},
        {"JMP (M3 ^ OV1) N20", {26, 0, 0, 0, 20, 0, 3, 8}},
        {"JMP (M4 = 1) N20", {27, 0, 0, 0, 20, 0, 4, 1}},
        {"JMP (IS06 = 1) N20", {28, 0, 0, 0, 20, 0, 16, 1}},
        {"JMP (OS3 = 0) N20", {29, 0, 0, 0, 20, 0, 9, 0}},
        {"JMP (C10 != 255) N20", {31, 0, 0, 0, 20, 0, 10, 255}},
        {"JMP (Z2 = 0) N20", {32, 0, 0, 0, 20, 0, 2, 0}},
        {"JMP(RXMSG, 15, F7) N20", {136, 0, 0, 0, 20, 0, 15, 7}},
        {"JMP (REF = M9) N20", {161, 0, 0, 0, 20, 0, 0, 9}},
        {"JMP (ROT_0 = 1) END", {162, 0, 0, 0, 255, 0, 1, 1}},
        {"JMP(STA_WOTI = 1) N020", {173, 17, 0, 0, 20, 0, 16, 1}},
        {"JMP (STA_ERR_WRN != M5) N20", {173, 0, 0, 0, 20, 0, 2, 5}},
        {"JMP (STA_ERR = M5) N20", {173, 1, 0, 0, 20, 0, 0, 5}},
        {"JMP (STA_WRN != 0) N20", {173, 16, 0, 0, 20, 0, 1, 0}},
        {"CALL N20", {34, 0, 0, 0, 20, 0, 0, 0}},
        {"RET", {35, 0, 0, 0, 0, 0, 0, 0}},
        {"BRKPT", {36, 0, 0, 0, 0, 0, 0, 0}},
        {"NOP", {37, 0, 0, 0, 0, 0, 0, 0}},
        // Drive values and control bits.
        {"SET REFFRQ = F3", {38, 0, 0, 0, 3, 0, 0, 0}},
        {"SET REFVAL = H3", {39, 2, 0, 0, 3, 0, 0, 0}},
        {"SET OSA0 = H1", {39, 1, 0, 0, 1, 0, 0, 0}},
        {"SET INPOSWINDOW = H4", {39, 3, 0, 0, 4, 0, 0, 0}},
        {"SET EGEARPOS = H5", {39, 5, 0, 0, 5, 0, 0, 0}},
        {"SET HALT = M7", {40, 7, 0, 0, 7, 0, 0, 0}},
        {"SET USER3_M = 1", {41, 11, 0, 0, 1, 0, 0, 0}},
        // Floats; 1.5 is 0x3FC00000 and -2 is 0xC0000000, high half first.
        {"SET F[C2] = F3", {42, 2, 0, 0, 3, 0, 0, 0}},
        {"SET F[C2] = 1.5", {156, 2, 0, 0, 0xC0, 0x3F, 0, 0}},
        {"SET F4 = F[C10]", {43, 4, 0, 0, 10, 0, 0, 0}},
        {"SET F4 = REFPOS", {44, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 = PARA[H1, H2]", {45, 4, 0, 0, 1, 2, 0, 0}},
        {"SET F4 = PARA[H1]", {46, 4, 0, 0, 1, 0, 0, 0}},
        {"SET F4 = PARA[999, 255]", {47, 4, 0, 0, 255, 0, 0xE7, 0x03}},
        {"SET F4 = PARA[1]", {48, 4, 0, 0, 0, 0, 1, 0}},
        {"SET F4 = F5", {49, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 = H5", {50, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 + F5", {51, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 - -2", {54, 4, 0, 0, 0x00, 0xC0, 0, 0}},
        {"SET F4 : F5", {57, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 = ROUND F5", {59, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 = ABS F5", {60, 4, 0, 0, 5, 0, 0, 0}},
        {"SET F4 = -2", {61, 4, 0, 0, 0x00, 0xC0, 0, 0}},
        // Integers.
        {"SET H[C1] = H2", {62, 1, 0, 0, 2, 0, 0, 0}},
        {"SET H[C1] = -1", {157, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"SET H4 = H[C3]", {63, 4, 0, 0, 3, 0, 0, 0}},
        {"SET H4 = ACTPOS", {64, 4, 0, 0, 4, 0, 0, 0}},
        {"SET H4 = CANSTAT", {64, 4, 0, 0, 11, 0, 0, 0}},
        {"SET H4 = EGEARPOS", {64, 4, 0, 0, 13, 0, 0, 0}},
        {"SET H4 = PARA[12, 3]", {67, 4, 0, 0, 3, 0, 12, 0}},
        {"SET H4 = C1", {71, 4, 0, 0, 1, 0, 0, 0}},
        {"SET H4 = Z10", {73, 4, 0, 0, 10, 0, 0, 0}},
        {"SET H4 ^ H5", {76, 4, 0, 0, 5, 0, 0, 0}},
        {"SET H4 << 32", {78, 4, 0, 0, 32, 0, 0, 0}},
        {"SET H4 >> H5", {79, 4, 0, 0, 5, 0, 0, 0}},
        {"SET H4 : H5", {87, 4, 0, 0, 5, 0, 0, 0}},
        {"SET H4 % -7", {90, 4, 0, 0, 0xF9, 0xFF, 0xFF, 0xFF}},
        {"SET H4 = ABS H5", {91, 4, 0, 0, 5, 0, 0, 0}},
        {"SET H1 = 2147483647", {92, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}},
        // Flags.
        {"SET M[C1] = M2", {93, 1, 0, 0, 2, 0, 0, 0}},
        {"SET M[C1] = 1", {158, 1, 0, 0, 1, 0, 0, 0}},
        {"SET M4 = M[C1]", {94, 4, 0, 0, 1, 0, 0, 0}},
        {"SET M4 = STA_WOV", {95, 4, 0, 0, 13, 0, 0, 0}},
        {"SET M4 = M5", {96, 4, 0, 0, 5, 0, 0, 0}},
        {"SET M4 = H5", {97, 4, 0, 0, 5, 0, 0, 0}},
        {"SET M4 = IA1", {98, 4, 0, 0, 13, 0, 0, 0}},
        {"SET M4 = OE2", {99, 4, 0, 0, 5, 0, 0, 0}},
        {"SET M4 & M5", {100, 4, 0, 0, 5, 0, 0, 0}},
        {"SET M4 = 0", {103, 4, 0, 0, 0, 0, 0, 0}},
        {"SET M3 = CM16", {172, 3, 0, 0, 15, 0, 0, 0}},
        {"SET M3 = CM1", {172, 3, 0, 0, 0, 0, 0, 0}},
        // Counters, timers, outputs.
        {"SET C1 = C2", {104, 1, 0, 0, 2, 0, 0, 0}},
        {"SET C1 = H2", {105, 1, 0, 0, 2, 0, 0, 0}},
        {"SET C1 + H2", {106, 1, 0, 0, 2, 0, 0, 0}},
        {"SET C1 + 5", {107, 1, 0, 0, 5, 0, 0, 0}},
        {"SET C1 - H2", {108, 1, 0, 0, 2, 0, 0, 0}},
        {"SET C1 - 5", {109, 1, 0, 0, 5, 0, 0, 0}},
        {"SET C1 = 255", {110, 1, 0, 0, 255, 0, 0, 0}},
        {"SET Z1 = H2", {111, 1, 0, 0, 2, 0, 0, 0}},
        {"SET Z1 = 1000", {112, 1, 0, 0, 0xE8, 0x03, 0, 0}},
        {"SET OE3 = M2", {113, 6, 0, 0, 2, 0, 0, 0}},
        {"SET OS05 = 1", {114, 11, 0, 0, 1, 0, 0, 0}},
        // Parameter writes: the sub-index goes to c, the number to bytes 6-7.
        {"SET PARA[H1, H2] = F3", {115, 3, 0, 0, 1, 2, 0, 0}},
        {"SET PARA[H1] = H3", {118, 3, 0, 0, 1, 0, 0, 0}},
        {"SET PARA[999, 255] = F0", {119, 0, 0, 0, 0, 255, 0xE7, 0x03}},
        {"SET PARA[1] = H3", {122, 3, 0, 0, 0, 0, 1, 0}},
        {"SET RXMSG[15, 65535, 8]", {137, 0, 0, 0, 15, 8, 0xFF, 0xFF}},
        {"SET ACCR = H5", {159, 5, 0, 0, 0, 0, 0, 0}},
        {"SET DECR = 150%", {160, 150, 0, 0, 1, 0, 0, 0}},
        {"SET REFPOS = ACTPOS", {155, 0, 0, 0, 0, 0, 0, 0}},
        {"SET REFPOS = ACTPOS[3] + H5", {155, 1, 0, 0, 5, 3, 0, 0}},
        // INV, WAIT, STOP, GO, SEND.
        {"INV H1", {123, 1, 0, 0, 0, 0, 0, 0}},
        {"INV M2", {124, 2, 0, 0, 0, 0, 0, 0}},
        {"INV OV0", {125, 7, 0, 0, 0, 0, 0, 0}},
        {"WAIT H1", {126, 1, 0, 0, 0, 0, 0, 0}},
        {"WAIT 4294967295", {127, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"WAIT PAR", {128, 0, 0, 0, 0, 0, 0, 0}},
        {"WAIT REF", {163, 0, 0, 0, 0, 0, 0, 0}},
        {"WAIT ROT_0", {164, 0, 0, 0, 0, 0, 0, 0}},
        {"STOP B", {165, 0, 0, 0, 0, 0, 0, 0}},
        {"STOP 0", {165, 2, 0, 0, 0, 0, 0, 0}},
        {"GO W A H1 V H2", {129, 1, 0, 0, 2, 0, 0, 0}},
        {"GO W R H1", {130, 1, 0, 0, 0, 1, 0, 1}},
        {"GO A H1", {131, 1, 0, 0, 0, 0, 0, 1}},
        {"GO R H3 V H4", {132, 3, 0, 0, 4, 1, 0, 0}},
        {"GO 0 + H1", {133, 1, 0, 0, 0, 0, 0, 0}},
        {"GO 0", {134, 0, 0, 0, 0, 0, 0, 0}},
        {"GO V H5", {166, 0, 0, 0, 5, 1, 1, 0}},
        {"GO W RT H1 V H2", {167, 1, 0, 0, 2, 1, 0, 0}},
        {"GO RT H1", {168, 1, 0, 0, 0, 1, 0, 1}},
        {"GO W T[H3]", {169, 3, 0, 0, 0, 0, 0, 0}},
        {"GO T[C3]", {170, 3, 0, 0, 0, 0, 0, 1}},
        {"GO T[200]", {170, 200, 0, 0, 0, 0, 0, 2}},
        {"GO SYN 1", {171, 1, 0, 0, 0, 0, 0, 0}},
        {"SEND NMTCMD[255, 127]", {138, 0, 0, 0, 255, 127, 0, 0}},
        {"SEND TXMSG[1000, 8] = F3", {140, 3, 0, 0, 8, 0, 0xE8, 0x03}},
        {"SEND TXMSG[0, 0] = H1", {139, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        table.resetTable();
        int line = 0;
        ASSERT_EQ(table.enterLine("%P00", line), kOk);
        line = 7;
        ASSERT_EQ(table.enterLine("N10 " + c.statement, line), kOk);
        const LineEntry8& entry = table.Entry(10);
        EXPECT_EQ(entry.Code(), c.code);
        EXPECT_TRUE(entry.Used());
        EXPECT_EQ(entry.SourceLine(), 7);
        const bool jumpLike = c.code[0] <= 37 || c.code[0] == 135 || c.code[0] == 136 || c.code[0] == 161 ||
                              c.code[0] == 162 || c.code[0] == 173;
        EXPECT_EQ(entry.OperandKind() == operand_kind::kTarget, jumpLike);
    }
}

TEST_F(InProgram, BlanksCaseAndLeadingZerosDoNotMatter) {
    ASSERT_EQ(Enter("N 1 0 SET H 5 = 7"), kOk);
    ASSERT_EQ(Enter("n011 set h005 = 7"), kOk);
    ASSERT_EQ(Enter("N12\tSETH5=7\r\n"), kOk);
    const Code8 expected = {92, 5, 0, 0, 7, 0, 0, 0};
    for (int label : {10, 11, 12}) EXPECT_EQ(table.Entry(label).Code(), expected) << label;
}

TEST_F(InProgram, FaultsGiveTheirMessage) {
    struct Case {
        std::string line;
        int status;
    } cases[] = {
        {"N010 JMP(H1=5)N20", msg::kFaultyCompareValue},
        {"N10 JMP (F1 = 1.5) N20", msg::kFaultyCompareValue},
        {"N10 JMP (Z1 != 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (F1 > 0) N20", msg::kFaultySetOperator},
        {"N10 JMP (H1 <= 0) N20", msg::kFaultySetOperator},
        {"N10 SET M3 = CM0", msg::kFaultyFlag},
        {"N10 SET M3 = CM17", msg::kFaultyFlag},
        {"N10 SET PARA[0] = H1", msg::kFaultySetValue},
        {"N10 SET PARA[1000] = H1", msg::kFaultySetValue},
        {"N10 SET F1 = PARA[1000]", msg::kFaultySetValue},
        {"N10 WAIT 4294967296", msg::kFaultyInteger},
        {"N10 SET H1 = 2147483648", msg::kFaultySetValue},
        {"N10 SET H1 << 33", msg::kFaultySetValue},
        {"N10 SET F1 = 340000000000000000000000000000000000000", msg::kFaultySetValue},
        {"N0 NOP", msg::kLabelError},
        {"N255 NOP", msg::kLabelError},
        {"N10 JMP N255", msg::kFaultyJumpDestination},
        {"N10 JMP (H1 = H2) N0", msg::kFaultyJumpDestination},
        {"N10 JMP (H1 = H2)", msg::kFaultyJumpDestination},
        {"N10 CALL END", msg::kFaultyJumpDestination},
        {"N10 FOO", msg::kUnexpectedAssignation},
        {"N10 SET X = 1", msg::kUnexpectedAssignation},
        {"N10 NOP X", msg::kLineTooLong},
        {"N10 JMP (H1 = H2) END X", msg::kLineTooLong},
        {"N10 JMP (F128 = F1) N20", msg::kFaultyFloat},
        {"N10 SET H128 = 1", msg::kFaultyInteger},
        {"N10 SET C11 = 1", msg::kFaultyCounter},
        {"N10 SET Z11 = H1", msg::kFaultyTimer},
        {"N10 JMP (M1 & IS07) N20", msg::kFaultyIoNumber},
        {"N10 SET OS6 = 1", msg::kFaultyIoNumber},
        {"N10 JMP (IS00 1) N20", msg::kFaultySetOperator},
        {"N10 SET F[C1 = F2", msg::kMissingBracket},
        {"N10 SET H[C1 = 5", msg::kFaultySetOperator},
        {"N10 SET F1 = PARA[5", msg::kMissingBracket},
        {"N10 SET F1 = PARA[H1, 5]", msg::kFaultySetOperator},
        {"N10 SET PARA[H1] = M1", msg::kFaultySetOperator},
        {"N10 JMP (STA_FOO = 1) N20", msg::kFaultyCompareValue},
        {"N10 JMP (STA_ERR > 1) N20", msg::kFaultySetOperator},
        {"N10 JMP (STA_ERR = 2) N20", msg::kFaultyFlag},
        {"N10 SET ACCR = 151%", msg::kFaultyInteger},
        {"N10 SET ACCR = 50", msg::kFaultySetOperator},
        {"N10 STOP X", msg::kFaultySetOperator},
        {"N10 GO X", msg::kUnknownGoCommand},
        {"N10 GO A H1 X", msg::kUnknownGoCommand},
        {"N10 GO A H128", msg::kFaultyInteger},
        {"N10 GO SYN 2", msg::kUnknownGoCommand},
        {"N10 GO T[H1", msg::kMissingBracket},
        {"N10 SEND TXMSG[1, 9] = H1", msg::kFaultySetValue},
        {"N10 SET RXMSG[16, 1, 1]", msg::kFaultySetValue},
        {"N10 JMP(RXMSG, 16, H1) N20", msg::kFaultySetValue},
        {"N10 SET REFPOS = ACTPOS[0]", msg::kFaultySetValue},
        {"SET H1 = 1", msg::kUnknownCommandOrNoLabel},
        {"%P00", msg::kUnknownCommandOrNoLabel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Enter(c.line), c.status);
        EXPECT_FALSE(table.Entry(10).Used());
    }
}

TEST_F(InProgram, LineLengthIsCountedBeforeBlanksAreRemoved) {
    const std::string padded79 = "N10 NOP" + std::string(72, ' ');
    ASSERT_EQ(padded79.size(), 79u);
    EXPECT_EQ(Enter(padded79), kOk);
    EXPECT_EQ(Enter("N11 NOP" + std::string(73, ' ')), msg::kLineTooLong);
    EXPECT_EQ(Enter(""), msg::kLineTooLong);
    EXPECT_EQ(Enter(" \t "), kOk);
}

TEST_F(InProgram, ALabelIsTakenOnlyByALineWithoutFault) {
    EXPECT_EQ(Enter("N10 SET H128 = 1"), msg::kFaultyInteger);
    EXPECT_EQ(Enter("N10 NOP"), kOk);
    EXPECT_EQ(Enter("N010 RET"), msg::kLabelAlreadyUsed);
    EXPECT_EQ(table.Entry(10).Opcode(), 37);
}

TEST(LineCompiler8, ProgramHeadAndSections) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<int> statuses;
    } cases[] = {
        {{"%P01"}, {msg::kNoProgramHead}},
        {{"N10 NOP"}, {msg::kNoProgramHead}},
        {{"%P00 X"}, {msg::kLineTooLong}},
        {{"%P00", "END", "%P00"}, {kOk, kOk, msg::kProgramAlreadyDefined}},
        {{"%TEXT(A)", "END", "%TEXT(B)"}, {kOk, kOk, msg::kTextAlreadyDefined}},
        {{"%TEXT Motor"}, {msg::kNameNotFound}},
        {{"%TEXT()"}, {msg::kNameNotFound}},
        {{"%TEXT(Mo-tor)"}, {msg::kNameNotFound}},
        {{"%TEXT(" + std::string(33, 'A') + ")"}, {msg::kNameTooLong}},
        {{"%TEXT(ABC"}, {msg::kNameTooLong}},
        {{"%TEXT(ABC)X"}, {msg::kLineTooLong}},
        {{"%TEXT(A)", "DEF H127 = Speed_Max"}, {kOk, kOk}},
        {{"%TEXT(A)", "DEF H128 = X"}, {kOk, msg::kFaultyInteger}},
        {{"%TEXT(A)", "DEF C11 = X"}, {kOk, msg::kFaultyCounter}},
        {{"%TEXT(A)", "DEF Q1 = X"}, {kOk, msg::kUnknownVariable}},
        {{"%TEXT(A)", "DEF H1 Y"}, {kOk, msg::kFaultySetOperator}},
        {{"%TEXT(A)", "DEF H1 ="}, {kOk, msg::kNameNotFound}},
        {{"%TEXT(A)", "DEF H1 = " + std::string(33, 'x')}, {kOk, msg::kLineTooLong}},
        {{"%TEXT(A)", "%P00"}, {kOk, msg::kUnknownTextCommand}},
        {{"%TEXT(A)", "END X"}, {kOk, msg::kLineTooLong}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.back());
        LineTable8 table;
        EXPECT_EQ(EnterLines(table, c.lines), c.statuses);
    }
}

TEST(LineCompiler8, TextDeclarationKeepsNamesAsTyped) {
    LineTable8 table;
    const std::string longest(32, 'n');
    EXPECT_EQ(EnterLines(table,
                         {"%TEXT(Motor_1)",
                          "def h127 = Speed_Max",
                          "DEF F5 = vAlUe",
                          "DEF M255 = " + longest,
                          "DEF F5 = Speed",
                          "END"}),
              std::vector<int>(6, kOk));
    EXPECT_EQ(table.programName(), "Motor_1");
    EXPECT_TRUE(table.textDefined());
    EXPECT_FALSE(table.inTextSection());
    EXPECT_EQ(table.Names().Name('H', 127), "Speed_Max");
    EXPECT_EQ(table.Names().Name('F', 5), "Speed");
    EXPECT_EQ(table.Names().Name('M', 255), longest);
}

TEST(LineCompiler8, EndLinksTheProgramThroughEntriesZeroAnd255) {
    LineTable8 table;
    EXPECT_EQ(EnterLines(table, {"%P00", "N010 SET H1 = 1", "N020 JMP N010", "END"}), std::vector<int>(4, kOk));
    EXPECT_TRUE(table.programDefined());
    EXPECT_FALSE(table.inProgramSection());
    EXPECT_EQ(table.Entry(0).Code(), (Code8{1, 0, 10, 0, 10, 0, 0, 0}));
    EXPECT_EQ(table.Entry(10).Next(), 20);
    EXPECT_EQ(table.Entry(20).Next(), 255);
    EXPECT_EQ(table.Entry(20).Target(), 10);
    EXPECT_EQ(table.Entry(255).Code(), (Code8{2, 0, 255, 0, 255, 0, 0, 0}));
    for (int i : {0, 255}) {
        EXPECT_TRUE(table.Entry(i).Used());
        EXPECT_EQ(table.Entry(i).OperandKind(), operand_kind::kTarget);
    }
    EXPECT_EQ(table.UsedCount(), 4);
    EXPECT_TRUE(table.isLineTable8Program());
}

TEST(LineCompiler8, EndReportsTheLineOfAMissingTargetOrOfLabelsOutOfOrder) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int status;
        int line;
    } cases[] = {
        {"jump to a label no line defines",
         {"%P00", "N010 NOP", "N020 JMP (H1 = 0) N040", "N030 CALL N010", "END"},
         msg::kJumpTargetMissing,
         2},
        {"call of a missing label", {"%P00", "N010 CALL N011", "END"}, msg::kJumpTargetMissing, 1},
        {"N020 before N010", {"%P00", "N020 NOP", "N010 NOP", "END"}, msg::kLabelsNotRising, 2},
        // N254 takes part in the order check like every other label.
        {"N254 before N010", {"%P00", "N254 NOP", "N010 NOP", "END"}, msg::kLabelsNotRising, 2},
        {"N254 before N253", {"%P00", "N254 NOP", "N253 NOP", "END"}, msg::kLabelsNotRising, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineTable8 table;
        std::vector<int> lines;
        const std::vector<int> statuses = EnterLines(table, c.lines, &lines);
        EXPECT_EQ(statuses.back(), c.status);
        EXPECT_EQ(lines.back(), c.line);
        EXPECT_TRUE(table.programDefined());
    }
}

TEST(LineCompiler8, LastLabelN254AndAnEmptyProgramLink) {
    LineTable8 table;
    EXPECT_EQ(EnterLines(table, {"%P00", "N001 JMP N254", "N254 JMP END", "END"}), std::vector<int>(4, kOk));
    EXPECT_EQ(table.Entry(0).Target(), 1);
    EXPECT_EQ(table.Entry(1).Next(), 254);
    EXPECT_EQ(table.Entry(254).Next(), 255);

    LineTable8 empty;
    EXPECT_EQ(EnterLines(empty, {"%P00", "END"}), std::vector<int>(2, kOk));
    EXPECT_EQ(empty.Entry(0).Code(), (Code8{1, 0, 255, 0, 255, 0, 0, 0}));
    EXPECT_EQ(empty.UsedCount(), 2);
}

}  // namespace
}  // namespace plc
