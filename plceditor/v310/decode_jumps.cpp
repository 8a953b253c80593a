// Decoder texts of the jump records.
#include "platform/base/format.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_writer.h"

namespace plc::decoder {

namespace {

using platform::Format;

using namespace layout;

// Sub-kinds of the status jump (byte a).
constexpr int kStatusNotFlag = 0;
constexpr int kStatusFlag = kStatusEqual;
constexpr int kStatusNotValue = kStatusConstant;
constexpr int kStatusValue = kStatusConstant + kStatusEqual;

// 'JMP (Fa op Fb)', 'JMP (ACTVAL op Fb)', 'JMP (REFVAL op Fb)', or with H.
Written CompareJump(StatementWriter& w, std::string& out, char letter, int first) {
    const CodeRecord& r = w.Record();
    const std::string_view symbol = kCompareOperators[r.Opcode() - first];
    std::string left;
    switch (r.OperandA()) {
        case kCompareVariable:
            left = Format("%c%03d", letter, r.OperandB());
            break;
        case kCompareActualValue:
            left = "ACTVAL";
            break;
        case kCompareReferenceValue:
            left = "REFVAL";
            break;
        default:
            out = Format("; ERROR: JMP (%cxx/ACTVAL/REFVAL %s %cxx) Nxx/END", letter, symbol, letter);
            return Written::kFault;
    }
    out = Format("JMP (%s %s %c%03d) %s", left, symbol, letter, r.OperandC(), w.Target());
    return Written::kStatement;
}

// 'JMP (Fa = 0)' and 'JMP (Fa != 0)'.
Written FloatZeroJump(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    if (r.OperandA() != kCompareVariable) {
        out = "; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END";
        return Written::kFault;
    }
    const char* symbol = r.Opcode() == op::kJumpFloatZero ? "=" : "!=";
    out = Format("JMP (F%03d %s 0) %s", r.OperandB(), symbol, w.Target());
    return Written::kStatement;
}

// 'JMP (Ha = 0)' and 'JMP (Ha != 0)', also with ACTVAL or REFVAL.
Written IntegerZeroJump(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const char* symbol = r.Opcode() == op::kJumpIntegerZero ? "=" : "!=";
    std::string left;
    switch (r.OperandA()) {
        case kCompareVariable:
            left = Format("H%03d", r.OperandB());
            break;
        case kCompareActualValue:
            left = "ACTVAL";
            break;
        case kCompareReferenceValue:
            left = "REFVAL";
            break;
        default:
            out = Format("; ERROR: JMP (Hxx/ACTVAL/REFVAL %s 0) Nxx/END", symbol);
            return Written::kFault;
    }
    out = Format("JMP (%s %s 0) %s", left, symbol, w.Target());
    return Written::kStatement;
}

// 'JMP (in op in)', 'JMP (in op out)', 'JMP (out op out)'.
Written IoLogicJump(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const bool leftOutput = r.Opcode() == op::kJumpOutputOutput;
    const bool rightOutput = r.Opcode() != op::kJumpInputInput;
    std::string left;
    std::string right;
    const bool known = ioName(leftOutput, r.OperandB(), left) && ioName(rightOutput, r.OperandC(), right) &&
                       r.OperandA() < kOperatorChars.size();
    if (!known) {
        const char* kinds = r.Opcode() == op::kJumpInputInput    ? "Ixx =&|^ Ixx"
                            : r.Opcode() == op::kJumpInputOutput ? "Ixx =&|^ Oxx"
                                                                 : "Oxx =&|^ Oxx";
        out = Format("ERROR: N%03d JMP (%s) Nyyy/END", w.Label(), kinds);
        return Written::kFault;
    }
    out = Format("JMP (%s %c %s) %s", left, w.Operator(r.OperandA()), right, w.Target());
    return Written::kStatement;
}

Written StatusJump(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const std::string_view name = DisplayNameForCode(kStatusNames, w.Dialect().statusNames, r.OperandB());
    std::string condition;
    switch (r.OperandA()) {
        case kStatusNotFlag:
            condition = Format("!= M%03d", r.OperandC());
            break;
        case kStatusFlag:
            condition = Format("= M%03d", r.OperandC());
            break;
        case kStatusNotValue:
            condition = Format("!= %d", r.OperandC());
            break;
        case kStatusValue:
            condition = Format("= %d", r.OperandC());
            break;
    }
    if (condition.empty() || name == kUnknownNameText) {
        out = Format("; ERROR: JMP(STA_ ??? [%X] M/Val", r.OperandA());
        return Written::kFault;
    }
    out = Format("JMP (STA_%s %s) %s", name, condition, w.Target());
    return Written::kStatement;
}

Written ProgramJump(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    switch (r.OperandA()) {
        case op::kProgramJumpByNumber:
            out = Format("JMP P%02d", r.OperandB());
            return Written::kStatement;
        case op::kProgramJumpByVariable:
            out = Format("JMP P[H%03d]", r.OperandB());
            return Written::kStatement;
        default:
            out = "; ERROR: UNKOWN OPCODE JMP PRG P.../H.../....";
            return Written::kFault;
    }
}

}  // namespace

Written WriteJumpStatement(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int opcode = r.Opcode();
    const std::string& target = w.Target();
    if (opcode >= op::kJumpFloatCompareFirst && opcode <= op::kJumpFloatCompareLast) {
        return CompareJump(w, out, 'F', op::kJumpFloatCompareFirst);
    }
    if (opcode >= op::kJumpIntegerCompareFirst && opcode <= op::kJumpIntegerCompareLast) {
        return CompareJump(w, out, 'H', op::kJumpIntegerCompareFirst);
    }
    switch (opcode) {
        case op::kJump:
            out = Format("JMP %s", target);
            return Written::kStatement;
        case op::kJumpFloatZero:
        case op::kJumpFloatNotZero:
            return FloatZeroJump(w, out);
        case op::kJumpIntegerZero:
        case op::kJumpIntegerNotZero:
            return IntegerZeroJump(w, out);
        case op::kJumpFlagLogic:
            out = Format("JMP (M%03d %c M%03d) %s", r.OperandB(), w.Operator(r.OperandA()), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpFlagNotEqual:
            out = Format("JMP (M%03d != M%03d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpFlagInput:
        case op::kJumpFlagOutput:
            out = Format("JMP (M%03d %c %s) %s",
                         r.OperandB(),
                         w.Operator(r.OperandA()),
                         w.Io(opcode == op::kJumpFlagOutput, r.OperandC()),
                         target);
            return Written::kStatement;
        case op::kJumpFlagProbe:
            out = Format("JMP (M%03d %c TP%d) %s", r.OperandB(), w.Operator(r.OperandA()), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpFlagConstant:
            out = Format("JMP (M%03d = %d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpInputConstant:
        case op::kJumpOutputConstant:
            out =
                Format("JMP (%s = %d) %s", w.Io(opcode == op::kJumpOutputConstant, r.OperandB()), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpCounterEqual:
            out = Format("JMP (C%03d = %d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpCounterNotEqual:
            out = Format("JMP (C%03d != %d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpTimerZero:
            out = Format("JMP (Z%03d = %d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpTimerNotZero:
            // A timer is only compared with 0; the END form says so whatever c holds.
            out = r.EndFlag() ? Format("JMP (Z%03d != 0) END", r.OperandB())
                              : Format("JMP (Z%03d != %d) %s", r.OperandB(), r.OperandC(), target);
            return Written::kStatement;
        case op::kCall:
            out = Format("CALL %s", target);
            return Written::kStatement;
        case op::kJumpReceiveInteger:
        case op::kJumpReceiveFloat:
            out = Format("JMP(RXMSG, %d, %c%03d) %s",
                         r.OperandB(),
                         opcode == op::kJumpReceiveInteger ? 'H' : 'F',
                         r.OperandC(),
                         target);
            return Written::kStatement;
        case op::kJumpHoming:
        case op::kJumpStandstill: {
            const char* what = opcode == op::kJumpHoming ? "REF" : "ROT_0";
            out = r.OperandB() == 0 ? Format("JMP (%s = M%03d) %s", what, r.OperandC(), target)
                                    : Format("JMP (%s = %d) %s", what, r.OperandC(), target);
            return Written::kStatement;
        }
        case op::kJumpStatus:
            return StatusJump(w, out);
        case op::kProgramJump:
            return ProgramJump(w, out);
        case op::kJumpInputInput:
        case op::kJumpInputOutput:
        case op::kJumpOutputOutput:
            return IoLogicJump(w, out);
        case op::kJumpProbeConstant:
            out = Format("JMP (TP%d %c %d) %s", r.OperandB(), w.Operator(r.OperandA()), r.OperandC(), target);
            return Written::kStatement;
        case op::kJumpProbeProbe:
            out = Format("JMP (TP%d %c TP%d) %s", r.OperandB(), w.Operator(r.OperandA()), r.OperandC(), target);
            return Written::kStatement;
        default:
            return Written::kNotInGroup;
    }
}

}  // namespace plc::decoder
