// SET statements of the 20-byte line compilers: drive targets and control
// bits, float, integer, flag, counter and timer variables, outputs and
// parameters.
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_readers.h"

namespace plc::v310 {

namespace {

constexpr int kMaxShift = 32;
constexpr int kMaxParameter = 999;
constexpr int kMaxSubIndex = 255;

// Float and integer three-address operators, in the order of their codes.
constexpr std::string_view kFloatThreeAddressOperators[] = {"+", "-", "*", ":", "%", "="};
constexpr std::string_view kIntegerThreeAddressOperators[] = {"&", "|", "^", "<<", ">>", "+", "-", "*", ":", "%", "="};

// 'SET Fx = fn Fy' with the function code of byte e.
struct FloatFunction {
    std::string_view keyword;
    uint8_t code;
};
constexpr FloatFunction kFloatFunctions[] = {
    {"=ABSF", 0}, {"=SQRTF", 1}, {"=LOGF", 2}, {"=SINF", 3}, {"=COSF", 4}, {"=EXPF", 5}};

// 'SET Hx op Hy' and 'SET Hx op v'; 0 where there is no constant form.
struct IntegerOperation {
    std::string_view op;
    uint8_t withVariable;
    uint8_t withConstant;
    bool shift;  // the constant is a shift count in b
};
constexpr IntegerOperation kIntegerOperations[] = {
    {"&", 74, 0, false},
    {"|", 75, 0, false},
    {"^", 76, 0, false},
    {"<<", 77, 78, true},
    {">>", 79, 80, true},
    {"+", 81, 82, false},
    {"-", 83, 84, false},
    {"*", 85, 86, false},
    {":", 87, 88, false},
    {"%", 89, 90, false},
};

// Operands after 'SET Mx = My' and one of '=', '&', '|', '^'.
constexpr RangedOperand kFlagThreeAddressOperands[] = {
    Numbered("=&|^", "H", 0, 127, op::kFlagThreeAddressInteger, msg::kFaultyInteger),
    AnyInput(op::kFlagThreeAddressInput),
    AnyOutput(op::kFlagThreeAddressOutput),
    Numbered("=&|^", "M", 0, 255, op::kFlagThreeAddressFlag, msg::kFaultyFlag),
};

int ReadFloatConstant(LineParser& parser, CompiledStatement& s) {
    uint32_t stored = 0;
    if (!scanFloatSwapped(parser.Cursor(), stored, -kMaxFloatConstant, kMaxFloatConstant)) {
        return msg::kFaultySetValue;
    }
    s.SetConstant(stored);
    return msg::kNoError;
}

int ReadIntegerConstant(LineParser& parser, CompiledStatement& s) {
    int32_t value = 0;
    if (!scanSigned32(parser.Cursor(), value, -kMaxIntegerConstant, kMaxIntegerConstant)) {
        return msg::kFaultySetValue;
    }
    s.SetConstant(static_cast<uint32_t>(value));
    return msg::kNoError;
}

// A letter and its index into `index`; `message` when the letter is missing.
int ReadLetterIndex(LineParser& parser, char letter, uint8_t& index, int message) {
    const char keyword[] = {letter, '\0'};
    if (!parser.matchKeyword(keyword)) return message;
    return parser.ReadIndex(letter, index);
}

// ']' after an index, then for the statement's opcode.
int CloseBracket(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    if (!parser.matchKeyword("]")) return msg::kMissingBracket;
    s.opcode = opcode;
    return msg::kNoError;
}

// "=PARA[Hy, Hz]", "=PARA[Hy]", "=PARA[n, s]" and "=PARA[n]" as opcodes
// first .. first + 3; kNoMatch when neither keyword follows.
int ReadParameterSource(LineParser& parser, CompiledStatement& s, uint8_t first) {
    if (parser.matchKeyword("=PARA[H")) {
        if (const int read = parser.ReadIndex('H', s.b); read != msg::kNoError) return read;
        if (!parser.matchKeyword(",")) return CloseBracket(parser, s, first + 1);
        if (const int read = ReadLetterIndex(parser, 'H', s.c, msg::kFaultySetOperator); read != msg::kNoError) {
            return read;
        }
        return CloseBracket(parser, s, first);
    }
    if (!parser.matchKeyword("=PARA[")) return kNoMatch;
    uint16_t number = 0;
    if (const int read = parser.ReadNumber(number, 1, kMaxParameter, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    s.SetWord(number);
    if (!parser.matchKeyword(",")) return CloseBracket(parser, s, first + 3);
    if (const int read = parser.ReadNumber(s.b, 0, kMaxSubIndex, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return CloseBracket(parser, s, first + 2);
}

// "]=" and the source of a parameter write, F (opcode `first`) or H
// (`first` + 1), into a.
int ReadParameterWriteSource(LineParser& parser, CompiledStatement& s, uint8_t first) {
    if (!parser.matchKeyword("]=")) return msg::kFaultySetOperator;
    if (parser.matchKeyword("F")) {
        s.opcode = first;
        return parser.ReadIndex('F', s.a);
    }
    if (parser.matchKeyword("H")) {
        s.opcode = static_cast<uint8_t>(first + 1);
        return parser.ReadIndex('H', s.a);
    }
    return msg::kFaultySetOperator;
}

// 'SET Fx = name' of a drive value; null (nothing consumed) when no name
// fits, or when the rules want the name to end the line and it does not.
const NamedCode* MatchFloatSource(LineParser& parser, const StatementRules& rules) {
    const std::size_t before = parser.Cursor().pos;
    const NamedCode* name = MatchName(parser, "=", kFloatSourceNames, kFloatSourceNames.size(), "");
    if (name != nullptr && rules.floatSourceEndsLine && !parser.AtEnd()) {
        parser.Cursor().pos = before;
        return nullptr;
    }
    return name;
}

// The forms of 'SET Fx' after its index.
int ReadFloatOperand(LineParser& parser, CompiledStatement& s, const StatementRules& rules) {
    if (parser.matchKeyword("=F[C")) {
        if (const int read = parser.ReadIndex('C', s.b); read != msg::kNoError) return read;
        return CloseBracket(parser, s, op::kSetFloatFromIndexed);
    }
    if (const NamedCode* name = MatchFloatSource(parser, rules)) {
        s.opcode = op::kSetFloatFromSource;
        s.b = name->code;
        return msg::kNoError;
    }
    if (const int para = ReadParameterSource(parser, s, op::kSetFloatParaFirst); para != kNoMatch) {
        return para;
    }
    if (parser.matchKeyword("=F")) {
        if (const int read = parser.ReadIndex('F', s.b); read != msg::kNoError) return read;
        s.opcode = op::kSetFloatFromFloat;
        if (!rules.threeAddress) return parser.AtEnd() ? msg::kNoError : rules.afterFloatCopy;
        const int three = MatchOperatorAndLetter(parser, kFloatThreeAddressOperators, 'F');
        if (three < 0) return msg::kNoError;
        s.opcode = op::kFloatThreeAddress;
        s.d = static_cast<uint8_t>(three);
        return parser.ReadIndex('F', s.c);
    }
    if (parser.matchKeyword("=H")) {
        s.opcode = op::kSetFloatFromInteger;
        return parser.ReadIndex('H', s.b);
    }
    constexpr std::string_view kArithmetic = "+-*:";
    for (std::size_t k = 0; k < kArithmetic.size(); ++k) {
        const uint8_t withVariable = static_cast<uint8_t>(op::kFloatArithmeticFirst + 2 * k);
        const char keyword[] = {kArithmetic[k], 'F', '\0'};
        if (parser.matchKeyword(keyword)) {
            s.opcode = withVariable;
            return parser.ReadIndex('F', s.b);
        }
        if (parser.matchKeyword(std::string_view(keyword, 1))) {
            s.opcode = static_cast<uint8_t>(withVariable + 1);
            return ReadFloatConstant(parser, s);
        }
    }
    if (parser.matchKeyword("=ROUNDF")) {
        s.opcode = op::kSetFloatRound;
        return parser.ReadIndex('F', s.b);
    }
    for (const FloatFunction& function : kFloatFunctions) {
        if (parser.matchKeyword(function.keyword)) {
            s.opcode = op::kSetFloatFunction;
            s.e = function.code;
            return parser.ReadIndex('F', s.d);
        }
    }
    if (parser.matchKeyword("=POWF")) {
        s.opcode = op::kSetFloatFunction;
        s.e = layout::kFloatPower;
        if (const int read = parser.ReadIndex('F', s.c); read != msg::kNoError) return read;
        return ReadLetterIndex(parser, 'F', s.d, msg::kFaultySetOperator);
    }
    if (parser.matchKeyword("=")) {
        s.opcode = op::kSetFloatConstant;
        return ReadFloatConstant(parser, s);
    }
    return msg::kFaultySetOperator;
}

// The forms of 'SET Hx' after its index.
int ReadIntegerOperand(LineParser& parser, CompiledStatement& s, const StatementRules& rules) {
    if (parser.matchKeyword("=H[C")) {
        if (const int read = parser.ReadIndex('C', s.b); read != msg::kNoError) return read;
        return CloseBracket(parser, s, op::kSetIntegerFromIndexed);
    }
    if (const NamedCode* name = MatchName(parser, "=", kIntegerSourceNames, rules.integerSourceNames, "")) {
        s.opcode = op::kSetIntegerFromSource;
        s.b = name->code;
        return msg::kNoError;
    }
    if (const int para = ReadParameterSource(parser, s, op::kSetIntegerParaFirst); para != kNoMatch) {
        return para;
    }
    if (parser.matchKeyword("=H")) {
        if (const int read = parser.ReadIndex('H', s.b); read != msg::kNoError) return read;
        s.opcode = op::kSetIntegerFromVariableFirst + 1;
        if (!rules.threeAddress) return msg::kNoError;
        const int three = MatchOperatorAndLetter(parser, kIntegerThreeAddressOperators, 'H');
        if (three < 0) return msg::kNoError;
        s.opcode = op::kIntegerThreeAddress;
        s.d = static_cast<uint8_t>(three);
        return parser.ReadIndex('H', s.c);
    }
    // = Fy, = Cy, = My, = Zy beside = Hy above, opcodes 69 .. 73.
    constexpr std::pair<char, uint8_t> kVariableSources[] = {
        {'F', op::kSetIntegerFromVariableFirst},
        {'C', op::kSetIntegerFromVariableFirst + 2},
        {'M', op::kSetIntegerFromVariableFirst + 3},
        {'Z', op::kSetIntegerFromVariableLast},
    };
    for (const auto& [letter, opcode] : kVariableSources) {
        const char keyword[] = {'=', letter, '\0'};
        if (parser.matchKeyword(keyword)) {
            s.opcode = opcode;
            return parser.ReadIndex(letter, s.b);
        }
    }
    if (rules.threeAddress && parser.matchKeyword("=ROUNDF")) {
        s.opcode = op::kSetIntegerRoundFloat;
        return parser.ReadIndex('F', s.b);
    }
    if (parser.matchKeyword("=ABSH")) {
        s.opcode = op::kIntegerArithmeticLast;
        return parser.ReadIndex('H', s.b);
    }
    for (const IntegerOperation& operation : kIntegerOperations) {
        const std::string_view rest = parser.Rest();
        if (!rest.starts_with(operation.op)) continue;
        if (rest.substr(operation.op.size()).starts_with("H")) {
            parser.Cursor().pos += operation.op.size() + 1;
            s.opcode = operation.withVariable;
            return parser.ReadIndex('H', s.b);
        }
        if (operation.withConstant == 0) continue;
        parser.Cursor().pos += operation.op.size();
        s.opcode = operation.withConstant;
        if (operation.shift) return parser.ReadNumber(s.b, 0, kMaxShift, msg::kFaultySetValue);
        return ReadIntegerConstant(parser, s);
    }
    if (parser.matchKeyword("=")) {
        s.opcode = op::kSetIntegerConstant;
        return ReadIntegerConstant(parser, s);
    }
    return msg::kFaultySetOperator;
}

// 'SET Mx op STA_name'; kNoMatch when no operator and "STA_" follow.
int ReadFlagStatus(LineParser& parser, CompiledStatement& s, std::size_t statusNames) {
    const std::string_view rest = parser.Rest();
    if (rest.empty() || kOperatorChars.find(rest[0]) == std::string_view::npos || !rest.substr(1).starts_with("STA_")) {
        return kNoMatch;
    }
    s.c = static_cast<uint8_t>(parser.MatchOneOf(kOperatorChars));
    parser.matchKeyword("STA_");
    const NamedCode* status = MatchName(parser, "", kStatusNames, statusNames, "");
    if (status == nullptr) return msg::kFaultySetOperator;
    s.opcode = op::kSetFlagStatus;
    s.b = status->code;
    return msg::kNoError;
}

// The forms of 'SET Mx' after its index.
int ReadFlagOperand(LineParser& parser, CompiledStatement& s, const StatementRules& rules) {
    if (parser.matchKeyword("=M[C")) {
        if (const int read = parser.ReadIndex('C', s.b); read != msg::kNoError) return read;
        return CloseBracket(parser, s, op::kSetFlagFromIndexed);
    }
    if (const int status = ReadFlagStatus(parser, s, rules.statusNames); status != kNoMatch) {
        return status;
    }
    if (parser.matchKeyword("=M")) {
        if (const int read = parser.ReadIndex('M', s.b); read != msg::kNoError) return read;
        s.opcode = op::kSetFlagFromFlag;
        if (!rules.threeAddress) return msg::kNoError;
        const RangedMatch three = matchRangedOperand(parser, kFlagThreeAddressOperands);
        if (three.result == kNoMatch) return msg::kNoError;
        s.opcode = three.opcode;
        s.c = three.operand;
        s.d = three.operatorCode;
        return three.result;
    }
    const RangedMatch match = matchRangedOperand(parser, rules.flagSetOperands);
    if (match.result != kNoMatch) {
        s.opcode = match.opcode;
        s.b = match.operand;
        // The logic opcodes name their operator themselves.
        const bool logic = match.opcode >= op::kFlagLogicFirst && match.opcode <= op::kFlagLogicLast;
        s.c = logic ? 0 : match.operatorCode;
        return match.result;
    }
    if (parser.matchKeyword("=")) {
        s.opcode = op::kSetFlagConstant;
        return parser.ReadNumber(s.b, 0, 1, msg::kFaultySetValue);
    }
    return msg::kFaultySetOperator;
}

// 'SET F[Cn]', 'SET H[Cn]', 'SET M[Cn]': the counter, "]=", then a variable
// of `letter` (opcode `fromVariable`) or a constant (`fromConstant`).
int ReadIndexedTarget(LineParser& parser, CompiledStatement& s, char letter, uint8_t fromVariable, uint8_t fromConstant,
                      int (*readConstant)(LineParser&, CompiledStatement&)) {
    if (const int read = parser.ReadIndex('C', s.a); read != msg::kNoError) return read;
    if (!parser.matchKeyword("]")) return msg::kMissingBracket;
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    const char keyword[] = {letter, '\0'};
    if (parser.matchKeyword(keyword)) {
        s.opcode = fromVariable;
        return parser.ReadIndex(letter, s.b);
    }
    s.opcode = fromConstant;
    return readConstant(parser, s);
}

int ReadFlagConstant(LineParser& parser, CompiledStatement& s) {
    return parser.ReadNumber(s.b, 0, 1, msg::kFaultySetValue);
}

}  // namespace

int ReadSetNamedTarget(LineParser& parser, CompiledStatement& s, const StatementRules& rules) {
    if (const NamedCode* name = MatchName(parser, "SET", kFloatTargetNames, kFloatTargetNames.size(), "=F")) {
        s.opcode = op::kSetFloatTarget;
        s.a = name->code;
        return parser.ReadIndex('F', s.b, rules.floatTargetIndex);
    }
    if (const NamedCode* name = MatchName(parser, "SET", kIntegerTargetNames, rules.integerTargetNames, "=H")) {
        s.opcode = op::kSetIntegerTarget;
        s.a = name->code;
        return parser.ReadIndex('H', s.b);
    }
    if (const NamedCode* name = MatchName(parser, "SET", kControlBitNames, kControlBitNames.size(), "=")) {
        s.a = name->code;
        if (parser.matchKeyword("M")) {
            s.opcode = op::kSetControlBitFlag;
            return parser.ReadIndex('M', s.b);
        }
        s.opcode = op::kSetControlBitConstant;
        return parser.ReadNumber(s.b, 0, 1, rules.controlBitValue);
    }
    return kNoMatch;
}

int ReadSetFloatIndexed(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    return ReadIndexedTarget(
        parser, s, 'F', op::kSetFloatIndexedFromFloat, op::kSetFloatIndexedConstant, ReadFloatConstant);
}

int ReadSetFloat(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    if (const int read = parser.ReadIndex('F', s.a); read != msg::kNoError) return read;
    return ReadFloatOperand(parser, s, RulesOf(arg));
}

int ReadSetIntegerIndexed(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    return ReadIndexedTarget(
        parser, s, 'H', op::kSetIntegerIndexedFromInteger, op::kSetIntegerIndexedConstant, ReadIntegerConstant);
}

int ReadSetInteger(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    if (const int read = parser.ReadIndex('H', s.a); read != msg::kNoError) return read;
    return ReadIntegerOperand(parser, s, RulesOf(arg));
}

int ReadSetFlagIndexed(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    return ReadIndexedTarget(
        parser, s, 'M', op::kSetFlagIndexedFromFlag, op::kSetFlagIndexedConstant, ReadFlagConstant);
}

int ReadSetFlag(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    if (const int read = parser.ReadIndex('M', s.a); read != msg::kNoError) return read;
    return ReadFlagOperand(parser, s, RulesOf(arg));
}

int ReadSetCounter(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadIndex('C', s.a); read != msg::kNoError) return read;
    // In the order tried: variable forms before the constant forms they start.
    struct CounterForm {
        std::string_view keyword;
        char letter;  // '\0': a constant 0..255
        uint8_t opcode;
    };
    constexpr CounterForm kForms[] = {
        {"=C", 'C', op::kCounterFirst},
        {"=H", 'H', op::kCounterFirst + 1},
        {"+H", 'H', op::kCounterFirst + 2},
        {"+", '\0', op::kCounterFirst + 3},
        {"-H", 'H', op::kCounterFirst + 4},
        {"-", '\0', op::kCounterFirst + 5},
        {"=", '\0', op::kCounterLast},
    };
    for (const CounterForm& form : kForms) {
        if (!parser.matchKeyword(form.keyword)) continue;
        s.opcode = form.opcode;
        if (form.letter != '\0') return parser.ReadIndex(form.letter, s.b);
        return parser.ReadNumber(s.b, 0, 255, msg::kFaultySetValue);
    }
    return msg::kFaultySetOperator;
}

int ReadSetTimer(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadIndex('Z', s.a); read != msg::kNoError) return read;
    if (parser.matchKeyword("=H")) {
        s.opcode = op::kSetTimerFromInteger;
        return parser.ReadIndex('H', s.b);
    }
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    s.opcode = op::kSetTimerConstant;
    return ReadIntegerConstant(parser, s);
}

int ReadSetOutput(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    const IoGroup* group = FindIoGroup(arg.family);
    if (group == nullptr) return msg::kInternalError;
    if (const int read = ReadIoCode(parser, *group, s.a); read != msg::kNoError) return read;
    if (parser.matchKeyword("=M")) {
        s.opcode = op::kSetOutputFlag;
        return parser.ReadIndex('M', s.b);
    }
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    s.opcode = op::kSetOutputConstant;
    return parser.ReadNumber(s.b, 0, 1, msg::kFaultySetValue);
}

int ReadSetParaVariable(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    // 115/116 with two indices, 117/118 with one; F before H in each pair.
    if (const int read = parser.ReadIndex('H', s.b); read != msg::kNoError) return read;
    uint8_t first = op::kParaWriteFirst + 2;
    if (parser.matchKeyword(",")) {
        if (const int read = ReadLetterIndex(parser, 'H', s.c, msg::kFaultySetOperator); read != msg::kNoError) {
            return read;
        }
        first = op::kParaWriteFirst;
    }
    return ReadParameterWriteSource(parser, s, first);
}

int ReadSetParaNumber(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    // 119/120 with a sub-index, 121/122 without.
    uint16_t number = 0;
    if (const int read = parser.ReadNumber(number, 1, kMaxParameter, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    uint8_t first = op::kParaWriteLast - 1;
    if (parser.matchKeyword(",")) {
        if (const int read = parser.ReadNumber(s.c, 0, kMaxSubIndex, msg::kFaultySetValue); read != msg::kNoError) {
            return read;
        }
        first = op::kParaWriteFirst + 4;
    }
    const int source = ReadParameterWriteSource(parser, s, first);
    s.SetWord(number);
    return source;
}

}  // namespace plc::v310
