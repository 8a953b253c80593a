#include "devicewin/io_state_windows.h"

#include <cstdio>
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "bus/base/device_parameters.h"
#include "bus/base/parameter_entry.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/io_state_tables.h"
#include "devicewin/poll_timer.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

namespace {

// What a model's window keeps for the whole program run: its view and
// counters outlive closing and reopening the window.
struct IoStateRecord {
    bool NameView = false;  // terminals show their labels, "fct" reads "Fct"
    uint32_t TickCount = 0;
    bool RelayoutPending = true;
    size_t FunctionIndex = 0;
};

struct IoStateRecords {
    IoStateRecord Ruvex;
    IoStateRecord Marlo;
    IoStateRecord Pesco;
    IoStateRecord Talin;
    IoStateRecord Wenzo;
};

IoStateRecords& TheIoStateRecords() {
    static IoStateRecords records;
    return records;
}

const platform::ResetHook kResetIoStateRecords([] { TheIoStateRecords() = IoStateRecords{}; });

IoStateRecord& RecordOf(const IoStateModel& model) {
    IoStateRecords& records = TheIoStateRecords();
    if (&model == &kRuvexIoState) return records.Ruvex;
    if (&model == &kMarloIoState) return records.Marlo;
    if (&model == &kPescoIoState) return records.Pesco;
    if (&model == &kTalinIoState) return records.Talin;
    return records.Wenzo;
}

constexpr char kGreen[] = "green";
constexpr char kGray[] = "gray";
constexpr char kNoVoltage[] = "     ";
constexpr char kNameViewButtonText[] = "Fct";
constexpr char kFunctionViewButtonText[] = "IO";
constexpr const char* kExtensionGroups[] = {"ie1xx", "ie2xx", "oe1xx"};
constexpr int kMissingWidgetMessage = 7;

// The model's window at or above the widget (the window itself, "enpo" or
// "fct" inside it); null when the widget is not in one.
GwCore* WindowOf(const IoStateModel& model, GwCore* widget) {
    for (GwCore* w = widget; w != nullptr; w = w->parent()) {
        if (w->is_alive() && w->name() == model.WindowName) return w;
    }
    return nullptr;
}

GwCore* Child(GwCore* window, const char* name) { return window != nullptr ? window->child(name) : nullptr; }

void SetText(GwCore* window, const char* name, const std::string& text) {
    if (GwCore* w = Child(window, name)) w->set_text(text);
}

void SetLamp(GwCore* window, const char* name, bool on) {
    if (GwCore* w = Child(window, name)) w->set_foreground(on ? kGreen : kGray);
}

void ForGroups(GwCore* window, void (GwCore::*action)()) {
    for (const char* group : kExtensionGroups) {
        if (GwCore* w = Child(window, group)) (w->*action)();
    }
}

// Shows a failed read as device error 5 of the active device; true when
// there was one.
bool Failed(int code, GwCore* widget) {
    return ReportDeviceAccessError(code, widget != nullptr ? widget->frame() : nullptr, nullptr);
}

std::string Voltage(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.2fV", static_cast<double>(value));
    return text;
}

enum class Module { Absent, Present, Failed };

Module ReadModule(const IoStateModel& model, ParaBase& base, GwCore* widget) {
    bool present = false;
    for (int slot : model.SlotParameters) {
        uint16_t code = 0;
        if (Failed(base.ReadValueU16(slot, &code), widget)) return Module::Failed;
        present = present || code == model.ModuleCode;
    }
    return present ? Module::Present : Module::Absent;
}

// The analogue values of every second tick; false after a failed read.
bool ShowAnalogueValues(const IoStateModel& model, ParaBase& base, GwCore* window) {
    const std::pair<int, const char*> inputs[] = {{kAnalogueInput0Parameter, "isa0_v"},
                                                  {kAnalogueInput1Parameter, "isa1_v"}};
    for (const auto& [parameter, name] : inputs) {
        float value = 0.0f;
        if (Failed(base.ReadValueFloat(parameter, &value), window)) return false;
        SetText(window, name, Voltage(value));
    }
    if (!model.HasAnalogueOutput) return true;
    const ParameterEntry* entry = base.GetEntry(kAnalogueOutputParameter);
    if (entry == nullptr || entry->number == 0 || entry->valid == 0) {
        SetText(window, "osa0_v", kNoVoltage);
        return true;
    }
    float value = 0.0f;
    if (Failed(base.ReadValueFloat(kAnalogueOutputParameter, &value), window)) return false;
    SetText(window, "osa0_v", Voltage(value));
    return true;
}

void ShowExtensionModule(const IoStateModel& model, ParaBase& base, GwCore* window) {
    const Module module = ReadModule(model, base, window);
    if (module == Module::Failed) return;
    if (model.HidesGroupsOnVersion200 && Talin_IsVersion200()) {
        ForGroups(window, &GwCore::hide);
        return;
    }
    IoStateRecord& record = RecordOf(model);
    if (module == Module::Present) {
        ForGroups(window, &GwCore::enable);
        record.RelayoutPending = false;
        uint16_t bits = 0;
        if (Failed(base.ReadValueU16(kExtensionModuleParameter, &bits), window)) return;
        for (int i = 0; i < 8; ++i) SetLamp(window, ("ie0" + std::to_string(i)).c_str(), (bits >> i) & 1U);
        for (int i = 0; i < 4; ++i) SetLamp(window, ("oe0" + std::to_string(i)).c_str(), (bits >> (8 + i)) & 1U);
        return;
    }
    ForGroups(window, &GwCore::disable);
    if (record.RelayoutPending) {
        // Giving the window its own place and size again lays it out anew
        // without the empty groups.
        window->set_position(window->position());
        window->set_dimension(window->dimension());
        record.RelayoutPending = false;
    }
}

int IoTick(const IoStateModel& model, GwCore* widget) {
    Main* main = GetMain();
    if (main == nullptr || widget == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    PollTimer timer{kDeviceWindowPollMaximumMs, model.IoTick.IntervalAt9600Ms, model.IoTick.MinimumMs, widget};
    widget->stop_timer();
    PollTimerRestartAtEnd restart(timer);
    ParaBase* base = main->ActiveParaBase();
    if (base == nullptr) return 1;
    uint16_t status = 0;
    if (Failed(base->ReadValueU16(model.StatusParameter, &status), widget)) return 1;
    for (const IoLamp& lamp : model.Lamps) SetLamp(widget, lamp.Widget, (status >> lamp.Bit) & 1U);
    IoStateRecord& record = RecordOf(model);
    ++record.TickCount;
    if (record.TickCount % 2 == 0 && !ShowAnalogueValues(model, *base, widget)) return 1;
    if (!model.SlotParameters.empty()) ShowExtensionModule(model, *base, widget);
    return 1;
}

uint8_t RunModeOption(const IoStateModel& model, ParaBase& base) {
    uint8_t option = 0;
    int code = 0;
    switch (model.RunModeOption) {
        case IoRunModeOption::None:
            return 0;
        case IoRunModeOption::ReadFromDevice:
            code = base.ReadValueU8(kRunModeParameter, &option);
            break;
        case IoRunModeOption::Stored:
            code = base.GetValueU8(kRunModeParameter, &option);
            break;
    }
    return code == 0 ? option : 0;
}

void SetTooltip(const IoStateModel& model, ParaBase& base, GwCore* window, const IoTerminal& terminal, uint8_t option) {
    GwCore* w = Child(window, terminal.Widget);
    if (w == nullptr) return;
    const char* text = model.RunModeOption == IoRunModeOption::None
                           ? base.GetDispatchedValueText(terminal.Parameter, 0)
                           : base.GetDispatchedValueTextEx(terminal.Parameter, static_cast<char>(option), 0);
    w->set_tip_text(std::string(terminal.Label) + " = " + (text != nullptr ? text : ""));
}

void ShowFunctionTexts(const IoStateModel& model, ParaBase& base, GwCore* window) {
    if (RecordOf(model).NameView) return;
    for (const IoTerminal& terminal : model.Terminals) {
        if (terminal.Parameter == 0) continue;
        GwCore* w = Child(window, terminal.Widget);
        if (w == nullptr) continue;
        const char* value = base.FormatStoredValue(terminal.Parameter, 0, false);
        char text[256];
        std::snprintf(text, sizeof text, "%-5s", value != nullptr ? value : "");
        // Written only when it differs, so unchanged texts do not flicker.
        if (w->text() != text) w->set_text(text);
    }
}

// A function parameter from the device, all elements of an array.
int ReadFunction(ParaBase& base, int parameter) {
    return base.ReadBusParameter(parameter, 0, base.GetValueCount(parameter));
}

// Reads and shows the function parameters; the caller has handled the
// timer.
void FunctionPass(const IoStateModel& model, ParaBase& base, GwCore* widget) {
    GwCore* window = WindowOf(model, widget);
    if (model.ReadsAllFunctions) {
        for (const IoTerminal& terminal : model.Terminals) {
            if (terminal.Parameter == 0) continue;
            if (Failed(ReadFunction(base, terminal.Parameter), widget)) return;
        }
        const uint8_t option = RunModeOption(model, base);
        for (const IoTerminal& terminal : model.Terminals) {
            if (terminal.Parameter != 0) SetTooltip(model, base, window, terminal, option);
        }
        ShowFunctionTexts(model, base, window);
        return;
    }
    IoStateRecord& record = RecordOf(model);
    if (record.FunctionIndex >= model.Terminals.size()) record.FunctionIndex = 0;
    const IoTerminal& terminal = model.Terminals[record.FunctionIndex];
    if (terminal.Parameter == 0) {
        ++record.FunctionIndex;
        if (!model.StopsAtEntryWithoutParameter) ShowFunctionTexts(model, base, window);
        return;
    }
    if (Failed(ReadFunction(base, terminal.Parameter), widget)) return;
    SetTooltip(model, base, window, terminal, RunModeOption(model, base));
    ++record.FunctionIndex;
    ShowFunctionTexts(model, base, window);
}

int FunctionTick(const IoStateModel& model, GwCore* widget) {
    Main* main = GetMain();
    if (main == nullptr || widget == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    PollTimer timer{
        kDeviceWindowPollMaximumMs, model.FunctionTick.IntervalAt9600Ms, model.FunctionTick.MinimumMs, widget};
    widget->stop_timer();
    ParaBase* base = main->ActiveParaBase();
    if (model.RestartsFunctionTimerFirst) {
        timer.Restart();
        if (base != nullptr) FunctionPass(model, *base, widget);
        return 1;
    }
    PollTimerRestartAtEnd restart(timer);
    if (base != nullptr) FunctionPass(model, *base, widget);
    return 1;
}

int Show(const IoStateModel& model, GwCore* window, GwEvent* event, GwUD userData);

int Create(const IoStateModel& model, GwCore* window, GwEvent* event, GwUD userData) {
    if (window == nullptr) return 1;
    for (const char* name : model.Widgets) {
        if (window->child(name) == nullptr) {
            ShowErrorMessage(kMissingWidgetMessage, nullptr);
            window->destroy();
            return 1;
        }
    }
    if (&model == &kRuvexIoState) return Show(model, window, event, userData);
    return 1;
}

int Show(const IoStateModel& model, GwCore* window, GwEvent*, GwUD) {
    if (window == nullptr) return 1;
    if (RecordOf(model).NameView) {
        SetText(window, "fct", kNameViewButtonText);
    } else {
        for (int i = 0; i < model.FunctionTicksBeforeShow; ++i) FunctionTick(model, window);
        SetText(window, "fct", kFunctionViewButtonText);
    }
    window->start_timer(kFirstPollPeriodMs);
    if (GwCore* enpo = Child(window, "enpo")) enpo->start_timer(kFirstPollPeriodMs);
    if (model.SlotParameters.empty()) return 1;
    Main* main = GetMain();
    ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (base == nullptr) return 1;
    const Module module = ReadModule(model, *base, window);
    if (module == Module::Failed) return 1;
    if (model.HidesGroupsOnVersion200 && Talin_IsVersion200()) {
        if (GwCore* w = Child(window, "isdsh")) w->hide();
        ForGroups(window, &GwCore::hide);
        return 1;
    }
    ForGroups(window, module == Module::Present ? &GwCore::enable : &GwCore::disable);
    return 1;
}

int Hide(GwCore* window) {
    if (window == nullptr) return 1;
    window->stop_timer();
    if (GwCore* enpo = Child(window, "enpo")) enpo->stop_timer();
    return 1;
}

int Switch(const IoStateModel& model, GwCore* button) {
    IoStateRecord& record = RecordOf(model);
    record.NameView = !record.NameView;
    GwCore* window = WindowOf(model, button);
    if (record.NameView) {
        SetText(window, "fct", kNameViewButtonText);
        for (const IoTerminal& terminal : model.Terminals) SetText(window, terminal.Widget, terminal.Label);
        return 1;
    }
    SetText(window, "fct", kFunctionViewButtonText);
    return FunctionTick(model, button);
}

}  // namespace

bool Talin_IsVersion200() {
    Main* main = GetMain();
    ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr;
    double version = 0.0;
    if (base == nullptr || base->ReadValueDouble(kFirmwareVersionParameter, &version) != 0) return false;
    // Outside the int range it is no version 2.00 either.
    if (!(version > -2147483648.0 && version < 2147483648.0)) return false;
    const int n = static_cast<int>(version);
    return n / 10 * 10 == 200;
}

#define TORVAN_IO_STATE_DEFINITIONS(Model)                                                                    \
    int Model##_Create_IOState(GwCore* widget, GwEvent* event, GwUD userData) {                               \
        return Create(k##Model##IoState, widget, event, userData);                                            \
    }                                                                                                         \
    int Model##_Show_IOState(GwCore* widget, GwEvent* event, GwUD userData) {                                 \
        return Show(k##Model##IoState, widget, event, userData);                                              \
    }                                                                                                         \
    int Model##_Hide_IOState(GwCore* widget, GwEvent*, GwUD) { return Hide(widget); }                         \
    int Model##_Timer_IOState(GwCore* widget, GwEvent*, GwUD) { return IoTick(k##Model##IoState, widget); }   \
    int Model##_Timer_fct(GwCore* widget, GwEvent*, GwUD) { return FunctionTick(k##Model##IoState, widget); } \
    int Model##_Switch_IOStat(GwCore* widget, GwEvent*, GwUD) { return Switch(k##Model##IoState, widget); }

TORVAN_IO_STATE_DEFINITIONS(Ruvex)
TORVAN_IO_STATE_DEFINITIONS(Marlo)
TORVAN_IO_STATE_DEFINITIONS(Pesco)
TORVAN_IO_STATE_DEFINITIONS(Talin)
TORVAN_IO_STATE_DEFINITIONS(Wenzo)

#undef TORVAN_IO_STATE_DEFINITIONS
