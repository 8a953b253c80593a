#include "families/manual_positioning_ruvex.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "bus/base/basic_bus.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "families/manual_positioning.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

const std::array<RuvexHandKeys, 14> kRuvexHandKeys = {{
    {false, false},  // 0
    {false, false},  // 1
    {true, false},   // 2
    {false, true},   // 3
    {false, true},   // 4
    {true, false},   // 5
    {false, true},   // 6
    {false, false},  // 7
    {false, false},  // 8
    {false, false},  // 9
    {false, false},  // 10
    {false, true},   // 11
    {false, true},   // 12
    {false, true},   // 13
}};

namespace {

constexpr int kStateFault = 1;
constexpr int kStateFaultCleared = 9;
constexpr int kLastDriveState = 11;
constexpr int kReadFailedState = 254;
constexpr double kFaultResetBit = 0x80;
constexpr int kSaved280 = 280;
constexpr int kSaved260 = 260;
constexpr double kHand280 = 9;
constexpr double kHand260 = 3;
constexpr int kDeviceTypeParameter = 91;
// The failures of a text write that carry the drive's refusal, and the bus's
// code for a command the drive answered with NAK.
constexpr int kBaseDeviceRefused = 13;
constexpr int kBaseDeviceError = 14;
constexpr uint16_t kBusCommandRefused = 19;

const platform::ResetHook kResetRuvexHandState([] { TheRuvexHandState() = RuvexHandState{}; });

ParaBase* BaseOf(DeviceSetupContext* context) { return context->Base.get(); }

bool DeviceError(ParaBase* base, GwCore* widget) { return ShowDeviceError(kPosHandDeviceError, base, widget->frame()); }

bool Alive(const GwRef<>& frame) { return frame.get() != nullptr; }

bool HandStop(int state) { return state >= 0 && state < 14 && kRuvexHandKeys[static_cast<size_t>(state)].Stop; }

bool Present771(ParaBase* base) { return base->IsPresent(kRuvexOptionalHandParameter); }

// Writes the saved values back that the entering changed; one failure shows
// device error 5, the others stay quiet.
void UndoEntering(ParaBase* base, GwCore* widget, int written) {
    const RuvexHandState& state = TheRuvexHandState();
    const int numbers[] = {kSaved280, kSaved260, kRuvexOptionalHandParameter};
    const double values[] = {state.Saved280, state.Saved260, state.Saved771};
    bool failed = false;
    for (int i = 0; i < written; ++i) failed |= PosHandWrite(base, numbers[i], values[i]) != 0;
    if (failed) DeviceError(base, widget);
}

std::string Whole(double value) { return std::to_string(static_cast<long>(std::trunc(value))); }

void SendOrClose(GwCore* widget, const std::string& command) {
    if (!PosHand4_SendCommand(widget, command)) PosHandCloseWindow(widget);
}

int Jog(GwCore* widget, GwEvent* event, const char* direction) {
    if (widget == nullptr || event == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    RuvexHandState& state = TheRuvexHandState();
    if (event->reason == GwBUTTON_DOWN) {
        const std::string command = std::string("GO V") + direction + Whole(PosHand4_GetJogSpeed(widget));
        state.Jogging = true;
        state.JogButton = GwRef<>(widget);
        SendOrClose(widget, command);
    } else if (event->reason == GwBUTTON_UP) {
        state.Jogging = false;
        state.JogButton = GwRef<>();
        SendOrClose(widget, kRuvexStopCommand);
    }
    return 1;
}

int ShowSpeed(GwCore* widget, int number) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    if (context == nullptr || toggle == nullptr || !toggle->is_checked()) return 1;
    double speed = 0.0;
    if (PosHandRead(BaseOf(context), number, &speed) != 0) {
        if (!DeviceError(BaseOf(context), widget)) PosHandCloseWindow(widget);
        return 1;
    }
    if (auto* edit = widget->frame()->frame_child<GwEdit>(kPosHandUserSpeedName)) {
        edit->set_text(Whole(speed));
        edit->set_read_only(true);
    }
    return 1;
}

// The fault reset when the drive went from its fault state 1 to 9.
void ResetFault(ParaBase* base) {
    double value = 0.0;
    if (base->ReadValueDouble(kRuvexControlWord, &value) != 0) return;
    const auto raw = static_cast<uint32_t>(value);
    base->WriteValueDouble(kRuvexControlWord, static_cast<double>(raw & ~0x80u));
    base->WriteValueDouble(kRuvexControlWord, static_cast<double>(raw | static_cast<uint32_t>(kFaultResetBit)));
    PosHand4_DriveStop(base);
}

// Step 5 to 8 of entering; false when the window closed or stays without
// hand mode.
void EnterWithValues(GwCore* widget, ParaBase* base) {
    RuvexHandState& state = TheRuvexHandState();
    const bool has771 = Present771(base);
    if (PosHandRead(base, kSaved280, &state.Saved280) != 0 || PosHandRead(base, kSaved260, &state.Saved260) != 0 ||
        (has771 && PosHandRead(base, kRuvexOptionalHandParameter, &state.Saved771) != 0)) {
        DeviceError(base, widget);
        return;
    }
    const int numbers[] = {kSaved280, kSaved260, kRuvexOptionalHandParameter};
    const double values[] = {kHand280, kHand260, 0.0};
    const int count = has771 ? 3 : 2;
    for (int i = 0; i < count; ++i) {
        if (PosHandWrite(base, numbers[i], values[i]) != 0) {
            GwRef<> frame(widget->frame());
            DeviceError(base, widget);
            if (Alive(frame)) UndoEntering(base, widget, i);
            return;
        }
    }
    state.HandMode = true;
    GwRef<> frame(widget->frame());
    if (!PosHand4_SendCommand(widget, kRuvexEnterCommand)) {
        state.HandMode = false;
        if (!Alive(frame)) return;
        UndoEntering(base, widget, count);
        PosHandCloseWindow(widget);
        return;
    }
    if (!Alive(frame)) return;
    if (auto* low = widget->frame()->frame_child<GwToggle>(kPosHandLowSpeedName)) {
        low->set_value(1);
        CB_4_PosHand_ShowLowSpeed(low, nullptr, GwUD());
    }
}

// The leaving's wait for standstill; false when the window closed or the
// leaving ends here.
bool AwaitStandstill(GwCore* frameWidget, ParaBase* base, int state, ActivMessage& activity) {
    GwRef<> frame(frameWidget);
    int pass = 0;
    while (HandStop(state)) {
        activity.SetMessageText(activity.GetActivMessageText(kPosHandWaitingActivity));
        WaitMilliseconds(kRuvexLeavePassMs);
        if (!Alive(frame)) return false;
        if (++pass == kRuvexLeaveAskEvery) {
            double type = 0.0;
            const int message =
                base->ReadValueDouble(kDeviceTypeParameter, &type) != 0 ? kPosHandNoAnswer : kPosHandStillMoving;
            if (!ShowErrorMessage(message, frameWidget)) {
                if (Alive(frame)) CB_CloseDeviceWindow(frameWidget, nullptr, GwUD());
                return false;
            }
            if (!Alive(frame)) return false;
            pass = 0;
        }
        if (!PosHand4_DriveStop(base)) {
            if (!ShowErrorMessage(kPosHandNoAnswer, frameWidget)) {
                if (Alive(frame)) CB_CloseDeviceWindow(frameWidget, nullptr, GwUD());
                return false;
            }
            if (!Alive(frame)) return false;
        }
        state = PosHand4_GetDriveState(base);
        if (!Alive(frame)) return false;
    }
    return true;
}

}  // namespace

