// Keyword order and line entry of the V3.10 line compiler.
#include "plceditor/v310/line_compiler_v310.h"

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/program_lines.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_readers.h"

namespace plc::v310 {

namespace {

// Operands after 'JMP (Mn' with one of '=', '&', '|', '^'.
constexpr RangedOperand kFlagJumpOperands[] = {
    AnyInput(op::kJumpFlagInput),
    AnyOutput(op::kJumpFlagOutput),
    Numbered("=&|^", "M", 0, 255, op::kJumpFlagLogic, msg::kFaultyFlag),
    Numbered("=&|^", "TP", 0, 15, op::kJumpFlagProbe, msg::kWrongTouchProbe),
};

// Operands after an input, and after an output.
constexpr RangedOperand kInputJumpOperands[] = {
    AnyInput(op::kJumpInputInput),
    AnyOutput(op::kJumpInputOutput),
};
constexpr RangedOperand kOutputJumpOperands[] = {
    AnyOutput(op::kJumpOutputOutput),
};

// Operands after 'SET Mx' and one of '=', '&', '|', '^'.
constexpr RangedOperand kFlagSetOperands[] = {
    Numbered("=&|^", "H", 0, 127, op::kSetFlagInteger, msg::kFaultyInteger),
    AnyInput(op::kSetFlagInput),
    AnyOutput(op::kSetFlagOutput),
    Numbered("&", "M", 0, 255, op::kFlagLogicFirst, msg::kFaultyFlag),
    Numbered("|", "M", 0, 255, op::kFlagLogicFirst + 1, msg::kFaultyFlag),
    Numbered("^", "M", 0, 255, op::kFlagLogicLast, msg::kFaultyFlag),
    Numbered("=&|^", "CM", 1, 16, op::kSetFlagCam, msg::kFaultySetValue, -1),
    Numbered("=&|^", "TP", 0, 15, op::kSetFlagProbe, msg::kWrongTouchProbe),
};

// The first keyword that starts the statement decides; a reader that fails
// is not followed by the later keywords. The named targets and control bits
// ('SET name = ...') are tried between these two lists.
const StatementKeyword kKeywordsBeforeNamedTargets[] = {
    {"JMPN", ReadJumpToLabel, {}},
    {"JMPEND", ReadJumpToEnd, {}},
    {"JMPP[H", ReadJumpProgramVariable, {}},
    {"JMPP", ReadJumpProgramNumber, {}},
    {"JMP(F", ReadJumpFloat, {}},
    {"JMP(H", ReadJumpInteger, {}},
    {"JMP(ACTVAL", ReadJumpDriveValue, {layout::kCompareActualValue}},
    {"JMP(REFVAL", ReadJumpDriveValue, {layout::kCompareReferenceValue}},
    {"JMP(M", ReadJumpFlag, {}},
    {"JMP(IS", ReadJumpIo, {"IS"}},
    {"JMP(IE", ReadJumpIo, {"IE"}},
    {"JMP(IA", ReadJumpIo, {"IA"}},
    {"JMP(OS", ReadJumpIo, {"OS"}},
    {"JMP(OE", ReadJumpIo, {"OE"}},
    {"JMP(OV", ReadJumpIo, {"OV"}},
    {"JMP(C", ReadJumpCounter, {}},
    {"JMP(Z", ReadJumpTimer, {}},
    {"JMP(RXMSG,", ReadJumpReceive, {}},
    {"JMP(REF=", ReadJumpHoming, {op::kJumpHoming}},
    {"JMP(ROT_0=", ReadJumpHoming, {op::kJumpStandstill}},
    {"JMP(STA_", ReadJumpStatus, {}},
    {"JMP(TP", ReadJumpProbe, {}},
    {"CALLN", ReadCallRefused, {}},
    {"RET", ReadPlain, {op::kReturn}},
    {"BRKPT", ReadPlain, {op::kControl}},
    {"NOP", ReadPlain, {op::kNop}},
    {"PLC=", ReadPlcControl, {}},
};

const StatementKeyword kKeywordsAfterNamedTargets[] = {
    {"SETF[C", ReadSetFloatIndexed, {}},
    {"SETF", ReadSetFloat, {}},
    {"SETH[C", ReadSetIntegerIndexed, {}},
    {"SETH", ReadSetInteger, {}},
    {"SETM[C", ReadSetFlagIndexed, {}},
    {"SETM", ReadSetFlag, {}},
    {"SETC", ReadSetCounter, {}},
    {"SETZ", ReadSetTimer, {}},
    {"SETOS", ReadSetOutput, {"OS"}},
    {"SETOE", ReadSetOutput, {"OE"}},
    {"SETOV", ReadSetOutput, {"OV"}},
    {"SETPARA[H", ReadSetParaVariable, {}},
    {"SETPARA[", ReadSetParaNumber, {}},
    {"SETRXMSG[", ReadSetReceive, {}},
    {"SETACCR=", ReadSetRamp, {op::kSetAccelerationRamp}},
    {"SETDECR=", ReadSetRamp, {op::kSetDecelerationRamp}},
    {"SETTP", ReadSetTouchProbe, {}},
    {"SETEVPRG", ReadSetEventProgram, {}},
    {"INVH", ReadInvertVariable, {op::kInvertInteger}},
    {"INVM", ReadInvertVariable, {op::kInvertFlag}},
    {"INVOS", ReadInvertOutput, {"OS"}},
    {"INVOE", ReadInvertOutput, {"OE"}},
    {"INVOV", ReadInvertOutput, {"OV"}},
    {"WAITH", ReadWaitInteger, {}},
    {"WAITPAR", ReadPlain, {op::kWaitPar}},
    {"WAITREF", ReadPlain, {op::kWaitHoming}},
    {"WAITROT_0", ReadPlain, {op::kWaitStandstill}},
    {"WAITTP", ReadWaitProbe, {}},
    {"WAIT", ReadWaitTime, {}},
    {"STOP", ReadStop, {}},
    {"GO", ReadGo, {}},
    {"SENDNMTCMD[", ReadSendNmtCommand, {}},
    {"SENDTXMSG[", ReadSendTxMessage, {}},
    {"SETREFPOS=ACTPOS", ReadSetRefPos, {}},
    {"RCAM", ReadCam, {}},
    {"SAVE", ReadPlain, {op::kSave}},
};

const ProgramLineRules kRules = {OutOfOrderHead, CompileStatement};

}  // namespace

const StatementRules& RulesV310() {
    static const StatementRules rules = {
        .statusNames = kStatusNames.size(),
        .integerSourceNames = kIntegerSourceNames.size(),
        .integerTargetNames = kIntegerTargetNames.size(),
        .flagJumpOperands = kFlagJumpOperands,
        .inputJumpOperands = kInputJumpOperands,
        .outputJumpOperands = kOutputJumpOperands,
        .flagSetOperands = kFlagSetOperands,
        .threeAddress = true,
        .floatSourceEndsLine = false,
        .afterFloatCopy = msg::kLineTooLong,
        .integerNotZero = msg::kFaultyCompareValue,
        .floatTargetIndex = msg::kFaultyFloat,
        .controlBitValue = msg::kFaultySetValue,
        .waitIndex = msg::kFaultyInteger,
        .goPositioning = ReadGoPositioning,
    };
    return rules;
}

std::span<const StatementKeyword> KeywordsBeforeNamedTargets() { return kKeywordsBeforeNamedTargets; }

std::span<const StatementKeyword> KeywordsAfterNamedTargets() { return kKeywordsAfterNamedTargets; }

int CompileStatement(LineParser& parser, CompiledStatement& statement) {
    return ReadStatementByKeywords(
        kKeywordsBeforeNamedTargets, kKeywordsAfterNamedTargets, RulesV310(), parser, statement);
}

int OutOfOrderHead(const PlcCompiler& store, int position, int number) {
    const int declaredAt = store.FindProgramPosition(number);
    return declaredAt >= 0 && declaredAt < position ? msg::kProgramNumberUsed : msg::kProgramNumberNotRising;
}

int compileLine(PlcCompiler& store, std::string_view text, int& line) {
    return CompileProgramLine(store, text, line, kRules);
}

int compileSourceLine(PlcCompiler& store, std::string_view text, int& line) {
    return CompileSourceProgramLine(store, text, line, kRules);
}

}  // namespace plc::v310
