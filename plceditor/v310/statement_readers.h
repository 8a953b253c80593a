// The statement readers of the V3.10 line compiler, one per leading keyword
// (the keyword is already consumed). Each fills the statement and answers
// kNoError or the message of the first fault; the caller checks that the
// line ends and appends the record.
#pragma once

#include <string_view>

#include "plceditor/v310/compiled_statement.h"
#include "plceditor/v310/line_parser.h"

namespace plc::v310 {

// `arg` carries what the keyword fixes: an opcode, a sub-kind or an input or
// output family (by its letters).
struct ReaderArg {
    constexpr ReaderArg() = default;
    constexpr ReaderArg(int v) : value(v) {}
    constexpr ReaderArg(std::string_view letters) : family(letters) {}

    int value = 0;
    std::string_view family;
};
using StatementReader = int (*)(LineParser&, CompiledStatement&, const ReaderArg&);

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
int ReadSetNamedTarget(LineParser&, CompiledStatement&);

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

// The GO options after a positioning target: nothing, or "VH" and an index,
// then optionally "AH" (and after it "DH"), then optionally "JH". Absent
// options are 255. Anything else left on the line: kUnknownGoCommand.
int parseGoOptions(LineParser& parser, uint8_t& v, uint8_t& a, uint8_t& d, uint8_t& j);
// The options after "GO V Hv": "AH" (and after it "DH"), then "JH".
int parseGoSpeedOptions(LineParser& parser, uint8_t& a, uint8_t& d, uint8_t& j);

}  // namespace plc::v310