RuvexHandState& TheRuvexHandState() {
    static RuvexHandState state;
    return state;
}

int PosHand4_GetDriveState(ParaBase* base) {
    Main* main = GetMain();
    if (main == nullptr || !main->HasOnlineDevice()) return kRuvexHandNoDevice;
    DataBus* bus = base != nullptr ? base->GetBus() : nullptr;
    const uint16_t read = bus != nullptr ? bus->ReadDeviceState(main->GetActiveAddress()) : kDeviceStateNoDevice;
    if (read == kDeviceStateReadFailed || read == kReadFailedState) {
        ShowErrorMessage(kBusErrorMessage);
        return kRuvexHandNoDevice;
    }
    if (read == kDeviceStateNoDevice) return kRuvexHandUnknown;
    const int state = read;
    if (state > kRuvexHandUnknown) return kRuvexHandUnknown;
    if (state > kLastDriveState) return state;
    RuvexHandState& hand = TheRuvexHandState();
    if (hand.LastDriveState == kStateFault && state == kStateFaultCleared) ResetFault(base);
    hand.LastDriveState = state;
    return state;
}

bool PosHand4_DriveStart(ParaBase* base) {
    return PosHandWrite(base, kRuvexControlWord, 0) == 0 && PosHandWrite(base, kRuvexControlWord, 1) == 0;
}

bool PosHand4_DriveStop(ParaBase* base) { return PosHandWrite(base, kRuvexControlWord, 0) == 0; }

