#include "devicewin/device_value_windows.h"

#include <array>
#include <cstring>
#include <span>
#include <string>

#include "app/services/message_text.h"
#include "devicewin/state_window_support.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kRunModeParameter = 151;
constexpr char kRunModeName[] = "ASTPR";
constexpr int kControlTypeParameter = 300;
constexpr int kPositionUnitParameter = 766;
constexpr int kSpeedUnitParameter = 902;
constexpr int kScaledSpeedParameter = 997;
constexpr int kSpeedScaleParameter = 844;
constexpr char kWhole[] = "%0.0lf";
constexpr char kTwoPlaces[] = "%0.2lf";
constexpr char kMarloFormat[] = "%2.2lf";
constexpr size_t kMaxGroups = 9;

enum class ValueWindow { kRuvex, kRuvex200, kMarlo, kMarlo200, kPesco, kCount };

struct ValueGroup {
    const char* Name;
    const char* Format;
    int FixedParameter = 0;  // the entry of windows whose entries never change
};

// What a value window keeps for the program run.
struct ValueWindowRecord {
    std::array<int, kMaxGroups> Parameters{};
    int8_t Mode = -1;
    uint32_t TickCount = 0;
    size_t EntryIndex = 0;
    bool ShowsActualValues = false;
};

struct ValueWindowsState {
    std::array<ValueWindowRecord, static_cast<size_t>(ValueWindow::kCount)> Windows{};
};

ValueWindowsState& State() {
    static ValueWindowsState state;
    return state;
}

const platform::ResetHook kResetValueWindows([] { State() = ValueWindowsState{}; });

class Layout;

struct ValueWindowKind {
    ValueWindow Which;
    std::span<const ValueGroup> Groups;
    bool ReadsAllEntries;
    bool TakesMode;
    uint32_t LayoutEvery;
    PollRecord Poll;
    bool (*Lay)(Layout& layout, int mode);
};

ValueWindowRecord& RecordOf(const ValueWindowKind& kind) { return State().Windows.at(static_cast<size_t>(kind.Which)); }

// The groups of one window while it is laid out.
class Layout {
public:
    Layout(const ValueWindowKind& kind, GwCore* window, ParaBase& base)
        : kind_(kind), window_(window), base_(base), record_(RecordOf(kind)) {}

    ParaBase& Base() { return base_; }
    GwCore* Window() { return window_; }
    ValueWindowRecord& Record() { return record_; }

    void Set(const char* group, int parameter, const std::string& unit) {
        Set(group, parameter);
        SetUnit(group, unit);
    }
    // Enabled with the parameter; the unit stays as it is.
    void Set(const char* group, int parameter) {
        const int i = IndexOf(group);
        if (i < 0) return;
        record_.Parameters.at(static_cast<size_t>(i)) = parameter;
        SetEnabled(group, true);
    }
    void SetEnabled(const char* group, bool on) {
        if (GwCore* g = window_->child(group)) on ? g->enable() : g->disable();
    }
    void SetUnit(const char* group, const std::string& unit) {
        GwCore* g = window_->child(group);
        if (GwCore* text = g != nullptr ? g->child("unit") : nullptr) text->set_text(unit);
    }
    // Every group disabled with parameter 0, but the one named `keep`.
    void DisableAll(const char* keep = nullptr) {
        for (size_t i = 0; i < kind_.Groups.size(); ++i) {
            const char* name = kind_.Groups[i].Name;
            if (keep != nullptr && std::strcmp(name, keep) == 0) continue;
            record_.Parameters.at(i) = 0;
            SetEnabled(name, false);
        }
    }
    void ClearUnits() {
        for (const ValueGroup& g : kind_.Groups) SetUnit(g.Name, "");
    }
    // The control type; nothing after a reported read error.
    bool ReadControlType(uint8_t* type) {
        return !ReportWindowError(base_.ReadValueU8(kControlTypeParameter, type), window_);
    }
    // "[" + the parameter's text read from the device + "]"; `fallback`
    // when it cannot be read, or when it is empty and `emptyGivesFallback`.
    std::string BracketedText(int number, const std::string& fallback, bool emptyGivesFallback = false) {
        dstring text;
        if (base_.ReadValueString(number, text) != 0) return fallback;
        if (emptyGivesFallback && text.View().empty()) return fallback;
        return "[" + std::string(text.View()) + "]";
    }

private:
    int IndexOf(const char* group) const {
        for (size_t i = 0; i < kind_.Groups.size(); ++i) {
            if (std::strcmp(kind_.Groups[i].Name, group) == 0) return static_cast<int>(i);
        }
        return -1;
    }

