#include "plchost/plc_state_windows.h"

#include <string>

#include "app/main/main_object.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/poll_timer.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_display.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "plchost/plc_editor_host.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_slider.h"

namespace {

PlcActivityState& State() {
    static PlcActivityState state;
    return state;
}

platform::ResetHook ResetState([] { State() = PlcActivityState(); });

constexpr const char* kIndicators[2] = {"EP0", "EP1"};
constexpr const char* kIdle = "P0";
constexpr const char* kPhases[2] = {"P1", "P2"};

// The base of the widget's device window when a timer tick may work now;
// null without a device object or while the guard refuses.
ParaBase* TickBase(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    Main* main = GetMain();
    if (context == nullptr || !context->Base || main == nullptr) return nullptr;
    if (!main->CheckTimerIntegrity(widget, true)) return nullptr;
    return context->Base.get();
}

void SetText(GwCore* frame, const char* name, const std::string& text) {
    if (GwCore* child = frame->child(name)) child->set_text(text);
}

// A poll timer's tick: nothing without a device object or while the guard
// refuses; else the timer stops, `work` runs on the window's base and frame,
// and the timer restarts with the record's interval on every way out.
int PolledTick(GwCore* widget, const uint32_t (&record)[3], void (*work)(ParaBase* base, GwCore* frame)) {
    ParaBase* base = TickBase(widget);
    if (base == nullptr) return 1;
    PollTimer timer{record[0], record[1], record[2], GwRef<>(widget)};
    widget->stop_timer();
    PollTimerRestartAtEnd restart(timer);
    work(base, widget->frame() != nullptr ? widget->frame() : widget);
    return 1;
}

// The indicators: idle while a counter stands, else the two phases in turn.
void ShowActivity(ParaBase* base, GwCore* frame) {
    PlcActivityState& state = State();
    uint32_t counters[2] = {};
    for (int p = 0; p < 2; ++p) base->ReadValueU32(kPlcActivityParameter, &counters[p], p);
    for (int p = 0; p < 2; ++p) {
        const char* shown = kIdle;
        if (counters[p] != state.LastCounters[p]) shown = kPhases[state.Alternations[p]++ % 2];
        if (auto* indicator = frame->child<GwPicture>(kIndicators[p])) indicator->set_bitmap(shown);
        state.LastCounters[p] = counters[p];
    }
}

// The error word's identifier, program and number.
void ShowError(ParaBase* base, GwCore* frame) {
    double value = 0.0;
    ReadShownValue(base, kPlcErrorWordParameter, &value);
    const uint32_t word = BitsOfValue(value);
    SetText(frame, "PLCERR_ID", std::to_string(word >> 24 & 0xFF));
    SetText(frame, "PLCERR_P", std::to_string(word >> 16 & 0xFF));
    SetText(frame, "PLCERR_N", std::to_string(word & 0xFFFF));
}

// Masks A and B of event program p; false at the first failed read.
bool ReadMasks(ParaBase* base, int p, uint32_t* maskA, uint32_t* maskB) {
    double values[4] = {};
    const int numbers[4] = {kEventMaskALow, kEventMaskAHigh, kEventMaskBLow, kEventMaskBHigh};
    for (int i = 0; i < 4; ++i)
        if (ReadShownValue(base, numbers[i], &values[i], p) != kParaOk) return false;
    *maskA = BitsOfValue(values[1]) << 16 | (BitsOfValue(values[0]) & 0xFFFF);
    *maskB = BitsOfValue(values[3]) << 16 | (BitsOfValue(values[2]) & 0xFFFF);
    return true;
}

GwCombo* EventCombo(GwCore* frame, int event) {
    GwCore* events = frame->child(kEventContainer);
    return events != nullptr ? events->child<GwCombo>(std::to_string(event)) : nullptr;
}

void ShowEvents(GwCore* widget, int p) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || !context->Base || widget->frame() == nullptr) return;
    uint32_t maskA = 0;
    uint32_t maskB = 0;
    if (!ReadMasks(context->Base.get(), p, &maskA, &maskB)) return;
    for (int i = 0; i < kEventCount; ++i)
        if (GwCombo* combo = EventCombo(widget->frame(), i))
            combo->select_item(static_cast<int>((maskA >> i & 1) + 2 * (maskB >> i & 1)));
}

