// Decoder of the V1.10 records: the canonical text of each statement, which
// compiles back to the same record, and the error texts of bad records.
#include <gtest/gtest.h>

#include <string>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v110/tests/table8_helpers.h"

namespace plc {
namespace {

using test::Code8;
using test::MakeEntry;

constexpr int kIndex = 10;

std::string Decode(const Code8& code, bool& ok, int index = kIndex) {
    LineTable8 table;
    table.Entry(index) = MakeEntry(code);
    std::string text = "stale";
    ok = table.decodeLine8(text, index);
    return text;
}

TEST(DecodeLine8, StatementsDecodeToTextThatCompilesToTheSameRecord) {
    struct Case {
        Code8 code;
        std::string text;
    } cases[] = {
        {{92, 5, 0, 0, 0xF9, 0xFF, 0xFF, 0xFF}, "N010 SET H005 = -7"},
        {{61, 1, 0, 0, 0xC0, 0x3F, 0x00, 0x00}, "N010 SET F001 = 1.5000000000"},
        {{58, 1, 0, 0, 0xC0, 0x3F, 0x00, 0x00}, "N010 SET F001 : 1.5000000000"},
        {{156, 2, 0, 0, 0x00, 0xC0, 0x00, 0x00}, "N010 SET F[C002] = -2.0000000000"},
        {{172, 3, 0, 0, 15, 0, 0, 0}, "N010 SET M003 = CM16"},
        {{1, 0, 0, 0, 20, 0, 0, 0}, "N010 JMP N020"},
        {{2, 0, 0, 0, 0, 0, 0, 0}, "N010 JMP END"},
        {{3, 0, 0, 0, 20, 0, 1, 2}, "N010 JMP (F001 = F002) N020"},
        {{12, 1, 0, 0, 255, 0, 0, 5}, "N010 JMP (ACTVAL != H005) END"},
        {{8, 2, 0, 0, 20, 0, 0, 7}, "N010 JMP (REFVAL < F007) N020"},
        {{10, 0, 0, 0, 20, 0, 4, 0}, "N010 JMP (F004 != 0) N020"},
        {{17, 0, 0, 0, 20, 0, 1, 0}, "N010 JMP (H001 = 0) N020"},
        {{18, 2, 0, 0, 255, 0, 0, 0}, "N010 JMP (REFVAL != 0) END"},
        {{20, 0, 0, 0, 20, 0, 1, 2}, "N010 JMP (M001 != M002) N020"},
        {{22, 0, 0, 0, 20, 0, 3, 9}, "N010 JMP (M003 | IE05) N020"},
        {{26, 0, 0, 0, 255, 0, 3, 8}, "N010 JMP (M003 ^ OV01) END"},
        {{27, 0, 0, 0, 20, 0, 4, 1}, "N010 JMP (M004 = 1) N020"},
        {{28, 0, 0, 0, 20, 0, 16, 1}, "N010 JMP (IS06 = 1) N020"},
        {{29, 0, 0, 0, 20, 0, 9, 0}, "N010 JMP (OS03 = 0) N020"},
        {{30, 0, 0, 0, 20, 0, 10, 255}, "N010 JMP (C010 = 255) N020"},
        {{32, 0, 0, 0, 20, 0, 2, 0}, "N010 JMP (Z002 = 0) N020"},
        {{33, 0, 0, 0, 20, 0, 1, 0}, "N010 JMP (Z001 != 0) N020"},
        {{33, 0, 0, 0, 255, 0, 1, 0}, "N010 JMP (Z001 != 0) END"},
        {{34, 0, 0, 0, 20, 0, 0, 0}, "N010 CALL N020"},
        {{35, 0, 0, 0, 0, 0, 0, 0}, "N010 RET"},
        {{135, 0, 0, 0, 20, 0, 3, 5}, "N010 JMP(RXMSG, 3, H005) N020"},
        {{161, 0, 0, 0, 20, 0, 0, 9}, "N010 JMP (REF = M009) N020"},
        {{162, 0, 0, 0, 255, 0, 1, 1}, "N010 JMP (ROT_0 = 1) END"},
        // Status codes of this generator: ERR 0, WRN 1, ERR_WRN 2.
        {{173, 1, 0, 0, 20, 0, 1, 5}, "N010 JMP (STA_WRN = M005) N020"},
        {{173, 17, 0, 0, 255, 0, 13, 1}, "N010 JMP (STA_WOV = 1) END"},
        {{173, 0, 0, 0, 20, 0, 2, 5}, "N010 JMP (STA_ERR_WRN != M005) N020"},
        {{173, 16, 0, 0, 20, 0, 0, 0}, "N010 JMP (STA_ERR != 0) N020"},
        {{38, 0, 0, 0, 3, 0, 0, 0}, "N010 SET REFVAL = F003"},
        {{39, 3, 0, 0, 4, 0, 0, 0}, "N010 SET INPOSWINDOW = H004"},
        {{39, 2, 0, 0, 4, 0, 0, 0}, "N010 SET REFVAL = H004"},
        {{40, 0, 0, 0, 7, 0, 0, 0}, "N010 SET ENCTRL = M007"},
        {{41, 10, 0, 0, 1, 0, 0, 0}, "N010 SET USER2_M = 1"},
        {{43, 4, 0, 0, 10, 0, 0, 0}, "N010 SET F004 = F[C010]"},
        {{44, 4, 0, 0, 3, 0, 0, 0}, "N010 SET F004 = ACTTORQUE"},
        {{45, 4, 0, 0, 1, 2, 0, 0}, "N010 SET F004 = PARA[H001, H002]"},
        {{47, 4, 0, 0, 255, 0, 0xE7, 0x03}, "N010 SET F004 = PARA[999, 255]"},
        {{68, 4, 0, 0, 0, 0, 12, 0}, "N010 SET H004 = PARA[012]"},
        {{60, 4, 0, 0, 5, 0, 0, 0}, "N010 SET F004 = ABS F005"},
        {{64, 4, 0, 0, 11, 0, 0, 0}, "N010 SET H004 = CANSTAT"},
        {{71, 4, 0, 0, 1, 0, 0, 0}, "N010 SET H004 = C001"},
        {{75, 1, 0, 0, 2, 0, 0, 0}, "N010 SET H001 | H002"},
        {{78, 1, 0, 0, 5, 0, 0, 0}, "N010 SET H001 << 05"},
        {{79, 1, 0, 0, 2, 0, 0, 0}, "N010 SET H001 >> H002"},
        {{89, 1, 0, 0, 2, 0, 0, 0}, "N010 SET H001 % H002"},
        {{90, 1, 0, 0, 0x01, 0x00, 0x00, 0x80}, "N010 SET H001 % -2147483647"},
        {{95, 4, 0, 0, 2, 0, 0, 0}, "N010 SET M004 = STA_ERR_WRN"},
        {{98, 4, 0, 0, 13, 0, 0, 0}, "N010 SET M004 = IA1"},
        {{101, 4, 0, 0, 5, 0, 0, 0}, "N010 SET M004 | M005"},
        {{109, 1, 0, 0, 5, 0, 0, 0}, "N010 SET C001 - 5"},
        {{112, 1, 0, 0, 0xE8, 0x03, 0, 0}, "N010 SET Z001 = 1000"},
        {{113, 3, 0, 0, 2, 0, 0, 0}, "N010 SET OE00 = M002"},
        {{114, 11, 0, 0, 1, 0, 0, 0}, "N010 SET OS05 = 1"},
        {{116, 3, 0, 0, 1, 2, 0, 0}, "N010 SET PARA[H001, H002] = H003"},
        {{119, 0, 0, 0, 0, 255, 0xE7, 0x03}, "N010 SET PARA[999, 255] = F000"},
        {{121, 3, 0, 0, 0, 0, 1, 0}, "N010 SET PARA[001] = F003"},
        {{125, 8, 0, 0, 0, 0, 0, 0}, "N010 INV OV01"},
        {{127, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "N010 WAIT 4294967295"},
        {{128, 0, 0, 0, 0, 0, 0, 0}, "N010 WAIT PAR"},
        {{164, 0, 0, 0, 0, 0, 0, 0}, "N010 WAIT ROT_0"},
        {{129, 1, 0, 0, 2, 0, 0, 0}, "N010 GO W A H001 V H002"},
        {{132, 3, 0, 0, 0, 1, 0, 1}, "N010 GO R H003"},
        {{133, 1, 0, 0, 0, 0, 0, 0}, "N010 GO 0 + H001"},
        {{166, 0, 0, 0, 5, 1, 1, 0}, "N010 GO V H005"},
        {{167, 1, 0, 0, 0, 1, 0, 1}, "N010 GO W RT H001"},
        {{169, 3, 0, 0, 0, 0, 0, 1}, "N010 GO W T[C003]"},
        {{170, 200, 0, 0, 0, 0, 0, 2}, "N010 GO T[200]"},
        {{171, 1, 0, 0, 0, 0, 0, 0}, "N010 GO SYN 1"},
        {{137, 0, 0, 0, 1, 8, 0xE8, 0x03}, "N010 SET RXMSG[1, 1000, 8]"},
        {{138, 0, 0, 0, 1, 2, 0, 0}, "N010 SEND NMTCMD[1, 2]"},
        {{140, 1, 0, 0, 8, 0, 0xE8, 0x03}, "N010 SEND TXMSG[1000, 8] = F001"},
        {{155, 1, 0, 0, 5, 3, 0, 0}, "N010 SET REFPOS = ACTPOS[3] + H005"},
        {{155, 0, 0, 0, 0, 0, 0, 0}, "N010 SET REFPOS = ACTPOS"},
        {{157, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "N010 SET H[C001] = -1"},
        {{158, 1, 0, 0, 1, 0, 0, 0}, "N010 SET M[C001] = 1"},
        {{159, 50, 0, 0, 1, 0, 0, 0}, "N010 SET ACCR = 50%"},
        {{160, 5, 0, 0, 0, 0, 0, 0}, "N010 SET DECR = H005"},
        {{165, 1, 0, 0, 0, 0, 0, 0}, "N010 STOP M"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool ok = false;
        EXPECT_EQ(Decode(c.code, ok), c.text);
        EXPECT_TRUE(ok);

        LineTable8 table;
        int line = 0;
        ASSERT_EQ(table.enterLine("%P00", line), msg::kNoError);
        ASSERT_EQ(table.enterLine(c.text, line), msg::kNoError);
        EXPECT_EQ(table.Entry(kIndex).Code(), c.code);
    }
}

TEST(DecodeLine8, FloatConstantsTranslateDecodeAndTranslateToTheSameRecord) {
    for (const char* constant :
         {"0.000001", "0.000123", "0.5", "123456.7", "-330000000000000000000000000000000000000", "0.00000000004"}) {
        SCOPED_TRACE(constant);
        LineTable8 table;
        int line = 0;
        ASSERT_EQ(table.enterLine("%P00", line), msg::kNoError);
        ASSERT_EQ(table.enterLine(std::string("N10 SET F1 = ") + constant, line), msg::kNoError);
        const Code8 code = table.Entry(kIndex).Code();
        std::string text;
        ASSERT_TRUE(table.decodeLine8(text, kIndex));

        LineTable8 again;
        ASSERT_EQ(again.enterLine("%P00", line), msg::kNoError);
        ASSERT_EQ(again.enterLine(text, line), msg::kNoError) << text;
        EXPECT_EQ(again.Entry(kIndex).Code(), code) << text;
    }
}

TEST(DecodeLine8, RecordsWithoutAStatementGiveErrorTexts) {
    struct Case {
        Code8 code;
        std::string text;
        bool ok;
    } cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, "N010 (!) ERROR: NO CODE FOUND", false},
        {{174, 0, 0, 0, 0, 0, 0, 0}, "; ERROR: UNKOWN OPCODE.", false},
        {{255, 1, 2, 3, 4, 5, 6, 7}, "; ERROR: UNKOWN OPCODE.", false},
        // Reserved opcodes are remarks, and count as decoded.
        {{141, 0, 0, 0, 0, 0, 0, 0}, "; PLC: Reserved Command - 01 ", true},
        {{143, 0, 0, 0, 0, 0, 0, 0}, "; PLC: Reserved Command - 03 ", true},
        {{144, 0, 0, 0, 0, 0, 0, 0}, "; PLC: Reserved Command - 04", true},
        {{154, 0, 0, 0, 0, 0, 0, 0}, "; PLC: Reserved Command - 14", true},
        {{3, 3, 0, 0, 20, 0, 1, 2}, "; ERROR: JMP (Fxx/ACTVAL/REFVAL = Fxx) Nxx/END", false},
        {{16, 3, 0, 0, 20, 0, 1, 2}, "; ERROR: JMP (Hxx/ACTVAL/REFVAL < Hxx) Nxx/END", false},
        {{9, 1, 0, 0, 20, 0, 1, 0}, "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END", false},
        {{17, 3, 0, 0, 20, 0, 1, 0}, "; ERROR: JMP (Hxx/ACTVAL/REFVAL = 0) Nxx/END", false},
        {{18, 3, 0, 0, 20, 0, 1, 0}, "; ERROR: JMP (Hxx/ACTVAL/REFVAL != 0) Nxx/END", false},
        {{21, 0, 0, 0, 20, 0, 3, 17}, "ERROR: N010 JMP (M003 & ???ERR) N020", false},
        {{25, 0, 0, 0, 255, 0, 3, 12}, "ERROR: N010 JMP (M003 | ???ERR) END", false},
        {{28, 0, 0, 0, 255, 0, 17, 1}, "ERROR: N010 JMP (???ERR = 1) END", false},
        {{29, 0, 0, 0, 20, 0, 12, 0}, "ERROR: N010 JMP (???ERR = 0) N020", false},
        {{38, 1, 0, 0, 2, 0, 0, 0}, "ERROR: N010 SET UNKNOWN VALUE NR(001) = F002", false},
        {{39, 6, 0, 0, 2, 0, 0, 0}, "ERROR: N010 SET UNKNOWN VALUE NR(006) = H002", false},
        {{41, 12, 0, 0, 1, 0, 0, 0}, "ERROR: N010 SET UNKNOWN VALUE NR(012) = M001", false},
        {{44, 1, 0, 0, 6, 0, 0, 0}, "ERROR: N010 SET F001 = UNKNOWN VALUE NR(006)", false},
        {{64, 1, 0, 0, 14, 0, 0, 0}, "ERROR: N010 SET H001 = UNKNOWN VALUE NR(014)", false},
        {{95, 1, 0, 0, 31, 0, 0, 0}, "ERROR: N010 SET M001 = UNKNOWN VALUE NR(031)", false},
        {{98, 1, 0, 0, 17, 0, 0, 0}, "ERROR: N010 SET M001 = ???ERR", false},
        {{99, 1, 0, 0, 12, 0, 0, 0}, "ERROR: N010 SET M001 = ???ERR", false},
        {{113, 12, 0, 0, 2, 0, 0, 0}, "ERROR: N010 SET ???ERR = M002", false},
        {{114, 12, 0, 0, 1, 0, 0, 0}, "ERROR: N010 SET ???ERR = 1", false},
        {{125, 12, 0, 0, 0, 0, 0, 0}, "ERROR: N010 INV ???ERR", false},
        {{159, 5, 0, 0, 2, 0, 0, 0}, "; ERROR: SET ACCR = ???", false},
        {{160, 5, 0, 0, 2, 0, 0, 0}, "; ERROR: SET DECR = ???", false},
        {{165, 3, 0, 0, 0, 0, 0, 0}, "; ERROR: STOP x", false},
        {{169, 1, 0, 0, 0, 0, 0, 3}, "; ERROR: GO W T[???]", false},
        {{170, 1, 0, 0, 0, 0, 0, 3}, "; ERROR: GO T[???]", false},
        {{173, 1, 0, 0, 20, 0, 31, 0}, "; ERROR: SET STA_??? =/!= M/Val", false},
        {{173, 0x1F, 0, 0, 20, 0, 2, 0}, "; ERROR: JMP(STA_ERR_WRN ??? [1F] M/Val", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        bool ok = !c.ok;
        EXPECT_EQ(Decode(c.code, ok), c.text);
        EXPECT_EQ(ok, c.ok);
    }
}

TEST(DecodeLine8, IndexOutsideTheTableIsAnError) {
    LineTable8 table;
    std::string text;
    EXPECT_FALSE(table.decodeLine8(text, 256));
    EXPECT_EQ(text, "N256 (!) ERROR: NO CODE FOUND");
    EXPECT_FALSE(table.decodeLine8(text, -1));
}

}  // namespace
}  // namespace plc
