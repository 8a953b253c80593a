// The statement readers of the 20-byte line compilers, one per leading
// keyword (the keyword is already consumed). Each fills the statement and
// answers kNoError or the message of the first fault; the caller checks that
// the line ends and appends the record. The readers follow V3.10; a
// generator with fewer statements (V2.10) gives them its own rules.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "plceditor/v310/compiled_statement.h"
#include "plceditor/v310/line_parser.h"

namespace plc::v310 {

// What separates the readers of one generator from those of another beyond
// its keyword list: how many entries of the shared name tables it knows,
// which operands may follow a flag or an input, whether the three-address
// forms exist, how GO records its operands, and some messages of its own.
struct StatementRules {
    std::size_t statusNames;                            // STA_ names
    std::size_t integerSourceNames;                     // SET Hx = name
    std::size_t integerTargetNames;                     // SET name = Hx
    std::span<const RangedOperand> flagJumpOperands;    // after 'JMP (Mn'
    std::span<const RangedOperand> inputJumpOperands;   // after 'JMP (input'
    std::span<const RangedOperand> outputJumpOperands;  // after 'JMP (output'
    std::span<const RangedOperand> flagSetOperands;     // after 'SET Mn'
    // SET Fx = Fy op Fz, SET Hx = Hy op Hz, SET Mx = My op ..., SET Hx = ROUND Fy.
    bool threeAddress;
    // 'SET Fx = name' is a drive value only when the name ends the line.
    bool floatSourceEndsLine;
    // Without three-address forms: the answer to characters after 'SET Fx = Fy'.
    int afterFloatCopy;
    int integerNotZero;    // 'JMP (Hx = v)' with v other than 0
    int floatTargetIndex;  // an F index out of range in 'SET name = Fx'
    int controlBitValue;   // a value other than 0 and 1 in 'SET name = v'
    int waitIndex;         // an H index out of range in 'WAIT Hx'
    // The positioning forms of GO (opcode given) after their keyword: the
    // target and options of 'GO W A Hx ...' and the like, or for kGoSpeed
    // what follows 'GO V'.
    int (*goPositioning)(LineParser&, CompiledStatement&, uint8_t opcode);
};

// Code generator V3.10: every name and form.
const StatementRules& RulesV310();

// `arg` carries what the keyword fixes: an opcode, a sub-kind or an input or
// output family (by its letters), and the rules of the generator that reads.
struct ReaderArg {
    constexpr ReaderArg() = default;
    constexpr ReaderArg(int v) : value(v) {}
    constexpr ReaderArg(std::string_view letters) : family(letters) {}

    int value = 0;
    std::string_view family;
    const StatementRules* rules = nullptr;  // null: the V3.10 rules
};
using StatementReader = int (*)(LineParser&, CompiledStatement&, const ReaderArg&);

const StatementRules& RulesOf(const ReaderArg& arg);

// A leading keyword and the reader of its statement.
struct StatementKeyword {
    std::string_view keyword;
    StatementReader read;
    ReaderArg arg;
};

// Reads the statement after a label: the keywords before the named targets,
// then the named targets and control bits ('SET name = ...'), then the
// keywords after them. The first keyword that starts the statement decides;
// a reader that fails is not followed by the later keywords. kNoMatch when
// none starts it.
int ReadStatementByKeywords(std::span<const StatementKeyword> beforeNamedTargets,
                            std::span<const StatementKeyword> afterNamedTargets, const StatementRules& rules,
                            LineParser& parser, CompiledStatement& statement);

// Jumps and the statements without operands.
int ReadJumpToLabel(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpToEnd(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpProgramVariable(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpProgramNumber(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpFloat(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpInteger(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpDriveValue(LineParser&, CompiledStatement&, const ReaderArg&);  // value: the left side
int ReadJumpFlag(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpIo(LineParser&, CompiledStatement&, const ReaderArg&);  // family
int ReadJumpCounter(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpTimer(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpReceive(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpHoming(LineParser&, CompiledStatement&, const ReaderArg&);  // value: opcode
int ReadJumpStatus(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadJumpProbe(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadCallRefused(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadPlain(LineParser&, CompiledStatement&, const ReaderArg&);  // value: opcode
int ReadPlcControl(LineParser&, CompiledStatement&, const ReaderArg&);

// 'SET name = Fx', 'SET name = Hx', 'SET name = Mx' and 'SET name = v':
// kNoMatch (nothing consumed) when no name of the three tables fits.
int ReadSetNamedTarget(LineParser&, CompiledStatement&, const StatementRules& rules);

// SET statements of variables, outputs and parameters.
int ReadSetFloatIndexed(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetFloat(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetIntegerIndexed(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetInteger(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetFlagIndexed(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetFlag(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetCounter(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetTimer(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetOutput(LineParser&, CompiledStatement&, const ReaderArg&);  // family
int ReadSetParaVariable(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetParaNumber(LineParser&, CompiledStatement&, const ReaderArg&);

// Drive commands: CAN, ramps, touch probes, event programs, INV, WAIT, STOP,
// GO, the position set and the cam.
int ReadSetReceive(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetRamp(LineParser&, CompiledStatement&, const ReaderArg&);  // value: opcode
int ReadSetTouchProbe(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetEventProgram(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadInvertVariable(LineParser&, CompiledStatement&, const ReaderArg&);  // value: opcode
int ReadInvertOutput(LineParser&, CompiledStatement&, const ReaderArg&);    // family
int ReadWaitInteger(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadWaitProbe(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadWaitTime(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadStop(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadGo(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSendNmtCommand(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSendTxMessage(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadSetRefPos(LineParser&, CompiledStatement&, const ReaderArg&);
int ReadCam(LineParser&, CompiledStatement&, const ReaderArg&);

// V3.10's positioning forms of GO: the target H index in a and the options
// V, A, D, J in b..e; after 'GO V' the speed in b and A, D, J in c..e.
int ReadGoPositioning(LineParser& parser, CompiledStatement& s, uint8_t opcode);

// The GO options after a positioning target: nothing, or "VH" and an index,
// then optionally "AH" (and after it "DH"), then optionally "JH". Absent
// options are 255. Anything else left on the line: kUnknownGoCommand.
int parseGoOptions(LineParser& parser, uint8_t& v, uint8_t& a, uint8_t& d, uint8_t& j);
// The options after "GO V Hv": "AH" (and after it "DH"), then "JH".
int parseGoSpeedOptions(LineParser& parser, uint8_t& a, uint8_t& d, uint8_t& j);

}  // namespace plc::v310
