#include "families/manual_positioning_pesco.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "app/services/window_handler.h"
#include "bus/base/basic_bus.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/widget_display.h"
#include "families/manual_positioning.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/token_source.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kReadFailedState = 254;
constexpr int kLastDriveState = 8;
constexpr int kDeviceTypeParameter = 91;
constexpr uint32_t kJogPlusBit = 0x40;
constexpr uint32_t kJogMinusBit = 0x80;
constexpr uint32_t kJogBitsCleared = 0xFF3F;
constexpr uint32_t kStartEdgeBit = 0x2;
constexpr uint32_t kHomingBit = 0x1;
constexpr int kHandParameters[] = {280, 281, 260};
constexpr double kHandValues[] = {7, 0, 7};
constexpr int kProtected[] = {280, 281, 260, kPescoControlWord, kPescoPositioningWord, kPescoModeWord, 150, 152};

const platform::ResetHook kResetPescoHandState([] { ThePescoHandState() = PescoHandState{}; });

ParaBase* BaseOf(DeviceSetupContext* context) { return context->Base.get(); }
bool Alive(const GwRef<>& ref) { return ref.get() != nullptr; }

bool DeviceError(ParaBase* base, GwCore* widget) { return ShowDeviceError(kPosHandDeviceError, base, widget->frame()); }

bool ActiveDeviceError(int number) {
    Main* main = GetMain();
    return main == nullptr || main->ShowActiveDeviceError(number, GetMainWindow());
}

// A write of a protected parameter: the holder permits exactly this one.
int GuardedWrite(ParaBase* base, int number, double value) {
    TheParaWriteLock().AllowNextWrite(ThePescoHandState().Owner);
    return PosHandWrite(base, number, value);
}

void ReleaseLock() {
    PescoHandState& state = ThePescoHandState();
    if (state.Owner != 0) TheParaWriteLock().Release(state.Owner);
    state.Owner = 0;
    state.HandMode = false;
    state.Window.reset();
}

// A window destroyed while its hand mode holds the lock gives it back.
void ReleaseIfWindowGone() {
    PescoHandState& state = ThePescoHandState();
    if (state.Owner != 0 && !Alive(state.Window)) ReleaseLock();
}

// Destroy callback of a window whose hand mode holds the lock.
int ReleaseWithWindow(GwCore* window, GwEvent*, GwUD) {
    PescoHandState& state = ThePescoHandState();
    if (state.Owner != 0 && (state.Window.get() == window || !Alive(state.Window))) ReleaseLock();
    return 1;
}

// Reads 236 and writes it changed by `change`, past the lock.
bool ChangeBits(ParaBase* base, GwCore* widget, uint32_t (*change)(uint32_t, int), int index) {
    double value = 0.0;
    if (PosHandRead(base, kPescoPositioningWord, &value) != 0) {
        DeviceError(base, widget);
        return false;
    }
    const uint32_t word = change(static_cast<uint32_t>(value), index) & 0xFFFF;
    if (GuardedWrite(base, kPescoPositioningWord, word) != 0) {
        DeviceError(base, widget);
        return false;
    }
    return true;
}

bool ControlBit(ParaBase* base, uint32_t set, uint32_t keep) {
    double value = 0.0;
    if (PosHandRead(base, kPescoControlWord, &value) != 0) return ActiveDeviceError(kPosHandDeviceError), false;
    const uint32_t word = (static_cast<uint32_t>(value) & keep) | set;
    if (GuardedWrite(base, kPescoControlWord, word) != 0) return ActiveDeviceError(kPosHandDeviceError), false;
    return true;
}

