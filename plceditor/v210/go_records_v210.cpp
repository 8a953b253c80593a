// Positioning commands of V2.10: reading them from a line and writing their
// records back as text.
#include "plceditor/v210/go_records_v210.h"

#include "platform/base/format.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc::v210 {

namespace {

using platform::Format;

bool IsRelative(uint8_t opcode) { return opcode == op::kGoWaitRelative || opcode == op::kGoRelative; }

// "A" or "R" by byte c; false for any other value.
bool Direction(const CodeRecord& r, char& letter) {
    switch (r.OperandC()) {
        case kGoAbsolute:
            letter = 'A';
            return true;
        case kGoRelative:
            letter = 'R';
            return true;
        default:
            letter = '?';
            return false;
    }
}

}  // namespace

int ReadGoPositioning(LineParser& parser, CompiledStatement& s, uint8_t opcode) {
    s.opcode = opcode;
    if (opcode == op::kGoSpeed) return parser.ReadIndex('H', s.b);
    if (const int read = parser.ReadIndex('H', s.a); read != msg::kNoError) return read;
    // The relative-target forms keep c at 0; their opcode says what they are.
    s.c = IsRelative(opcode) ? kGoRelative : kGoAbsolute;
    if (parser.matchKeyword("VH")) return parser.ReadIndex('H', s.b);
    if (!parser.AtEnd()) return msg::kUnknownGoCommand;
    s.e = kGoWithoutSpeed;
    return msg::kNoError;
}

bool GoStatement(const CodeRecord& r, std::string& statement) {
    char letter = 'A';
    bool known = true;
    std::string kind;
    switch (r.Opcode()) {
        case op::kGoSpeed:
            statement = Format("GO V H%03d", r.OperandB());
            return true;
        case op::kGoWaitAbsolute:
        case op::kGoWaitRelative:
            known = Direction(r, letter);
            kind = Format("W %c", letter);
            break;
        case op::kGoAbsolute:
        case op::kGoRelative:
            known = Direction(r, letter);
            kind = Format("%c", letter);
            break;
        case op::kGoWaitRelativeTarget:
            kind = "W RT";
            break;
        case op::kGoRelativeTarget:
            kind = "RT";
            break;
        default:
            return false;
    }
    statement = Format("GO %s H%03d", kind, r.OperandA());
    if (r.OperandE() == 0) statement += Format(" V H%03d", r.OperandB());
    return known;
}

}  // namespace plc::v210
