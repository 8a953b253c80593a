// Decoder texts of the commands: control, INV, WAIT, STOP, GO, CAN, the cam,
// program heads and ends, the reserved and the faulty opcodes.
#include "platform/base/format.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/record_layout.h"
#include "plceditor/v310/statement_writer.h"

namespace plc::decoder {

namespace {

using platform::Format;

using namespace layout;

constexpr std::string_view kControlTexts[] = {"BRKPT", "PLC = OFF", "PLC = RESTART", "PLC = CLR_ADR_STACK"};
constexpr std::string_view kStopTexts[] = {"STOP B", "STOP M", "STOP 0"};

Written CamStartBreak(const CodeRecord& r, std::string& out) {
    const int b = r.OperandB();
    const int c = r.OperandC();
    switch (r.OperandA()) {
        case kCamStartH:
            out = Format("RCAM START H%03d", b);
            break;
        case kCamStartNumber:
            out = Format("RCAM START %d", b);
            break;
        case kCamStart:
            out = "RCAM START";
            break;
        case kCamBreakH:
            out = Format("RCAM BREAK H%03d", b);
            break;
        case kCamBreakNumber:
            out = Format("RCAM BREAK %d", b);
            break;
        case kCamBreak:
            out = "RCAM BREAK";
            break;
        case kCamBreakHLimitH:
            out = Format("RCAM BREAK H%03d L H%03d", b, c);
            break;
        case kCamBreakHLimitH + 1:
            out = Format("RCAM BREAK H%03d L %d", b, c);
            break;
        case kCamBreakHLimitH + 2:
            out = Format("RCAM BREAK %d L H%03d", b, c);
            break;
        case kCamBreakHLimitH + 3:
            out = Format("RCAM BREAK %d L %d", b, c);
            break;
        case kCamStop:
            out = "RCAM STOP";
            break;
        default:
            out = "; ERROR: UNKOWN OPCODE RCAM START xx / START Hxx / BREAK xx / BREAK Hxx / STOP";
            return Written::kFault;
    }
    return Written::kStatement;
}

Written CamPolynomial(const CodeRecord& r, std::string& out) {
    switch (r.Opcode()) {
        case op::kCamPolynomialConstant:
            out = Format("RCAM POL5 %d V0 %d V1 %d", r.OperandA(), r.OperandB(), r.OperandC());
            break;
        case op::kCamPolynomialInteger:
            out = Format("RCAM POL5 H%03d V0 H%03d V1 H%03d", r.OperandA(), r.OperandB(), r.OperandC());
            break;
        default:
            out = Format("RCAM POL5 H%03d V0 F%03d V1 F%03d", r.OperandA(), r.OperandB(), r.OperandC());
            break;
    }
    if (r.OperandD() != kAbsentOperand) out += Format(" A0 F%03d", r.OperandD());
    if (r.OperandE() != kAbsentOperand) out += Format(" A1 F%03d", r.OperandE());
    return Written::kStatement;
}

Written GoTable(const CodeRecord& r, std::string& out) {
    const char* which = r.Opcode() == op::kGoWaitTable ? "W T" : "T";
    switch (r.OperandE()) {
        case kTableInH:
            out = Format("GO %s[H%03d]", which, r.OperandA());
            break;
        case kTableInC:
            out = Format("GO %s[C%03d]", which, r.OperandA());
            break;
        case kTableNumber:
            out = Format("GO %s[%03d]", which, r.OperandA());
            break;
        default:
            out = Format("; ERROR: GO %s[???]", which);
            return Written::kFault;
    }
    return Written::kStatement;
}

}  // namespace

Written WriteCommandStatement(StatementWriter& w, std::string& out) {
    const CodeRecord& r = w.Record();
    const int opcode = r.Opcode();
    if (opcode >= op::kReservedFirst && opcode <= op::kReservedLast) {
        out = ReservedCommandRemark(opcode - op::kReservedFirst + 1);
        return Written::kLine;
    }
    switch (opcode) {
        case op::kNoCode:
            out = Format(kNoCodeFormat, w.Label());
            return Written::kFault;
        case op::kNotImplemented:
            out = Format("N%03d (!) ERROR: NOT IMPLEMENTED", w.Label());
            return Written::kFault;
        case 23:
        case 25:
        case 26:
            out = Format("N%03d ERROR: Command not supported!", w.Label());
            return Written::kFault;
        case op::kReturn:
            out = "RET";
            return Written::kStatement;
        case op::kControl:
            if (r.OperandA() >= std::size(kControlTexts)) {
                out = "; ERROR: BRKPT, PLC = OFF/RESTART/CLEARADRSTACK";
                return Written::kFault;
            }
            out = kControlTexts[r.OperandA()];
            return Written::kStatement;
        case op::kNop:
            out = "NOP";
            return Written::kStatement;
        case op::kInvertInteger:
            out = Format("INV H%03d", r.OperandA());
            return Written::kStatement;
        case op::kInvertFlag:
            out = Format("INV M%03d", r.OperandA());
            return Written::kStatement;
        case op::kInvertOutput:
            out = Format("INV %s", w.Io(true, r.OperandA()));
            return Written::kStatement;
        case op::kWaitInteger:
            out = Format("WAIT H%03d", r.OperandA());
            return Written::kStatement;
        case op::kWaitConstant:
            out = Format("WAIT %lu", r.Constant());
            return Written::kStatement;
        case op::kWaitPar:
            out = "WAIT PAR";
            return Written::kStatement;
        case op::kGoWaitAbsolute:
        case op::kGoWaitRelative:
        case op::kGoAbsolute:
        case op::kGoRelative:
        case op::kGoSpeed:
        case op::kGoWaitRelativeTarget:
        case op::kGoRelativeTarget:
            if (!w.Dialect().goStatement(r, out)) w.Faulty();
            return Written::kStatement;
        case op::kGoZeroPlus:
            out = Format("GO %d + H%03d", r.OperandB(), r.OperandA());
            return Written::kStatement;
        case op::kGoZero:
            out = Format("GO %d", r.OperandB());
            return Written::kStatement;
        case op::kSetReceiveMessage:
            out = Format("SET RXMSG[%d, %d, %d]", r.OperandB(), r.Target(), r.OperandC());
            return Written::kStatement;
        case op::kSendNmtCommand:
            out = Format("SEND NMTCMD[%d, %d]", r.OperandB(), r.OperandC());
            return Written::kStatement;
        case op::kSendTxMessageInteger:
        case op::kSendTxMessageFloat:
            out = Format("SEND TXMSG[%d, %d] = %c%03d",
                         r.Target(),
                         r.OperandB(),
                         opcode == op::kSendTxMessageInteger ? 'H' : 'F',
                         r.OperandA());
            return Written::kStatement;
        case op::kWaitHoming:
            out = "WAIT REF";
            return Written::kStatement;
        case op::kWaitStandstill:
            out = "WAIT ROT_0";
            return Written::kStatement;
        case op::kStop:
            if (r.OperandA() >= std::size(kStopTexts)) {
                out = "; ERROR: STOP x";
                return Written::kFault;
            }
            out = kStopTexts[r.OperandA()];
            return Written::kStatement;
        case op::kGoWaitTable:
        case op::kGoTable:
            return GoTable(r, out);
        case op::kGoSync:
            out = Format("GO SYN %01d", r.OperandA());
            return Written::kStatement;
        case op::kProgramHead:
            out = Format("%%P%02d", r.OperandA());
            return Written::kLine;
        case op::kProgramEnd:
            out = "END";
            return Written::kLine;
        case op::kCamStartBreakStop:
            return CamStartBreak(r, out);
        case op::kWaitProbe:
            out = Format("WAIT TP%d", r.OperandA());
            return Written::kStatement;
        case op::kSave:
            out = "SAVE";
            return Written::kStatement;
        case op::kCamPolynomialConstant:
        case op::kCamPolynomialInteger:
        case op::kCamPolynomialFloat:
            return CamPolynomial(r, out);
        case op::kCamSpeedFloat:
            out = Format("RCAM NSPD F%03d SL F%03d ML F%03d SP F%03d MP F%03d",
                         r.OperandA(),
                         r.OperandB(),
                         r.OperandC(),
                         r.OperandD(),
                         r.OperandE());
            return Written::kStatement;
        case op::kCamSpeedInteger:
            out = Format("RCAM NSPD F%03d SL H%03d ML H%03d SP H%03d MP H%03d",
                         r.OperandA(),
                         r.OperandB(),
                         r.OperandC(),
                         r.OperandD(),
                         r.OperandE());
            return Written::kStatement;
        case op::kCamGo:
            out = Format("RCAM GO %s H%03d %s", "R", r.OperandA(), formatGoOptions(r));
            return Written::kStatement;
        default:
            out = kUnknownOpcodeText;
            return Written::kFault;
    }
}

}  // namespace plc::decoder
