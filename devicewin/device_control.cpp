#include "devicewin/device_control.h"

#include <cstdio>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/wait.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/base/format.h"
#include "platform/system/token_source.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_timers.h"

namespace {

constexpr int kReadyParameter = 84;
constexpr int kHandshakeParameter = 80;
constexpr int kCommitParameter = 15;
constexpr int kTypeParameter = 91;
constexpr int kCtrlTypeParameter = 300;
constexpr int kRestoreTries = 10;
constexpr int kPassesPerQuestion = 22;

constexpr int kConditionReadError = 5;
constexpr int kNotStoppedMessage = 34;
constexpr int kNoConnectionMessage = 35;
constexpr int kLockedMessage = 140;
constexpr int kRunningMessage = 30;
constexpr int kTypeWhileRunningMessage = 31;
constexpr int kStoppingActivity = 6;
constexpr int kSwitchingOffActivity = 10;
constexpr int kRestoreTimeoutText = 8;
constexpr int kRefusedValueText = 9;

}  // namespace

uint32_t WaitSeconds(unsigned n) { return WaitMilliseconds(n * 1000u); }

std::string GetParaBaseMessageText(int n) {
    char text[kMessageTextSize] = {};
    GetMessageText(
        text, "ParaBase-Messages", platform::Format("PB_%02u", static_cast<unsigned>(n)).c_str(), sizeof text);
    return text;
}

DeviceControl::DeviceControl() : OwnerToken(platform::NewToken()) {}

DeviceControl::~DeviceControl() { TheParaWriteLock().Release(OwnerToken); }

bool DeviceControl::SetCtrlType(uint8_t) { return false; }
uint8_t DeviceControl::GetCtrlType() { return 0; }
int DeviceControl::GetCtrlTypeCount() { return 1; }
std::string DeviceControl::GetCtrlTypeName(int) { return "NONE"; }
bool DeviceControl::SetRefVal(double) { return false; }
double DeviceControl::GetRefVal() { return 0.0; }
double DeviceControl::GetActVal() { return 0.0; }
bool DeviceControl::Start() { return false; }
bool DeviceControl::Stop() { return false; }
bool DeviceControl::Reverse() { return false; }
bool DeviceControl::Halt() { return false; }
bool DeviceControl::ErrorReset() { return false; }
bool DeviceControl::IsStartEnabled() { return false; }
bool DeviceControl::IsStopEnabled() { return false; }
bool DeviceControl::IsReverseEnabled() { return false; }
bool DeviceControl::IsHaltEnabled() { return false; }
bool DeviceControl::IsErrorResetEnabled() { return false; }
bool DeviceControl::IsCtrlTypeEnabled() { return false; }
std::string DeviceControl::GetActValUnit() { return {}; }
uint8_t DeviceControl::UpdateDeviceState() { return 0; }

bool DeviceControl::ReportError(int code) {
    if (code == kParaOk) return false;
    if (!ShowErrorMessage(kParaBaseErrorMessage, Window)) CloseRequest = true;
    return true;
}

bool DeviceControl::FindDrive(int typeClass) {
    Main* main = GetMain();
    if (main == nullptr || (typeClass != 0 && main->GetActiveDeviceTypeClass() != typeClass)) return false;
    if (main->IsActiveDeviceRunning()) {
        ShowInfoMessage(kRunningMessage, Window);
        return false;
    }
    Base = main->ActiveParaBase();
    return Base != nullptr;
}

bool DeviceControl::RefuseWhileRunning() {
    Main* main = GetMain();
    if (main == nullptr || !main->IsActiveDeviceRunning()) return false;
    ShowInfoMessage(kTypeWhileRunningMessage, Window);
    return true;
}

void DeviceControl::TakeOver() {
    if (Base->WriteValueDouble(kReadyParameter, 10.0) != kParaOk) return;
    Opened = ProtectParameters();
    if (!Opened) {
        // A drive the panel does not hold is left as the shut-down leaves it.
        Base->WriteValueDouble(kReadyParameter, 0.0);
        return;
    }
    ForceModelParameters();
    if (SetCtrlType(GetCtrlType())) Base->WriteValueU8(kCommitParameter, 1);
}

bool DeviceControl::DecideActive(int entry, bool* active) {
    const ProtectedParameter& p = Table.Entries[entry];
    *active = p.Conditions == nullptr;
    for (int c = 0; c < p.ConditionCount && !*active; ++c) {
        const ParameterCondition& condition = p.Conditions[c];
        double value = 0.0;
        const int code = Base->ReadValueDouble(condition.Number, &value);
        if (code == kParaNoParameter) continue;
        if (code != kParaOk) {
            if (Main* main = GetMain()) main->ShowActiveDeviceError(kConditionReadError, Window);
            return false;
        }
        *active = value >= condition.Lowest && value <= condition.Highest;
    }
    return true;
}

bool DeviceControl::ProtectParameters() {
    GwWaitObject wait;
    DeviceBusyGuard busy;
    ParaWriteLock& lock = TheParaWriteLock();
    if (!lock.Acquire(OwnerToken)) {
        ShowErrorMessage(kLockedMessage, Window);
        return false;
    }
    // Three passes: an entry's condition may test a parameter that an
    // earlier entry forces, so every condition is read before anything is
    // forced.
    for (int i = 0; i < Table.Count; ++i) {
        GwProcessPendingEvents();
        bool active = false;
        if (!DecideActive(i, &active)) return false;
        Active[i] = active ? 1 : 0;
    }
    for (int i = 0; i < Table.Count; ++i) lock.Protect(OwnerToken, Table.Entries[i].Number);
    for (int i = 0; i < Table.Count; ++i) {
        if (Active[i] == 0) continue;
        const ProtectedParameter& p = Table.Entries[i];
        int code = Base->ReadRawValue(p.Number, &Saved[i]);
        if (code == kParaNoParameter) continue;
        if (code == kParaOk) {
            lock.AllowNextWrite(OwnerToken);
            code = Base->WriteValueDouble(p.Number, p.Forced);
            if (code == kParaNoParameter) code = kParaOk;
        }
        if (code != kParaOk) {
            ReportError(code);
            // What was forced goes back, so a refused take-over leaves the
            // drive as it was.
            if (i > 0) RestoreEntries(i);
            return false;
        }
    }
    return true;
}

