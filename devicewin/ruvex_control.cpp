#include <cmath>
#include <cstring>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/user_level.h"
#include "devicewin/device_control.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/base/reset_hooks.h"

namespace {

constexpr int kRuvexClass = 4000;
constexpr int kControlWord = 551;
constexpr int kBasicLevel = 4;
constexpr double kWholeRange = 65535.9;

constexpr ParameterCondition kOn180[] = {{180, 46, 46}};
constexpr ProtectedParameter kRuvexTable[] = {
    {150, 0, nullptr, 0},
    {280, 3, nullptr, 0},
    {281, 0, nullptr, 0},
    {260, 3, nullptr, 0},
    {476, 0, nullptr, 0},
    {300, 2, nullptr, 0},
    {180, 0, kOn180, 1},
    {289, 0, nullptr, 0},
    {290, 0, nullptr, 0},
    {28, 0, nullptr, 0},
};
static_assert(std::size(kRuvexTable) == 10);

constexpr ControlKeys kStart{true, false, false, false, false};
constexpr ControlKeys kStop{false, true, false, false, false};
constexpr ControlKeys kRuvexKeys[14] = {
    {},
    {},
    kStart,
    kStop,
    {false, true, true, true, false},
    kStart,
    kStop,
    {},
    {},
    {false, false, false, false, true},
    {},
    kStop,
    kStop,
    kStop,
};

platform::ResetHook ruvexStateReset([] { TheRuvexControlState() = {}; });

}  // namespace

RuvexControlState& TheRuvexControlState() {
    static RuvexControlState state;
    return state;
}

Ruvex_Control::Ruvex_Control() : Marlo_Control(true) {
    Table = {kRuvexTable, static_cast<int>(std::size(kRuvexTable)), kRuvexKeys, 14, 12, 13};
    if (!FindDrive(kRuvexClass)) return;
    UserLevel = GetUserLevel();
    RuvexControlState& state = TheRuvexControlState();
    // A drive of another firmware line never inherits the scaling of the
    // drive before it.
    state.Variant = 0;
    state.Flag981 = 0;
    double firmware = 0.0;
    if (ReportError(Base->ReadValueDouble(92, &firmware))) return;
    const int tens = static_cast<int>(firmware / 10.0);
    if (tens == 20) {
        state.Variant = 2;
    } else if (tens == 60 || tens == 70 || tens == 99) {
        state.Variant = 1;
        double flag = 0.0;
        if (!ReportError(Base->ReadValueDouble(981, &flag))) state.Flag981 = static_cast<int>(flag);
    }
    TakeOver();
}

Ruvex_Control::~Ruvex_Control() { ShutDown(false); }

void Ruvex_Control::ForceModelParameters() {
    if (UserLevel <= kBasicLevel) return;
    ReportError(Base->ReadValueU16(365, &Saved365));
    ReportError(Base->ReadValueU8(1, &Saved1));
    ReportError(Base->WriteValueU16(365, 0));
    ReportError(Base->WriteValueDouble(1, 5.0));
}

void Ruvex_Control::RestoreModelParameters() {
    if (UserLevel <= kBasicLevel) return;
    ReportError(Base->WriteValueU16(365, Saved365));
    ReportError(Base->WriteValueU8(1, Saved1));
}