    const ValueWindowKind& kind_;
    GwCore* window_;
    ParaBase& base_;
    ValueWindowRecord& record_;
};

bool LayRuvex(Layout& l, int mode) {
    if (mode < 0) {
        l.DisableAll();
        return true;
    }
    if (mode >= 1 && mode <= 16) {
        l.DisableAll();
        l.Set("iist", 75, "[A]");
        if (mode <= 9) {
            l.Set("nist", 77, "[1/min]");
            l.Set("msoll", 76, "[Nm]");
            l.Set("mist", 76, "[Nm]");
            if (mode >= 2) l.Set("nsoll", 406, "[1/min]");
            return true;
        }
        const std::string position = l.BracketedText(kPositionUnitParameter, "[incr]");
        l.Set("ssoll", 755, position);
        l.Set("sist", 754, position);
        l.Set("ds", 756, position);
        l.Set("nsoll", 77, "[1/min]");
        l.Set("nist", 77, "[1/min]");
        l.Set("msoll", 76, "[Nm]");
        l.Set("mist", 76, "[Nm]");
        return true;
    }
    uint8_t type = 0;
    if (!l.ReadControlType(&type)) return false;
    // "msoll" keeps what the layout before gave it.
    l.DisableAll("msoll");
    if (type > 3) return true;
    l.Set("iist", 75, "[A]");
    l.Set("mist", 76, "[Nm]");
    if (type >= 1) l.Set("nist", 77, "[1/min]");
    if (type == 2) l.Set("nsoll", 406, "[1/min]");
    if (type == 3) l.Set("ds", 79, "[Ink]");
    return true;
}

bool LayRuvex200(Layout& l, int mode) {
    if (mode < 0) {
        l.DisableAll();
        return true;
    }
    const std::string speed = l.BracketedText(kSpeedUnitParameter, "[m/s]");
    l.Set("vsoll", 293, speed);
    l.Set("vist", 77, speed);
    l.Set("nsoll", kScaledSpeedParameter, "[1/min]");
    l.Set("nist", 999, "[1/min]");
    l.Set("iist", 75, "[A]");
    l.Set("mist", 76, "[Nm]");
    l.Set("sbrake", 940, "[mm]");
    return true;
}

// Marlo and Marlo version 200: the control type enables the groups of the
// actual values. A failed read is reported and counts as done.
bool LayActualValues(Layout& l, std::initializer_list<const char*> actual) {
    uint8_t type = 0;
    if (!l.ReadControlType(&type)) return true;
    l.Record().ShowsActualValues = type == 1 || type == 2;
    for (const char* group : actual) l.SetEnabled(group, l.Record().ShowsActualValues);
    return true;
}

bool LayMarlo(Layout& l, int) { return LayActualValues(l, {"fist", "nist", "mist"}); }

bool LayMarlo200(Layout& l, int) {
    const std::string speed =
        l.Base().IsPresent(kSpeedUnitParameter) ? l.BracketedText(kSpeedUnitParameter, "[m/s]") : "[m/s]";
    l.SetUnit("vsoll", speed);
    l.SetUnit("vist", speed);
    l.SetUnit("nist", "[1/min]");
    l.SetUnit("iist", "[A]");
    l.SetUnit("mist", "[Nm]");
    return LayActualValues(l, {"vist", "nist", "mist"});
}

bool LayPesco(Layout& l, int mode) {
    l.ClearUnits();
    l.DisableAll();
    if (mode < 0) return true;
    l.Set("imot", 408, "[A]");
    uint8_t type = 0;
    if (!l.ReadControlType(&type)) return false;
    switch (type) {
        case 0:
            l.Set("nsoll", 406, "[1/min]");
            l.Set("nist", 77, "[1/min]");
            break;
        case 1:
            l.Set("msoll", 406, "[Nm]");
            l.Set("mist", 14, "[Nm]");
            l.Set("nist", 77, "[1/min]");
            break;
        case 2:
            l.Set("nsoll", 406, "[1/min]");
            l.Set("nist", 77, "[1/min]");
            l.Set("msoll", 14, "[Nm]");
            l.Set("mist", 14, "[Nm]");
            break;
        case 3: {
            const std::string position = l.BracketedText(792, "", true);
            l.Set("ssoll", 755, position);
            l.Set("sist", 754, position);
            l.Set("ds", 756, position);
            l.Set("nistDrive", 752, l.BracketedText(793, "", true));
            l.Set("nist", 77, "[1/min]");
            l.Set("mist", 14, "[Nm]");
            break;
        }
        case 4:
            l.Set("nist", 77, "[1/min]");
            break;
        default:
            break;
    }
    return true;
}

