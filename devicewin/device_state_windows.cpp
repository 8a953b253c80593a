#include "devicewin/device_state_windows.h"

#include "devicewin/state_window_support.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kLinkVoltageParameter = 405;
constexpr int kWenzoFeatureParameter = 412;
constexpr uint16_t kWenzoFeatureShownBit = 0x0080;
constexpr uint16_t kWenzoFeatureEnabledBit = 0x1000;

struct StateWindowModel {
    ErrorLampRule Rule;
    bool NeedsDevice = true;
    bool ShowsLinkVoltage = false;  // "uzk"
    bool HasFeatureField = false;   // "SH"
};

constexpr StateWindowModel kRuvex{{StateModel::kRuvex, 403, false, 0x0003, 0x0001, 0x0400, false, false}, false};
constexpr StateWindowModel kMarlo{{StateModel::kMarlo, 403, false, 0x0003, 0x0001, 0x0400, false, false}, true, true};
constexpr StateWindowModel kPesco{{StateModel::kPesco, 410, true, 0x0008, 0x0008, 0x0010, true, false}, true};
constexpr StateWindowModel kWenzo{
    {StateModel::kWenzo, 410, false, 0x0008, 0x0008, 0x0010, true, false}, true, false, true};

bool Create(GwCore* window, const StateWindowModel& model) {
    if (model.ShowsLinkVoltage) return FindWindowWidgets(window, {"error", "eres", "uzk", "state"});
    if (model.HasFeatureField) return FindWindowWidgets(window, {"error", "eres", "SH", "state"});
    return FindWindowWidgets(window, {"error", "eres", "state"});
}

void ShowOffline(GwCore* window, const StateWindowModel& model) {
    SetChildEnabled(window, "eres", false);
    if (GwCore* lamp = window->child("error")) lamp->set_background("gray");
    SetChildText(window, "error", "");
    SetChildText(window, "state", "");
    if (model.HasFeatureField) {
        if (GwCore* feature = window->child("SH")) feature->set_foreground("black");
    }
}

void Poll(GwCore* window, const StateWindowModel& model, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (!main.HasOnlineDevice() || base == nullptr) {
        ShowOffline(window, model);
        return;
    }
    if (model.ShowsLinkVoltage) {
        double voltage = 0.0;
        if (ReportWindowError(base->ReadValueDouble(kLinkVoltageParameter, &voltage), window)) return;
        SetChildText(window, "uzk", platform::Format("%.0lf", voltage));
    }
    uint16_t status = 0;
    if (!ReadStatusWord(model.Rule, *base, window, &status)) return;
    ShowDeviceStateText(main, window);
    if ((status & model.Rule.ErrorBits) != 0) {
        if (!ShowErrorLamp(model.Rule, status, *base, window)) return;
    } else {
        ShowNoError(model.Rule.Model, window);
    }
    // The error note may have run events; the window may be gone.
    if (model.HasFeatureField && IsLiveWidget(window)) {
        SetChildEnabled(window, "SH", (status & kWenzoFeatureEnabledBit) != 0);
    }
}

int Show(GwCore* window, const StateWindowModel& model) {
    if (model.HasFeatureField) {
        Main* main = GetMain();
        if (ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr) {
            uint16_t features = 0;
            if (ReportWindowError(base->ReadValueU16(kWenzoFeatureParameter, &features), window)) return 1;
            if (GwCore* feature = window->child("SH")) {
                (features & kWenzoFeatureShownBit) != 0 ? feature->show() : feature->hide();
            }
        }
    }
    SetChildEnabled(window, "eres", false);
    StartFirstPoll(window);
    return 1;
}

int Tick(GwCore* window, const StateWindowModel& model) {
    return PollTick(window, model.NeedsDevice, kStateWindowPoll, [&](Main& main) { Poll(window, model, main); });
}

int Hide(GwCore* window, const StateWindowModel& model) {
    StopTimer(window);
    ClearNoteRefused(model.Rule.Model);
    return 1;
}

}  // namespace

int Ruvex_Create_State(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kRuvex);
    return 1;
}
int Ruvex_Show_State(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kRuvex); }
int Ruvex_Timer_State(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kRuvex); }
int Ruvex_Hide_State(GwCore* widget, GwEvent*, GwUD) { return Hide(widget, kRuvex); }

int Marlo_Create_State(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kMarlo);
    return 1;
}
int Marlo_Show_State(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kMarlo); }
int Marlo_Timer_State(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kMarlo); }
int Marlo_Hide_State(GwCore* widget, GwEvent*, GwUD) { return Hide(widget, kMarlo); }

int Pesco_Create_State(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kPesco);
    return 1;
}
int Pesco_Show_State(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kPesco); }
int Pesco_Timer_State(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kPesco); }
int Pesco_Hide_State(GwCore* widget, GwEvent*, GwUD) { return Hide(widget, kPesco); }

int Wenzo_Create_State(GwCore* widget, GwEvent*, GwUD) {
    Create(widget, kWenzo);
    return 1;
}
int Wenzo_Show_State(GwCore* widget, GwEvent*, GwUD) { return Show(widget, kWenzo); }
int Wenzo_Timer_State(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, kWenzo); }
int Wenzo_Hide_State(GwCore* widget, GwEvent*, GwUD) { return Hide(widget, kWenzo); }

int Ruvex_Eres(GwCore*, GwEvent*, GwUD) {
    ResetActiveDeviceError();
    return 1;
}
