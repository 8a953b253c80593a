// Decoder of the V1.10 8-byte code records: one entry back into the source
// line that compiles to it, or an error text for a record that holds none.
#include <string>

#include "platform/base/format.h"
#include "plceditor/core/operand_scanners.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v110/opcodes8.h"
#include "plceditor/v110/v110_names.h"

namespace plc {

namespace {

using platform::Format;

constexpr std::string_view kLogicOperators[] = {"&", "|", "^"};
// Drive value compared by a jump, by operand a.
constexpr std::string_view kDriveValues[] = {"", "ACTVAL", "REFVAL"};
constexpr std::string_view kStopKinds[] = {"B", "M", "0"};

// Texts of records that hold no valid statement.

// Statements whose text is one format of fixed operands.
enum class Operands : uint8_t {
    kNone,
    kA,         // a
    kB,         // b
    kAB,        // a, b
    kAInteger,  // a, bytes 4-7 as a signed integer
    kAFloat,    // a, bytes 4-7 as a float, written as FloatConstantText
};

struct PlainForm {
    uint8_t opcode;
    Operands operands;
    std::string_view format;
};

constexpr PlainForm kPlainForms[] = {
    {2, Operands::kNone, "JMP END"},
    {35, Operands::kNone, "RET"},
    {36, Operands::kNone, "BRKPT"},
    {37, Operands::kNone, "NOP"},
    {42, Operands::kAB, "SET F[C%03d] = F%03d"},
    {43, Operands::kAB, "SET F%03d = F[C%03d]"},
    {49, Operands::kAB, "SET F%03d = F%03d"},
    {50, Operands::kAB, "SET F%03d = H%03d"},
    {51, Operands::kAB, "SET F%03d + F%03d"},
    {52, Operands::kAFloat, "SET F%03d + %s"},
    {53, Operands::kAB, "SET F%03d - F%03d"},
    {54, Operands::kAFloat, "SET F%03d - %s"},
    {55, Operands::kAB, "SET F%03d * F%03d"},
    {56, Operands::kAFloat, "SET F%03d * %s"},
    {57, Operands::kAB, "SET F%03d : F%03d"},
    {58, Operands::kAFloat, "SET F%03d : %s"},
    {59, Operands::kAB, "SET F%03d = ROUND F%03d"},
    {60, Operands::kAB, "SET F%03d = ABS F%03d"},
    {61, Operands::kAFloat, "SET F%03d = %s"},
    {62, Operands::kAB, "SET H[C%03d] = H%03d"},
    {63, Operands::kAB, "SET H%03d = H[C%03d]"},
    {69, Operands::kAB, "SET H%03d = F%03d"},
    {70, Operands::kAB, "SET H%03d = H%03d"},
    {71, Operands::kAB, "SET H%03d = C%03d"},
    {72, Operands::kAB, "SET H%03d = M%03d"},
    {73, Operands::kAB, "SET H%03d = Z%03d"},
    {74, Operands::kAB, "SET H%03d & H%03d"},
    {75, Operands::kAB, "SET H%03d | H%03d"},
    {76, Operands::kAB, "SET H%03d ^ H%03d"},
    {77, Operands::kAB, "SET H%03d << H%03d"},
    {78, Operands::kAB, "SET H%03d << %02d"},
    {79, Operands::kAB, "SET H%03d >> H%03d"},
    {80, Operands::kAB, "SET H%03d >> %02d"},
    {81, Operands::kAB, "SET H%03d + H%03d"},
    {82, Operands::kAInteger, "SET H%03d + %ld"},
    {83, Operands::kAB, "SET H%03d - H%03d"},
    {84, Operands::kAInteger, "SET H%03d - %ld"},
    {85, Operands::kAB, "SET H%03d * H%03d"},
    {86, Operands::kAInteger, "SET H%03d * %ld"},
    {87, Operands::kAB, "SET H%03d : H%03d"},
    {88, Operands::kAInteger, "SET H%03d : %ld"},
    {89, Operands::kAB, "SET H%03d %% H%03d"},
    {90, Operands::kAInteger, "SET H%03d %% %ld"},
    {91, Operands::kAB, "SET H%03d = ABS H%03d"},
    {92, Operands::kAInteger, "SET H%03d = %ld"},
    {93, Operands::kAB, "SET M[C%03d] = M%03d"},
    {94, Operands::kAB, "SET M%03d = M[C%03d]"},
    {96, Operands::kAB, "SET M%03d = M%03d"},
    {97, Operands::kAB, "SET M%03d = H%03d"},
    {100, Operands::kAB, "SET M%03d & M%03d"},
    {101, Operands::kAB, "SET M%03d | M%03d"},
    {102, Operands::kAB, "SET M%03d ^ M%03d"},
    {103, Operands::kAB, "SET M%03d = %d"},
    {104, Operands::kAB, "SET C%03d = C%03d"},
    {105, Operands::kAB, "SET C%03d = H%03d"},
    {106, Operands::kAB, "SET C%03d + H%03d"},
    {107, Operands::kAB, "SET C%03d + %d"},
    {108, Operands::kAB, "SET C%03d - H%03d"},
    {109, Operands::kAB, "SET C%03d - %d"},
    {110, Operands::kAB, "SET C%03d = %d"},
    {111, Operands::kAB, "SET Z%03d = H%03d"},
    {112, Operands::kAInteger, "SET Z%03d = %ld"},
    {123, Operands::kA, "INV H%03d"},
    {124, Operands::kA, "INV M%03d"},
    {126, Operands::kA, "WAIT H%03d"},
    {128, Operands::kNone, "WAIT PAR"},
    {133, Operands::kA, "GO 0 + H%03d"},
    {134, Operands::kNone, "GO 0"},
    {156, Operands::kAFloat, "SET F[C%03d] = %s"},
    {157, Operands::kAInteger, "SET H[C%03d] = %ld"},
    {158, Operands::kAB, "SET M[C%03d] = %d"},
    {163, Operands::kNone, "WAIT REF"},
    {164, Operands::kNone, "WAIT ROT_0"},
    {166, Operands::kB, "GO V H%03d"},
    {171, Operands::kA, "GO SYN %01d"},
};

const PlainForm* FindPlainForm(uint8_t opcode) {
    for (const PlainForm& form : kPlainForms) {
        if (form.opcode == opcode) return &form;
    }
    return nullptr;
}

std::string Name(std::span<const NamedCode> table, int code) {
    return std::string(DisplayNameForCode(table, table.size(), code));
}

std::string Io(bool output, int code, bool& known) {
    std::string name;
    known = ioName(output, code, name);
    return name;
}

// Builds the text of one entry; `ok` turns false for an error text.
class EntryDecoder {
public:
    EntryDecoder(const LineEntry8& entry, int index) : r_(entry), index_(index) {}