constexpr ValueGroup kRuvexGroups[] = {{"ssoll", kWhole},
                                       {"sist", kWhole},
                                       {"ds", kWhole},
                                       {"nsoll", kTwoPlaces},
                                       {"nist", kTwoPlaces},
                                       {"msoll", kTwoPlaces},
                                       {"mist", kTwoPlaces},
                                       {"iist", kTwoPlaces}};
constexpr ValueGroup kRuvex200Groups[] = {{"vsoll", kTwoPlaces},
                                          {"vist", "%0.02lf"},
                                          {"nsoll", kWhole},
                                          {"nist", kWhole},
                                          {"iist", kTwoPlaces},
                                          {"mist", kTwoPlaces},
                                          {"sbrake", kTwoPlaces}};
constexpr ValueGroup kMarloGroups[] = {
    {"fsoll", kMarloFormat, 406}, {"fist", kMarloFormat, 400}, {"nist", kMarloFormat, 401}, {"mist", kMarloFormat, 14}};
constexpr ValueGroup kMarlo200Groups[] = {{"vsoll", kMarloFormat, 950},
                                          {"vist", kMarloFormat, 951},
                                          {"nist", kMarloFormat, 401},
                                          {"iist", kMarloFormat, 409},
                                          {"mist", kMarloFormat, 14},
                                          {"sbrake", kMarloFormat, 940}};
constexpr ValueGroup kPescoGroups[] = {{"ssoll", kWhole},
                                       {"sist", kWhole},
                                       {"ds", kWhole},
                                       {"nsoll", kTwoPlaces},
                                       {"nist", kTwoPlaces},
                                       {"nistDrive", kWhole},
                                       {"msoll", kTwoPlaces},
                                       {"mist", kTwoPlaces},
                                       {"imot", kTwoPlaces}};

constexpr PollRecord kRuvexValuePoll{100000, 2000, 800};
constexpr PollRecord kOneEntryPoll{100000, 1000, 300};

const ValueWindowKind kRuvex{ValueWindow::kRuvex, kRuvexGroups, true, true, 4, kRuvexValuePoll, LayRuvex};
const ValueWindowKind kRuvex200{ValueWindow::kRuvex200, kRuvex200Groups, true, true, 4, kRuvexValuePoll, LayRuvex200};
const ValueWindowKind kMarlo{ValueWindow::kMarlo, kMarloGroups, false, false, 6, kOneEntryPoll, LayMarlo};
const ValueWindowKind kMarlo200{ValueWindow::kMarlo200, kMarlo200Groups, false, false, 6, kOneEntryPoll, LayMarlo200};
const ValueWindowKind kPesco{ValueWindow::kPesco, kPescoGroups, false, true, 10, kOneEntryPoll, LayPesco};

GwCore* ValueText(GwCore* window, const char* group) {
    GwCore* g = window->child(group);
    return g != nullptr ? g->child("value") : nullptr;
}

void SetValueText(GwCore* window, const char* group, const std::string& text) {
    if (GwCore* value = ValueText(window, group)) value->set_text(text);
}

bool IsRunModeNamed(ParaBase& base) { return std::strcmp(base.GetParameterName(kRunModeParameter), kRunModeName) == 0; }

// The mode at show time: the stored 151 as a signed byte when the device is
// online and 151 is the run mode, else -1.
int ShowMode(ParaBase* base) {
    Main* main = GetMain();
    if (base == nullptr || main == nullptr || !main->HasOnlineDevice() || !IsRunModeNamed(*base)) return -1;
    int8_t mode = -1;
    if (base->GetValueS8(kRunModeParameter, &mode) != 0) return -1;
    return mode;
}

