// Storing the editor's base: as a data set into the active device, or as a
// file set under its own or a new name.
#include <string>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/window_handler.h"
#include "devicewin/device_control_windows.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/plc_project.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/editor/parameter_editor_state.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"

namespace {

constexpr int kPlcRunParameter = 450;
constexpr int kPlcStateParameter = 452;
constexpr int kPlcStateStopped = 2;
constexpr int kTitleLength = 512;

// The folder the last store chose.
struct EditorStoreState {
    std::string LastDirectory;
};

EditorStoreState& State() {
    static EditorStoreState state;
    return state;
}

// After the data set: a PLC that the transfer stopped is started again.
void RestartPlc(ParaBase* device, GwCore* parent) {
    Main* main = GetMain();
    uint8_t state = 0;
    if (device->ReadValueU8(kPlcStateParameter, &state) != 0 ||
        (state == kPlcStateStopped && device->WriteValueDouble(kPlcRunParameter, 1.0) != 0)) {
        main->ShowActiveDeviceError(5, parent);
    }
}

}  // namespace

bool StoreEditorBaseToDevice(ParameterEditorState* s, GwCore* parent, int* result) {
    *result = 1;
    TheWindowHandler().CloseDeviceWindows();
    // Closing the device windows may have closed the editor itself.
    if (GetParameterEditor() != s) return false;
    Main* main = GetMain();
    ParaBase* device = main != nullptr ? main->ActiveParaBase() : nullptr;
    const bool online = s->Mode == kEditorModeOnline;
    if (main == nullptr || device == nullptr || !main->HasOnlineDevice()) {
        ShowWarningMessage(6, parent);
        *result = 0;
        return false;
    }
    if (!online && main->IsActiveDeviceRunning()) {
        ShowInfoMessage(110, parent);
        return false;
    }
    if (!ShowRiskNoteAdjustmentChanged(parent)) return false;
    const bool plc = HasPlcProject(device);
    if (plc && device->WriteValueDouble(kPlcRunParameter, 0.0) != 0) {
        main->ShowActiveDeviceError(5, parent);
        return false;
    }
    bool stored = false;
    for (;;) {
        int code = 0;
        {
            ActivMessage activity(2, parent);
            code = device->WriteBusData(*s->Base);
        }
        if (code == 0) {
            stored = device->NothingWritten == 0;
            break;
        }
        if (online) {
            ShowWarningMessageFor(5, device, parent);
            *result = 0;
            break;
        }
        if (!ShowWarningMessageFor(5, device, parent)) break;
    }
    if (plc) RestartPlc(device, parent);
    return stored;
}

// The store of CB_StorePara: File mode writes the base's own file set, the
// others store the data set into the device.
bool StoreEditorBase(ParameterEditorState* s, GwCore* parent) {
    if (s->Mode == kEditorModeFile) {
        if (s->Base->WriteFileBase() != 0) {
            ShowWarningMessage(10, parent);
            return false;
        }
        return true;
    }
    int result = 1;
    return StoreEditorBaseToDevice(s, parent, &result);
}

namespace {

void MarkStored(ParameterEditorState* s) {
    s->Changed = false;
    if (s->StateChanged != nullptr) s->StateChanged->set_text("");
}

}  // namespace

int CB_StorePara(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Base == nullptr) return 1;
    if (StoreEditorBase(s, s->Window != nullptr ? s->Window.get() : widget)) MarkStored(s);
    return 1;
}

int CB_StoreBaseToDevice(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Base == nullptr) return 1;
    int result = 1;
    if (StoreEditorBaseToDevice(s, s->Window != nullptr ? s->Window.get() : widget, &result) &&
        s->Mode == kEditorModeOffline) {
        MarkStored(s);
    }
    return result;
}

int CB_StoreBaseToFile(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Base == nullptr) return 1;
    GwCore* parent = s->Window != nullptr ? s->Window.get() : widget;
    Main* main = GetMain();
    ParaBase* device = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (IsDeviceControlOpen(device)) {
        if (!ShowQuestionMessage(86, parent)) return 1;
        CloseDeviceControlWindows(device);
    }
    char title[kTitleLength] = {};
    GetMessageText(title, kTitlesSection, "StoreParaBaseFile", kTitleLength);
    if (State().LastDirectory.empty()) State().LastDirectory = GetUserDataDir();
    for (;;) {
        GwFileSelector selector(parent, "StoreParaBaseFile");
        selector.set_title(title);
        selector.set_filter("*.??D");
        selector.set_mode(GwFILESELECTOR_SAVE);
        selector.set_directory(State().LastDirectory);
        if (!selector.go() || selector.selection().empty()) return 1;
        s->Base->InitFile(selector.selection().c_str());
        State().LastDirectory = selector.directory();
        if (!s->Base->FileBaseExists() || ShowQuestionMessage(42, parent)) break;
    }
    if (s->Mode == kEditorModeOnline) {
        int code = 0;
        {
            ActivMessage activity(3, parent);
            code = s->Base->ReadBusData(false);
        }
        if (code != 0) {
            ShowWarningMessageFor(5, s->Base, parent);
            return 0;
        }
    }
    if (s->Base->WriteFileBase() != 0) {
        ShowWarningMessage(10, parent);
        return 0;
    }
    return 1;
}

int CB_StoreDeviceData(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Base == nullptr) return 1;
    const int kind = s->Base->GetDeviceKind();
    if (kind == 3 || kind == 8) s->Base->WriteValueDouble(150, 1.0);
    return 1;
}

void ResetEditorStoreDirectory() { State() = {}; }

namespace {

platform::ResetHook ResetState(ResetEditorStoreDirectory);

}  // namespace