    bool Decode(std::string& text) {
        text = Statement();
        return ok_;
    }

private:
    std::string Statement();
    std::string Plain(const PlainForm& form) const;
    std::string Jump();
    std::string Set();
    std::string Other();

    // "N%03d " and the statement.
    std::string Line(const std::string& statement) const { return Format("N%03d ", index_) + statement; }
    std::string Error(const std::string& text) {
        ok_ = false;
        return text;
    }
    // " N%03d", or " END" for the END entry.
    std::string Target() const {
        return r_.Target() == op8::kEndTarget ? std::string(" END") : Format(" N%03d", r_.Target());
    }
    std::string FloatValue() const { return FloatConstantText(r_.Constant()); }
    int32_t IntValue() const { return static_cast<int32_t>(r_.Constant()); }

    const LineEntry8& r_;
    int index_;
    bool ok_ = true;
};

std::string EntryDecoder::Statement() {
    const uint8_t op = r_.Opcode();
    if (op == op8::kNoCode) return Error(Format(kNoCodeFormat, index_));
    if (op > op8::kLastDefined) return Error(std::string(kUnknownOpcodeText));
    if (op >= op8::kReservedFirst && op <= op8::kReservedLast)
        return ReservedCommandRemark(op - op8::kReservedFirst + 1);
    if (const PlainForm* form = FindPlainForm(op)) return Plain(*form);
    if (op <= op8::kCall || op == op8::kJumpRxMessageInt || op == op8::kJumpRxMessageFloat || op == op8::kJumpRef ||
        op == op8::kJumpRot0 || op == op8::kJumpStatus)
        return Jump();
    if (op >= op8::kSetFloatTarget && op <= op8::kSetParaN + 1) return Set();
    return Other();
}

std::string EntryDecoder::Plain(const PlainForm& form) const {
    switch (form.operands) {
        case Operands::kNone:
            return Line(std::string(form.format));
        case Operands::kA:
            return Line(Format(form.format, r_.A()));
        case Operands::kB:
            return Line(Format(form.format, r_.B()));
        case Operands::kAB:
            return Line(Format(form.format, r_.A(), r_.B()));
        case Operands::kAInteger:
            return Line(Format(form.format, r_.A(), IntValue()));
        case Operands::kAFloat:
            return Line(Format(form.format, r_.A(), FloatValue()));
    }
    return Line(std::string(form.format));
}

std::string EntryDecoder::Jump() {
    const uint8_t op = r_.Opcode();
    const int a = r_.A();
    const int d = r_.D();
    const int e = r_.E();
    if (op == op8::kJump) return Line("JMP" + Target());
    if (op == op8::kCall) return Line("CALL" + Target());

    if ((op >= op8::kJumpFloatCompare && op < op8::kJumpFloatZero) ||
        (op >= op8::kJumpIntCompare && op < op8::kJumpIntZero)) {
        const bool isFloat = op < op8::kJumpFloatZero;
        const char letter = isFloat ? 'F' : 'H';
        const std::string_view compare =
            kCompareOperators[op - (isFloat ? op8::kJumpFloatCompare : op8::kJumpIntCompare)];
        if (a > 2) {
            return Error(Format("; ERROR: JMP (%cxx/ACTVAL/REFVAL %s %cxx) Nxx/END", letter, compare, letter));
        }
        const std::string left = a == 0 ? Format("%c%03d", letter, d) : std::string(kDriveValues[a]);
        return Line(Format("JMP (%s %s %c%03d)", left, compare, letter, e) + Target());
    }
    if (op == op8::kJumpFloatZero || op == op8::kJumpFloatZero + 1) {
        const std::string_view compare = kCompareOperators[op - op8::kJumpFloatZero];
        if (a != 0) return Error("; ERROR: JMP (Fxx/ACTVAL/REFVAL != 0) Nxx/END");
        return Line(Format("JMP (F%03d %s 0)", d, compare) + Target());
    }
    if (op == op8::kJumpIntZero || op == op8::kJumpIntZero + 1) {
        const std::string_view compare = kCompareOperators[op - op8::kJumpIntZero];
        if (a > 2) return Error(Format("; ERROR: JMP (Hxx/ACTVAL/REFVAL %s 0) Nxx/END", compare));
        const std::string left = a == 0 ? Format("H%03d", d) : std::string(kDriveValues[a]);
        return Line(Format("JMP (%s %s 0)", left, compare) + Target());
    }
    if (op == op8::kJumpFlagEqual || op == op8::kJumpFlagEqual + 1) {
        const std::string_view compare = kCompareOperators[op - op8::kJumpFlagEqual];
        return Line(Format("JMP (M%03d %s M%03d)", d, compare, e) + Target());
    }
    if (op >= op8::kJumpFlagInput && op < op8::kJumpFlagValue) {
        const bool output = op >= op8::kJumpFlagOutput;
        const std::string_view logic = kLogicOperators[op - (output ? op8::kJumpFlagOutput : op8::kJumpFlagInput)];
        bool known = false;
        const std::string io = Io(output, e, known);
        const std::string text = Format("JMP (M%03d %s %s)", d, logic, io) + Target();
        return known ? Line(text) : Error("ERROR: " + Line(text));
    }
    if (op == op8::kJumpFlagValue) return Line(Format("JMP (M%03d = %d)", d, e) + Target());
    if (op == op8::kJumpInputValue || op == op8::kJumpOutputValue) {
        bool known = false;
        const std::string io = Io(op == op8::kJumpOutputValue, d, known);
        const std::string text = Format("JMP (%s = %d)", io, e) + Target();
        return known ? Line(text) : Error("ERROR: " + Line(text));
    }
    if (op == op8::kJumpCounter || op == op8::kJumpCounter + 1) {
        const std::string_view compare = kCompareOperators[op - op8::kJumpCounter];
        return Line(Format("JMP (C%03d %s %d)", d, compare, e) + Target());
    }
    if (op == op8::kJumpTimerZero) return Line(Format("JMP (Z%03d = 0)", d) + Target());
    if (op == op8::kJumpTimerZero + 1) {
        // The form with a label shows the stored value, the END form a 0.
        if (r_.Target() == op8::kEndTarget) return Line(Format("JMP (Z%03d != 0) END", d));
        return Line(Format("JMP (Z%03d != %d)", d, e) + Target());
    }
    if (op == op8::kJumpRxMessageInt || op == op8::kJumpRxMessageFloat) {
        const char letter = op == op8::kJumpRxMessageInt ? 'H' : 'F';
        return Line(Format("JMP(RXMSG, %d, %c%03d)", d, letter, e) + Target());
    }
    if (op == op8::kJumpRef || op == op8::kJumpRot0) {
        const std::string_view state = op == op8::kJumpRef ? "REF" : "ROT_0";
        const std::string value = d == 0 ? Format("M%03d", e) : Format("%d", e);
        return Line(Format("JMP (%s = %s)", state, value) + Target());
    }
    // Status jump.
    if (d > v110::kLastStatusCode) return Error("; ERROR: SET STA_??? =/!= M/Val");
    const std::string status = Name(v110::kStatusNames, d);
    std::string compare;
    switch (a) {
        case op8::kStatusNotFlag:
            compare = Format("!= M%03d", e);
            break;
        case op8::kStatusIsFlag:
            compare = Format("= M%03d", e);
            break;
        case op8::kStatusNotValue:
            compare = Format("!= %d", e);
            break;
        case op8::kStatusIsValue:
            compare = Format("= %d", e);
            break;
        default:
            return Error(Format("; ERROR: JMP(%s ??? [%X] M/Val", status, a));
    }
    return Line(Format("JMP (%s %s)", status, compare) + Target());
}

std::string EntryDecoder::Set() {
    const uint8_t op = r_.Opcode();
    const int a = r_.A();
    const int b = r_.B();
    const int c = r_.C();
    const int n = r_.Number();
    switch (op) {
        case op8::kSetFloatTarget:
            if (a != v110::kFloatTargetRefVal)
                return Error(Format("ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = F%03d", index_, a, b));
            return Line(Format("SET REFVAL = F%03d", b));
        case op8::kSetIntTarget:
            if (a > v110::kLastIntegerTarget)
                return Error(Format("ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = H%03d", index_, a, b));
            return Line(Format("SET %s = H%03d", Name(v110::kIntegerTargetNames, a), b));
        case op8::kSetControlFlag:
        case op8::kSetControlValue:
            if (a > v110::kLastControlBit)
                return Error(Format("ERROR: N%03d SET UNKNOWN VALUE NR(%03d) = M%03d", index_, a, b));
            return Line(Format(
                op == op8::kSetControlFlag ? "SET %s = M%03d" : "SET %s = %d", Name(v110::kControlBitNames, a), b));
        case op8::kSetFloatFromValue:
            if (b > v110::kLastFloatSource)
                return Error(Format("ERROR: N%03d SET F%03d = UNKNOWN VALUE NR(%03d)", index_, a, b));
            return Line(Format("SET F%03d = %s", a, Name(v110::FloatSourceNames(), b)));
        case op8::kSetIntFromValue:
            if (b > v110::kLastIntegerSource)
                return Error(Format("ERROR: N%03d SET H%03d = UNKNOWN VALUE NR(%03d)", index_, a, b));
            return Line(Format("SET H%03d = %s", a, Name(v110::kIntegerSourceNames, b)));
        case op8::kSetFlagStatus:
            if (b > v110::kLastStatusCode)
                return Error(Format("ERROR: N%03d SET M%03d = UNKNOWN VALUE NR(%03d)", index_, a, b));
            return Line(Format("SET M%03d = %s", a, Name(v110::kStatusNames, b)));
        case op8::kSetFlagInput:
        case op8::kSetFlagOutput: {
            bool known = false;
            const std::string io = Io(op == op8::kSetFlagOutput, b, known);
            if (!known) return Error(Format("ERROR: N%03d SET M%03d = %s", index_, a, io));
            return Line(Format("SET M%03d = %s", a, io));
        }
        case op8::kSetOutputFlag:
        case op8::kSetOutputValue: {
            bool known = false;
            const std::string io = Io(true, a, known);
            const std::string text = Format(op == op8::kSetOutputFlag ? "SET %s = M%03d" : "SET %s = %d", io, b);
            return known ? Line(text) : Error("ERROR: " + Line(text));
        }
        default:
            break;
    }
    // Parameter reads into F (45..48) and H (65..68), writes from F and H
    // (115..122, F for odd opcodes): PARA[Hb, Hc], PARA[Hb], PARA[n, s],
    // PARA[n]. A read keeps the sub-index in b, a write in c.
    const bool write = op >= op8::kSetParaHH;
    const int first = write ? op8::kSetParaHH : (op >= op8::kSetIntParaHH ? op8::kSetIntParaHH : op8::kSetFloatParaHH);
    const int kind = write ? (op - first) / 2 : op - first;
    std::string para;
    switch (kind) {
        case 0:
            para = Format("PARA[H%03d, H%03d]", b, c);
            break;
        case 1:
            para = Format("PARA[H%03d]", b);
            break;
        case 2:
            para = Format("PARA[%03d, %03d]", n, write ? c : b);
            break;
        default:
            para = Format("PARA[%03d]", n);
            break;
    }
    if (write) return Line(Format("SET %s = %c%03d", para, (op - first) % 2 == 0 ? 'F' : 'H', a));
    return Line(Format("SET %c%03d = ", first == op8::kSetIntParaHH ? 'H' : 'F', a) + para);
}

std::string EntryDecoder::Other() {
    const uint8_t op = r_.Opcode();
    const int a = r_.A();
    const int b = r_.B();
    const int c = r_.C();
    const int e = r_.E();
    const char direction = c == 0 ? 'A' : 'R';
    // " V H%03d" unless e says the speed operand is absent.
    const std::string speed = e == 1 ? std::string() : Format(" V H%03d", b);
    switch (op) {
        case op8::kInvertOutput: {
            bool known = false;
            const std::string io = Io(true, a, known);
            if (!known) return Error(Format("ERROR: N%03d INV %s", index_, io));
            return Line("INV " + io);
        }
        case op8::kWaitConstant:
            return Line(Format("WAIT %lu", r_.Constant()));
        case op8::kGoWaitAbsolute:
        case op8::kGoWaitAbsolute + 1:
            return Line(Format("GO W %c H%03d", direction, a) + speed);
        case op8::kGoAbsolute:
        case op8::kGoAbsolute + 1:
            return Line(Format("GO %c H%03d", direction, a) + speed);
        case op8::kSetRxMessage:
            return Line(Format("SET RXMSG[%d, %d, %d]", b, r_.Number(), c));
        case op8::kSendNmtCommand:
            return Line(Format("SEND NMTCMD[%d, %d]", b, c));
        case op8::kSendTxMessageInt:
        case op8::kSendTxMessageFloat:
            return Line(
                Format("SEND TXMSG[%d, %d] = %c%03d", r_.Number(), b, op == op8::kSendTxMessageInt ? 'H' : 'F', a));
        case op8::kSetRefPos: {
            std::string text = "SET REFPOS = ACTPOS";
            if (c != 0) text += Format("[%d]", c);
            if (a == 1) text += Format(" + H%03d", b);
            return Line(text);
        }
        case op8::kSetAccelerationRamp:
        case op8::kSetDecelerationRamp: {
            const std::string_view ramp = op == op8::kSetAccelerationRamp ? "ACCR" : "DECR";
            if (b == 0) return Line(Format("SET %s = H%03d", ramp, a));
            if (b == 1) return Line(Format("SET %s = %d%%", ramp, a));
            return Error(Format("; ERROR: SET %s = ???", ramp));
        }
        case op8::kStop:
            if (a > 2) return Error("; ERROR: STOP x");
            return Line("STOP " + std::string(kStopKinds[a]));
        case op8::kGoWaitRelativeTarget:
            return Line(Format("GO W RT H%03d", a) + speed);
        case op8::kGoRelativeTarget:
            return Line(Format("GO RT H%03d", a) + speed);
        case op8::kGoWaitTable:
        case op8::kGoTable: {
            const std::string_view head = op == op8::kGoWaitTable ? "GO W T[" : "GO T[";
            static constexpr std::string_view kTableOperands[] = {"H%03d]", "C%03d]", "%d]"};
            if (e > 2) return Error("; ERROR: " + std::string(head) + "???]");
            return Line(std::string(head) + Format(kTableOperands[e], a));
        }
        case op8::kSetFlagCam:
            return Line(Format("SET M%03d = CM%02d", a, b + 1));
        default:
            return Error(std::string(kUnknownOpcodeText));
    }
}

}  // namespace

bool LineTable8::decodeLine8(std::string& text, int index) const {
    if (index < 0 || index >= kEntries) {
        text = platform::Format(kNoCodeFormat, index);
        return false;
    }
    return EntryDecoder(entries_[static_cast<std::size_t>(index)], index).Decode(text);
}

}  // namespace plc