int Jog(GwCore* widget, GwEvent* event, uint32_t directionBit) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr || event == nullptr) return 1;
    if (event->reason != GwBUTTON_DOWN && event->reason != GwBUTTON_UP) return 1;
    ParaBase* base = BaseOf(context);
    PescoHandState& state = ThePescoHandState();
    double value = 0.0;
    if (PosHandRead(base, kPescoPositioningWord, &value) != 0) return ActiveDeviceError(kPosHandDeviceError), 0;
    uint32_t word = static_cast<uint32_t>(value);
    if (event->reason == GwBUTTON_DOWN) {
        word |= directionBit;
        if (GuardedWrite(base, kPescoPositioningWord, word) != 0) return ActiveDeviceError(kPosHandDeviceError), 0;
        if (PosHand5_IsHighSpeed(widget)) {
            // Held across the edge's wait: a window closed meanwhile has left
            // the hand mode, and no jog starts again.
            const GwRef<> self(widget);
            WaitMilliseconds(kPescoEdgeMs);
            if (!self) return 1;
            word |= kJogPlusBit | kJogMinusBit;
            if (GuardedWrite(base, kPescoPositioningWord, word) != 0) return ActiveDeviceError(kPosHandDeviceError), 0;
        }
        state.Jogging = true;
        state.JogButton = GwRef<>(widget);
        return 1;
    }
    word &= kJogBitsCleared;
    state.Jogging = false;
    state.JogButton.reset();
    if (GuardedWrite(base, kPescoPositioningWord, word) != 0) return ActiveDeviceError(kPosHandDeviceError), 0;
    return 1;
}

// The index in "Tidx", or -1 after warning 147 when it lies outside the
// table; -2 without the widget.
int TableIndex(GwCore* widget, ParaBase* base) {
    GwCore* field = widget->frame()->frame_child(kPescoIndexName);
    if (field == nullptr) return -2;
    const int index = std::atoi(field->text().c_str());
    if (index < 0 || index >= base->GetValueCount(kPescoPositionTable)) {
        ShowWarningMessage(kPescoInvalidIndexMessage, widget->frame());
        return -1;
    }
    return index;
}

uint32_t NextEntry(uint32_t word, int index) { return (word & 0xF0FF) | ((static_cast<uint32_t>(index) | 16u) << 8); }
uint32_t SetEntry(uint32_t word, int index) { return (word & 0xF0FD) | (static_cast<uint32_t>(index) << 8); }
uint32_t ClearStartEdge(uint32_t word, int) { return word & ~kStartEdgeBit; }

int ChangeMode(GwCore* widget, bool showSpeed, int first, double firstValue, int second, double secondValue) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    if (GwCore* speed = widget->frame()->frame_child(kPescoSpeedGroupName)) {
        if (showSpeed)
            speed->show();
        else
            speed->hide();
    }
    if (!ChangeBits(base, widget, ClearStartEdge, 0)) return 1;
    if (GuardedWrite(base, first, firstValue) != 0 || GuardedWrite(base, second, secondValue) != 0)
        DeviceError(base, widget);
    return 1;
}

// Writes back the hand-mode values that a failed entering changed.
void UndoEntering(ParaBase* base, GwCore* widget, int written) {
    const PescoHandState& state = ThePescoHandState();
    const double saved[] = {state.Saved280, state.Saved281, state.Saved260};
    bool failed = false;
    for (int i = 0; i < written && i < 3; ++i) failed |= GuardedWrite(base, kHandParameters[i], saved[i]) != 0;
    if (failed) DeviceError(base, widget);
}

bool Enter(GwCore* widget, ParaBase* base) {
    PescoHandState& state = ThePescoHandState();
    if (PosHandRead(base, 280, &state.Saved280) != 0 || PosHandRead(base, 281, &state.Saved281) != 0 ||
        PosHandRead(base, 260, &state.Saved260) != 0) {
        DeviceError(base, widget);
        return false;
    }
    const int numbers[] = {280, 281, 260, kPescoControlWord, kPescoPositioningWord, kPescoModeWord};
    const double values[] = {kHandValues[0], kHandValues[1], kHandValues[2], 0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        if (PosHandWrite(base, numbers[i], values[i]) != 0) {
            GwRef<> frame(widget->frame());
            DeviceError(base, widget);
            if (Alive(frame)) UndoEntering(base, widget, i);
            return false;
        }
    }
    return true;
}

