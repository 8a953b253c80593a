#include "devicewin/state_window_support.h"

#include <algorithm>

#include "app/notes/device_error_note.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "bus/base/basic_bus.h"
#include "devicewin/device_window_frame.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kMissingWidgetMessage = 7;
constexpr int kDeviceErrorNoteMessage = 38;
constexpr int kErrorCodeParameter = 95;
constexpr int kErrorResetParameter = 74;
constexpr uint32_t kFixedErrorCode = 2;

// The note-refused flags of the state windows, for the program run.
struct StateWindowNotes {
    std::array<bool, static_cast<size_t>(StateModel::kCount)> NoteRefused{};
};

StateWindowNotes& Notes() {
    static StateWindowNotes notes;
    return notes;
}

const platform::ResetHook kResetNotes([] { Notes() = StateWindowNotes{}; });

bool& NoteRefused(StateModel model) { return Notes().NoteRefused.at(static_cast<size_t>(model)); }

}  // namespace

bool IsLiveWidget(const GwCore* widget) { return widget != nullptr && GwRcMgr::is_valid_child(widget); }

GwCore* FrameOf(GwCore* widget) {
    if (widget == nullptr) return nullptr;
    GwCore* frame = widget->frame();
    return frame != nullptr ? frame : widget;
}

bool FindWindowWidgets(GwCore* window, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (window->child(name) == nullptr) {
            ShowErrorMessage(kMissingWidgetMessage);
            if (GwCore* frame = FrameOf(window); IsLiveWidget(frame)) frame->destroy();
            return false;
        }
    }
    return true;
}

void SetChildText(GwCore* window, const char* name, const std::string& text) {
    if (GwCore* child = window->child(name)) child->set_text(text);
}

void SetChildEnabled(GwCore* window, const char* name, bool enabled) {
    if (GwCore* child = window->child(name)) enabled ? child->enable() : child->disable();
}

bool ReportWindowError(int code, GwCore* window) { return ReportDeviceAccessError(code, FrameOf(window), nullptr); }

void StartFirstPoll(GwCore* window) { window->start_timer(kFirstPollPeriodMs); }

void StopTimer(GwCore* widget) { widget->stop_timer(); }

int ShowPollingWindow(GwCore* widget, GwEvent*, GwUD) {
    StartFirstPoll(widget);
    return 1;
}

int ShowPollingWindowWhenOnline(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main != nullptr && main->HasOnlineDevice()) StartFirstPoll(widget);
    return 1;
}

int HidePollingWindow(GwCore* widget, GwEvent*, GwUD) {
    StopTimer(widget);
    return 1;
}

bool ReadStatusWord(const ErrorLampRule& rule, ParaBase& base, GwCore* window, uint16_t* status) {
    int code = 0;
    if (rule.StatusIs8Bit) {
        uint8_t narrow = 0;
        code = base.ReadValueU8(rule.StatusParameter, &narrow);
        *status = narrow;
    } else {
        code = base.ReadValueU16(rule.StatusParameter, status);
    }
    return !ReportWindowError(code, window);
}

void ShowDeviceStateText(Main& main, GwCore* window) {
    DataBus* bus = main.GetActiveBus();
    const int address = main.GetActiveAddress();
    if (bus == nullptr || bus->GetDevice(address) == nullptr) return;
    SetChildText(window, "state", main.GetDeviceStateText(address));
}

bool ShowErrorLamp(const ErrorLampRule& rule, uint16_t status, ParaBase& base, GwCore* window) {
    SetChildEnabled(window, "eres", true);
    if (GwCore* lamp = window->child("error")) lamp->set_background((status & rule.RedBits) != 0 ? "red" : "yellow");
    const bool sourceSet = (status & rule.SourceBit) != 0;
    std::string text;
    uint16_t errorCode = kFixedErrorCode;
    if (sourceSet == rule.ReadWhenSourceSet) {
        const int code = base.ReadBusParameter(kErrorCodeParameter, 0, base.GetValueCount(kErrorCodeParameter));
        if (ReportWindowError(code, window)) return false;
        text = base.FormatStoredValue(kErrorCodeParameter, 0, false);
        int32_t raw = 0;
        base.GetRawValue(kErrorCodeParameter, &raw, 0);
        errorCode = static_cast<uint16_t>(raw);
    } else {
        text = base.FormatUnsignedValue(kErrorCodeParameter, kFixedErrorCode, false);
    }
    SetChildText(window, "error", rule.FirstNonEmptyPart ? FirstNonEmptyCommaPart(text) : TextBeforeFirstComma(text));
    if (NoteRefused(rule.Model) || !ShowDeviceErrorFlag) return true;
    // The note is modal: the device may be gone when it closes.
    if (ShowDeviceErrorNote(kDeviceErrorNoteMessage, errorCode, GetMainWindow(), false, nullptr)) {
        ResetActiveDeviceError();
    } else {
        NoteRefused(rule.Model) = true;
    }
    return true;
}

void ShowNoError(StateModel model, GwCore* window) {
    ClearNoteRefused(model);
    SetChildEnabled(window, "eres", false);
    if (GwCore* lamp = window->child("error")) lamp->set_background("green");
    SetChildText(window, "error", "");
}

void ClearNoteRefused(StateModel model) { NoteRefused(model) = false; }

bool IsNoteRefused(StateModel model) { return NoteRefused(model); }

std::string TextBeforeFirstComma(const std::string& text) { return text.substr(0, text.find(',')); }

std::string FirstNonEmptyCommaPart(const std::string& text) {
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = std::min(text.find(',', begin), text.size());
        if (end > begin) return text.substr(begin, end - begin);
        begin = end + 1;
    }
    return {};
}

void ResetActiveDeviceError() {
    Main* main = GetMain();
    if (ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr) {
        base->WriteValueU8(kErrorResetParameter, 1, 0);
    }
}
