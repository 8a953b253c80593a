// Drive commands of the 20-byte line compilers: CAN messages, ramps, touch
// probes, event programs, INV, WAIT, STOP, GO, the position set and the cam.
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_readers.h"

namespace plc::v310 {

namespace {

using namespace layout;

constexpr int kMaxRampPercent = 150;
constexpr int kMaxCanIdentifier = 65535;
constexpr int kMaxCanChannel = 15;
constexpr int kMaxCanBytes = 8;
constexpr int kMaxNodeId = 127;
constexpr double kMaxWaitTime = 4294967295.0;

bool Succeeded(int result) { return result == msg::kNoError; }

// "H" and an index (setting `bit` in `form`), or a number lower..upper.
int ReadVariableOrNumber(LineParser& parser, uint8_t& value, uint8_t& form, uint8_t bit, int lower, int upper,
                         int numberMessage) {
    if (parser.matchKeyword("H")) {
        form |= bit;
        return parser.ReadIndex('H', value);
    }
    return parser.ReadNumber(value, lower, upper, numberMessage);
}

// "=M" and a flag (setting `bit`), or "=" and 0..1.
int ReadFlagOrBit(LineParser& parser, uint8_t& value, uint8_t& form, uint8_t bit) {
    if (parser.matchKeyword("=M")) {
        form |= bit;
        return parser.ReadNumber(value, 0, 255, msg::kFaultyFlag);
    }
    if (!parser.matchKeyword("=")) return msg::kFaultySetOperator;
    return parser.ReadNumber(value, 0, 1, msg::kFaultySetValue);
}

// An option keyword ("AH") and its H index; absent keeps 255.
int ReadOption(LineParser& parser, std::string_view keyword, uint8_t& value) {
    if (!parser.matchKeyword(keyword)) return msg::kNoError;
    return parser.ReadIndex('H', value);
}

// 'GO target Hx options' of the positioning forms and 'RCAM GO R'.
int ReadGoTarget(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    s.opcode = opcode;
    if (const int read = parser.ReadIndex('H', s.a); !Succeeded(read)) return read;
    return parseGoOptions(parser, s.b, s.c, s.d, s.e);
}

// 'GO W T[...]' and 'GO T[...]': the operand in a, its kind in e.
int ReadGoTable(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    s.opcode = opcode;
    int read = msg::kNoError;
    if (parser.matchKeyword("H")) {
        s.e = kTableInH;
        read = parser.ReadIndex('H', s.a);
    } else if (parser.matchKeyword("C")) {
        s.e = kTableInC;
        read = parser.ReadIndex('C', s.a);
    } else {
        s.e = kTableNumber;
        read = parser.ReadNumber(s.a, 0, 255, msg::kFaultyInteger);
    }
    if (!Succeeded(read)) return read;
    return parser.matchKeyword("]") ? msg::kNoError : msg::kMissingBracket;
}

int ReadCamStartBreak(LineParser& parser, CompiledStatement& s) {
    s.opcode = op::kCamStartBreakStop;
    if (parser.matchKeyword("STARTH")) {
        s.a = kCamStartH;
        return parser.ReadIndex('H', s.b);
    }
    if (parser.matchKeyword("START")) {
        if (parser.AtEnd()) {
            s.a = kCamStart;
            return msg::kNoError;
        }
        s.a = kCamStartNumber;
        return parser.ReadNumber(s.b, 0, 255, msg::kFaultySetValue);
    }
    if (parser.matchKeyword("STOP")) {
        s.a = kCamStop;
        return msg::kNoError;
    }
    if (!parser.matchKeyword("BREAK")) return msg::kFaultySetValue;
    if (parser.AtEnd()) {
        s.a = kCamBreak;
        return msg::kNoError;
    }
    const bool startInH = parser.matchKeyword("H");
    if (const int read = startInH ? parser.ReadIndex('H', s.b, msg::kFaultySetValue)
                                  : parser.ReadNumber(s.b, 0, 255, msg::kFaultySetValue);
        !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword("L")) {
        s.a = startInH ? kCamBreakH : kCamBreakNumber;
        return msg::kNoError;
    }
    const bool limitInH = parser.matchKeyword("H");
    s.a = static_cast<uint8_t>(kCamBreakHLimitH + (limitInH ? 0 : 1) + (startInH ? 0 : 2));
    return limitInH ? parser.ReadIndex('H', s.c, msg::kFaultySetValue)
                    : parser.ReadNumber(s.c, 0, 255, msg::kFaultySetValue);
}

// A keyword that ends in its variable letter ("V0F") and the index.
int ReadCamIndex(LineParser& parser, std::string_view keyword, uint8_t& value) {
    if (!parser.matchKeyword(keyword)) return msg::kFaultySetValue;
    return parser.ReadIndex(keyword.back(), value, msg::kFaultySetValue);
}

int ReadCamPolynomial(LineParser& parser, CompiledStatement& s) {
    if (parser.matchKeyword("H")) {
        if (const int read = parser.ReadIndex('H', s.a, msg::kFaultySetValue); !Succeeded(read)) return read;
        const char letter = parser.Rest().starts_with("V0F") ? 'F' : 'H';
        s.opcode = letter == 'F' ? op::kCamPolynomialFloat : op::kCamPolynomialInteger;
        const std::string v0 = std::string("V0") + letter;
        const std::string v1 = std::string("V1") + letter;
        if (const int read = ReadCamIndex(parser, v0, s.b); !Succeeded(read)) return read;
        if (const int read = ReadCamIndex(parser, v1, s.c); !Succeeded(read)) return read;
    } else {
        s.opcode = op::kCamPolynomialConstant;
        if (const int read = parser.ReadNumber(s.a, 0, 255, msg::kFaultySetValue); !Succeeded(read)) return read;
        if (!parser.matchKeyword("V0")) return msg::kFaultySetValue;
        if (const int read = parser.ReadNumber(s.b, 0, 255, msg::kFaultySetValue); !Succeeded(read)) return read;
        if (!parser.matchKeyword("V1")) return msg::kFaultySetValue;
        if (const int read = parser.ReadNumber(s.c, 0, 255, msg::kFaultySetValue); !Succeeded(read)) return read;
    }
    s.d = kAbsentOperand;
    s.e = kAbsentOperand;
    if (parser.AtEnd()) return msg::kNoError;
    if (const int read = ReadCamIndex(parser, "A0F", s.d); !Succeeded(read)) return read;
    if (parser.AtEnd()) return msg::kNoError;
    return ReadCamIndex(parser, "A1F", s.e);
}

int ReadCamSpeed(LineParser& parser, CompiledStatement& s) {
    if (const int read = parser.ReadIndex('F', s.a, msg::kFaultySetValue); !Succeeded(read)) return read;
    const char letter = parser.Rest().starts_with("SLF") ? 'F' : 'H';
    s.opcode = letter == 'F' ? op::kCamSpeedFloat : op::kCamSpeedInteger;
    uint8_t* const operands[] = {&s.b, &s.c, &s.d, &s.e};
    constexpr std::string_view kKeywords[] = {"SL", "ML", "SP", "MP"};
    for (std::size_t k = 0; k < std::size(kKeywords); ++k) {
        const std::string keyword = std::string(kKeywords[k]) + letter;
        if (const int read = ReadCamIndex(parser, keyword, *operands[k]); !Succeeded(read)) return read;
    }
    return msg::kNoError;
}

}  // namespace

int parseGoOptions(LineParser& parser, uint8_t& v, uint8_t& a, uint8_t& d, uint8_t& j) {
    v = a = d = j = kAbsentOperand;
    if (parser.AtEnd()) return msg::kNoError;
    if (!parser.matchKeyword("VH")) return msg::kUnknownGoCommand;
    if (const int read = parser.ReadIndex('H', v); !Succeeded(read)) return read;
    return parseGoSpeedOptions(parser, a, d, j);
}

int parseGoSpeedOptions(LineParser& parser, uint8_t& a, uint8_t& d, uint8_t& j) {
    a = d = j = kAbsentOperand;
    if (parser.Rest().starts_with("AH")) {
        if (const int read = ReadOption(parser, "AH", a); !Succeeded(read)) return read;
        if (const int read = ReadOption(parser, "DH", d); !Succeeded(read)) return read;
    }
    if (const int read = ReadOption(parser, "JH", j); !Succeeded(read)) return read;
    return parser.AtEnd() ? msg::kNoError : msg::kUnknownGoCommand;
}

int ReadSetReceive(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kSetReceiveMessage;
    uint16_t identifier = 0;
    if (const int read = parser.ReadNumber(s.b, 0, kMaxCanChannel, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword(",")) return msg::kFaultySetValue;
    if (const int read = parser.ReadNumber(identifier, 0, kMaxCanIdentifier, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    s.SetWord(identifier);
    if (!parser.matchKeyword(",")) return msg::kFaultySetValue;
    if (const int read = parser.ReadNumber(s.c, 0, kMaxCanBytes, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    return parser.matchKeyword("]") ? msg::kNoError : msg::kMissingBracket;
}

int ReadSetRamp(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    // b tells the forms apart: 0 an H variable, 1 a percentage, both in a.
    s.opcode = static_cast<uint8_t>(arg.value);
    if (parser.matchKeyword("H")) {
        s.b = 0;
        return parser.ReadIndex('H', s.a);
    }
    s.b = 1;
    if (const int read = parser.ReadNumber(s.a, 0, kMaxRampPercent, msg::kFaultyInteger); !Succeeded(read)) {
        return read;
    }
    return parser.matchKeyword("%") ? msg::kNoError : msg::kFaultySetOperator;
}

int ReadSetTouchProbe(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kSetTouchProbe;
    if (const int read = ReadVariableOrNumber(parser, s.a, s.e, kProbeChannelInH, 0, 15, msg::kWrongTouchProbe);
        !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword("SN")) return msg::kFaultySetOperator;
    if (const int read = ReadVariableOrNumber(parser, s.b, s.e, kProbeSnInH, 0, 255, msg::kFaultySetValue);
        !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword("EG")) return msg::kFaultySetOperator;
    if (const int read = ReadVariableOrNumber(parser, s.c, s.e, kProbeEdgeInH, 1, 3, msg::kFaultySetValue);
        !Succeeded(read)) {
        return read;
    }
    return ReadFlagOrBit(parser, s.d, s.e, kProbeValueInM);
}

int ReadSetEventProgram(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kSetEventProgram;
    if (const int read = ReadVariableOrNumber(parser, s.a, s.e, kEventNumberInH, 0, 1, msg::kWrongEventProgram);
        !Succeeded(read)) {
        return read;
    }
    return ReadFlagOrBit(parser, s.d, s.e, kEventValueInM);
}

int ReadInvertVariable(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    s.opcode = static_cast<uint8_t>(arg.value);
    return parser.ReadIndex(s.opcode == op::kInvertInteger ? 'H' : 'M', s.a);
}

int ReadInvertOutput(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    s.opcode = op::kInvertOutput;
    const IoGroup* group = FindIoGroup(arg.family);
    if (group == nullptr) return msg::kInternalError;
    return ReadIoCode(parser, *group, s.a);
}

int ReadWaitInteger(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    s.opcode = op::kWaitInteger;
    return parser.ReadIndex('H', s.a, RulesOf(arg).waitIndex);
}

int ReadWaitProbe(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kWaitProbe;
    return parser.ReadNumber(s.a, 0, 15, msg::kWrongTouchProbe);
}

int ReadWaitTime(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kWaitConstant;
    uint32_t time = 0;
    if (!scanUnsigned32(parser.Cursor(), time, 0, kMaxWaitTime)) return msg::kFaultyInteger;
    s.SetConstant(time, CompiledStatement::Layout::kConstant4);
    return msg::kNoError;
}

int ReadStop(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kStop;
    const int kind = parser.MatchOneOf("BM0");
    if (kind < 0) return msg::kFaultySetOperator;
    s.a = static_cast<uint8_t>(kind);
    return msg::kNoError;
}

int ReadGoPositioning(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    if (opcode != op::kGoSpeed) return ReadGoTarget(parser, s, opcode);
    s.opcode = opcode;
    if (const int read = parser.ReadIndex('H', s.b); !Succeeded(read)) return read;
    return parseGoSpeedOptions(parser, s.c, s.d, s.e);
}

int ReadGo(LineParser& parser, CompiledStatement& s, const ReaderArg& arg) {
    struct GoTarget {
        std::string_view keyword;
        uint8_t opcode;
    };
    constexpr GoTarget kTargets[] = {
        {"WAH", op::kGoWaitAbsolute},
        {"WRH", op::kGoWaitRelative},
        {"AH", op::kGoAbsolute},
        {"RH", op::kGoRelative},
        {"VH", op::kGoSpeed},
        {"WRTH", op::kGoWaitRelativeTarget},
        {"RTH", op::kGoRelativeTarget},
    };
    for (const GoTarget& target : kTargets) {
        if (parser.matchKeyword(target.keyword)) {
            return RulesOf(arg).goPositioning(parser, s, target.opcode);
        }
    }
    if (parser.matchKeyword("WT[")) return ReadGoTable(parser, s, op::kGoWaitTable);
    if (parser.matchKeyword("T[")) return ReadGoTable(parser, s, op::kGoTable);
    if (parser.matchKeyword("SYN")) {
        s.opcode = op::kGoSync;
        return parser.ReadNumber(s.a, 0, 1, msg::kUnknownGoCommand);
    }
    // 'GO 0' and 'GO 0 + Hx': the number must be 0 and stays in b.
    if (const int read = parser.ReadNumber(s.b, 0, 0, msg::kUnknownGoCommand); !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword("+H")) {
        s.opcode = op::kGoZero;
        return msg::kNoError;
    }
    s.opcode = op::kGoZeroPlus;
    return parser.ReadIndex('H', s.a);
}

int ReadSendNmtCommand(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    s.opcode = op::kSendNmtCommand;
    if (const int read = parser.ReadNumber(s.b, 0, 255, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    if (!parser.matchKeyword(",")) return msg::kFaultySetValue;
    if (const int read = parser.ReadNumber(s.c, 0, kMaxNodeId, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    return parser.matchKeyword("]") ? msg::kNoError : msg::kMissingBracket;
}

int ReadSendTxMessage(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    uint16_t identifier = 0;
    if (const int read = parser.ReadNumber(identifier, 0, kMaxCanIdentifier, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    s.SetWord(identifier);
    if (!parser.matchKeyword(",")) return msg::kFaultySetValue;
    if (const int read = parser.ReadNumber(s.b, 0, kMaxCanBytes, msg::kFaultySetValue); !Succeeded(read)) {
        return read;
    }
    char letter = 'H';
    if (parser.matchKeyword("]=H")) {
        s.opcode = op::kSendTxMessageInteger;
    } else if (parser.matchKeyword("]=F")) {
        s.opcode = op::kSendTxMessageFloat;
        letter = 'F';
    } else {
        return msg::kFaultySetValue;
    }
    return parser.ReadIndex(letter, s.a, msg::kFaultySetValue);
}

int ReadSetRefPos(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    // c: the index of ACTPOS[n] (0 without); a: 1 when '+ Hb' follows.
    s.opcode = op::kSetRefPos;
    if (parser.matchKeyword("[")) {
        if (const int read = parser.ReadNumber(s.c, 1, 255, msg::kFaultySetValue); !Succeeded(read)) {
            return read;
        }
        if (!parser.matchKeyword("]")) return msg::kFaultySetValue;
    }
    if (!parser.matchKeyword("+H")) return msg::kNoError;
    s.a = 1;
    return parser.ReadIndex('H', s.b, msg::kFaultySetValue);
}

int ReadCam(LineParser& parser, CompiledStatement& s, const ReaderArg&) {
    if (parser.matchKeyword("POL5")) return ReadCamPolynomial(parser, s);
    if (parser.matchKeyword("NSPDF")) return ReadCamSpeed(parser, s);
    if (parser.matchKeyword("GORH")) return ReadGoTarget(parser, s, op::kCamGo);
    return ReadCamStartBreak(parser, s);
}

}  // namespace plc::v310
