// Jump statements of the 20-byte line compilers, and the statements without
// operands.
#include <utility>

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_readers.h"

namespace plc::v310 {

namespace {

constexpr int kNotEqualOffset = 1;  // '!=' follows '=' in every opcode pair

// A comparison operator directly followed by a variable letter: its place
// in the opcode range (0 for '=' .. 5 for '<'), or -1 with nothing consumed.
int MatchCompare(LineParser& parser, char letter) { return MatchOperatorAndLetter(parser, kCompareOperators, letter); }

// '=' or '!=' before a constant: 0 for '=', kNotEqualOffset for '!=', -1
// when neither.
int MatchEqualOrNot(LineParser& parser) {
    if (parser.matchKeyword("!=")) return kNotEqualOffset;
    if (parser.matchKeyword("=")) return 0;
    return -1;
}

bool ReadFloatZero(LineParser& parser) {
    uint32_t stored = 0;
    if (!scanFloatSwapped(parser.Cursor(), stored, -kMaxFloatConstant, kMaxFloatConstant)) {
        return false;
    }
    return StoredFloatValue(stored) == 0.0f;
}

bool ReadIntegerZero(LineParser& parser) {
    int32_t value = 0;
    return scanSigned32(parser.Cursor(), value, 0, 0);
}

int FinishJump(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    s.opcode = opcode;
    uint16_t label = 0;
    bool toEnd = false;
    if (const int target = parser.ReadJumpTarget(label, toEnd); target != msg::kNoError) {
        return target;
    }
    s.SetJump(label, toEnd);
    return msg::kNoError;
}

// 'JMP (Fa op Fb)' and 'JMP (Fa = 0)', or the same with H; `notZero` for a
// constant other than 0.
int ReadVariableJump(LineParser& parser, CompiledStatement& s, char letter, uint8_t compareFirst, uint8_t zero,
                     bool (*readZero)(LineParser&), int notZero) {
    if (const int read = parser.ReadIndex(letter, s.b); read != msg::kNoError) return read;
    const int compare = MatchCompare(parser, letter);
    if (compare >= 0) {
        if (const int read = parser.ReadIndex(letter, s.c); read != msg::kNoError) return read;
        return FinishJump(parser, s, static_cast<uint8_t>(compareFirst + compare));
    }
    const int notEqual = MatchEqualOrNot(parser);
    if (notEqual < 0) return msg::kFaultySetOperator;
    if (!readZero(parser)) return notZero;
    return FinishJump(parser, s, static_cast<uint8_t>(zero + notEqual));
}

// The operand of a ranged-table match in a jump: operator in a, operand in c.
int FinishRangedJump(LineParser& parser, CompiledStatement& s, const RangedMatch& match) {
    if (match.result != msg::kNoError) return match.result;
    s.a = match.operatorCode;
    s.c = match.operand;
    return FinishJump(parser, s, match.opcode);
}

}  // namespace

int ReadJumpToLabel(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kJump;
    uint16_t label = 0;
    if (const int read = parser.ReadNumber(label, kMinLabel, kMaxLabel, msg::kFaultyJumpDestination);
        read != msg::kNoError) {
        return read;
    }
    s.SetJump(label, false);
    return msg::kNoError;
}

int ReadJumpToEnd(LineParser&, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kJump;
    s.SetJump(0, true);
    return msg::kNoError;
}

int ReadJumpProgramVariable(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kProgramJump;
    s.a = op::kProgramJumpByVariable;
    if (const int read = parser.ReadIndex('H', s.b, msg::kProgramNumberError); read != msg::kNoError) {
        return read;
    }
    return parser.matchKeyword("]") ? msg::kNoError : msg::kMissingBracket;
}

int ReadJumpProgramNumber(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kProgramJump;
    s.a = op::kProgramJumpByNumber;
    return parser.ReadNumber(s.b, 0, kMaxProgramNumber, msg::kProgramNumberError);
}

int ReadJumpFloat(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    return ReadVariableJump(
        parser, s, 'F', op::kJumpFloatCompareFirst, op::kJumpFloatZero, ReadFloatZero, msg::kFaultyCompareValue);
}

int ReadJumpInteger(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    return ReadVariableJump(parser,
                            s,
                            'H',
                            op::kJumpIntegerCompareFirst,
                            op::kJumpIntegerZero,
                            ReadIntegerZero,
                            RulesOf(arg).integerNotZero);
}

int ReadJumpDriveValue(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    s.a = static_cast<uint8_t>(arg.value);
    for (const auto& [letter, first] :
         {std::pair{'F', op::kJumpFloatCompareFirst}, std::pair{'H', op::kJumpIntegerCompareFirst}}) {
        const int compare = MatchCompare(parser, letter);
        if (compare < 0) continue;
        if (const int read = parser.ReadIndex(letter, s.c); read != msg::kNoError) return read;
        return FinishJump(parser, s, static_cast<uint8_t>(first + compare));
    }
    const int notEqual = MatchEqualOrNot(parser);
    if (notEqual < 0) return msg::kFaultySetOperator;
    if (!ReadIntegerZero(parser)) return msg::kFaultyCompareValue;
    return FinishJump(parser, s, static_cast<uint8_t>(op::kJumpIntegerZero + notEqual));
}

int ReadJumpFlag(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    if (const int read = parser.ReadIndex('M', s.b); read != msg::kNoError) return read;
    if (parser.matchKeyword("!=M")) {
        if (const int read = parser.ReadIndex('M', s.c); read != msg::kNoError) return read;
        return FinishJump(parser, s, op::kJumpFlagNotEqual);
    }
    const RangedMatch match = matchRangedOperand(parser, RulesOf(arg).flagJumpOperands);
    if (match.result != kNoMatch) return FinishRangedJump(parser, s, match);
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    if (const int read = parser.ReadNumber(s.c, 0, 1, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, op::kJumpFlagConstant);
}

int ReadJumpIo(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    const IoGroup* group = FindIoGroup(arg.family);
    if (group == nullptr) return msg::kInternalError;
    if (const int read = ReadIoCode(parser, *group, s.b); read != msg::kNoError) return read;
    const StatementRules& rules = RulesOf(arg);
    const RangedMatch match =
        matchRangedOperand(parser, group->output ? rules.outputJumpOperands : rules.inputJumpOperands);
    if (match.result != kNoMatch) return FinishRangedJump(parser, s, match);
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    if (const int read = parser.ReadNumber(s.c, 0, 1, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, group->output ? op::kJumpOutputConstant : op::kJumpInputConstant);
}

int ReadJumpCounter(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadIndex('C', s.b); read != msg::kNoError) return read;
    const int notEqual = MatchEqualOrNot(parser);
    if (notEqual < 0) return msg::kFaultySetOperator;
    if (const int read = parser.ReadNumber(s.c, 0, 255, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, static_cast<uint8_t>(op::kJumpCounterEqual + notEqual));
}

int ReadJumpTimer(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadIndex('Z', s.b); read != msg::kNoError) return read;
    const int notEqual = MatchEqualOrNot(parser);
    if (notEqual < 0) return msg::kFaultySetOperator;
    if (const int read = parser.ReadNumber(s.c, 0, 0, msg::kFaultyCompareValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, static_cast<uint8_t>(op::kJumpTimerZero + notEqual));
}

int ReadJumpReceive(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadNumber(s.b, 0, 15, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    uint8_t opcode = op::kJumpReceiveInteger;
    char letter = 'H';
    if (parser.matchKeyword(",F")) {
        opcode = op::kJumpReceiveFloat;
        letter = 'F';
    } else if (!parser.matchKeyword(",H")) {
        return msg::kFaultySetValue;
    }
    if (const int read = parser.ReadIndex(letter, s.c, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, opcode);
}

int ReadJumpHoming(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    // b tells the two forms apart: 0 a flag, 1 a constant.
    if (parser.matchKeyword("M")) {
        s.b = 0;
        if (const int read = parser.ReadNumber(s.c, 0, 255, msg::kFaultyFlag); read != msg::kNoError) {
            return read;
        }
    } else {
        s.b = 1;
        if (const int read = parser.ReadNumber(s.c, 0, 1, msg::kFaultyFlag); read != msg::kNoError) {
            return read;
        }
    }
    return FinishJump(parser, s, static_cast<uint8_t>(arg.value));
}

int ReadJumpStatus(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    const NamedCode* status = MatchName(parser, "", kStatusNames, RulesOf(arg).statusNames, "");
    if (status == nullptr) return msg::kFaultyCompareValue;
    s.b = status->code;
    const int notEqual = MatchEqualOrNot(parser);
    if (notEqual < 0) return msg::kFaultySetOperator;
    s.a = notEqual == kNotEqualOffset ? 0 : layout::kStatusEqual;
    if (parser.matchKeyword("M")) {
        if (const int read = parser.ReadNumber(s.c, 0, 255, msg::kFaultyFlag); read != msg::kNoError) {
            return read;
        }
    } else {
        s.a |= layout::kStatusConstant;
        if (const int read = parser.ReadNumber(s.c, 0, 1, msg::kFaultyFlag); read != msg::kNoError) {
            return read;
        }
    }
    return FinishJump(parser, s, op::kJumpStatus);
}

int ReadJumpProbe(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (const int read = parser.ReadNumber(s.b, 0, 15, msg::kWrongTouchProbe); read != msg::kNoError) {
        return read;
    }
    const int operatorCode = parser.MatchOneOf(kOperatorChars);
    if (operatorCode < 0) return msg::kFaultySetOperator;
    s.a = static_cast<uint8_t>(operatorCode);
    if (parser.matchKeyword("TP")) {
        if (const int read = parser.ReadNumber(s.c, 0, 15, msg::kWrongTouchProbe); read != msg::kNoError) {
            return read;
        }
        return FinishJump(parser, s, op::kJumpProbeProbe);
    }
    if (const int read = parser.ReadNumber(s.c, 0, 1, msg::kFaultySetValue); read != msg::kNoError) {
        return read;
    }
    return FinishJump(parser, s, op::kJumpProbeConstant);
}

int ReadCallRefused(LineParser&, CompiledStatement&, const ReaderArg&) { return msg::kNotSupported; }

int ReadPlain(LineParser&, CompiledStatement& s, const ReaderArg& arg) {
    s.opcode = static_cast<uint8_t>(arg.value);
    return msg::kNoError;
}

int ReadPlcControl(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kControl;
    const NamedCode* name = MatchName(parser, "", kPlcControlNames, kPlcControlNames.size(), "");
    if (name == nullptr) return msg::kFaultySetValue;
    s.a = name->code;
    return msg::kNoError;
}

}  // namespace plc::v310