bool Create(GwCore* window, const ValueWindowKind& kind) {
    for (const ValueGroup& g : kind.Groups) {
        if (!FindWindowWidgets(window, {g.Name})) return false;
    }
    ValueWindowRecord& record = RecordOf(kind);
    for (size_t i = 0; i < kind.Groups.size(); ++i) {
        if (kind.Groups[i].FixedParameter != 0) record.Parameters.at(i) = kind.Groups[i].FixedParameter;
    }
    return true;
}

int Show(GwCore* window, const ValueWindowKind& kind) {
    Main* main = GetMain();
    ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr;
    ValueWindowRecord& record = RecordOf(kind);
    if (kind.TakesMode) {
        record.Mode = -1;
        record.Mode = static_cast<int8_t>(ShowMode(base));
    } else if (main == nullptr || !main->HasOnlineDevice()) {
        return 1;
    }
    if (base != nullptr) {
        Layout layout(kind, window, *base);
        kind.Lay(layout, record.Mode);
    }
    StartFirstPoll(window);
    return 1;
}

// The value of one entry, as the window prints it; false after a reported
// read error. An entry without parameter shows nothing.
bool ShowEntry(GwCore* window, const ValueWindowKind& kind, ParaBase& base, size_t index) {
    const ValueGroup& group = kind.Groups[index];
    const int parameter = RecordOf(kind).Parameters.at(index);
    if (parameter == 0) {
        SetValueText(window, group.Name, "");
        return true;
    }
    double value = 0.0;
    if (ReportWindowError(base.ReadValueDouble(parameter, &value), window)) return false;
    if (kind.Which == ValueWindow::kRuvex200 && parameter == kScaledSpeedParameter) {
        double controlType = 0.0;
        if (ReportWindowError(base.ReadValueDouble(kControlTypeParameter, &controlType), window)) return false;
        if (controlType == 0.0) {
            double scale = 0.0;
            if (ReportWindowError(base.ReadValueDouble(kSpeedScaleParameter, &scale), window)) return false;
            // Without a scale there is no speed to show.
            if (scale == 0.0) {
                SetValueText(window, group.Name, "");
                return true;
            }
            value = value * 60.0 / scale;
        }
    }
    SetValueText(window, group.Name, platform::Format(group.Format, value));
    return true;
}

void Poll(GwCore* window, const ValueWindowKind& kind, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (!main.HasOnlineDevice() || base == nullptr) {
        for (const ValueGroup& g : kind.Groups) SetChildText(window, g.Name, "");
        return;
    }
    ValueWindowRecord& record = RecordOf(kind);
    int mode = 0;
    if (kind.TakesMode && IsRunModeNamed(*base)) {
        uint8_t stored = 0;
        if (ReportWindowError(base->GetValueU8(kRunModeParameter, &stored), window)) return;
        mode = stored;
    }
    const uint32_t count = record.TickCount++;
    const bool modeChanged = static_cast<int8_t>(mode) != record.Mode;
    if (count % kind.LayoutEvery == 0 || (kind.TakesMode && (modeChanged || mode == 0))) {
        record.Mode = static_cast<int8_t>(mode);
        Layout layout(kind, window, *base);
        if (!kind.Lay(layout, mode)) return;
        window->set_rect(window->rect());
    }
    if (kind.ReadsAllEntries) {
        for (size_t i = 0; i < kind.Groups.size(); ++i) {
            if (!ShowEntry(window, kind, *base, i)) return;
        }
        return;
    }
    if (record.EntryIndex >= kind.Groups.size()) record.EntryIndex = 0;
    if (!ShowEntry(window, kind, *base, record.EntryIndex)) return;
    ++record.EntryIndex;
    if (kind.Which == ValueWindow::kPesco || record.ShowsActualValues) return;
    for (const char* group :
         kind.Which == ValueWindow::kMarlo ? std::array{"fist", "nist", "mist"} : std::array{"vist", "nist", "mist"}) {
        SetValueText(window, group, "");
    }
}

int Tick(GwCore* window, const ValueWindowKind& kind) {
    return PollTick(window, true, kind.Poll, [&](Main& main) { Poll(window, kind, main); });
}

constexpr PollRecord kPositioningPoll{100000, 2000, 800};
constexpr PollRecord kDataSetPoll{100000, 4000, 2000};
constexpr PollRecord kDriveSetPoll{100000, 3000, 800};
constexpr int kPositioningState = 757;
constexpr int kPositioningProgram = 744;
constexpr int kPositioningLine = 745;
constexpr uint8_t kNoProgram = 255;
constexpr int kFirstPositioningStateMessage = 2019;

