// Texts of single code records: constants, labels and targets, the faulty
// and unknown opcodes, every error text, bytes that name nothing in their
// table, and a dialect with fewer statements.
#include <gtest/gtest.h>

#include <string>

#include "plceditor/v310/record_decoder.h"
#include "plceditor/v310/tests/decoder_cases.h"

namespace plc {
namespace {

using namespace test::decoding;

TEST(V310Decoder, StatementsConstantsAndTargets) {
    const Case cases[] = {
        {Const(52, 1, StoredFloat(1.5f)), "N010 SET F001 + 1.5000000000", true},
        {Const(61, 7, StoredFloat(-0.1f)), "N010 SET F007 = -0.1000000015", true},
        {Const(82, 2, static_cast<uint32_t>(-7)), "N010 SET H002 + -7", true},
        {Const(127, 0, 0xFFFFFFFFu), "N010 WAIT 4294967295", true},
        {Rec(181, 3, 2, 1, 4, 9), "N010 SET TP H003 SN 2 EG 1 = M004", true},
        {Jump(1, 0, 0, 0, true), "N010 JMP END", true},
        {Jump(1, 0, 0, 0), "N010 JMP N030", true},
        {Jump(33, 0, 3, 5, true), "N010 JMP (Z003 != 0) END", true},
        {Jump(33, 0, 3, 5), "N010 JMP (Z003 != 5) N030", true},
        {Jump(34, 0, 0, 0), "N010 CALL N030", true},
        {Rec(172, 1, 255, 2), "N010 SET M001 | CM256", true},
        {Rec(174, 5), "%P05", true},
        {Rec(175), "END", true},
        {Rec(143), "; PLC: Reserved Command - 03 ", true},
        {Rec(144), "; PLC: Reserved Command - 04", true},
        {Rec(154), "; PLC: Reserved Command - 14", true},
        {Rec(129, 1, 2, 255, 255, 3), "N010 GO W A H001 V H002 J H003", true},
        {Rec(166, 9, 4, 255, 6, 255), "N010 GO V H004 D H006 ", true},
        {Rec(196, 1, 2, 3, 255, 5), "N010 RCAM POL5 H001 V0 F002 V1 F003 A1 F005", true},
        {Rec(195, 1, 2, 3, 4, 255), "N010 RCAM POL5 H001 V0 H002 V1 H003 A0 F004", true},
    };
    for (const Case& c : cases) Check(DecoderV310(), c);
}

TEST(V310Decoder, FaultyAndUnknownOpcodes) {
    const Case cases[] = {
        {Rec(0), "N010 (!) ERROR: NO CODE FOUND", false},
        {Rec(2), "N010 (!) ERROR: NOT IMPLEMENTED", false},
        {Rec(23), "N010 ERROR: Command not supported!", false},
        {Rec(25), "N010 ERROR: Command not supported!", false},
        {Rec(26), "N010 ERROR: Command not supported!", false},
        {Rec(201), "; ERROR: UNKOWN OPCODE.", false},
        {Rec(255), "; ERROR: UNKOWN OPCODE.", false},
    };
    for (const Case& c : cases) Check(DecoderV310(), c);
}

TEST(V310Decoder, SubCodesOutsideTheirRangeGiveTheErrorTexts) {
    const Case cases[] = {
        {Jump(3, 3, 1, 2), "; ERROR: JMP (Fxx/ACTVAL/REFVAL = Fxx) Nxx/END", false},
        {Jump(16, 9, 1, 2), "; ERROR: JMP (Hxx/ACTVAL/REFVAL < Hxx) Nxx/END", false},
        {Jump(9, 1, 1, 0), "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END", false},
        {Jump(10, 1, 1, 0), "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END", false},
        {Jump(17, 3, 1, 0), "; ERROR: JMP (Hxx/ACTVAL/REFVAL = 0) Nxx/END", false},
        {Jump(18, 3, 1, 0), "; ERROR: JMP (Hxx/ACTVAL/REFVAL != 0) Nxx/END", false},
        {Rec(36, 4), "; ERROR: BRKPT, PLC = OFF/RESTART/CLEARADRSTACK", false},
        {Rec(60, 1, 0, 0, 2, 7), "ERROR: N010 SET F001 = F002 MATH...", false},
        {Rec(159, 1, 2), "; ERROR: SET ACCR = ???", false},
        {Rec(160, 1, 2), "; ERROR: SET DECR = ???", false},
        {Rec(165, 3), "; ERROR: STOP x", false},
        {Rec(169, 1, 0, 0, 0, 3), "; ERROR: GO W T[???]", false},
        {Rec(170, 1, 0, 0, 0, 3), "; ERROR: GO T[???]", false},
        {Jump(173, 18, 0, 1), "; ERROR: JMP(STA_ ??? [12] M/Val", false},
        {Jump(173, 1, 65, 1), "; ERROR: JMP(STA_ ??? [1] M/Val", false},
        {Rec(176, 2, 1), "; ERROR: UNKOWN OPCODE JMP PRG P.../H.../....", false},
        {Rec(177, 11), "; ERROR: UNKOWN OPCODE RCAM START xx / START Hxx / BREAK xx / BREAK Hxx / STOP", false},
        {Rec(181, 1, 1, 1, 1, 16), "ERROR: N010 SET TP x/Hxxx SN x/Hxxx EG x/Hxx = y/Myyy", false},
        {Rec(200, 1, 0, 0, 1, 4), "ERROR: N010 SET EVPRG x/Hxxx = y/Myyy", false},
    };
    for (const Case& c : cases) Check(DecoderV310(), c);
}

TEST(V310Decoder, UnknownInputsAndOutputsGiveTheirErrorTexts) {
    const Case cases[] = {
        {Jump(21, 1, 5, 17), "ERROR: N010 JMP (M005 & ???ERR) N030", false},
        {Jump(24, 1, 5, 12, true), "ERROR: N010 JMP (M005 & ???ERR) END", false},
        {Jump(28, 0, 17, 1), "ERROR: N010 JMP (???ERR = 1) N030", false},
        {Jump(29, 0, 12, 0, true), "ERROR: N010 JMP (???ERR = 0) END", false},
        {Rec(98, 1, 17, 0), "ERROR: N010 SET M001 =&|^ ???ERR", false},
        {Rec(99, 1, 0, 4), "ERROR: N010 SET M001 =&|^ OS00", false},
        {Rec(113, 12, 3), "ERROR: N010 SET ???ERR = M003", false},
        {Rec(114, 12, 1), "ERROR: N010 SET ???ERR = 1", false},
        {Rec(125, 12), "ERROR: N010 INV ???ERR", false},
        {Jump(178, 0, 17, 0), "ERROR: N010 JMP (Ixx =&|^ Ixx) Nyyy/END", false},
        {Jump(179, 0, 0, 12), "ERROR: N010 JMP (Ixx =&|^ Oxx) Nyyy/END", false},
        {Jump(180, 4, 0, 0), "ERROR: N010 JMP (Oxx =&|^ Oxx) Nyyy/END", false},
        {Rec(190, 1, 2, 17, 0), "ERROR: N010 SET Mxx = Myy & | ^ Ixx", false},
        {Rec(191, 1, 2, 0, 4), "ERROR: N010 SET Mxx = Myy & | ^ Ixx", false},
    };
    for (const Case& c : cases) Check(DecoderV310(), c);
}

TEST(V310Decoder, BytesThatNameNothingAreNeverLookedUp) {
    const Case cases[] = {
        // The lookups that answer "Unknown command".
        {Rec(64, 1, 26), "N010 SET H001 = Unknown command", false},
        {Rec(39, 15, 1), "N010 SET Unknown command = H001", false},
        {Rec(38, 1, 2), "N010 SET Unknown command = F002", false},
        // Operator codes and the other tables.
        {Jump(19, 4, 1, 2), "ERROR: N010 JMP (M001 ? M002) N030", false},
        {Jump(184, 200, 1, 1), "ERROR: N010 JMP (TP1 ? 1) N030", false},
        {Rec(97, 1, 2, 9), "ERROR: N010 SET M001 ? H002", false},
        {Rec(40, 12, 1), "ERROR: N010 SET ??? = M001", false},
        {Rec(41, 255, 1), "ERROR: N010 SET ??? = 1", false},
        {Rec(44, 1, 6), "ERROR: N010 SET F001 = ???", false},
        {Rec(95, 1, 65, 0), "ERROR: N010 SET M001 = STA_???", false},
        {Rec(186, 1, 2, 3, 6), "ERROR: N010 SET F001 = F002 ?003", false},
        {Rec(187, 1, 2, 3, 11), "ERROR: N010 SET H001 = H002 ?003", false},
    };
    for (const Case& c : cases) Check(DecoderV310(), c);
}

TEST(V310Decoder, RecordOutsideTheArrayHasNoCode) {
    PlcCompiler store;
    store.setMemorySize(747);
    std::string text;
    EXPECT_FALSE(PlcDecoder(store, text, PlcCompiler::kMaxRecords, PlcCompiler::kMaxRecords - 1, kStep));
    EXPECT_EQ(text, "N010 (!) ERROR: NO CODE FOUND");
    EXPECT_FALSE(PlcDecoder(store, text, -1, -2, kStep));
}

// A generator with fewer statements decodes with its own last opcode, name
// counts and GO texts.
bool SmallGo(const CodeRecord& r, std::string& statement) {
    statement = "GO " + std::to_string(r.OperandA());
    return r.OperandE() == 0;
}

TEST(V310Decoder, DialectWithFewerStatements) {
    const DecoderDialect small = {176, 32, 17, 9, SmallGo};
    const Case cases[] = {
        {Rec(177, 2), "; ERROR: UNKOWN OPCODE.", false},
        {Rec(200), "; ERROR: UNKOWN OPCODE.", false},
        {Jump(173, 1, 32, 1), "; ERROR: JMP(STA_ ??? [1] M/Val", false},
        {Jump(173, 1, 31, 1), "N010 JMP (STA_RCAM = M001) N030", true},
        {Rec(64, 1, 17), "N010 SET H001 = Unknown command", false},
        {Rec(64, 1, 13), "N010 SET H001 = EGEARPOS", true},
        {Rec(39, 9, 1), "N010 SET Unknown command = H001", false},
        {Rec(39, 8, 1), "N010 SET R EGEARPOSINC = H001", true},
        {Rec(131, 7), "N010 GO 7", true},
        {Rec(131, 7, 0, 0, 0, 1), "ERROR: N010 GO 7", false},
    };
    for (const Case& c : cases) Check(small, c);
}

TEST(V310Decoder, GoOptionTexts) {
    EXPECT_EQ(formatGoOptions(Rec(129, 0, 1, 2, 3, 4)), "V H001 A H002 D H003 J H004");
    EXPECT_EQ(formatGoOptions(Rec(129, 0, 255, 255, 255, 255)), "");
    EXPECT_EQ(formatGoOptions(Rec(129, 0, 7, 255, 255, 255)), "V H007 ");
    EXPECT_EQ(formatGoSpeedOptions(Rec(166, 0, 7, 255, 255, 8)), "J H008");
    EXPECT_EQ(integerSourceName(15), "ACTPOSINC");
    EXPECT_EQ(integerTargetName(2), "REFVAL");
    EXPECT_EQ(floatTargetName(0), "REFVAL");
    EXPECT_EQ(floatTargetName(1), "Unknown command");
}

}  // namespace
}  // namespace plc