bool PollTick(GwCore* widget) {
    Main* main = GetMain();
    return widget != nullptr && main != nullptr && main->CheckTimerIntegrity(widget, true);
}

}  // namespace

PescoHandKeys PescoHandKeysOf(int state) {
    // The Start and Stop columns of the Pesco key table; state 7 keeps the
    // stop key, as the leaving waits in it.
    switch (state) {
        case 3:
            return {true, false};
        case 5:
        case 6:
        case 7:
            return {false, true};
        default:
            return {false, false};
    }
}

PescoHandState& ThePescoHandState() {
    static PescoHandState state;
    return state;
}

int PosHand5_GetDriveState(ParaBase* base) {
    Main* main = GetMain();
    if (main == nullptr || !main->HasOnlineDevice()) return kPescoHandNoDevice;
    DataBus* bus = base != nullptr ? base->GetBus() : nullptr;
    const uint16_t read = bus != nullptr ? bus->ReadDeviceState(main->GetActiveAddress()) : kDeviceStateNoDevice;
    if (read == kDeviceStateReadFailed || read == kReadFailedState) {
        ShowErrorMessage(kBusErrorMessage);
        return kPescoHandNoDevice;
    }
    if (read == kDeviceStateNoDevice || read > kLastDriveState) return kPescoHandUnknown;
    return read;
}

bool PosHand5_IsHighSpeed(GwCore* widget) {
    GwCore* frame = widget->frame();
    auto* low = frame->frame_child<GwToggle>(kPosHandLowSpeedName);
    auto* high = frame->frame_child<GwToggle>(kPosHandHighSpeedName);
    if (low == nullptr || high == nullptr) {
        ShowErrorMessage(kPosHandMissingWidgets, frame);
        return false;
    }
    return high->is_checked();
}

bool PosHand5_EnableControl(ParaBase* base) { return ControlBit(base, 0x1, 0xFFFFFFFF); }
bool PosHand5_DisableControl(ParaBase* base) { return ControlBit(base, 0, 0xFFFE); }
bool PosHand5_StopMotion(ParaBase* base) { return ControlBit(base, 0x4, 0xFFFFFFFF); }

int CB_5_PosHand_SetHandMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ReleaseIfWindowGone();
    ParaBase* base = BaseOf(context);
    PescoHandState& state = ThePescoHandState();
    // The flag is shared by the family's windows: a window refused below
    // must not take it from the window whose hand mode holds the lock.
    const bool heldElsewhere = state.Owner != 0 && state.Window.get() != widget->frame();
    if (!heldElsewhere) state.HandMode = false;
    GwRef<> frame(widget->frame());
    const int driveState = PosHand5_GetDriveState(base);
    if (!Alive(frame)) return 1;
    if (driveState >= 5 && driveState <= 8) {
        ShowInfoMessage(kPosHandStateForbids, widget->frame());
        PosHandCloseWindow(widget);
        return 1;
    }
    int32_t owner = 0;
    while (owner == 0) owner = platform::NewToken();
    if (!TheParaWriteLock().Acquire(owner)) {
        ShowErrorMessage(kPescoLockTakenMessage, widget->frame());
        PosHandCloseWindow(widget);
        return 1;
    }
    state.Owner = owner;
    state.Window = frame;
    // The lock goes with the window; a window with a destroy binding of its
    // own gives it back at the next entering or state tick.
    if (frame->lookup_callback(GwCB_DESTROY) == nullptr) frame->set_callback(GwCB_DESTROY, ReleaseWithWindow);
    if (!Enter(widget, base)) {
        ReleaseLock();
        return 1;
    }
    state.HandMode = true;
    for (int number : kProtected) TheParaWriteLock().Protect(owner, number);
    if (auto* low = widget->frame()->frame_child<GwToggle>(kPosHandLowSpeedName)) low->set_value(1);
    return 1;
}

