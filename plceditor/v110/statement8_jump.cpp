// JMP statements of the V1.10 line compiler: the condition in parentheses
// fills opcode, a, d and e; the target after it fills bytes 4-5.
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/opcodes8.h"
#include "plceditor/v110/statement8_reader.h"
#include "plceditor/v110/v110_names.h"

namespace plc::v110 {

namespace {

constexpr int kOk = msg::kNoError;
constexpr int kMaxLabel8 = 254;
constexpr int kEqual = 0;     // index of "=" among the comparisons
constexpr int kNotEqual = 1;  // index of "!="
constexpr uint8_t kOperandIsVariable = 0;
constexpr uint8_t kOperandIsValue = 1;
constexpr int kMaxRxMessage = 15;

bool IsEqualityTest(int op) { return op == kEqual || op == kNotEqual; }

}  // namespace

int StatementReader8::Jump() {
    if (cur_.Consume("END")) return Emit(op8::kJumpEnd, operand_kind::kTarget);
    if (cur_.Consume("N")) {
        uint8_t target = 0;
        if (!scanUnsigned8(cur_, target, 1, kMaxLabel8)) return msg::kFaultyJumpDestination;
        out_.SetTarget(target);
        return Emit(op8::kJump, operand_kind::kTarget);
    }
    if (!cur_.Consume("(")) return msg::kFaultyJumpDestination;
    if (int s = Condition(); s != kOk) return s;
    if (int s = JumpTarget(); s != kOk) return s;
    return Emit(out_.Opcode(), operand_kind::kTarget);
}

int StatementReader8::JumpTarget() {
    if (!cur_.Consume(")")) return msg::kFaultyJumpDestination;
    if (cur_.Consume("END")) {
        out_.SetTarget(op8::kEndTarget);
        return kOk;
    }
    uint8_t target = 0;
    if (!cur_.Consume("N") || !scanUnsigned8(cur_, target, 1, kMaxLabel8)) return msg::kFaultyJumpDestination;
    out_.SetTarget(target);
    return kOk;
}

int StatementReader8::Condition() {
    // Longer names first where one starts another (REFVAL before REF).
    if (cur_.Consume("ACTVAL")) return DriveValueCondition(1);
    if (cur_.Consume("REFVAL")) return DriveValueCondition(2);
    if (cur_.Consume("RXMSG")) return RxMessageCondition();
    if (cur_.Consume("REF")) return DriveStateCondition(op8::kJumpRef);
    if (cur_.Consume("ROT_0")) return DriveStateCondition(op8::kJumpRot0);
    if (cur_.Consume("STA_")) return StatusCondition();
    switch (cur_.Peek()) {
        case 'F':
        case 'H':
            return VariableCondition(cur_.Peek());
        case 'M':
            return FlagCondition();
        case 'C':
            return CounterCondition();
        case 'Z':
            return TimerCondition();
        default:
            break;
    }
    if (AtIo()) return IoCondition();
    return msg::kUnexpectedAssignation;
}

// Fa or Ha against a variable of its own kind or 0.
int StatementReader8::VariableCondition(char letter) {
    uint8_t left = 0;
    if (int s = Variable(letter, left); s != kOk) return s;
    out_.SetD(left);
    return CompareWith(letter);
}

// ACTVAL (which = 1) or REFVAL (which = 2) against an F or H variable or 0.
int StatementReader8::DriveValueCondition(uint8_t which) {
    out_.SetA(which);
    return CompareWith('\0');
}

// The operator and right side of a comparison whose left side is an F or H
// variable (`left`) or a drive value ('\0'): a variable into e (F or H for a
// drive value), or a zero test, read as a float only after an F variable.
int StatementReader8::CompareWith(char left) {
    const int op = CompareOperator();
    if (op < 0) return msg::kFaultySetOperator;
    const char right = cur_.Peek();
    if (left == '\0' ? (right == 'F' || right == 'H') : right == left) {
        uint8_t variable = 0;
        if (int s = Variable(right, variable); s != kOk) return s;
        out_.SetE(variable);
        const uint8_t first = right == 'F' ? op8::kJumpFloatCompare : op8::kJumpIntCompare;
        out_.SetOpcode(static_cast<uint8_t>(first + op));
        return kOk;
    }
    if (!IsEqualityTest(op)) return msg::kFaultySetOperator;
    if (left == 'F') {
        uint32_t zero = 0;
        if (int s = Float(zero, 0, 0, msg::kFaultyCompareValue); s != kOk) return s;
        out_.SetOpcode(static_cast<uint8_t>(op8::kJumpFloatZero + op));
    } else {
        int32_t zero = 0;
        if (int s = Integer(zero, 0, 0, msg::kFaultyCompareValue); s != kOk) return s;
        out_.SetOpcode(static_cast<uint8_t>(op8::kJumpIntZero + op));
    }
    return kOk;
}

int StatementReader8::FlagCondition() {
    uint8_t flag = 0;
    if (int s = Variable('M', flag); s != kOk) return s;
    out_.SetD(flag);
    if (cur_.Consume("!=")) {
        if (cur_.Peek() != 'M') return msg::kFaultySetOperator;
        uint8_t other = 0;
        if (int s = Variable('M', other); s != kOk) return s;
        out_.SetE(other);
        out_.SetOpcode(op8::kJumpFlagEqual + 1);
        return kOk;
    }
    if (cur_.Consume("=")) {
        uint8_t value = 0;
        if (cur_.Peek() == 'M') {
            if (int s = Variable('M', value); s != kOk) return s;
            out_.SetOpcode(op8::kJumpFlagEqual);
        } else {
            if (int s = Byte(value, 0, 1, msg::kFaultySetValue); s != kOk) return s;
            out_.SetOpcode(op8::kJumpFlagValue);
        }
        out_.SetE(value);
        return kOk;
    }
    const int logic = OperatorChar("&|^");
    if (logic < 0) return msg::kFaultySetOperator;
    bool output = false;
    uint8_t code = 0;
    if (int s = Io(output, code); s != kOk) return s;
    out_.SetE(code);
    const uint8_t first = output ? op8::kJumpFlagOutput : op8::kJumpFlagInput;
    out_.SetOpcode(static_cast<uint8_t>(first + logic));
    return kOk;
}

int StatementReader8::IoCondition() {
    bool output = false;
    uint8_t code = 0;
    if (int s = Io(output, code); s != kOk) return s;
    if (!cur_.Consume("=")) return msg::kFaultySetOperator;
    uint8_t value = 0;
    if (int s = Byte(value, 0, 1, msg::kFaultySetValue); s != kOk) return s;
    out_.SetD(code);
    out_.SetE(value);
    out_.SetOpcode(output ? op8::kJumpOutputValue : op8::kJumpInputValue);
    return kOk;
}

int StatementReader8::CounterCondition() {
    uint8_t counter = 0;
    if (int s = Variable('C', counter); s != kOk) return s;
    const int op = CompareOperator();
    if (!IsEqualityTest(op)) return msg::kFaultySetOperator;
    uint8_t value = 0;
    if (int s = Byte(value, 0, 255, msg::kFaultySetValue); s != kOk) return s;
    out_.SetD(counter);
    out_.SetE(value);
    out_.SetOpcode(static_cast<uint8_t>(op8::kJumpCounter + op));
    return kOk;
}

int StatementReader8::TimerCondition() {
    uint8_t timer = 0;
    if (int s = Variable('Z', timer); s != kOk) return s;
    const int op = CompareOperator();
    if (!IsEqualityTest(op)) return msg::kFaultySetOperator;
    uint8_t zero = 0;
    if (int s = Byte(zero, 0, 0, msg::kFaultyCompareValue); s != kOk) return s;
    out_.SetD(timer);
    out_.SetOpcode(static_cast<uint8_t>(op8::kJumpTimerZero + op));
    return kOk;
}

int StatementReader8::RxMessageCondition() {
    constexpr int kFault = msg::kFaultySetValue;  // every operand fault of this form
    uint8_t message = 0;
    if (!cur_.Consume(",")) return kFault;
    if (int s = Byte(message, 0, kMaxRxMessage, kFault); s != kOk) return s;
    if (!cur_.Consume(",")) return kFault;
    const char letter = cur_.Peek();
    if (letter != 'H' && letter != 'F') return kFault;
    uint8_t variable = 0;
    if (int s = Variable(letter, variable, kFault); s != kOk) return s;
    out_.SetD(message);
    out_.SetE(variable);
    out_.SetOpcode(letter == 'H' ? op8::kJumpRxMessageInt : op8::kJumpRxMessageFloat);
    return kOk;
}

int StatementReader8::DriveStateCondition(uint8_t opcode) {
    if (!cur_.Consume("=")) return msg::kFaultySetOperator;
    uint8_t value = 0;
    if (cur_.Peek() == 'M') {
        if (int s = Variable('M', value); s != kOk) return s;
        out_.SetD(kOperandIsVariable);
    } else {
        if (int s = Byte(value, 0, 1, msg::kFaultyFlag); s != kOk) return s;
        out_.SetD(kOperandIsValue);
    }
    out_.SetE(value);
    out_.SetOpcode(opcode);
    return kOk;
}

int StatementReader8::StatusCondition() {
    uint8_t status = 0;
    if (int s = Status(status); s != kOk) return s;
    const int op = CompareOperator();
    if (!IsEqualityTest(op)) return msg::kFaultySetOperator;
    const bool equal = op == kEqual;
    uint8_t value = 0;
    if (cur_.Peek() == 'M') {
        if (int s = Variable('M', value); s != kOk) return s;
        out_.SetA(equal ? op8::kStatusIsFlag : op8::kStatusNotFlag);
    } else {
        if (int s = Byte(value, 0, 1, msg::kFaultyFlag); s != kOk) return s;
        out_.SetA(equal ? op8::kStatusIsValue : op8::kStatusNotValue);
    }
    out_.SetD(status);
    out_.SetE(value);
    out_.SetOpcode(op8::kJumpStatus);
    return kOk;
}

}  // namespace plc::v110
