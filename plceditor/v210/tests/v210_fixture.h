// A V2.10 code store for translating lines, and the statements V2.10
// translates: those of the V3.10 table that it writes alike, and its own.
#pragma once

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v210/line_compiler_v210.h"
#include "plceditor/v310/tests/compiler_fixture.h"
#include "plceditor/v310/tests/statement_table.h"

namespace plc::test {

class V210Compiler : public LineCompiler {
public:
    explicit V210Compiler(int memoryWords = kDefaultMemoryWords) : LineCompiler(v210::compileSourceLine, memoryWords) {}
};

// Statements of the V3.10 table with opcodes V2.10 has, whose names or
// operators it does not know.
inline constexpr std::string_view kV310OnlyForms[] = {
    "JMP (M1 | M2) N20",
    "JMP (M5 & IS04) N20",
    "JMP (M6 ^ OE3) N20",
    "JMP (STA_TP1 != M9) N20",
    "SET RACTPOSINC = H16",
    "SET M20 & IE0",
};

// The positioning forms of GO, whose operands V2.10 keeps its own way.
constexpr bool IsGoPositioning(int opcode) {
    return (opcode >= op::kGoWaitAbsolute && opcode <= op::kGoRelative) ||
           (opcode >= op::kGoSpeed && opcode <= op::kGoRelativeTarget);
}

// A V3.10 statement that V2.10 writes into the same record and text.
inline bool SharedWithV310(const StatementCase& c) {
    return op::EmitsOpcode(PlcGenerator::kV210, c.opcode) && !IsGoPositioning(c.opcode) &&
           std::ranges::find(kV310OnlyForms, std::string_view(c.source)) == std::end(kV310OnlyForms);
}

// Forms and names that V2.10 has beside the shared ones, and its GO records.
// clang-format off
inline constexpr StatementCase kV210OwnCases[] = {
    {"JMP (M1 = M2) N20", 19, 0, Word4(20, 1, 2), false, "JMP (M001 = M002) N020"},
    {"JMP (M5 = IS04) N20", 21, 0, Word4(20, 5, 14), false, "JMP (M005 = IS04) N020"},
    {"JMP (M6 = OV1) END", 24, 0, Bytes4(6, 8), true, "JMP (M006 = OV01) END"},
    {"JMP (STA_RCAM = 1) N20", 173, 17, Word4(20, 31, 1), false, "JMP (STA_RCAM = 1) N020"},
    {"JMP (STA_ERR != M9) N20", 173, 0, Word4(20, 1, 9), false, "JMP (STA_ERR != M009) N020"},
    {"SET EGEARPOS = H5", 39, 5, Bytes4(5, 0), false, "SET EGEARPOS = H005"},
    {"SET REGEARPOSINC = H4", 39, 8, Bytes4(4, 0), false, "SET R EGEARPOSINC = H004"},
    {"SET H2 = EGEARPOS", 64, 2, Bytes4(13, 0), false, "SET H002 = EGEARPOS"},
    {"SET F2 = ACTFRQ", 44, 2, 0, false, "SET F002 = ACTFRQ"},
    {"SET M20 = IE0", 98, 20, Bytes4(4, 0), false, "SET M020 = IE00"},
    {"SET M24 ^ STA_RCAM", 95, 24, Bytes4(31, 3), false, "SET M024 ^ STA_RCAM"},
    {"SET M23 = CM1", 172, 23, 0, false, "SET M023 = CM01"},
    {"GO W A H73", 129, 73, Bytes4(0, 0, 0, 1), false, "GO W A H073"},
    {"GO W R H74 V H75", 130, 74, Bytes4(75, 1), false, "GO W R H074 V H075"},
    {"GO A H76 V H77", 131, 76, Bytes4(77, 0), false, "GO A H076 V H077"},
    {"GO R H81", 132, 81, Bytes4(0, 1, 0, 1), false, "GO R H081"},
    {"GO V H84", 166, 0, Bytes4(84, 0), false, "GO V H084"},
    {"GO W RT H86 V H87", 167, 86, Bytes4(87, 0), false, "GO W RT H086 V H087"},
    {"GO RT H89", 168, 89, Bytes4(0, 0, 0, 1), false, "GO RT H089"},
};
// clang-format on

// The shared statements in the V3.10 table's order, then V2.10's own. The
// first two are 'JMP N20' and 'JMP END', so with labels N10, N20, ... a jump
// to N20 finds its label.
inline std::vector<StatementCase> SharedCases() {
    std::vector<StatementCase> cases;
    std::ranges::copy_if(kStatementCases, std::back_inserter(cases), SharedWithV310);
    return cases;
}
inline std::vector<StatementCase> V210Cases() {
    std::vector<StatementCase> cases = SharedCases();
    cases.insert(cases.end(), std::begin(kV210OwnCases), std::end(kV210OwnCases));
    return cases;
}

}  // namespace plc::test