bool PosHand4_SendCommand(GwCore* widget, const std::string& command) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return true;
    ParaBase* base = BaseOf(context);
    const int result = PosHandWriteText(base, kRuvexCommandParameter, command);
    if (result == 0) return true;
    DataBus* bus = base->GetBus();
    if ((result == kBaseDeviceRefused || result == kBaseDeviceError) && bus != nullptr &&
        bus->GetLastError() == kBusCommandRefused) {
        char text[kMessageTextSize] = {};
        char key[16];
        std::snprintf(key, sizeof key, "MN_%05d", kRuvexCommandRefusedMessage);
        GetMessageText(text, "Main-Messages", key, kMessageTextSize);
        const std::string shown = std::string(text) + " \"" + command + "\"";
        return ShowErrorText(shown.c_str(), widget->frame());
    }
    return DeviceError(base, widget);
}

double PosHand4_GetJogSpeed(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 0.0;
    GwCore* frame = widget->frame();
    auto* low = frame->frame_child<GwToggle>(kPosHandLowSpeedName);
    auto* high = frame->frame_child<GwToggle>(kPosHandHighSpeedName);
    auto* user = frame->frame_child<GwToggle>(kPosHandUserSpeedToggleName);
    GwCore* userSpeed = frame->frame_child(kPosHandUserSpeedName);
    if (low == nullptr || high == nullptr || user == nullptr || userSpeed == nullptr) {
        ShowErrorMessage(kPosHandMissingWidgets, frame);
        return 0.0;
    }
    if (user->is_checked() && !low->is_checked() && !high->is_checked()) return std::atof(userSpeed->text().c_str());
    // With none checked the low speed holds, the one the entering selects.
    const int number = !low->is_checked() && high->is_checked() ? kRuvexHighJogSpeed : kRuvexLowJogSpeed;
    double speed = 0.0;
    if (PosHandRead(BaseOf(context), number, &speed) != 0) {
        DeviceError(BaseOf(context), widget);
        return 0.0;
    }
    return speed;
}

int CB_4_PosHand_SetHandMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    TheRuvexHandState().HandMode = false;
    GwRef<> frame(widget->frame());
    const int state = PosHand4_GetDriveState(base);
    if (!Alive(frame)) return 1;
    if (state == 3 || state == 4 || state == 6 || state == 11) {
        ShowInfoMessage(kPosHandStateForbids, widget->frame());
        PosHandCloseWindow(widget);
        return 1;
    }
    double gate = 0.0;
    if (PosHandRead(base, kRuvexHandModeGate, &gate) != 0) {
        DeviceError(base, widget);
        PosHandCloseWindow(widget);
        return 1;
    }
    if (gate != 0.0 && gate != 1.0) {
        if (Main* main = GetMain()) main->ShowActiveDeviceError(kRuvexHandModeForbiddenMessage, GetMainWindow());
        PosHandCloseWindow(widget);
        return 1;
    }
    if (!ShowRiskNoteManualMode(widget->frame())) {
        PosHandCloseWindow(widget);
        return 1;
    }
    if (!Alive(frame)) return 1;
    EnterWithValues(widget, base);
    return 1;
}

int CB_4_PosHand_ResetHandMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    RuvexHandState& state = TheRuvexHandState();
    GwCore* window = widget->frame();
    GwRef<> frame(window);
    if (!state.HandMode) return CB_CloseDeviceWindow(window, nullptr, GwUD());
    const int driveState = PosHand4_GetDriveState(base);
    if (driveState == kRuvexHandNoDevice && Alive(frame)) {
        if (!ShowErrorMessage(kPosHandNoAnswer, window)) {
            if (Alive(frame)) CB_CloseDeviceWindow(window, nullptr, GwUD());
            return 1;
        }
    }
    if (!Alive(frame)) return 1;
    ActivMessage activity("", window);
    if (!AwaitStandstill(window, base, driveState, activity)) return 1;
    activity.SetMessageText(activity.GetActivMessageText(kPosHandRestoringActivity));
    PosHand4_SendCommand(widget, kRuvexLeaveCommand);
    if (!Alive(frame)) return 1;
    if (PosHandWrite(base, kSaved280, state.Saved280) != 0 || PosHandWrite(base, kSaved260, state.Saved260) != 0) {
        DeviceError(base, widget);
        if (!Alive(frame)) return 1;
    }
    if (Present771(base) && PosHandWrite(base, kRuvexOptionalHandParameter, state.Saved771) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    state.HandMode = false;
    CB_CloseDeviceWindow(window, nullptr, GwUD());
    return 1;
}

int CB_4_PosHand_TippPlus(GwCore* widget, GwEvent* event, GwUD) { return Jog(widget, event, "+"); }
int CB_4_PosHand_TippMinus(GwCore* widget, GwEvent* event, GwUD) { return Jog(widget, event, "-"); }

