// SET statements of the V1.10 line compiler.
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/opcodes8.h"
#include "plceditor/v110/statement8_reader.h"
#include "plceditor/v110/v110_names.h"

namespace plc::v110 {

namespace {

constexpr int kOk = msg::kNoError;
constexpr int kMaxShift = 32;
constexpr int kMaxCounterValue = 255;
constexpr int kMaxPercent = 150;  // ramp as a percentage
constexpr int kMaxRxMessage = 15;
constexpr int kMaxRxIdentifier = 65535;
constexpr int kMaxDataBytes = 8;
constexpr int kMaxPositionIndex = 255;
constexpr uint8_t kRampFromVariable = 0;
constexpr uint8_t kRampPercent = 1;

}  // namespace

int StatementReader8::Set() {
    if (const NamedCode* target = Named(kIntegerTargetNames, "=")) return SetDriveTarget(*target);
    if (const NamedCode* bit = Named(kControlBitNames)) return SetControlBit(bit->code);
    if (cur_.Consume("F[C")) return SetFloatIndexed();
    if (cur_.Consume("F")) return SetFloat();
    if (cur_.Consume("H[C")) return SetIntegerIndexed();
    if (cur_.Consume("H")) return SetInteger();
    if (cur_.Consume("M[C")) return SetFlagIndexed();
    if (cur_.Consume("M")) return SetFlag();
    if (cur_.Consume("C")) return SetCounter();
    if (cur_.Consume("Z")) return SetTimer();
    if (AtOutput()) return SetOutput();
    if (cur_.Consume("PARA[")) return SetParameter();
    if (cur_.Consume("RXMSG[")) return SetRxMessage();
    if (cur_.Consume("ACCR=")) return SetRamp(op8::kSetAccelerationRamp);
    if (cur_.Consume("DECR=")) return SetRamp(op8::kSetDecelerationRamp);
    if (cur_.Consume("REFPOS=ACTPOS")) return SetRefPos();
    return msg::kUnexpectedAssignation;
}

// SET name = Hx; REFVAL (and REFFRQ) also takes an F variable.
int StatementReader8::SetDriveTarget(const NamedCode& target) {
    uint8_t variable = 0;
    if (target.display == "REFVAL" && cur_.Peek() != 'H') {
        if (cur_.Peek() != 'F') return msg::kFaultySetValue;
        if (int s = Variable('F', variable); s != kOk) return s;
        out_.SetA(kFloatTargetRefVal);
        out_.SetB(variable);
        return Emit(op8::kSetFloatTarget, operand_kind::kOther);
    }
    if (int s = Variable('H', variable); s != kOk) return s;
    out_.SetA(target.code);
    out_.SetB(variable);
    return Emit(op8::kSetIntTarget, operand_kind::kOther);
}

int StatementReader8::SetControlBit(uint8_t bit) {
    out_.SetA(bit);
    return FlagOrValue(op8::kSetControlFlag, op8::kSetControlValue, msg::kFaultyFlag);
}

int StatementReader8::SetFloatIndexed() {
    uint8_t counter = 0;
    if (int s = Index('C', counter); s != kOk) return s;
    if (!cur_.Consume("]=")) return msg::kMissingBracket;
    out_.SetA(counter);
    return VariableOrFloat(op8::kSetFloatIndexedFrom, op8::kSetFloatIndexedConstant);
}

int StatementReader8::SetFloat() {
    uint8_t f = 0;
    if (int s = Index('F', f); s != kOk) return s;
    if (cur_.Consume("=")) {
        if (cur_.Consume("F[C")) {
            uint8_t counter = 0;
            if (int s = Index('C', counter); s != kOk) return s;
            if (!cur_.Consume("]")) return msg::kMissingBracket;
            out_.SetA(f);
            out_.SetB(counter);
            return Emit(op8::kSetFloatFromIndexed, operand_kind::kOther);
        }
        if (const NamedCode* value = Named(FloatSourceNames())) {
            out_.SetA(f);
            out_.SetB(value->code);
            return Emit(op8::kSetFloatFromValue, operand_kind::kOther);
        }
        if (cur_.Consume("PARA[")) return ReadParameter(f, op8::kSetFloatParaHH);
        out_.SetA(f);
        uint8_t opcode = 0;
        if (cur_.Consume("ROUNDF")) {
            opcode = op8::kSetFloatRound;
        } else if (cur_.Consume("ABSF")) {
            opcode = op8::kSetFloatAbs;
        } else if (cur_.Consume("H")) {
            opcode = op8::kSetFloatInt;
        } else {
            return VariableOrFloat(op8::kSetFloatFloat, op8::kSetFloatConstant);
        }
        uint8_t source = 0;
        if (int s = Index(opcode == op8::kSetFloatInt ? 'H' : 'F', source); s != kOk) return s;
        out_.SetB(source);
        return Emit(opcode, operand_kind::kOther);
    }
    // + - * : with an F variable (odd opcodes) or a constant (even ones).
    const int op = OperatorChar("+-*:");
    if (op < 0) return msg::kFaultySetOperator;
    const auto first = static_cast<uint8_t>(op8::kFloatArithmetic + 2 * op);
    out_.SetA(f);
    return VariableOrFloat(first, static_cast<uint8_t>(first + 1));
}

int StatementReader8::SetIntegerIndexed() {
    uint8_t counter = 0;
    if (int s = Index('C', counter); s != kOk) return s;
    if (!cur_.Consume("]=")) return msg::kFaultySetOperator;
    out_.SetA(counter);
    return VariableOrInteger('H', op8::kSetIntIndexedFrom, op8::kSetIntIndexedConstant);
}

int StatementReader8::SetInteger() {
    uint8_t h = 0;
    if (int s = Index('H', h); s != kOk) return s;
    out_.SetA(h);
    if (cur_.Consume("=")) {
        if (cur_.Consume("H[C")) {
            uint8_t counter = 0;
            if (int s = Index('C', counter); s != kOk) return s;
            if (!cur_.Consume("]")) return msg::kMissingBracket;
            out_.SetB(counter);
            return Emit(op8::kSetIntFromIndexed, operand_kind::kOther);
        }
        // Drive value names before the variable letters: CANSTAT is no counter.
        if (const NamedCode* value = Named(kIntegerSourceNames)) {
            out_.SetB(value->code);
            return Emit(op8::kSetIntFromValue, operand_kind::kOther);
        }
        if (cur_.Consume("PARA[")) return ReadParameter(h, op8::kSetIntParaHH);
        if (cur_.Consume("ABSH")) {
            return IndexInB('H', op8::kSetIntAbs);
        }
        static constexpr std::string_view kSourceLetters = "FHCMZ";  // opcodes 69..73
        const std::size_t letter = kSourceLetters.find(cur_.Peek());
        if (!cur_.AtEnd() && letter != std::string_view::npos)
            return VariableInB(kSourceLetters[letter], static_cast<uint8_t>(op8::kSetIntFloat + letter));
        return VariableOrInteger('H', op8::kSetIntFloat + 1, op8::kSetIntConstant);
    }
    // Shifts by an H variable (odd) or a count (even): << 77/78, >> 79/80.
    for (const auto& [spelling, first] : {std::pair<std::string_view, uint8_t>{"<<", op8::kIntShiftLeft},
                                          std::pair<std::string_view, uint8_t>{">>", op8::kIntShiftLeft + 2}}) {
        if (!cur_.Consume(spelling)) continue;
        if (cur_.Peek() == 'H') return VariableInB('H', first);
        uint8_t source = 0;
        if (int s = Byte(source, 0, kMaxShift, msg::kFaultySetValue); s != kOk) return s;
        out_.SetB(source);
        return Emit(static_cast<uint8_t>(first + 1), operand_kind::kOther);
    }
    if (const int logic = OperatorChar("&|^"); logic >= 0) {
        return VariableInB('H', static_cast<uint8_t>(op8::kIntLogic + logic));
    }
    // + - * : % with an H variable (odd opcodes) or a constant (even ones).
    const int op = OperatorChar("+-*:%");
    if (op < 0) return msg::kFaultySetOperator;
    const auto first = static_cast<uint8_t>(op8::kIntArithmetic + 2 * op);
    return VariableOrInteger('H', first, static_cast<uint8_t>(first + 1));
}

// The operands of PARA[...]: H numbers in b and c, or the parameter number
// in bytes 6-7 with its sub-index in b (reads) or c (writes).
void StatementReader8::StoreParameter(const ParaIndex& index, bool subIndexInC) {
    switch (index.kind) {
        case ParaIndex::kVariablePair:
            out_.SetB(index.first);
            out_.SetC(index.second);
            break;
        case ParaIndex::kVariable:
            out_.SetB(index.first);
            break;
        case ParaIndex::kNumberAndSub:
            if (subIndexInC) {
                out_.SetC(index.second);
            } else {
                out_.SetB(index.second);
            }
            out_.SetNumber(index.number);
            break;
        case ParaIndex::kNumber:
            out_.SetNumber(index.number);
            break;
    }
}

// SET Fx/Hx = PARA[...]: opcodes pair, single H, number and sub-index, number.
int StatementReader8::ReadParameter(uint8_t variable, uint8_t pairOpcode) {
    ParaIndex index;
    if (int s = Para(index); s != kOk) return s;
    out_.SetA(variable);
    StoreParameter(index, /*subIndexInC=*/false);
    return Emit(static_cast<uint8_t>(pairOpcode + index.kind), operand_kind::kOther);
}

int StatementReader8::SetFlagIndexed() {
    uint8_t counter = 0;
    if (int s = Index('C', counter); s != kOk) return s;
    if (!cur_.Consume("]=")) return msg::kFaultySetOperator;
    out_.SetA(counter);
    return FlagOrValue(op8::kSetFlagIndexedFrom, op8::kSetFlagIndexedValue, msg::kFaultySetValue);
}

int StatementReader8::SetFlag() {
    uint8_t m = 0;
    if (int s = Index('M', m); s != kOk) return s;
    out_.SetA(m);
    uint8_t value = 0;
    if (cur_.Consume("=")) {
        uint8_t opcode = 0;
        if (cur_.Consume("M[C")) {
            if (int s = Index('C', value); s != kOk) return s;
            if (!cur_.Consume("]")) return msg::kMissingBracket;
            opcode = op8::kSetFlagFromIndexed;
        } else if (cur_.Consume("STA_")) {
            if (int s = Status(value); s != kOk) return s;
            opcode = op8::kSetFlagStatus;
        } else if (cur_.Consume("CM")) {
            constexpr int kCamOutputs = 16;  // CM01..CM16
            if (int s = Byte(value, 1, kCamOutputs, msg::kFaultyFlag); s != kOk) return s;
            --value;
            opcode = op8::kSetFlagCam;
        } else if (cur_.Peek() == 'M' || cur_.Peek() == 'H') {
            const char letter = cur_.Peek();
            if (int s = Variable(letter, value); s != kOk) return s;
            opcode = letter == 'M' ? op8::kSetFlagFlag : op8::kSetFlagInt;
        } else if (AtIo()) {
            bool output = false;
            if (int s = Io(output, value); s != kOk) return s;
            opcode = output ? op8::kSetFlagOutput : op8::kSetFlagInput;
        } else {
            if (int s = Byte(value, 0, 1, msg::kFaultySetValue); s != kOk) return s;
            opcode = op8::kSetFlagValue;
        }
        out_.SetB(value);
        return Emit(opcode, operand_kind::kOther);
    }
    const int logic = OperatorChar("&|^");
    if (logic < 0) return msg::kFaultySetOperator;
    if (int s = Variable('M', value); s != kOk) return s;
    out_.SetB(value);
    return Emit(static_cast<uint8_t>(op8::kFlagLogic + logic), operand_kind::kOther);
}

// = C 104, = H 105, + H 106, + b 107, - H 108, - b 109, = b 110.
int StatementReader8::SetCounter() {
    uint8_t counter = 0;
    if (int s = Index('C', counter); s != kOk) return s;
    out_.SetA(counter);
    const int op = OperatorChar("=+-");
    if (op < 0) return msg::kFaultySetOperator;
    uint8_t value = 0;
    uint8_t opcode = 0;
    if (op == 0 && cur_.Peek() == 'C') {
        if (int s = Variable('C', value); s != kOk) return s;
        opcode = op8::kCounterFirst;
    } else if (cur_.Peek() == 'H') {
        if (int s = Variable('H', value); s != kOk) return s;
        opcode = static_cast<uint8_t>(op == 0 ? op8::kCounterFirst + 1 : op8::kCounterFirst + 2 * op);
    } else {
        if (int s = Byte(value, 0, kMaxCounterValue, msg::kFaultySetValue); s != kOk) return s;
        opcode = static_cast<uint8_t>(op == 0 ? op8::kCounterFirst + 6 : op8::kCounterFirst + 1 + 2 * op);
    }
    out_.SetB(value);
    return Emit(opcode, operand_kind::kOther);
}

int StatementReader8::SetTimer() {
    uint8_t timer = 0;
    if (int s = Index('Z', timer); s != kOk) return s;
    if (!cur_.Consume("=")) return msg::kFaultySetOperator;
    out_.SetA(timer);
    return VariableOrInteger('H', op8::kSetTimerInt, op8::kSetTimerConstant);
}

int StatementReader8::SetOutput() {
    bool output = false;
    uint8_t code = 0;
    if (int s = Io(output, code); s != kOk) return s;
    if (!cur_.Consume("=")) return msg::kFaultySetOperator;
    out_.SetA(code);
    return FlagOrValue(op8::kSetOutputFlag, op8::kSetOutputValue, msg::kFaultySetValue);
}

// SET PARA[...] = Fx (odd opcodes) or Hx (even ones).
int StatementReader8::SetParameter() {
    ParaIndex index;
    if (int s = Para(index); s != kOk) return s;
    if (!cur_.Consume("=")) return msg::kFaultySetOperator;
    const char letter = cur_.Peek();
    if (letter != 'F' && letter != 'H') return msg::kFaultySetOperator;
    uint8_t variable = 0;
    if (int s = Variable(letter, variable); s != kOk) return s;
    out_.SetA(variable);
    StoreParameter(index, /*subIndexInC=*/true);
    const int opcode = op8::kSetParaHH + 2 * index.kind + (letter == 'H' ? 1 : 0);
    return Emit(static_cast<uint8_t>(opcode), operand_kind::kOther);
}

int StatementReader8::SetRxMessage() {
    constexpr int kFault = msg::kFaultySetValue;
    uint8_t message = 0;
    uint16_t identifier = 0;
    uint8_t length = 0;
    if (int s = Byte(message, 0, kMaxRxMessage, kFault); s != kOk) return s;
    if (!cur_.Consume(",")) return kFault;
    if (int s = Word(identifier, 0, kMaxRxIdentifier, kFault); s != kOk) return s;
    if (!cur_.Consume(",")) return kFault;
    if (int s = Byte(length, 0, kMaxDataBytes, kFault); s != kOk) return s;
    if (!cur_.Consume("]")) return msg::kMissingBracket;
    out_.SetB(message);
    out_.SetC(length);
    out_.SetNumber(identifier);
    return Emit(op8::kSetRxMessage, operand_kind::kOther);
}

int StatementReader8::SetRamp(uint8_t opcode) {
    uint8_t value = 0;
    if (cur_.Peek() == 'H') {
        if (int s = Variable('H', value); s != kOk) return s;
        out_.SetB(kRampFromVariable);
    } else {
        if (int s = Byte(value, 0, kMaxPercent, msg::kFaultyInteger); s != kOk) return s;
        if (!cur_.Consume("%")) return msg::kFaultySetOperator;
        out_.SetB(kRampPercent);
    }
    out_.SetA(value);
    return Emit(opcode, operand_kind::kOther);
}

// SET REFPOS = ACTPOS [n] [+ Hx]; every fault here is a faulty set value.
int StatementReader8::SetRefPos() {
    constexpr int kFault = msg::kFaultySetValue;
    if (cur_.Consume("[")) {
        uint8_t position = 0;
        if (int s = Byte(position, 1, kMaxPositionIndex, kFault); s != kOk) return s;
        if (!cur_.Consume("]")) return kFault;
        out_.SetC(position);
    }
    if (cur_.Consume("+")) {
        uint8_t offset = 0;
        if (int s = Variable('H', offset, kFault); s != kOk) return s;
        out_.SetA(1);
        out_.SetB(offset);
    }
    return Emit(op8::kSetRefPos, operand_kind::kOther);
}

}  // namespace plc::v110