// Stores the selection of event program p: the four mask halves in order,
// to the device when the base is online, else into the base. False after
// device error 5 at the first failed access.
bool StoreEvents(GwCore* widget, int p) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || !context->Base || widget->frame() == nullptr) return true;
    uint32_t maskA = 0;
    uint32_t maskB = 0;
    for (int i = 0; i < kEventCount; ++i) {
        GwCombo* combo = EventCombo(widget->frame(), i);
        const int index = combo != nullptr ? combo->selected_index() : 0;
        if (index < 0) continue;
        if (index & 1) maskA |= 1u << i;
        if (index & 2) maskB |= 1u << i;
    }
    ParaBase* base = context->Base.get();
    const std::pair<int, uint32_t> writes[4] = {{kEventMaskALow, maskA & 0xFFFF},
                                                {kEventMaskAHigh, maskA >> 16},
                                                {kEventMaskBLow, maskB & 0xFFFF},
                                                {kEventMaskBHigh, maskB >> 16}};
    for (const auto& [number, value] : writes) {
        const double v = static_cast<double>(value);
        const int code = base->IsOnline() ? base->WriteValueDouble(number, v, p) : base->SetValueDouble(number, v, p);
        if (ReportDeviceAccessError(code, widget->frame(), base)) return false;
    }
    return true;
}

int TakeEvents(GwCore* widget, GwEvent* event, GwUD userData, int p) {
    if (!StoreEvents(widget, p)) return 1;
    ShowEvents(widget, p);
    return CB_DvFctTakeIt(widget, event, userData);
}

int EventsOK(GwCore* widget, GwEvent* event, GwUD userData, int p) {
    // A selection that was not stored keeps its window open.
    if (!StoreEvents(widget, p)) return 1;
    return CB_DvFctOK(widget, event, userData);
}

}  // namespace

PlcActivityState& ThePlcActivityState() { return State(); }

int CB_1_PlcActiveStateTimer(GwCore* widget, GwEvent*, GwUD) {
    return PolledTick(widget, kPlcActivityPollMs, ShowActivity);
}

int CB_DvFctNewPlcTimerObject(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context != nullptr && context->Base && widget->frame() != nullptr) {
        double load = 0.0;
        ReadShownValue(context->Base.get(), kPlcLoadParameter, &load, kPlcLoadElement);
        if (auto* gauge = widget->frame()->child<GwSlider>("AvrLoad")) gauge->set_value(load);
    }
    return CB_DvFctTimerObject(widget, event, userData);
}

int CB_NewPlcErrorDiagnose(GwCore* widget, GwEvent*, GwUD) { return PolledTick(widget, kPlcErrorPollMs, ShowError); }

int CB_CallPlcWindow(GwCore* widget, GwEvent* event, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    const bool newPlc = context != nullptr && context->Base && context->Base->IsPresent(kPlcVersionParameter);
    return CB_CallDeviceWindow(widget, event, GwUD(newPlc ? kNewPlcMainWindow : kPlcMainWindow));
}

int CB_NewPLC_ShowEP0_Events(GwCore* widget, GwEvent* event, GwUD userData) {
    ShowEvents(widget, 0);
    return CB_DvFctShowStandard(widget, event, userData);
}
int CB_NewPLC_ShowEP1_Events(GwCore* widget, GwEvent* event, GwUD userData) {
    ShowEvents(widget, 1);
    return CB_DvFctShowStandard(widget, event, userData);
}
int CB_NewPlcEP0_TakeIt(GwCore* widget, GwEvent* event, GwUD userData) {
    return TakeEvents(widget, event, userData, 0);
}
int CB_NewPlcEP1_TakeIt(GwCore* widget, GwEvent* event, GwUD userData) {
    return TakeEvents(widget, event, userData, 1);
}
int CB_NewPlcEP0_FctOK(GwCore* widget, GwEvent* event, GwUD userData) { return EventsOK(widget, event, userData, 0); }
int CB_NewPlcEP1_FctOK(GwCore* widget, GwEvent* event, GwUD userData) { return EventsOK(widget, event, userData, 1); }

const GwFuncDesc* PlcStateCallbacks() {
    static const GwFuncDesc table[] = {
        {"CB_1_PlcActiveStateTimer", CB_1_PlcActiveStateTimer},
        {"CB_DvFctNewPlcTimerObject", CB_DvFctNewPlcTimerObject},
        {"CB_NewPlcErrorDiagnose", CB_NewPlcErrorDiagnose},
        {"CB_CallPlcWindow", CB_CallPlcWindow},
        {"CB_NewPLC_ShowEP0_Events", CB_NewPLC_ShowEP0_Events},
        {"CB_NewPLC_ShowEP1_Events", CB_NewPLC_ShowEP1_Events},
        {"CB_NewPlcEP0_TakeIt", CB_NewPlcEP0_TakeIt},
        {"CB_NewPlcEP1_TakeIt", CB_NewPlcEP1_TakeIt},
        {"CB_NewPlcEP0_FctOK", CB_NewPlcEP0_FctOK},
        {"CB_NewPlcEP1_FctOK", CB_NewPlcEP1_FctOK},
        {nullptr, nullptr},
    };
    return table;
}