int CB_4_PosHand_PositionStart(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    const std::string command = std::string(PosHand_IsRelative(widget) ? "GOR" : "GOA") +
                                Whole(PosHand_GetPositionWay(widget)) + "V" + Whole(PosHand4_GetJogSpeed(widget));
    SendOrClose(widget, command);
    return 1;
}

int CB_4_PosHand_PositionStop(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr && DeviceContextOf(widget) != nullptr) SendOrClose(widget, kRuvexStopCommand);
    return 1;
}

int CB_4_PosHand_StartRef(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr && DeviceContextOf(widget) != nullptr) SendOrClose(widget, kRuvexHomingCommand);
    return 1;
}

int CB_4_PosHand_SetCommand(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    auto* box = widget->frame()->frame_child<GwCombo>(kRuvexCommandBoxName);
    if (box == nullptr || box->text().empty()) return 1;
    const std::string command = box->text();
    GwRef<> alive(box);
    if (!PosHand4_SendCommand(widget, command)) {
        PosHandCloseWindow(widget);
        return 1;
    }
    if (!Alive(alive)) return 1;
    if (box->item_text(0) != command) box->insert(command, 0);
    box->set_text("");
    return 1;
}

int CB_4_PosHand_SetWayUnit(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHandSetUnit(widget, context, kRuvexWayUnit);
    return 1;
}

int CB_4_PosHand_SetSpeedUnit(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHandSetUnit(widget, context, kRuvexSpeedUnit);
    return 1;
}

int CB_4_PosHand_ShowHighSpeed(GwCore* widget, GwEvent*, GwUD) { return ShowSpeed(widget, kRuvexHighJogSpeed); }
int CB_4_PosHand_ShowLowSpeed(GwCore* widget, GwEvent*, GwUD) { return ShowSpeed(widget, kRuvexLowJogSpeed); }

int CB_4_PosHand_ShowUserSpeed(GwCore* widget, GwEvent*, GwUD) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    if (DeviceContextOf(widget) == nullptr || toggle == nullptr || !toggle->is_checked()) return 1;
    if (auto* edit = widget->frame()->frame_child<GwEdit>(kPosHandUserSpeedName)) edit->set_read_only(false);
    return 1;
}

int CB_4_PosHand_ShowRefType(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* picture = dynamic_cast<GwPicture*>(widget);
    if (context == nullptr || picture == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    picture->set_bitmap("");
    if (base->IsOnline()) base->ReadBusParameter(kRuvexReferenceType, 0, base->GetValueCount(kRuvexReferenceType));
    const char* name = base->GetParameterName(kRuvexReferenceType);
    const char* value = base->FormatStoredValue(kRuvexReferenceType, 0, false);
    picture->set_bitmap(std::string(name != nullptr ? name : "") + "_" + (value != nullptr ? value : ""));
    return 1;
}

int CB_4_PosHand_DeviceStart(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHand4_DriveStart(BaseOf(context));
    return 1;
}

int CB_4_PosHand_DeviceStop(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHand4_DriveStop(BaseOf(context));
    return 1;
}

int CB_4_CheckControlState(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (widget == nullptr || main == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    widget->stop_timer();
    RuvexHandState& hand = TheRuvexHandState();
    hand.ControlTimer.Widget = GwRef<>(widget);
    PollTimerRestartAtEnd restart(hand.ControlTimer);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwRef<> frame(widget->frame());
    const int state = PosHand4_GetDriveState(BaseOf(context));
    if (!Alive(frame)) return 1;
    const RuvexHandKeys keys = kRuvexHandKeys[static_cast<size_t>(state)];
    if (GwCore* start = widget->frame()->frame_child(kRuvexStartKeyName)) start->set_sensitive(keys.Start);
    if (GwCore* stop = widget->frame()->frame_child(kRuvexStopKeyName)) stop->set_sensitive(keys.Stop);
    return 1;
}

int CB_StartTipWdgTimer(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr) widget->start_timer(kRuvexJogWatchdogMs);
    return 1;
}

int CB_TimerTipWdg(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    RuvexHandState& state = TheRuvexHandState();
    GwRef<> self(widget);
    if (!widget->frame()->is_visible()) {
        if (PosHand4_SendCommand(widget, kRuvexStopCommand)) {
            state.Jogging = false;
            state.JogButton = GwRef<>();
            if (Alive(self)) widget->stop_timer();
        }
        return 1;
    }
    GwCore* button = state.JogButton.get();
    if (state.Jogging && button != nullptr && GwCore::focus_widget() != button) {
        if (PosHand4_SendCommand(widget, kRuvexStopCommand)) {
            state.Jogging = false;
            state.JogButton = GwRef<>();
        }
    }
    return 1;
}
