// Statement dispatch of the V1.10 line compiler, its operand readers and the
// statements without their own file: CALL, INV, WAIT, STOP, GO and SEND.
#include "plceditor/v110/statement8.h"

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/opcodes8.h"
#include "plceditor/v110/statement8_reader.h"
#include "plceditor/v110/v110_names.h"

namespace plc::v110 {

namespace {

constexpr int kOk = msg::kNoError;

// Operand ranges of the V1.10 records.
constexpr int kMaxLabel8 = 254;
constexpr int kMinParameter = 1;
constexpr int kMaxParameter = 999;
constexpr int kMaxByte = 255;
constexpr int kMaxWord = 65535;
constexpr double kMaxWaitTime = 4294967295.0;  // WAIT constant, unsigned 32 bits
constexpr int kMaxNmtNode = 127;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int CompileStatement8(std::string_view upper, LineEntry8& entry) { return StatementReader8(upper, entry).Statement(); }

int StatementReader8::Statement() {
    if (cur_.Consume("JMP")) return Jump();
    if (cur_.Consume("CALL")) return Call();
    if (cur_.Consume("RET")) return Emit(op8::kReturn, operand_kind::kTarget);
    if (cur_.Consume("BRKPT")) return Emit(op8::kBreakpoint, operand_kind::kTarget);
    if (cur_.Consume("NOP")) return Emit(op8::kNop, operand_kind::kTarget);
    if (cur_.Consume("SET")) return Set();
    if (cur_.Consume("INV")) return Invert();
    if (cur_.Consume("WAIT")) return Wait();
    if (cur_.Consume("STOP")) return Stop();
    if (cur_.Consume("GO")) return Go();
    if (cur_.Consume("SEND")) return Send();
    return msg::kUnexpectedAssignation;
}

// ---- Operands ---------------------------------------------------------------

int StatementReader8::Index(char letter, uint8_t& value, int fault) {
    const VariableKind* kind = FindVariableKind(letter);
    if (kind == nullptr) return msg::kInternalError;
    if (fault == 0) fault = kind->badIndexMessage;
    return scanUnsigned8(cur_, value, kind->firstIndex, kind->lastIndex) ? kOk : fault;
}

int StatementReader8::Variable(char letter, uint8_t& value, int fault) {
    if (cur_.Peek() != letter) {
        const VariableKind* kind = FindVariableKind(letter);
        return fault != 0 ? fault : (kind != nullptr ? kind->badIndexMessage : msg::kInternalError);
    }
    ++cur_.pos;
    return Index(letter, value, fault);
}

int StatementReader8::Byte(uint8_t& value, int lower, int upper, int fault) {
    return scanUnsigned8(cur_, value, lower, upper) ? kOk : fault;
}

int StatementReader8::Word(uint16_t& value, int lower, int upper, int fault) {
    return scanUnsigned16(cur_, value, lower, upper) ? kOk : fault;
}

int StatementReader8::Integer(int32_t& value, double lower, double upper, int fault) {
    return scanSigned32(cur_, value, lower, upper) ? kOk : fault;
}

int StatementReader8::Float(uint32_t& stored, double lower, double upper, int fault) {
    return scanFloatSwapped(cur_, stored, lower, upper) ? kOk : fault;
}

bool StatementReader8::AtIo() const {
    for (const IoGroup& group : kIoGroups) {
        if (cur_.Rest().starts_with(group.prefix)) return true;
    }
    return false;
}

bool StatementReader8::AtOutput() const {
    for (const IoGroup& group : kIoGroups) {
        if (group.output && cur_.Rest().starts_with(group.prefix)) return true;
    }
    return false;
}

int StatementReader8::Io(bool& output, uint8_t& code) {
    for (const IoGroup& group : kIoGroups) {
        if (!cur_.Consume(group.prefix)) continue;
        if (!ScanIoCode(cur_, group, code)) return msg::kFaultyIoNumber;
        output = group.output;
        return kOk;
    }
    return msg::kFaultyIoNumber;
}

int StatementReader8::Para(ParaIndex& index) {
    if (cur_.Peek() == 'H') {
        if (int s = Variable('H', index.first); s != kOk) return s;
        index.kind = ParaIndex::kVariable;
        if (cur_.Consume(",")) {
            if (cur_.Peek() != 'H') return msg::kFaultySetOperator;
            if (int s = Variable('H', index.second); s != kOk) return s;
            index.kind = ParaIndex::kVariablePair;
        }
    } else if (IsDigit(cur_.Peek())) {
        if (int s = Word(index.number, kMinParameter, kMaxParameter, msg::kFaultySetValue); s != kOk) return s;
        index.kind = ParaIndex::kNumber;
        if (cur_.Consume(",")) {
            if (int s = Byte(index.second, 0, kMaxByte, msg::kFaultySetValue); s != kOk) return s;
            index.kind = ParaIndex::kNumberAndSub;
        }
    } else {
        return msg::kFaultySetOperator;
    }
    return cur_.Consume("]") ? kOk : msg::kMissingBracket;
}

int StatementReader8::CompareOperator() { return ConsumeFirstOf(cur_, kCompareOperators); }

int StatementReader8::OperatorChar(std::string_view operators) {
    const std::size_t at = operators.find(cur_.Peek());
    if (cur_.AtEnd() || at == std::string_view::npos) return -1;
    ++cur_.pos;
    return static_cast<int>(at);
}

const NamedCode* StatementReader8::Named(std::span<const NamedCode> table, std::string_view suffix) {
    const NamedCode* entry = MatchNamePrefix(table, table.size(), cur_.Rest(), suffix);
    if (entry != nullptr) cur_.pos += entry->name.size() + suffix.size();
    return entry;
}

int StatementReader8::Status(uint8_t& code) {
    const NamedCode* status = Named(kStatusNames);
    if (status == nullptr) return msg::kFaultyCompareValue;
    code = status->code;
    return kOk;
}

int StatementReader8::Finish() { return cur_.AtEnd() ? kOk : msg::kLineTooLong; }

int StatementReader8::Emit(uint8_t opcode, uint8_t kind) {
    out_.SetOpcode(opcode);
    out_.SetOperandKind(kind);
    return Finish();
}

int StatementReader8::VariableInB(char letter, uint8_t opcode) {
    uint8_t variable = 0;
    if (int s = Variable(letter, variable); s != kOk) return s;
    out_.SetB(variable);
    return Emit(opcode, operand_kind::kOther);
}

int StatementReader8::IndexInB(char letter, uint8_t opcode) {
    uint8_t variable = 0;
    if (int s = Index(letter, variable); s != kOk) return s;
    out_.SetB(variable);
    return Emit(opcode, operand_kind::kOther);
}

int StatementReader8::VariableOrInteger(char letter, uint8_t variableOpcode, uint8_t constantOpcode) {
    if (cur_.Peek() == letter) return VariableInB(letter, variableOpcode);
    int32_t value = 0;
    if (int s = Integer(value, -kMaxIntegerConstant, kMaxIntegerConstant, msg::kFaultySetValue); s != kOk) return s;
    out_.SetConstant(static_cast<uint32_t>(value));
    return Emit(constantOpcode, operand_kind::kOther);
}

int StatementReader8::VariableOrFloat(uint8_t variableOpcode, uint8_t constantOpcode) {
    if (cur_.Peek() == 'F') return VariableInB('F', variableOpcode);
    uint32_t value = 0;
    if (int s = Float(value, -kMaxFloatConstant, kMaxFloatConstant, msg::kFaultySetValue); s != kOk) return s;
    out_.SetConstant(value);
    return Emit(constantOpcode, operand_kind::kOther);
}

int StatementReader8::FlagOrValue(uint8_t flagOpcode, uint8_t valueOpcode, int valueFault) {
    uint8_t value = 0;
    uint8_t opcode = valueOpcode;
    if (cur_.Peek() == 'M') {
        if (int s = Variable('M', value); s != kOk) return s;
        opcode = flagOpcode;
    } else if (int s = Byte(value, 0, 1, valueFault); s != kOk) {
        return s;
    }
    out_.SetB(value);
    return Emit(opcode, operand_kind::kOther);
}

// ---- CALL, INV, WAIT, STOP --------------------------------------------------

int StatementReader8::Call() {
    uint8_t target = 0;
    if (!cur_.Consume("N") || !scanUnsigned8(cur_, target, 1, kMaxLabel8)) return msg::kFaultyJumpDestination;
    out_.SetTarget(target);
    return Emit(op8::kCall, operand_kind::kTarget);
}

int StatementReader8::Invert() {
    uint8_t a = 0;
    uint8_t opcode = 0;
    if (cur_.Peek() == 'H') {
        if (int s = Variable('H', a); s != kOk) return s;
        opcode = op8::kInvertInt;
    } else if (cur_.Peek() == 'M') {
        if (int s = Variable('M', a); s != kOk) return s;
        opcode = op8::kInvertFlag;
    } else if (AtIo()) {
        bool output = false;
        if (int s = Io(output, a); s != kOk) return s;
        if (!output) return msg::kFaultyIoNumber;
        opcode = op8::kInvertOutput;
    } else {
        return msg::kUnexpectedAssignation;
    }
    out_.SetA(a);
    return Emit(opcode, operand_kind::kOther);
}

int StatementReader8::Wait() {
    if (cur_.Consume("PAR")) return Emit(op8::kWaitPar, operand_kind::kOther);
    if (cur_.Consume("REF")) return Emit(op8::kWaitRef, operand_kind::kOther);
    if (cur_.Consume("ROT_0")) return Emit(op8::kWaitRot0, operand_kind::kOther);
    if (cur_.Peek() == 'H') {
        uint8_t h = 0;
        if (int s = Variable('H', h); s != kOk) return s;
        out_.SetA(h);
        return Emit(op8::kWaitInt, operand_kind::kOther);
    }
    uint32_t time = 0;
    if (!scanUnsigned32(cur_, time, 0, kMaxWaitTime)) return msg::kFaultyInteger;
    out_.SetConstant(time);
    return Emit(op8::kWaitConstant, operand_kind::kOther);
}

int StatementReader8::Stop() {
    static constexpr std::string_view kStopKinds = "BM0";  // brake, motor, zero speed
    const int kind = OperatorChar(kStopKinds);
    if (kind < 0) return msg::kFaultySetOperator;
    out_.SetA(static_cast<uint8_t>(kind));
    return Emit(op8::kStop, operand_kind::kOther);
}

// ---- GO ---------------------------------------------------------------------

int StatementReader8::Go() {
    if (cur_.Consume("WRT")) return GoMove(op8::kGoWaitRelativeTarget, 1);
    if (cur_.Consume("WR")) return GoMove(op8::kGoWaitAbsolute + 1, 1);
    if (cur_.Consume("WA")) return GoMove(op8::kGoWaitAbsolute, 0);
    if (cur_.Consume("WT[")) return GoTable(op8::kGoWaitTable);
    if (cur_.Consume("RT")) return GoMove(op8::kGoRelativeTarget, 1);
    if (cur_.Consume("R")) return GoMove(op8::kGoAbsolute + 1, 1);
    if (cur_.Consume("A")) return GoMove(op8::kGoAbsolute, 0);
    if (cur_.Consume("0+")) {
        uint8_t h = 0;
        if (!cur_.Consume("H")) return msg::kUnknownGoCommand;
        if (int s = Index('H', h); s != kOk) return s;
        out_.SetA(h);
        return Emit(op8::kGoZeroPlus, operand_kind::kOther);
    }
    if (cur_.Consume("0")) return Emit(op8::kGoZero, operand_kind::kOther);
    if (cur_.Consume("V")) {
        uint8_t h = 0;
        if (!cur_.Consume("H")) return msg::kUnknownGoCommand;
        if (int s = Index('H', h); s != kOk) return s;
        out_.SetB(h);
        out_.SetC(1);
        out_.SetD(1);
        return Emit(op8::kGoVelocity, operand_kind::kOther);
    }
    if (cur_.Consume("T[")) return GoTable(op8::kGoTable);
    if (cur_.Consume("SYN")) {
        uint8_t sync = 0;
        if (int s = Byte(sync, 0, 1, msg::kUnknownGoCommand); s != kOk) return s;
        out_.SetA(sync);
        return Emit(op8::kGoSync, operand_kind::kOther);
    }
    return msg::kUnknownGoCommand;
}

int StatementReader8::GoMove(uint8_t opcode, uint8_t relative) {
    uint8_t position = 0;
    if (!cur_.Consume("H")) return msg::kUnknownGoCommand;
    if (int s = Index('H', position); s != kOk) return s;
    out_.SetA(position);
    out_.SetC(relative);
    if (cur_.AtEnd()) {
        out_.SetE(1);  // no speed operand
    } else {
        if (!cur_.Consume("VH")) return msg::kUnknownGoCommand;
        uint8_t speed = 0;
        if (int s = Index('H', speed); s != kOk) return s;
        out_.SetB(speed);
    }
    return Emit(opcode, operand_kind::kOther);
}

int StatementReader8::GoTable(uint8_t opcode) {
    uint8_t value = 0;
    uint8_t kind = 0;
    if (cur_.Consume("H")) {
        if (int s = Index('H', value); s != kOk) return s;
        kind = 0;
    } else if (cur_.Consume("C")) {
        if (int s = Index('C', value, msg::kFaultyInteger); s != kOk) return s;
        kind = 1;
    } else if (IsDigit(cur_.Peek())) {
        if (int s = Byte(value, 0, kMaxByte, msg::kFaultyInteger); s != kOk) return s;
        kind = 2;
    } else {
        return msg::kUnknownGoCommand;
    }
    if (!cur_.Consume("]")) return msg::kMissingBracket;
    out_.SetA(value);
    out_.SetE(kind);
    return Emit(opcode, operand_kind::kOther);
}

// ---- SEND -------------------------------------------------------------------

int StatementReader8::Send() {
    if (cur_.Consume("NMTCMD[")) {
        uint8_t command = 0;
        uint8_t node = 0;
        if (int s = Byte(command, 0, kMaxByte, msg::kFaultySetValue); s != kOk) return s;
        if (!cur_.Consume(",")) return msg::kFaultySetValue;
        if (int s = Byte(node, 0, kMaxNmtNode, msg::kFaultySetValue); s != kOk) return s;
        if (!cur_.Consume("]")) return msg::kMissingBracket;
        out_.SetB(command);
        out_.SetC(node);
        return Emit(op8::kSendNmtCommand, operand_kind::kOther);
    }
    if (cur_.Consume("TXMSG[")) {
        constexpr int kFault = msg::kFaultySetValue;  // every fault of this form
        constexpr int kMaxDataBytes = 8;
        uint16_t message = 0;
        uint8_t length = 0;
        if (int s = Word(message, 0, kMaxWord, kFault); s != kOk) return s;
        if (!cur_.Consume(",")) return kFault;
        if (int s = Byte(length, 0, kMaxDataBytes, kFault); s != kOk) return s;
        if (!cur_.Consume("]=")) return kFault;
        const char letter = cur_.Peek();
        if (letter != 'H' && letter != 'F') return kFault;
        uint8_t variable = 0;
        if (int s = Variable(letter, variable, kFault); s != kOk) return s;
        out_.SetA(variable);
        out_.SetB(length);
        out_.SetNumber(message);
        return Emit(letter == 'H' ? op8::kSendTxMessageInt : op8::kSendTxMessageFloat, operand_kind::kOther);
    }
    return msg::kUnexpectedAssignation;
}

}  // namespace plc::v110
