// Texts of V2.10 records: its GO forms, the opcodes and names beyond V2.10,
// and the walk that renumbers programs and labels.
#include "plceditor/v210/decoder_v210.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v210/tests/v210_fixture.h"
#include "plceditor/v310/tests/decoder_cases.h"

namespace plc {
namespace {

using namespace test::decoding;

TEST(V210Decoder, RecordTexts) {
    const Case cases[] = {
        // GO: target in a, speed in b unless e is set, A or R in c.
        {Rec(129, 1, 0, 0, 0, 1), "N010 GO W A H001", true},
        {Rec(130, 2, 3, 1), "N010 GO W R H002 V H003", true},
        {Rec(131, 4, 5, 0, 9), "N010 GO A H004 V H005", true},
        {Rec(132, 6, 0, 1, 0, 1), "N010 GO R H006", true},
        {Rec(166, 0, 7, 1, 1, 1), "N010 GO V H007", true},
        {Rec(167, 8, 9), "N010 GO W RT H008 V H009", true},
        {Rec(168, 10, 0, 0, 0, 255), "N010 GO RT H010", true},
        {Rec(131, 4, 5, 2), "ERROR: N010 GO ? H004 V H005", false},
        // A V3.10 record: no speed (e 255), and a direction byte of 255.
        {Rec(130, 1, 255, 255, 255, 255), "ERROR: N010 GO W ? H001", false},
        // Opcodes above 176 are unknown.
        {Rec(176, 0, 5), "N010 JMP P05", true},
        {Rec(177, 2), "; ERROR: UNKOWN OPCODE.", false},
        {Rec(200, 1), "; ERROR: UNKOWN OPCODE.", false},
        {Rec(255), "; ERROR: UNKOWN OPCODE.", false},
        // 32 status bits, 17 drive values to read, 9 to write.
        {Jump(173, 1, 31, 1), "N010 JMP (STA_RCAM = M001) N030", true},
        {Jump(173, 1, 32, 1), "; ERROR: JMP(STA_ ??? [1] M/Val", false},
        {Rec(95, 1, 31, 2), "N010 SET M001 | STA_RCAM", true},
        {Rec(95, 1, 32, 2), "ERROR: N010 SET M001 | STA_???", false},
        {Rec(64, 1, 13), "N010 SET H001 = EGEARPOS", true},
        {Rec(64, 1, 17), "N010 SET H001 = Unknown command", false},
        {Rec(39, 2, 1), "N010 SET REFVAL = H001", true},
        {Rec(39, 8, 1), "N010 SET R EGEARPOSINC = H001", true},
        {Rec(39, 9, 1), "N010 SET Unknown command = H001", false},
    };
    for (const Case& c : cases) Check(v210::DecoderV210(), c);

    // The store's entry decodes its code array with these texts.
    PlcCompiler store;
    store.setMemorySize(test::kDefaultMemoryWords);
    store.CodeArray()[kIndex] = Rec(129, 1, 0, 0, 0, 1);
    std::string text;
    EXPECT_TRUE(v210::decodeLine20(store, text, kIndex, kBase, kStep));
    EXPECT_EQ(text, "N010 GO W A H001");
}

TEST(V210Walker, ProgramsAndLabelsAreRenumbered) {
    // Renumbering translates with free program numbers.
    test::V210Compiler compiler;
    compiler.store.setStrictProgramNumbers(false);
    const std::vector<std::string> source = {
        "%P00", "N5 NOP", "N7 JMP N100", "N100 JMP END", "END", "%P05", "N1 JMP P05", "END"};
    for (const std::string& line : source) ASSERT_EQ(compiler.Line(line), msg::kNoError) << line;
    int faultLine = -1;
    ASSERT_EQ(compiler.store.linkProgram(faultLine), msg::kNoError);

    v210::ProgramWalkerV210 walker(compiler.store);
    int used = 0;
    ASSERT_EQ(walker.findProgramEnds(used), msg::kNoError);
    EXPECT_EQ(used, 8);
    struct Line {
        std::string text;
        int source;
    };
    const Line expected[] = {
        {"%P00", 0},
        {"N010 NOP", 1},
        {"N020 JMP N030", 2},
        {"N030 JMP END", 3},
        {"END", 4},
        {"%P01", 5},
        {"N010 JMP P01", 6},
        {"END", 7},
    };
    std::string text;
    int line = -1;
    int message = 0;
    for (const Line& e : expected) {
        ASSERT_TRUE(walker.decodeNextLine(text, line, message)) << e.text;
        EXPECT_EQ(text, e.text);
        EXPECT_EQ(line, e.source) << e.text;
        EXPECT_EQ(message, msg::kNoError) << e.text;
    }
    EXPECT_FALSE(walker.decodeNextLine(text, line, message));
    EXPECT_EQ(message, msg::kNoError);
}

}  // namespace
}  // namespace plc
