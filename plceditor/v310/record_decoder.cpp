// Record decoding entry points, the name lookups, the GO option texts and
// the V3.10 dialect.
#include "plceditor/v310/record_decoder.h"

#include "platform/base/format.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_writer.h"

namespace plc {

namespace {

using platform::Format;

// 'GO W A Hx', 'GO W R Hx', 'GO A Hx', 'GO R Hx', 'GO W RT Hx', 'GO RT Hx'
// with the options V, A, D, J, and 'GO V Hv' with A, D, J.
bool GoStatementV310(const CodeRecord& r, std::string& statement) {
    const char* kind = nullptr;
    switch (r.Opcode()) {
        case op::kGoWaitAbsolute:
            kind = "W A";
            break;
        case op::kGoWaitRelative:
            kind = "W R";
            break;
        case op::kGoAbsolute:
            kind = "A";
            break;
        case op::kGoRelative:
            kind = "R";
            break;
        case op::kGoWaitRelativeTarget:
            kind = "W RT";
            break;
        case op::kGoRelativeTarget:
            kind = "RT";
            break;
        case op::kGoSpeed:
            statement = Format("GO V H%03d %s", r.OperandB(), formatGoSpeedOptions(r));
            return true;
        default:
            return false;
    }
    statement = Format("GO %s H%03d %s", kind, r.OperandA(), formatGoOptions(r));
    return true;
}

std::string GoOption(const char* format, uint8_t value) {
    return value == layout::kAbsentOperand ? std::string() : Format(format, value);
}

}  // namespace

const DecoderDialect& DecoderV310() {
    static const DecoderDialect dialect = {
        op::kLastOpcodeV310,
        kStatusNames.size(),
        kIntegerSourceNames.size(),
        kIntegerTargetNames.size(),
        GoStatementV310,
    };
    return dialect;
}

bool DecodeRecord20(const DecoderDialect& dialect, std::span<const CodeRecord> code, std::string& text, int recordIndex,
                    int baseIndex, int step) {
    const int label = step * (recordIndex - baseIndex);
    if (recordIndex < 0 || recordIndex >= static_cast<int>(code.size())) {
        text = Format("N%03d (!) ERROR: NO CODE FOUND", label);
        return false;
    }
    const CodeRecord& record = code[static_cast<std::size_t>(recordIndex)];
    const std::string target =
        record.EndFlag() ? std::string("END") : Format("N%03d", step * (record.Target() - baseIndex));
    decoder::StatementWriter writer(dialect, record, label, target);
    return writer.Write(text);
}

bool PlcDecoder(const PlcCompiler& store, std::string& text, int recordIndex, int baseIndex, int step) {
    return DecodeRecord20(DecoderV310(), store.CodeArray(), text, recordIndex, baseIndex, step);
}

std::string_view integerSourceName(int code, std::size_t count) {
    return DisplayNameForCode(kIntegerSourceNames, count, code);
}

std::string_view floatTargetName(int code, std::size_t count) {
    return DisplayNameForCode(kFloatTargetNames, count, code);
}

std::string_view integerTargetName(int code, std::size_t count) {
    return DisplayNameForCode(kIntegerTargetNames, count, code);
}

std::string formatGoOptions(const CodeRecord& record) {
    return GoOption("V H%03d ", record.OperandB()) + formatGoSpeedOptions(record);
}

std::string formatGoSpeedOptions(const CodeRecord& record) {
    return GoOption("A H%03d ", record.OperandC()) + GoOption("D H%03d ", record.OperandD()) +
           GoOption("J H%03d", record.OperandE());
}

}  // namespace plc
