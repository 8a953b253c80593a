#include "devicewin/zov_state_windows.h"

#include <string>

#include "devicewin/state_window_support.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kStoreDataSetParameter = 150;
constexpr int kPositionValuesParameter = 401;
constexpr int kCurrentValuesParameter = 402;
constexpr int kFirstValueParameter = 400;
constexpr int kSecondValueParameter = 406;
constexpr int kPositionValueCount = 5;
constexpr int kCurrentValueCount = 7;
constexpr char kValueFormat[] = "%2.2f";

constexpr ErrorLampRule kZovLamp{StateModel::kZov, 403, false, 0x0003, 0x0001, 0x0400, false, true};

// The "value" child of the container "<letter><index>"; nothing when either
// is missing.
void ShowValue(GwCore* window, const std::string& container, double value) {
    GwCore* box = window->child(container);
    GwCore* text = box != nullptr ? box->child("value") : nullptr;
    if (text != nullptr) text->set_text(platform::Format(kValueFormat, value));
}

// Reads the whole array from the device, then shows its first `count`
// elements in "<letter>0" onwards. False after a reported error.
bool ShowArray(GwCore* window, ParaBase& base, int number, int count, char letter) {
    if (ReportWindowError(base.ReadBusParameter(number, 0, base.GetValueCount(number)), window)) return false;
    for (int i = 0; i < count; ++i) {
        double value = 0.0;
        if (ReportWindowError(base.GetValueDouble(number, &value, i), window)) return false;
        ShowValue(window, std::string(1, letter) + std::to_string(i), value);
    }
    return true;
}

void PollState(GwCore* window, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (base == nullptr) return;
    uint16_t status = 0;
    if (!ReadStatusWord(kZovLamp, *base, window, &status)) return;
    ShowDeviceStateText(main, window);
    if ((status & kZovLamp.ErrorBits) != 0) {
        ShowErrorLamp(kZovLamp, status, *base, window);
        return;
    }
    ShowNoError(StateModel::kZov, window);
}

void PollValues(GwCore* window, Main& main) {
    ParaBase* base = main.ActiveParaBase();
    if (base == nullptr || !ShowArray(window, *base, kPositionValuesParameter, kPositionValueCount, 'P')) return;
    double first = 0.0;
    double second = 0.0;
    if (ReportWindowError(base->ReadValueDouble(kFirstValueParameter, &first), window)) return;
    if (ReportWindowError(base->ReadValueDouble(kSecondValueParameter, &second), window)) return;
    ShowValue(window, "F0", first);
    ShowValue(window, "F1", second);
}

}  // namespace

int Zov_Create_State(GwCore* widget, GwEvent*, GwUD) {
    FindWindowWidgets(widget, {"error", "eres", "state"});
    return 1;
}

int Zov_Show_State(GwCore* widget, GwEvent*, GwUD) {
    SetChildEnabled(widget, "eres", false);
    StartFirstPoll(widget);
    return 1;
}

int Zov_Hide_State(GwCore* widget, GwEvent*, GwUD) {
    StopTimer(widget);
    ClearNoteRefused(StateModel::kZov);
    return 1;
}

int Zov_Timer_State(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kStateWindowPoll, [&](Main& main) { PollState(widget, main); });
}

int Zov_Save(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr) {
        ReportWindowError(base->WriteValueU8(kStoreDataSetParameter, 1, 0), widget);
    }
    return 1;
}

int Zov_Timer_Val(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kStateWindowPoll, [&](Main& main) { PollValues(widget, main); });
}

int Zov_Timer_Current(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, true, kStateWindowPoll, [&](Main& main) {
        if (ParaBase* base = main.ActiveParaBase()) {
            ShowArray(widget, *base, kCurrentValuesParameter, kCurrentValueCount, 'I');
        }
    });
}