int CB_5_PosHand_ResetHandMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    PescoHandState& state = ThePescoHandState();
    GwCore* window = widget->frame();
    GwRef<> frame(window);
    if (!state.HandMode) return CB_CloseDeviceWindow(window, nullptr, GwUD());
    int driveState = PosHand5_GetDriveState(base);
    if (driveState == kPescoHandNoDevice && !ActiveDeviceError(kPosHandNoAnswer)) {
        ReleaseLock();
        if (Alive(frame)) CB_CloseDeviceWindow(window, nullptr, GwUD());
        return 1;
    }
    if (DevicesUncoupled || !Alive(frame)) {
        ReleaseLock();
        return 1;
    }
    ActivMessage activity("", window);
    int pass = 0;
    while (PescoHandKeysOf(driveState).Stop) {
        if (DevicesUncoupled) {
            ReleaseLock();
            return 1;
        }
        activity.SetMessageText(activity.GetActivMessageText(kPosHandWaitingActivity));
        WaitMilliseconds(kPescoLeavePassMs);
        if (!Alive(frame)) return ReleaseLock(), 1;
        if (++pass == kPescoLeaveAskEvery) {
            pass = 0;
            double type = 0.0;
            const int message =
                base->ReadValueDouble(kDeviceTypeParameter, &type) != 0 ? kPosHandNoAnswer : kPosHandStillMoving;
            if (!ActiveDeviceError(message)) {
                ReleaseLock();
                if (Alive(frame)) CB_CloseDeviceWindow(window, nullptr, GwUD());
                return 1;
            }
        }
        if (!PosHand5_DisableControl(base) && !ActiveDeviceError(kPosHandNoAnswer)) {
            ReleaseLock();
            if (Alive(frame)) CB_CloseDeviceWindow(window, nullptr, GwUD());
            return 1;
        }
        if (!Alive(frame)) return ReleaseLock(), 1;
        driveState = PosHand5_GetDriveState(base);
    }
    activity.SetMessageText(activity.GetActivMessageText(kPosHandRestoringActivity));
    WaitMilliseconds(kPescoRestoreWaitMs);
    if (!Alive(frame)) return ReleaseLock(), 1;
    const int numbers[] = {kPescoControlWord, kPescoPositioningWord, 280, 281, 260};
    const double values[] = {0, 0, state.Saved280, state.Saved281, state.Saved260};
    for (int i = 0; i < 5; ++i) {
        if (GuardedWrite(base, numbers[i], values[i]) != 0 && !DeviceError(base, widget)) return 1;
        if (!Alive(frame)) return ReleaseLock(), 1;
    }
    ReleaseLock();
    CB_CloseDeviceWindow(window, nullptr, GwUD());
    return 1;
}

int CB_5_PosHand_ControlStart(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHand5_EnableControl(BaseOf(context));
    return 1;
}

int CB_5_PosHand_ControlStop(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHand5_DisableControl(BaseOf(context));
    return 1;
}

int CB_5_PosHand_TippPlus(GwCore* widget, GwEvent* event, GwUD) { return Jog(widget, event, kJogPlusBit); }
int CB_5_PosHand_TippMinus(GwCore* widget, GwEvent* event, GwUD) { return Jog(widget, event, kJogMinusBit); }

int CB5_LeaveTipp(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    if (GwCore* cancel = widget->frame()->frame_child(kPescoCancelName)) cancel->set_focus();
    PescoHandState& state = ThePescoHandState();
    state.Jogging = false;
    state.JogButton.reset();
    if (GuardedWrite(BaseOf(context), kPescoPositioningWord, 0) != 0) return ActiveDeviceError(kPosHandDeviceError), 0;
    return 1;
}

int CB_5_PosHand_SetWayUnit(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHandSetUnit(widget, context, kPescoWayUnit);
    return 1;
}

