#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "devicewin/device_control.h"
#include "parameters/parabase/para_base.h"

namespace {

constexpr int kControlWord = 551;
constexpr int kReference = 284;
constexpr double kWholeRange = 65535.9;

#define TORVAN_ON(n) constexpr ParameterCondition kOn##n[] = {{n, 1, 7}};
TORVAN_ON(222)
TORVAN_ON(223)
TORVAN_ON(210)
TORVAN_ON(211)
TORVAN_ON(212)
TORVAN_ON(213)
TORVAN_ON(214)
TORVAN_ON(215)
TORVAN_ON(216)
TORVAN_ON(217)
TORVAN_ON(218)
TORVAN_ON(219)
TORVAN_ON(220)
TORVAN_ON(221)
TORVAN_ON(180)
TORVAN_ON(181)
#undef TORVAN_ON

constexpr ProtectedParameter kPescoTable[] = {
    {150, 0, nullptr, 0}, {152, 0, nullptr, 0}, {280, 0, nullptr, 0}, {281, 3, nullptr, 0}, {260, 3, nullptr, 0},
    {300, 2, nullptr, 0}, {222, 0, kOn222, 1},  {223, 0, kOn223, 1},  {210, 0, kOn210, 1},  {211, 0, kOn211, 1},
    {212, 0, kOn212, 1},  {213, 0, kOn213, 1},  {214, 0, kOn214, 1},  {215, 0, kOn215, 1},  {216, 0, kOn216, 1},
    {217, 0, kOn217, 1},  {218, 0, kOn218, 1},  {219, 0, kOn219, 1},  {220, 0, kOn220, 1},  {221, 0, kOn221, 1},
    {180, 0, kOn180, 1},  {181, 0, kOn181, 1},
};
static_assert(std::size(kPescoTable) == 22);

constexpr ControlKeys kPescoKeys[9] = {
    {},
    {},
    {},
    {true, false, false, false, false},
    {},
    {false, true, true, true, false},
    {false, true, false, false, false},
    {},
    {false, false, false, false, true},
};

}  // namespace

Pesco_Control::Pesco_Control() : Marlo_Control(true) {
    Table = {kPescoTable, static_cast<int>(std::size(kPescoTable)), kPescoKeys, 9, 10, 11};
    if (!FindDrive(0)) return;
    TakeOver();
}

Pesco_Control::~Pesco_Control() { ShutDown(true); }

bool Pesco_Control::SetCtrlType(uint8_t type) {
    if (RefuseWhileRunning()) return false;
    if (!WriteCtrlType(type)) return false;
    if (type > 3) return false;
    if (type == 3) {
        Unit = "inc";
        RefMin = -kWholeRange;
        RefMax = kWholeRange;
        return !ReportError(Base->ReadValueDouble(400, &StartRef));
    }
    const bool torque = type == 1;
    Unit = torque ? "Nm" : "1/min";
    double a = 0.0, b = 0.0;
    if (ReportError(Base->ReadValueDouble(torque ? 803 : 813, &a)) ||
        ReportError(Base->ReadValueDouble(torque ? 852 : 157, &b))) {
        return false;
    }
    RefMax = a * b * 0.01;
    RefMin = -RefMax;
    StartRef = 0.0;
    return true;
}

double Pesco_Control::GetActVal() {
    switch (GetCtrlType()) {
        case 1:
            return ReadDoubleOr(14, 0.0);
        case 0:
        case 2:
            return ReadDoubleOr(77, 0.0);
        default:
            return 0.0;
    }
}

bool Pesco_Control::Start() {
    uint32_t word = 0;
    if (ReportError(Base->ReadValueU32(kControlWord, &word))) return false;
    return !ReportError(Base->WriteValueU32(kControlWord, word | 1u));
}

bool Pesco_Control::Stop() {
    uint32_t word = 0;
    if (ReportError(Base->ReadValueU32(kControlWord, &word))) return false;
    return !ReportError(Base->WriteValueU32(kControlWord, word & ~1u));
}

bool Pesco_Control::Halt() { return !ReportError(Base->WriteValueDouble(kReference, 0.0)); }

bool Pesco_Control::ErrorReset() { return !ReportError(Base->WriteValueDouble(74, 1.0)); }
