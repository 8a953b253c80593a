// Keyword order, reader rules and line entry of the V2.10 line compiler. The
// readers are those of V3.10; V2.10 leaves out the touch probes, the cam, the
// event programs, SAVE, the three-address forms and the logic operators
// between a flag and its jump operand, and knows the first 32 status bits,
// 17 drive values to read and 9 to write.
#include "plceditor/v210/line_compiler_v210.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v210/go_records_v210.h"
#include "plceditor/v310/line_compiler_v310.h"
#include "plceditor/v310/program_lines.h"

namespace plc::v210 {

namespace {

using namespace v310;

// After 'JMP (Mn' only '=' with a flag, an input or an output.
constexpr RangedOperand kFlagJumpOperands[] = {
    AnyInput(op::kJumpFlagInput, "="),
    AnyOutput(op::kJumpFlagOutput, "="),
    Numbered("=", "M", 0, 255, op::kJumpFlagLogic, msg::kFaultyFlag),
};

// After 'SET Mx': '=' with an H variable, an input, an output or a cam
// output; '&', '|', '^' with a flag.
constexpr RangedOperand kFlagSetOperands[] = {
    Numbered("=", "H", 0, 127, op::kSetFlagInteger, msg::kFaultyInteger),
    AnyInput(op::kSetFlagInput, "="),
    AnyOutput(op::kSetFlagOutput, "="),
    Numbered("&", "M", 0, 255, op::kFlagLogicFirst, msg::kFaultyFlag),
    Numbered("|", "M", 0, 255, op::kFlagLogicFirst + 1, msg::kFaultyFlag),
    Numbered("^", "M", 0, 255, op::kFlagLogicLast, msg::kFaultyFlag),
    Numbered("=", "CM", 1, 16, op::kSetFlagCam, msg::kFaultySetValue, -1),
};

// V2.10 tries the keywords of V3.10 in the same order, without those of the
// statements it does not have; their lines then match no keyword.
constexpr std::string_view kKeywordsLeftOut[] = {"JMP(TP", "SETTP", "SETEVPRG", "WAITTP", "RCAM", "SAVE"};

std::vector<StatementKeyword> WithoutLeftOut(std::span<const StatementKeyword> keywords) {
    std::vector<StatementKeyword> kept;
    for (const StatementKeyword& entry : keywords) {
        if (std::ranges::find(kKeywordsLeftOut, entry.keyword) == std::end(kKeywordsLeftOut)) {
            kept.push_back(entry);
        }
    }
    return kept;
}

const ProgramLineRules kLineRules = {OutOfOrderHead, CompileStatement};

}  // namespace

const StatementRules& RulesV210() {
    const GeneratorSubset& subset = Subset(PlcGenerator::kV210);
    // The messages of V2.10 where they are not those of V3.10: a float
    // target's index and a non-zero integer compare answer as integer
    // numbers, a control bit's value as a flag number, the index of
    // 'WAIT Hx' as an input/output number, and characters behind
    // 'SET Fx = Fy' as an internal error.
    static const StatementRules rules = {
        .statusNames = static_cast<std::size_t>(subset.statusNames),
        .integerSourceNames = static_cast<std::size_t>(subset.integerSourceNames),
        .integerTargetNames = static_cast<std::size_t>(subset.integerTargetNames),
        .flagJumpOperands = kFlagJumpOperands,
        .inputJumpOperands = {},
        .outputJumpOperands = {},
        .flagSetOperands = kFlagSetOperands,
        .threeAddress = false,
        .floatSourceEndsLine = true,
        .afterFloatCopy = msg::kInternalError,
        .integerNotZero = msg::kFaultyInteger,
        .floatTargetIndex = msg::kFaultyInteger,
        .controlBitValue = msg::kFaultyFlag,
        .waitIndex = msg::kFaultyIoNumber,
        .goPositioning = ReadGoPositioning,
    };
    return rules;
}

int CompileStatement(LineParser& parser, CompiledStatement& statement) {
    static const std::vector<StatementKeyword> before = WithoutLeftOut(v310::KeywordsBeforeNamedTargets());
    static const std::vector<StatementKeyword> after = WithoutLeftOut(v310::KeywordsAfterNamedTargets());
    return ReadStatementByKeywords(before, after, RulesV210(), parser, statement);
}

int OutOfOrderHead(const PlcCompiler& store, int, int number) {
    return store.ProgramNumber(number) != kNoProgramNumber ? msg::kProgramNumberUsed : msg::kProgramNumberNotRising;
}

int compileLine(PlcCompiler& store, std::string_view text, int& line) {
    return CompileProgramLine(store, text, line, kLineRules);
}

int compileSourceLine(PlcCompiler& store, std::string_view text, int& line) {
    return CompileSourceProgramLine(store, text, line, kLineRules);
}

}  // namespace plc::v210
