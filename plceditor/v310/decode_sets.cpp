// Decoder texts of the SET records: drive targets, control bits, variables,
// outputs, parameters, ramps, touch probes and event programs.
#include "platform/base/format.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_writer.h"

namespace plc::decoder {

namespace {

using platform::Format;

struct OpcodeFormat {
    uint8_t opcode;
    const char* format;
};

// Statements written from bytes a and b.
constexpr OpcodeFormat kFormatsOfAB[] = {
    {42, "SET F[C%03d] = F%03d"},     {43, "SET F%03d = F[C%03d]"},  {49, "SET F%03d = F%03d"},
    {50, "SET F%03d = H%03d"},        {51, "SET F%03d + F%03d"},     {53, "SET F%03d - F%03d"},
    {55, "SET F%03d * F%03d"},        {57, "SET F%03d : F%03d"},     {59, "SET F%03d = ROUND F%03d"},
    {62, "SET H[C%03d] = H%03d"},     {63, "SET H%03d = H[C%03d]"},  {69, "SET H%03d = F%03d"},
    {70, "SET H%03d = H%03d"},        {71, "SET H%03d = C%03d"},     {72, "SET H%03d = M%03d"},
    {73, "SET H%03d = Z%03d"},        {74, "SET H%03d & H%03d"},     {75, "SET H%03d | H%03d"},
    {76, "SET H%03d ^ H%03d"},        {77, "SET H%03d << H%03d"},    {78, "SET H%03d << %02d"},
    {79, "SET H%03d >> H%03d"},       {80, "SET H%03d >> %02d"},     {81, "SET H%03d + H%03d"},
    {83, "SET H%03d - H%03d"},        {85, "SET H%03d * H%03d"},     {87, "SET H%03d : H%03d"},
    {89, "SET H%03d %% H%03d"},       {91, "SET H%03d = ABS H%03d"}, {93, "SET M[C%03d] = M%03d"},
    {94, "SET M%03d = M[C%03d]"},     {96, "SET M%03d = M%03d"},     {100, "SET M%03d & M%03d"},
    {101, "SET M%03d | M%03d"},       {102, "SET M%03d ^ M%03d"},    {103, "SET M%03d = %d"},
    {104, "SET C%03d = C%03d"},       {105, "SET C%03d = H%03d"},    {106, "SET C%03d + H%03d"},
    {107, "SET C%03d + %d"},          {108, "SET C%03d - H%03d"},    {109, "SET C%03d - %d"},
    {110, "SET C%03d = %d"},          {111, "SET Z%03d = H%03d"},    {158, "SET M[C%03d] = %d"},
    {188, "SET H%03d = ROUND F%03d"},
};

// Statements written from byte a and the integer constant K.
constexpr OpcodeFormat kFormatsOfAK[] = {
    {82, "SET H%03d + %ld"},
    {84, "SET H%03d - %ld"},
    {86, "SET H%03d * %ld"},
    {88, "SET H%03d : %ld"},
    {90, "SET H%03d %% %ld"},
    {92, "SET H%03d = %ld"},
    {112, "SET Z%03d = %ld"},
    {157, "SET H[C%03d] = %ld"},
};

// Statements written from byte a and the float constant R.
constexpr OpcodeFormat kFormatsOfAR[] = {
    {52, "SET F%03d + %s"},
    {54, "SET F%03d - %s"},
    {56, "SET F%03d * %s"},
    {58, "SET F%03d : %s"},
    {61, "SET F%03d = %s"},
    {156, "SET F[C%03d] = %s"},
};

const char* FindFormat(std::span<const OpcodeFormat> table, int opcode) {
    for (const OpcodeFormat& entry : table) {
        if (entry.opcode == opcode) return entry.format;
    }
    return nullptr;
}

constexpr std::string_view kFloatFunctionNames[] = {"ABS", "SQRT", "LOG", "SIN", "COS", "EXP"};
// Operator texts of the three-address records by byte d.
constexpr std::string_view kFloatThreeAddressTexts[] = {"+ F", "- F", "* F", ": F", "% F", "= F"};
constexpr std::string_view kIntegerThreeAddressTexts[] = {
    "& H", "| H", "^ H", "<< H", ">> H", "+ H", "- H", "* H", ": H", "% H", "= H"};

using namespace layout;

// 'PARA[...]' read into F (first = 45) or H (first = 65).
std::string ParameterRead(const CodeRecord& r, char letter, int first) {
    switch (r.Opcode() - first) {
        case 0:
            return Format("SET %c%03d = PARA[H%03d, H%03d]", letter, r.OperandA(), r.OperandB(), r.OperandC());
        case 1:
            return Format("SET %c%03d = PARA[H%03d]", letter, r.OperandA(), r.OperandB());
        case 2:
            return Format("SET %c%03d = PARA[%03d, %03d]", letter, r.OperandA(), r.Target(), r.OperandB());
        default:
            return Format("SET %c%03d = PARA[%03d]", letter, r.OperandA(), r.Target());
    }
}

// 'SET PARA[...] = Fa' and '= Ha', opcodes 115-122.
std::string ParameterWrite(const CodeRecord& r) {
    const int k = r.Opcode() - op::kParaWriteFirst;
    const char source = (k % 2 == 0) ? 'F' : 'H';
    switch (k / 2) {
        case 0:
            return Format("SET PARA[H%03d, H%03d] = %c%03d", r.OperandB(), r.OperandC(), source, r.OperandA());
        case 1:
            return Format("SET PARA[H%03d] = %c%03d", r.OperandB(), source, r.OperandA());
        case 2:
            return Format("SET PARA[%03d, %03d] = %c%03d", r.Target(), r.OperandC(), source, r.OperandA());
        default:
            return Format("SET PARA[%03d] = %c%03d", r.Target(), source, r.OperandA());
    }
}

// An operand that the form byte turns into a variable ("H%03d") or leaves
// a number.
std::string NumberOrVariable(int value, int form, int bit, char letter) {
    return (form & bit) != 0 ? Format("%c%03d", letter, value) : Format("%d", value);
}

Written FloatFunction(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int function = r.OperandE();
    if (function < static_cast<int>(std::size(kFloatFunctionNames))) {
        out = Format("SET F%03d = %s F%03d", r.OperandA(), kFloatFunctionNames[function], r.OperandD());
        return Written::kStatement;
    }
    if (function == kFloatPower) {
        out = Format("SET F%03d = POW F%03d F%03d", r.OperandA(), r.OperandC(), r.OperandD());
        return Written::kStatement;
    }
    out = Format("ERROR: N%03d SET F%03d = F%03d MATH...", w.Label(), r.OperandA(), r.OperandD());
    return Written::kFault;
}

// 'SET Fa = Fb op Fc' and 'SET Ha = Hb op Hc'.
Written ThreeAddress(StatementWriter& w, std::string& out, char letter, std::span<const std::string_view> texts) {
    const CodeRecord& r = w.Record();
    std::string_view text = "?";
    if (r.OperandD() < texts.size()) {
        text = texts[r.OperandD()];
    } else {
        w.Faulty();
    }
    out = Format("SET %c%03d = %c%03d %s%03d", letter, r.OperandA(), letter, r.OperandB(), text, r.OperandC());
    return Written::kStatement;
}

Written Ramp(const CodeRecord& r, std::string& out) {
    const char* which = r.Opcode() == op::kSetAccelerationRamp ? "ACCR" : "DECR";
    switch (r.OperandB()) {
        case 0:
            out = Format("SET %s = H%03d", which, r.OperandA());
            return Written::kStatement;
        case 1:
            out = Format("SET %s = %d%%", which, r.OperandA());
            return Written::kStatement;
        default:
            out = Format("; ERROR: SET %s = ???", which);
            return Written::kFault;
    }
}

Written TouchProbe(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int form = r.OperandE();
    if ((form & ~kProbeFormBits) != 0) {
        out = Format("ERROR: N%03d SET TP x/Hxxx SN x/Hxxx EG x/Hxx = y/Myyy", w.Label());
        return Written::kFault;
    }
    out = Format("SET TP %s SN %s EG %s = %s",
                 NumberOrVariable(r.OperandA(), form, kProbeChannelInH, 'H'),
                 NumberOrVariable(r.OperandB(), form, kProbeSnInH, 'H'),
                 NumberOrVariable(r.OperandC(), form, kProbeEdgeInH, 'H'),
                 NumberOrVariable(r.OperandD(), form, kProbeValueInM, 'M'));
    return Written::kStatement;
}

Written EventProgram(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int form = r.OperandE();
    if ((form & ~kEventFormBits) != 0) {
        out = Format("ERROR: N%03d SET EVPRG x/Hxxx = y/Myyy", w.Label());
        return Written::kFault;
    }
    out = Format("SET EVPRG %s = %s",
                 NumberOrVariable(r.OperandA(), form, kEventNumberInH, 'H'),
                 NumberOrVariable(r.OperandD(), form, kEventValueInM, 'M'));
    return Written::kStatement;
}

// 'SET Mx op input' and 'SET Mx op output'; an unknown operator or code has
// one text for both.
Written FlagFromIo(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    std::string name;
    const bool known =
        ioName(r.Opcode() == op::kSetFlagOutput, r.OperandB(), name) && r.OperandC() < kOperatorChars.size();
    if (!known) {
        out = Format("ERROR: N%03d SET M%03d =&|^ %s", w.Label(), r.OperandA(), name);
        return Written::kFault;
    }
    out = Format("SET M%03d %c %s", r.OperandA(), w.Operator(r.OperandC()), name);
    return Written::kStatement;
}

// 'SET Mx = My op input' and 'op output'.
Written FlagThreeAddressIo(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    std::string name;
    const bool known =
        ioName(r.Opcode() == op::kFlagThreeAddressOutput, r.OperandC(), name) && r.OperandD() < kOperatorChars.size();
    if (!known) {
        out = Format("ERROR: N%03d SET Mxx = Myy & | ^ Ixx", w.Label());
        return Written::kFault;
    }
    out = Format("SET M%03d = M%03d %c %s", r.OperandA(), r.OperandB(), w.Operator(r.OperandD()), name);
    return Written::kStatement;
}

}  // namespace

Written WriteSetStatement(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int opcode = r.Opcode();
    const DecoderDialect& dialect = w.Dialect();
    if (const char* format = FindFormat(kFormatsOfAB, opcode)) {
        out = Format(format, r.OperandA(), r.OperandB());
        return Written::kStatement;
    }
    if (const char* format = FindFormat(kFormatsOfAK, opcode)) {
        out = Format(format, r.OperandA(), w.IntegerConstant());
        return Written::kStatement;
    }
    if (const char* format = FindFormat(kFormatsOfAR, opcode)) {
        out = Format(format, r.OperandA(), w.FloatConstant());
        return Written::kStatement;
    }
    if (opcode >= op::kSetFloatParaFirst && opcode <= op::kSetFloatParaLast) {
        out = ParameterRead(r, 'F', op::kSetFloatParaFirst);
        return Written::kStatement;
    }
    if (opcode >= op::kSetIntegerParaFirst && opcode <= op::kSetIntegerParaLast) {
        out = ParameterRead(r, 'H', op::kSetIntegerParaFirst);
        return Written::kStatement;
    }
    if (opcode >= op::kParaWriteFirst && opcode <= op::kParaWriteLast) {
        out = ParameterWrite(r);
        return Written::kStatement;
    }
    switch (opcode) {
        case op::kSetFloatTarget:
            out = Format("SET %s = F%03d", w.Lenient(floatTargetName(r.OperandA())), r.OperandB());
            return Written::kStatement;
        case op::kSetIntegerTarget:
            out = Format(
                "SET %s = H%03d", w.Lenient(integerTargetName(r.OperandA(), dialect.integerTargetNames)), r.OperandB());
            return Written::kStatement;
        case op::kSetControlBitFlag:
            out =
                Format("SET %s = M%03d", w.Name(kControlBitNames, kControlBitNames.size(), r.OperandA()), r.OperandB());
            return Written::kStatement;
        case op::kSetControlBitConstant:
            out = Format("SET %s = %d", w.Name(kControlBitNames, kControlBitNames.size(), r.OperandA()), r.OperandB());
            return Written::kStatement;
        case op::kSetFloatFromSource:
            out = Format(
                "SET F%03d = %s", r.OperandA(), w.Name(kFloatSourceNames, kFloatSourceNames.size(), r.OperandB()));
            return Written::kStatement;
        case op::kSetFloatFunction:
            return FloatFunction(w, out);
        case op::kSetIntegerFromSource:
            out = Format(
                "SET H%03d = %s", r.OperandA(), w.Lenient(integerSourceName(r.OperandB(), dialect.integerSourceNames)));
            return Written::kStatement;
        case op::kSetFlagStatus:
            out = Format("SET M%03d %c STA_%s",
                         r.OperandA(),
                         w.Operator(r.OperandC()),
                         w.Name(kStatusNames, dialect.statusNames, r.OperandB()));
            return Written::kStatement;
        case op::kSetFlagInteger:
            out = Format("SET M%03d %c H%03d", r.OperandA(), w.Operator(r.OperandC()), r.OperandB());
            return Written::kStatement;
        case op::kSetFlagInput:
        case op::kSetFlagOutput:
            return FlagFromIo(w, out);
        case op::kSetOutputFlag:
            out = Format("SET %s = M%03d", w.Io(true, r.OperandA()), r.OperandB());
            return Written::kStatement;
        case op::kSetOutputConstant:
            out = Format("SET %s = %d", w.Io(true, r.OperandA()), r.OperandB());
            return Written::kStatement;
        case op::kSetRefPos:
            out = "SET REFPOS = ACTPOS";
            if (r.OperandC() != 0) out += Format("[%d]", r.OperandC());
            if (r.OperandA() != 0) out += Format(" + H%03d", r.OperandB());
            return Written::kStatement;
        case op::kSetAccelerationRamp:
        case op::kSetDecelerationRamp:
            return Ramp(r, out);
        case op::kSetFlagCam:
            out = Format("SET M%03d %c CM%02d", r.OperandA(), w.Operator(r.OperandC()), r.OperandB() + 1);
            return Written::kStatement;
        case op::kSetTouchProbe:
            return TouchProbe(w, out);
        case op::kSetFlagProbe:
            out = Format("SET M%03d %c TP%d", r.OperandA(), w.Operator(r.OperandC()), r.OperandB());
            return Written::kStatement;
        case op::kFloatThreeAddress:
            return ThreeAddress(w, out, 'F', kFloatThreeAddressTexts);
        case op::kIntegerThreeAddress:
            return ThreeAddress(w, out, 'H', kIntegerThreeAddressTexts);
        case op::kFlagThreeAddressFlag:
            out = Format(
                "SET M%03d = M%03d %c M%03d", r.OperandA(), r.OperandB(), w.Operator(r.OperandD()), r.OperandC());
            return Written::kStatement;
        case op::kFlagThreeAddressInput:
        case op::kFlagThreeAddressOutput:
            return FlagThreeAddressIo(w, out);
        case op::kFlagThreeAddressInteger:
            out = Format(
                "SET M%03d = M%03d %c H%03d", r.OperandA(), r.OperandB(), w.Operator(r.OperandD()), r.OperandC());
            return Written::kStatement;
        case op::kSetEventProgram:
            return EventProgram(w, out);
        default:
            return Written::kNotInGroup;
    }
}

}  // namespace plc::decoder