int CB_5_PosHand_PositionStart(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    double word = PosHand_IsRelative(widget) ? 26 : 10;
    if (PosHand5_IsHighSpeed(widget)) word += 32;
    if (GuardedWrite(base, kPescoPositioningWord, 0) != 0 ||
        PosHandWrite(base, kPescoTargetPosition, PosHand_GetPositionWay(widget)) != 0 ||
        GuardedWrite(base, kPescoPositioningWord, word) != 0)
        DeviceError(base, widget);
    return 1;
}

int CB_5_PosHand_PositionStop(GwCore* widget, GwEvent*, GwUD) {
    if (DeviceSetupContext* context = DeviceContextOf(widget)) PosHand5_StopMotion(BaseOf(context));
    return 1;
}
int CB_5_PosHand_StopRef(GwCore* widget, GwEvent* event, GwUD userData) {
    return CB_5_PosHand_PositionStop(widget, event, userData);
}
int CB_5_PosHand_StopSet(GwCore* widget, GwEvent* event, GwUD userData) {
    return CB_5_PosHand_PositionStop(widget, event, userData);
}

int CB_5_PosHand_StartRef(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    double before = 0.0;
    if (PosHandRead(base, kPescoPositioningWord, &before) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    const uint32_t word = static_cast<uint32_t>(before) & 0xFFFE;
    if (GuardedWrite(base, kPescoPositioningWord, word) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    // Held across the edge's wait: a window closed meanwhile has left the
    // hand mode, and no homing starts.
    const GwRef<> self(widget);
    WaitMilliseconds(kPescoEdgeMs);
    if (!self) return 1;
    if (GuardedWrite(base, kPescoPositioningWord, word | kHomingBit) != 0) DeviceError(base, widget);
    return 1;
}

int CB_5_PosHand_RefTimer(GwCore* widget, GwEvent*, GwUD) {
    if (!PollTick(widget)) return 1;
    widget->stop_timer();
    PescoHandState& state = ThePescoHandState();
    state.HomingTimer.Widget = GwRef<>(widget);
    PollTimerRestartAtEnd restart(state.HomingTimer);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (GwCore* shown = widget->frame()->frame_child(kPescoHomingValueName)) ShowWidgetValue(BaseOf(context), shown);
    return 1;
}

int CB_5_PosHand_TeachIn(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    double position = 0.0;
    if (PosHandRead(base, kPescoActualPosition, &position) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    const int index = TableIndex(widget, base);
    if (index < 0) return 1;
    const int result = base->IsOnline() ? base->WriteValueDouble(kPescoPositionTable, position, index)
                                        : base->SetValueDouble(kPescoPositionTable, position, index);
    if (result != 0) {
        DeviceError(base, widget);
        return 1;
    }
    WindowHandler& windows = TheWindowHandler();
    std::vector<GwRef<>> views;
    for (GwCore* w = windows.First(); w != nullptr; w = windows.Next()) {
        if (w->name().find(kPescoTableViewMark) != std::string::npos) views.emplace_back(w);
    }
    for (GwRef<>& view : views) {
        if (Alive(view)) view->hide();
        if (Alive(view)) view->show();
    }
    return 1;
}

int CB_5_PosHand_StartNext(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    const int index = TableIndex(widget, BaseOf(context));
    if (index >= 0) ChangeBits(BaseOf(context), widget, NextEntry, index);
    return 1;
}

int CB_5_PosHand_StartSet(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    const int index = TableIndex(widget, base);
    if (index < 0) return 1;
    double before = 0.0;
    if (PosHandRead(base, kPescoPositioningWord, &before) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    const uint32_t word = SetEntry(static_cast<uint32_t>(before), index) & 0xFFFF;
    if (GuardedWrite(base, kPescoPositioningWord, word) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    // Held across the edge's wait: a window closed meanwhile has left the
    // hand mode, and no positioning starts.
    const GwRef<> self(widget);
    WaitMilliseconds(kPescoEdgeMs);
    if (!self) return 1;
    if (GuardedWrite(base, kPescoPositioningWord, word | kStartEdgeBit) != 0) DeviceError(base, widget);
    return 1;
}

int CB_5_PosHand_ActivateTippMode(GwCore* widget, GwEvent*, GwUD) {
    return ChangeMode(widget, true, kPescoModeWord, 0, 280, 7);
}
int CB_5_PosHand_ActivatePosMode(GwCore* widget, GwEvent*, GwUD) {
    return ChangeMode(widget, true, kPescoModeWord, 0, 280, 12);
}
int CB_5_PosHand_ActivateRefMode(GwCore* widget, GwEvent*, GwUD) {
    return ChangeMode(widget, false, 280, 12, kPescoModeWord, 0);
}
int CB_5_PosHand_ActivateTabMode(GwCore* widget, GwEvent*, GwUD) {
    return ChangeMode(widget, false, 280, 7, kPescoModeWord, 0);
}

int CB_5_CheckControlState(GwCore* widget, GwEvent*, GwUD) {
    if (!PollTick(widget)) return 1;
    widget->stop_timer();
    PescoHandState& state = ThePescoHandState();
    state.ControlTimer.Widget = GwRef<>(widget);
    PollTimerRestartAtEnd restart(state.ControlTimer);
    ReleaseIfWindowGone();
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwRef<> frame(widget->frame());
    const int driveState = PosHand5_GetDriveState(BaseOf(context));
    if (!Alive(frame)) return 1;
    const PescoHandKeys keys = PescoHandKeysOf(driveState);
    if (GwCore* start = widget->frame()->frame_child(kPescoStartKeyName)) start->set_sensitive(keys.Start);
    if (GwCore* stop = widget->frame()->frame_child(kPescoStopKeyName)) stop->set_sensitive(keys.Stop);
    if (driveState == 2) GuardedWrite(BaseOf(context), kPescoControlWord, 0);
    return 1;
}

int CB_5_PosHand_ShowState(GwCore* widget, GwEvent*, GwUD) {
    if (!PollTick(widget)) return 1;
    widget->stop_timer();
    PescoHandState& state = ThePescoHandState();
    state.StateTimer.Widget = GwRef<>(widget);
    state.StateTimer.Restart();
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    struct Led {
        const char* name;
        int source;
        int bit;
    };
    static const Led kLeds[] = {{"RefDef", kPescoStatusWord, 0},
                                {"SetActive", kPescoStatusWord, 2},
                                {"TargetReached", kPescoStatusWord, 3},
                                {"SwLeft", kPescoStatusWord, 5},
                                {"SwRight", kPescoStatusWord, 6},
                                {"Diff", kPescoStatusWord, 7},
                                {"OutputStage", kPescoDriveStatus, 4},
                                {"Speed0", kPescoDriveStatus, 5},
                                {"QuickStop", kPescoDriveStatus, 6}};
    GwCore* frame = widget->frame();
    GwCore* index = frame->frame_child("ActTidx");
    if (index == nullptr) return 1;
    for (const Led& led : kLeds)
        if (frame->frame_child(led.name) == nullptr) return 1;
    ParaBase* base = BaseOf(context);
    double status = 0.0;
    double drive = 0.0;
    if (PosHandRead(base, kPescoStatusWord, &status) != 0 || PosHandRead(base, kPescoDriveStatus, &drive) != 0) {
        DeviceError(base, widget);
        return 1;
    }
    const auto statusWord = static_cast<uint32_t>(status);
    const auto driveWord = static_cast<uint32_t>(drive);
    for (const Led& led : kLeds) {
        const uint32_t word = led.source == kPescoStatusWord ? statusWord : driveWord;
        frame->frame_child(led.name)->set_sensitive(((word >> led.bit) & 1u) != 0);
    }
    index->set_text(std::to_string((statusWord >> 8) & 15u));
    return 1;
}
