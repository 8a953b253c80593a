#include "plchost/plc_editor_host.h"

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "families/plc_context.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/plc_project.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_control_events.h"
#include "plchost/plc_editor_wrapper.h"
#include "plchost/plc_host_state.h"
#include "plchost/plc_transfer.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/hosting/gw_ole_control.h"

namespace {

// Loads "PlcEditorX" under the main window when it is not loaded, and binds
// its control at once, so the control is named before the first opening
// calls it.
GwCore* LoadEditorWindow() {
    PlcHostState& state = ThePlcHostState();
    if (state.EditorWindow) return state.EditorWindow.get();
    // The definition names the wrapper, which must exist when the control's
    // object is made.
    ThePlcEditorX();
    RegisterPlcEditorEvents();
    GwCore* window = GwRcMgr::load(GetMainWindow(), kPlcEditorWindow, 1);
    if (window == nullptr) return nullptr;
    state.EditorWindow = GwRef<>(window);
    cb_create_PLCEditor(window, nullptr, GwUD());
    return window;
}

// The version and array length the control translates for: parameters 527
// and 528 of the window's base, from the device when it is online; 0 and 0
// when it lacks them.
void ReadPlcVersion(ParaBase* base, double* version, double* length) {
    *version = 0.0;
    *length = 0.0;
    if (base == nullptr || !base->IsPresent(kPlcVersionParameter) || !base->IsPresent(kPlcArrayLengthParameter)) return;
    if (base->IsOnline()) {
        base->ReadValueDouble(kPlcVersionParameter, version);
        base->ReadValueDouble(kPlcArrayLengthParameter, length);
    } else {
        base->GetValueDouble(kPlcVersionParameter, version);
        base->GetValueDouble(kPlcArrayLengthParameter, length);
    }
}

// The chosen source file, empty on cancel.
std::string ChooseSourceFile(GwCore* parent) {
    GwFileSelector chooser(parent, "id");
    chooser.set_title(kPlcSourceTitle);
    chooser.set_filter(kPlcSourceFilter);
    chooser.set_directory(ThePlcHostState().SourceFolder);
    if (!chooser.go()) return std::string();
    return chooser.selection();
}

}  // namespace

void RegisterPlcEditorEvents() {
    GwRegisterControlEvents(sindel::CLSID_Sindel, sindel::DIID__DSindelEvents, sindel::kSindelEvents);
}

GwCore* PlcEditorWindow() { return ThePlcHostState().EditorWindow.get(); }

int cb_create_PLCEditor(GwCore* window, GwEvent*, GwUD) {
    PlcHostState& state = ThePlcHostState();
    if (window == nullptr || state.BoundWindow.get() == window) return 1;
    GwCore* child = window->child(kPlcEditorControl);
    auto* control = dynamic_cast<GwOleControl*>(child);
    if (control == nullptr || control->name() != kPlcEditorControl || !control->is_class(GwOLECONTROL_CLASS)) return 1;
    state.BoundWindow = GwRef<>(window);
    control->set_wrapper(&ThePlcEditorX());
    ThePlcEditorX().PlcSetTmpFileName(kPlcOutFile);
    ThePlcEditorX().PlcSetPlcProjPath(kPlcProjectFolder);
    return 1;
}

int CB_CallPlcProgrammEditor(GwCore* widget, GwEvent*, GwUD userData) {
    PlcHostState& state = ThePlcHostState();
    state.SourceFolder = GetUserDataDir();
    state.ProgrammeFile = kPlcInFile;
    if (userData.string() == kPlcSourceFileRequest) {
        const std::string file = ChooseSourceFile(widget != nullptr ? widget->frame() : nullptr);
        if (file.empty()) return 1;
        GwProcessPendingEvents();
        OpenPlcEditor(file, false);
        return 1;
    }
    if (DeviceSetupContext* context = DeviceContextOf(widget); context != nullptr && context->Base)
        PlcParaBase = context->Base.get();
    ParaBase* windowBase = PlcParaBase;
    const bool fromDevice = windowBase == nullptr || windowBase->IsOnline();
    ParaBase* source = fromDevice ? Main::ActiveBase() : windowBase;
    if (!ExportPlcProgram(source, state.ProgrammeFile, fromDevice)) return 1;
    double version = 0.0;
    double length = 0.0;
    ReadPlcVersion(windowBase, &version, &length);
    if (LoadEditorWindow() == nullptr) return 1;
    ThePlcEditorX().PlcCreate();
    ThePlcEditorX().PlcSetVersion(version, static_cast<int32_t>(length));
    OpenPlcEditor(state.ProgrammeFile, true);
    return 1;
}

void OpenPlcEditor(const std::string& file, bool binary) {
    GwCore* window = LoadEditorWindow();
    if (window == nullptr) return;
    window->show();
    PlcEditorX& editor = ThePlcEditorX();
    editor.PlcCreate();
    TheWindowHandler().Add(window, 0, ClosePlcEditorControl, FocusPlcEditorControl);
    if (!file.empty()) {
        if (binary) {
            editor.PlcBinaryFileOpen(file);
        } else {
            editor.PlcFileOpen(file);
        }
    }
    UpdatePlcEditorOnline();
}

void UpdatePlcEditorOnline() {
    if (PlcEditorWindow() == nullptr) return;
    PlcEditorX& editor = ThePlcEditorX();
    editor.PlcSetOffline();
    if (Main::OnlineDevicePresent() && HasPlcProject(Main::ActiveBase())) editor.PlcSetOnline();
}

void FocusPlcEditorControl() { ThePlcEditorX().PlcSetFocus(); }

void ClosePlcEditorControl() {
    ThePlcEditorX().PlcDestroy();
    GwCore* window = PlcEditorWindow();
    if (window == nullptr) return;
    window->hide();
    TheWindowHandler().DeleteWindow(window);
}

const GwFuncDesc* PlcEditorCallbacks() {
    static const GwFuncDesc table[] = {
        {"cb_create_PLCEditor", cb_create_PLCEditor},
        {"CB_CallPlcProgrammEditor", CB_CallPlcProgrammEditor},
        {"cb_ocx_PlcFileToArchiv", cb_ocx_PlcFileToArchiv},
        {"cb_ocx_PlcFileFromArchiv", cb_ocx_PlcFileFromArchiv},
        {"cb_ocx_PlcOnCancel", cb_ocx_PlcOnCancel},
        {"cb_ocx_PlcFileFromDevice", cb_ocx_PlcFileFromDevice},
        {"cb_ocx_PlcFileToDevice", cb_ocx_PlcFileToDevice},
        {"cb_ocx_PlcUpDateProjName", cb_ocx_PlcUpDateProjName},
        {nullptr, nullptr},
    };
    return table;
}