bool Ruvex_Control::SetCtrlType(uint8_t type) {
    if (RefuseWhileRunning()) return false;
    if (UserLevel <= kBasicLevel) ++type;
    if (!WriteCtrlType(type)) return false;
    const RuvexControlState& state = TheRuvexControlState();
    auto read = [this](int number, double* value) { return !ReportError(Base->ReadValueDouble(number, value)); };
    double maximum = 0.0;
    double a = 0.0, b = 0.0, c = 0.0;
    switch (type) {
        case 0:
            if (!read(844, &a) || !read(856, &b)) return false;
            maximum = a * b / 60.0;
            if (state.Variant == 1 && state.Flag981 == 0) maximum *= 60.0;
            break;
        case 1:
            if (!read(803, &maximum)) return false;
            break;
        case 2:
            if (state.Variant == 2) {
                if (!read(813, &a) || !read(960, &b) || !read(961, &c)) return false;
                // A divisor of 0 would give no limit at all.
                if (b == 0.0) return false;
                maximum = a / b * c;
            } else if (!read(813, &maximum)) {
                return false;
            }
            break;
        case 3:
            RefMin = -kWholeRange;
            RefMax = kWholeRange;
            return read(400, &StartRef);
        default:
            return false;
    }
    RefMax = maximum;
    RefMin = -maximum;
    StartRef = 0.0;
    return true;
}

uint8_t Ruvex_Control::GetCtrlType() {
    const uint8_t type = Marlo_Control::GetCtrlType();
    return UserLevel <= kBasicLevel && type != 0 ? type - 1 : type;
}

int Ruvex_Control::GetCtrlTypeCount() { return UserLevel <= kBasicLevel ? 3 : 4; }

std::string Ruvex_Control::GetCtrlTypeName(int index) {
    return Marlo_Control::GetCtrlTypeName(UserLevel <= kBasicLevel ? index + 1 : index);
}

bool Ruvex_Control::ScalesBy60() {
    const RuvexControlState& state = TheRuvexControlState();
    return state.Variant == 1 && state.Flag981 == 1 && ReadCtrlTypeRaw() == 0;
}

bool Ruvex_Control::SetRefVal(double value) {
    if (ScalesBy60()) value *= 60.0;
    return Marlo_Control::SetRefVal(value);
}

double Ruvex_Control::GetRefVal() {
    const double value = Marlo_Control::GetRefVal();
    return ScalesBy60() ? value / 60.0 : value;
}

double Ruvex_Control::GetActVal() {
    uint8_t type = 0;
    Base->GetValueU8(300, &type);
    if (type != 0) return ReadDoubleOr(400, 0.0);
    const double actual = ReadDoubleOr(77, 0.0);
    double scale = 0.0;
    Base->GetValueDouble(844, &scale);
    return scale * actual / 60.0;
}

bool Ruvex_Control::Start() {
    return !ReportError(Base->WriteValueU32(kControlWord, 0)) && !ReportError(Base->WriteValueU32(kControlWord, 1));
}

bool Ruvex_Control::Stop() { return !ReportError(Base->WriteValueU32(kControlWord, 0)); }

bool Ruvex_Control::Halt() { return !ReportError(Base->WriteValueU32(kControlWord, 5)); }

bool Ruvex_Control::IsHaltEnabled() { return KeyOn(&ControlKeys::Halt) && GetCtrlType() != 0; }

bool Ruvex_Control::IsCtrlTypeEnabled() {
    switch (DeviceState) {
        case 3:
        case 4:
        case 6:
        case 11:
            return false;
        default:
            return true;
    }
}

std::string Ruvex_Control::GetActValUnit() {
    uint8_t type = 0;
    Base->GetValueU8(300, &type);
    switch (type) {
        case 0:
            return "Hz";
        case 1:
            return "Nm";
        case 2: {
            if (TheRuvexControlState().Variant == 2) return "m/s";
            const char* name = Base->GetParameterName(981);
            if (name != nullptr && std::strcmp(name, "UNTAC") == 0) {
                const char* text = Base->FormatStoredValue(981, 0, false);
                return text != nullptr ? text : "";
            }
            return "1/min";
        }
        case 3:
            return "r";
        default:
            return {};
    }
}

uint8_t Ruvex_Control::UpdateDeviceState() {
    bool readAsIs = false;
    const uint8_t state = ReadMappedState(&readAsIs);
    if (readAsIs && state <= 11) {
        RuvexControlState& shared = TheRuvexControlState();
        if (shared.PreviousState == 9 && state == 1) ResetErrorBit();
        shared.PreviousState = state;
    }
    return DeviceState;
}