bool DeviceControl::RestoreEntries(int count) {
    DeviceBusyGuard busy;
    ParaWriteLock& lock = TheParaWriteLock();
    if (Base->WriteValueS16(kHandshakeParameter, -1) != kParaOk) return false;
    for (int i = count - 1; i >= 0; --i) {
        GwProcessPendingEvents();
        if (Active[i] == 0) continue;
        lock.AllowNextWrite(OwnerToken);
        const int code = Base->WriteRawValue(Table.Entries[i].Number, Saved[i]);
        if (code != kParaOk && code != kParaNoParameter) {
            ReportError(code);
            return false;
        }
    }
    if (Base->WriteValueS16(kHandshakeParameter, -2) != kParaOk) return false;
    const bool raisedModal = !ModalFlag;
    ModalFlag = true;
    int code = kParaOk;
    int8_t value = -1;
    for (int tries = 0; tries < kRestoreTries; ++tries) {
        WaitSeconds(1);
        code = Base->ReadValueS8(kHandshakeParameter, &value);
        if (code == kParaOk && value >= 0) break;
    }
    if (raisedModal) ModalFlag = false;
    if (code != kParaOk) {
        ReportError(code);
        return false;
    }
    if (value < 0) {
        ShowErrorText(GetParaBaseMessageText(kRestoreTimeoutText).c_str(), Window);
        return false;
    }
    if (value != 0) {
        const std::string name = Base->GetParameterName(value) != nullptr ? Base->GetParameterName(value) : "";
        char text[kMessageTextSize] = {};
        std::snprintf(text,
                      sizeof text,
                      GetParaBaseMessageText(kRefusedValueText).c_str(),
                      int{value},
                      name.substr(0, 6).c_str());
        ShowErrorText(text, Window);
        return false;
    }
    return true;
}

bool DeviceControl::RestoreParameters() {
    return RestoreEntries(Table.Count) && Base->WriteValueU8(kCommitParameter, 1) == kParaOk;
}

void DeviceControl::ShutDown(bool stopFirst) {
    if (!Opened) return;
    Opened = false;
    if (UpdateDeviceState() == Table.NoOnlineState && !ShowErrorMessage(kNoConnectionMessage, Window)) return;
    if (stopFirst && !Stop() && !ShowErrorMessage(kNoConnectionMessage, Window)) return;
    ActivMessage activity("");
    int passes = 0;
    while (IsStopEnabled()) {
        activity.ShowMessage(kStoppingActivity);
        WaitMilliseconds(1000);
        if (++passes == kPassesPerQuestion) {
            uint16_t type = 0;
            const int message =
                Base->ReadValueU16(kTypeParameter, &type) == kParaOk ? kNotStoppedMessage : kNoConnectionMessage;
            if (!ShowErrorMessage(message, Window)) return;
            passes = 0;
        }
        if (!Stop() && !ShowErrorMessage(kNoConnectionMessage, Window)) return;
        UpdateDeviceState();
    }
    activity.ShowMessage(kSwitchingOffActivity);
    if (Base->WriteValueDouble(kReadyParameter, 0.0) != kParaOk) return;
    RestoreModelParameters();
    if (RestoreParameters()) Base->WriteValueU8(kCommitParameter, 1);
}

uint8_t DeviceControl::ReadMappedState(bool* readAsIs) {
    *readAsIs = false;
    Main* main = GetMain();
    if (main == nullptr || !main->HasOnlineDevice() || main->GetActiveBus() == nullptr) {
        DeviceState = Table.NoOnlineState;
        return DeviceState;
    }
    const uint8_t state = static_cast<uint8_t>(main->GetActiveBus()->ReadDeviceState(main->GetActiveAddress()) & 0xFF);
    if (state == (kDeviceStateReadFailed & 0xFF)) {
        ShowErrorMessage(kBusErrorMessage, Window);
        DeviceState = Table.NoOnlineState;
    } else if (state == (kDeviceStateNoDevice & 0xFF)) {
        DeviceState = Table.UnknownState;
    } else {
        DeviceState = state;
        *readAsIs = true;
    }
    return DeviceState;
}

bool DeviceControl::KeyOn(bool ControlKeys::*key) const {
    return DeviceState < Table.KeyRows && Table.Keys[DeviceState].*key;
}

bool DeviceControl::ReverseReference() { return SetRefVal(-GetRefVal()); }

bool DeviceControl::WriteCtrlType(uint8_t type) {
    TheParaWriteLock().AllowNextWrite(OwnerToken);
    if (ReportError(Base->WriteValueU8(kCtrlTypeParameter, type))) return false;
    ReportError(Base->WriteValueU8(kCommitParameter, 1));
    return true;
}

uint8_t DeviceControl::ReadCtrlTypeRaw() {
    uint8_t type = 0;
    if (ReportError(Base->ReadValueU8(kCtrlTypeParameter, &type))) return 0;
    return type;
}

double DeviceControl::ReadDoubleOr(int number, double fallback) {
    double value = 0.0;
    return ReportError(Base->ReadValueDouble(number, &value)) ? fallback : value;
}
