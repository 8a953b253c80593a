// The reader behind CompileStatement8: one object per statement, a cursor
// over the upper-case text and the entry it fills. Its parts live in
// statement8.cpp (dispatch, operands, GO, WAIT, ...), statement8_jump.cpp
// and statement8_set.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "plceditor/core/operand_scanners.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/v110/line_entry8.h"

namespace plc::v110 {

class StatementReader8 {
public:
    StatementReader8(std::string_view upper, LineEntry8& entry) : cur_{upper}, out_(entry) {}

    int Statement();

private:
    // A device parameter in brackets after "PARA[", up to and with "]".
    struct ParaIndex {
        // In the order of the opcodes of each PARA group: PARA[Hb, Hc],
        // PARA[Hb], PARA[n, s], PARA[n].
        enum Kind { kVariablePair = 0, kVariable = 1, kNumberAndSub = 2, kNumber = 3 };
        Kind kind = kNumber;
        uint8_t first = 0;    // H number
        uint8_t second = 0;   // second H number or sub-index
        uint16_t number = 0;  // parameter number
    };

    // ---- statement8_jump.cpp ----
    int Jump();
    int Condition();
    int VariableCondition(char letter);
    int DriveValueCondition(uint8_t which);
    int CompareWith(char left);
    int FlagCondition();
    int IoCondition();
    int CounterCondition();
    int TimerCondition();
    int RxMessageCondition();
    int DriveStateCondition(uint8_t opcode);
    int StatusCondition();
    int JumpTarget();

    // ---- statement8_set.cpp ----
    int Set();
    int SetDriveTarget(const NamedCode& target);
    int SetControlBit(uint8_t bit);
    int SetFloatIndexed();
    int SetFloat();
    int SetIntegerIndexed();
    int SetInteger();
    int SetFlagIndexed();
    int SetFlag();
    int SetCounter();
    int SetTimer();
    int SetOutput();
    int SetParameter();
    int ReadParameter(uint8_t variable, uint8_t pairOpcode);
    void StoreParameter(const ParaIndex& index, bool subIndexInC);
    int SetRxMessage();
    int SetRamp(uint8_t opcode);
    int SetRefPos();

    // ---- statement8.cpp ----
    int Call();
    int Invert();
    int Wait();
    int Stop();
    int Go();
    int GoMove(uint8_t opcode, uint8_t relative);
    int GoTable(uint8_t opcode);
    int Send();

    // Operands. Each returns kNoError or the fault message.
    // The number behind a variable letter that was already read.
    int Index(char letter, uint8_t& value, int fault = 0);
    // A variable letter and its number; a missing letter gives the fault too.
    int Variable(char letter, uint8_t& value, int fault = 0);
    int Byte(uint8_t& value, int lower, int upper, int fault);
    int Word(uint16_t& value, int lower, int upper, int fault);
    int Integer(int32_t& value, double lower, double upper, int fault);
    int Float(uint32_t& stored, double lower, double upper, int fault);
    // An input or output name with its number; `output` tells which.
    int Io(bool& output, uint8_t& code);
    bool AtIo() const;
    bool AtOutput() const;
    int Para(ParaIndex& index);
    // Index 0..5 of a comparison operator (longest spelling first); -1 when
    // none follows.
    int CompareOperator();
    // Index of the character of `operators` at the cursor, consumed; -1 when
    // none.
    int OperatorChar(std::string_view operators);
    // The first entry of the table whose name (then `suffix`) starts the
    // rest, consumed; null when none.
    const NamedCode* Named(std::span<const NamedCode> table, std::string_view suffix = {});
    int Status(uint8_t& code);
    // Nothing may follow a complete statement.
    int Finish();
    int Emit(uint8_t opcode, uint8_t kind);
    // A variable of `letter` (or, after its letter, its number) as operand b
    // of a statement with `opcode`.
    int VariableInB(char letter, uint8_t opcode);
    int IndexInB(char letter, uint8_t opcode);
    // The last operand of many SET forms: a variable of `letter` into b and
    // the first opcode, or else a constant into bytes 4-7 and the second.
    int VariableOrInteger(char letter, uint8_t variableOpcode, uint8_t constantOpcode);
    int VariableOrFloat(uint8_t variableOpcode, uint8_t constantOpcode);
    // A flag Mx, or else a value 0 or 1 (fault `valueFault`), into b.
    int FlagOrValue(uint8_t flagOpcode, uint8_t valueOpcode, int valueFault);

    SourceCursor cur_;
    LineEntry8& out_;
};

}  // namespace plc::v110
