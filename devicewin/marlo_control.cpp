#include <algorithm>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "devicewin/device_control.h"
#include "parameters/parabase/para_base.h"

namespace {

constexpr int kMarloClass = 3000;
constexpr int kTypeWhileRunningMessage = 31;

// The ranges M for one condition parameter.
#define TORVAN_M(n) constexpr ParameterCondition kM##n[] = {{n, 1, 3}, {n, 5, 6}, {n, 15, 16}, {n, 26, 26}};
TORVAN_M(222)
TORVAN_M(223)
TORVAN_M(210)
TORVAN_M(211)
TORVAN_M(180)
TORVAN_M(181)
#undef TORVAN_M
constexpr ParameterCondition kOn820[] = {{820, 1, 1}};
constexpr ParameterCondition kOn821[] = {{821, 1, 1}};

// 212 and 213 test 211 on purpose.
constexpr ProtectedParameter kMarloTable[] = {
    {150, 0, nullptr, 0}, {152, 0, nullptr, 0}, {280, 0, nullptr, 0}, {281, 3, nullptr, 0}, {260, 3, nullptr, 0},
    {300, 0, nullptr, 0}, {510, 1, nullptr, 0}, {320, 0, nullptr, 0}, {222, 0, kM222, 4},   {223, 0, kM223, 4},
    {210, 0, kM210, 4},   {211, 0, kM211, 4},   {212, 0, kM211, 4},   {213, 0, kM211, 4},   {180, 0, kM180, 4},
    {181, 0, kM181, 4},   {597, 1, nullptr, 0}, {820, 0, kOn820, 1},  {821, 0, kOn821, 1},
};
static_assert(std::size(kMarloTable) == 19);

constexpr ControlKeys kMarloKeys[14] = {
    {},
    {},
    {true, false, false, false, false},
    {false, true, false, false, false},
    {false, true, true, true, false},
    {true, false, false, false, false},
    {false, true, false, false, false},
    {},
    {},
    {false, false, false, false, true},
    {},
    {},
    {false, true, false, false, false},
    {},
};

constexpr int kControlWord = 551;
constexpr int kReference = 284;
constexpr int kActual = 400;

}  // namespace

Marlo_Control::Marlo_Control(bool) {}

Marlo_Control::Marlo_Control() {
    Table = {kMarloTable, static_cast<int>(std::size(kMarloTable)), kMarloKeys, 14, 13, 14};
    if (!FindDrive(kMarloClass)) return;
    TakeOver();
}

Marlo_Control::~Marlo_Control() { ShutDown(true); }

bool Marlo_Control::SetCtrlType(uint8_t type) {
    switch (UpdateDeviceState()) {
        case 3:
        case 4:
        case 6:
        case 8:
        case 9:
        case 11:
        case 12:
            ShowInfoMessage(kTypeWhileRunningMessage, Window);
            return false;
        default:
            break;
    }
    if (!WriteCtrlType(type)) return false;
    float l303 = 0, l305 = 0, l306 = 0, l307 = 0, l650 = 0;
    const bool limitsRead =
        !ReportError(Base->ReadValueFloat(303, &l303)) && !ReportError(Base->ReadValueFloat(305, &l305)) &&
        !ReportError(Base->ReadValueFloat(306, &l306)) && !ReportError(Base->ReadValueFloat(307, &l307)) &&
        !ReportError(Base->ReadValueFloat(650, &l650));
    double limit = 1600.0;
    if (limitsRead) limit = l650 >= 2.0f ? std::min(l305, l307) : std::min(l303, l306);
    RefMax = limit;
    RefMin = -limit;
    float s301 = 0, s302 = 0;
    const bool startRead =
        !ReportError(Base->ReadValueFloat(301, &s301)) && !ReportError(Base->ReadValueFloat(302, &s302));
    StartRef = startRead ? std::min(s301, s302) : 0.0;
    return true;
}

uint8_t Marlo_Control::GetCtrlType() { return ReadCtrlTypeRaw(); }

std::string Marlo_Control::GetCtrlTypeName(int index) {
    const char* text = Base != nullptr ? Base->GetDispatchedDoubleText(300, index) : nullptr;
    return text != nullptr ? text : "";
}

bool Marlo_Control::SetRefVal(double value) { return !ReportError(Base->WriteValueDouble(kReference, value)); }

double Marlo_Control::GetRefVal() { return ReadDoubleOr(kReference, 0.0); }

double Marlo_Control::GetActVal() { return ReadDoubleOr(kActual, 0.0); }

bool Marlo_Control::Start() {
    uint32_t word = 0;
    if (ReportError(Base->ReadValueU32(kControlWord, &word))) return false;
    return !ReportError(Base->WriteValueU32(kControlWord, word | 5u));
}

bool Marlo_Control::Stop() {
    uint32_t word = 0;
    if (ReportError(Base->ReadValueU32(kControlWord, &word))) return false;
    return !ReportError(Base->WriteValueU32(kControlWord, 0));
}

bool Marlo_Control::Halt() { return Start() && !ReportError(Base->WriteValueDouble(kReference, 0.0)); }

bool Marlo_Control::ResetErrorBit() {
    uint16_t word = 0;
    if (ReportError(Base->ReadValueU16(kControlWord, &word))) return false;
    if (ReportError(Base->WriteValueU16(kControlWord, word & 0xFF7Fu))) return false;
    if (ReportError(Base->WriteValueU16(kControlWord, word | 0x80u))) return false;
    return Stop();
}

bool Marlo_Control::ErrorReset() { return ResetErrorBit(); }

bool Marlo_Control::IsCtrlTypeEnabled() {
    Main* main = GetMain();
    return main != nullptr && !main->IsActiveDeviceRunning();
}

uint8_t Marlo_Control::UpdateDeviceState() {
    bool readAsIs = false;
    return ReadMappedState(&readAsIs);
}