void PollPositioning(GwCore* window, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (!main.HasOnlineDevice() || base == nullptr) {
        for (const char* name : {"PosState", "PosProg", "PosLine"}) SetChildText(window, name, "");
        return;
    }
    std::string state = "???";
    if (base->IsPresent(kPositioningState)) {
        double value = 0.0;
        if (ReportWindowError(base->ReadValueDouble(kPositioningState, &value), window)) return;
        const int number = static_cast<int>(value) + kFirstPositioningStateMessage;
        state = number >= 0 ? GetMessageString(static_cast<unsigned>(number), kMainMessagesSection).Text() : "???";
    }
    SetChildText(window, "PosState", state);
    uint8_t program = 0;
    if (ReportWindowError(base->ReadValueU8(kPositioningProgram, &program), window)) return;
    if (program == kNoProgram) {
        SetChildText(window, "PosProg", "-");
        SetChildText(window, "PosLine", "-");
        return;
    }
    SetChildText(window, "PosProg", platform::Format("%d", static_cast<int>(program)));
    double line = 0.0;
    if (ReportWindowError(base->ReadValueDouble(kPositioningLine, &line), window)) return;
    SetChildText(window, "PosLine", platform::Format("%d", static_cast<int>(line)));
}

// Reads the whole parameter and shows its display text; false after a
// reported error.
bool ShowDisplayText(GwCore* window, ParaBase& base, int number, const char* name) {
    if (ReportWindowError(base.ReadBusParameter(number, 0, base.GetValueCount(number)), window)) return false;
    SetChildText(window, name, base.FormatStoredValue(number, 0, false));
    return true;
}

void PollDataSet(GwCore* window, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (!main.HasOnlineDevice() || base == nullptr) {
        SetChildText(window, "uds", "");
        SetChildText(window, "cds", "");
        return;
    }
    if (ShowDisplayText(window, *base, 165, "uds")) ShowDisplayText(window, *base, 650, "cds");
}

void PollDriveSet(GwCore* window, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (!main.HasOnlineDevice() || base == nullptr) return;
    uint16_t value = 0;
    if (ReportWindowError(base->ReadValueU16(278, &value), window)) return;
    SetChildText(window, "ChosenDS", platform::Format("%u", static_cast<unsigned>(value)));
    if (ReportWindowError(base->ReadValueU16(776, &value), window)) return;
    SetChildText(window, "ActiveDS", platform::Format("%u", static_cast<unsigned>(value)));
}

}  // namespace

int Ruvex_Create_Val(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kRuvex);
    return 1;
}
int Ruvex_Show_Val(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kRuvex); }
int Ruvex_Timer_Val(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kRuvex); }

int Ruvex_200_Create_Val(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kRuvex200);
    return 1;
}
int Ruvex_200_Show_Val(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kRuvex200); }
int Ruvex_200_Timer_Val(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kRuvex200); }

int Marlo_Create_Val(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kMarlo);
    return 1;
}
int Marlo_Show_Val(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kMarlo); }
int Marlo_Timer_Val(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kMarlo); }

int Marlo_200_Create_Val(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kMarlo200);
    return 1;
}
int Marlo_200_Show_Val(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kMarlo200); }
int Marlo_200_Timer_Val(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kMarlo200); }

int Pesco_Create_Val(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kPesco);
    return 1;
}
int Pesco_Show_Val(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kPesco); }
int Pesco_Timer_Val(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kPesco); }

int Ruvex_Create_PosMod(GwCore* widget, GwEvent*, GwUD) {
    FindWindowWidgets(widget, {"PosState", "PosProg", "PosLine"});
    return 1;
}
int Ruvex_Timer_PosMod(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kPositioningPoll, [&](Main& main) { PollPositioning(widget, main); });
}

int Marlo_Create_Set(GwCore* widget, GwEvent*, GwUD) {
    FindWindowWidgets(widget, {"uds", "cds"});
    return 1;
}
int Marlo_Timer_Set(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kDataSetPoll, [&](Main& main) { PollDataSet(widget, main); });
}

int Pesco_Create_DriveSet(GwCore* widget, GwEvent*, GwUD) {
    FindWindowWidgets(widget, {"ChosenDS", "ActiveDS"});
    return 1;
}
int Pesco_Timer_DriveSet(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kDriveSetPoll, [&](Main& main) { PollDriveSet(widget, main); });
}
