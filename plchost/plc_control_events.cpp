#include "plchost/plc_control_events.h"

#include <string>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "families/plc_context.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/plc_project.h"
#include "parameters/values/dstring.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_host_state.h"
#include "plchost/plc_transfer.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/hosting/gw_ole_control.h"
#include "toolkit/hosting/gw_variant.h"

namespace {

std::string TextArgument(GwEvent* event, int index) {
    return GwStringFromVARIANT(GwOleEventArgument(event, index)).str();
}

// The window's base when it is an offline file base (a data set file), else
// null.
ParaBase* OfflineFileBase() {
    ParaBase* base = PlcParaBase;
    if (base == nullptr || base->IsOnline() || base->GetPath(kDFilePath)[0] == '\0') return nullptr;
    return base;
}

std::string FolderOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// The archive chooser, starting in `folder`, or in the folder of an offline
// file base with its name preset. The chosen path, empty on cancel; the
// folder ended in goes to `endedIn`.
std::string ChooseArchiveFile(const std::string& folder, std::string* endedIn = nullptr) {
    GwFileSelector chooser(GetMainWindow(), kArchiveChooserId);
    chooser.set_title(kArchiveTitle);
    chooser.set_filter(kArchiveFilter);
    chooser.set_directory(folder);
    if (ParaBase* fileBase = OfflineFileBase()) {
        const std::string path = fileBase->GetPath(kDFilePath);
        chooser.set_directory(FolderOf(path));
        chooser.set_file_name(path.substr(FolderOf(path).size()));
    }
    if (!chooser.go()) return std::string();
    if (endedIn != nullptr) *endedIn = chooser.directory();
    return chooser.selection();
}

// The active device's base when it has a PLC project; else the message and
// null. No active device counts as no project.
ParaBase* ActivePlcBase(int message) {
    ParaBase* active = Main::ActiveBase();
    if (HasPlcProject(active)) return active;
    ShowErrorMessage(message);
    return nullptr;
}

bool DeviceFailed(int code, ParaBase* base) {
    if (code == kParaOk) return false;
    ShowErrorMessageFor(kPlcDeviceErrorMessage, base);
    return true;
}

}  // namespace

int cb_ocx_PlcFileToArchiv(GwCore*, GwEvent* event, GwUD) {
    const std::string file = TextArgument(event, 0);
    if (file.empty()) return 1;
    const std::string chosen = ChooseArchiveFile(GetUserDataDir());
    if (chosen.empty()) return 1;
    GwProcessPendingEvents();
    ParaBase archive;
    archive.InitFile(chosen.c_str());
    if (DeviceFailed(archive.ReadFileBase(), &archive)) return 1;
    archive.SetValueString(kPlcProjectParameter, dstring(ThePlcHostState().ProjectName.c_str()));
    if (ImportPlcProgram(&archive, file, false)) DeviceFailed(archive.WriteFileBase(), &archive);
    return 1;
}

int cb_ocx_PlcFileFromArchiv(GwCore*, GwEvent* event, GwUD) {
    PlcHostState& state = ThePlcHostState();
    if (state.ArchiveFolder.empty()) state.ArchiveFolder = GetUserDataDir();
    std::string endedIn;
    const std::string chosen = ChooseArchiveFile(state.ArchiveFolder, &endedIn);
    if (chosen.empty()) return 1;
    state.ArchiveFolder = endedIn;
    GwProcessPendingEvents();
    ParaBase archive;
    archive.InitFile(chosen.c_str());
    if (DeviceFailed(archive.ReadFileBase(), &archive)) return 1;
    const bool exported = ExportPlcProgram(&archive, kPlcInFile, false);
    GwStringToVARIANT(exported ? kPlcInFile : "", GwOleEventArgument(event, 0));
    return 1;
}

int cb_ocx_PlcOnCancel(GwCore*, GwEvent*, GwUD) {
    if (GwCore* window = PlcEditorWindow()) TheWindowHandler().DeleteWindow(window);
    return 1;
}

int cb_ocx_PlcFileFromDevice(GwCore*, GwEvent* event, GwUD) {
    ParaBase* active = ActivePlcBase(kNoPlcProjectToReadMessage);
    if (active == nullptr) return 1;
    const bool exported = ExportPlcProgram(active, kPlcInFile, true);
    GwStringToVARIANT(exported ? kPlcInFile : "", GwOleEventArgument(event, 0));
    return 1;
}

int cb_ocx_PlcFileToDevice(GwCore*, GwEvent* event, GwUD) {
    const std::string file = TextArgument(event, 0);
    if (file.empty()) return 1;
    ParaBase* active = ActivePlcBase(kNoPlcProjectMessage);
    if (active == nullptr) return 1;
    Main* main = GetMain();
    if (main != nullptr && main->IsActiveDeviceRunning()) {
        ShowInfoMessage(kDeviceRunningMessage);
        return 1;
    }
    if (active->IsPresent(kPlcRunSwitchParameter) &&
        DeviceFailed(active->WriteValueDouble(kPlcRunSwitchParameter, 0.0), active))
        return 1;
    // A program that did not load completely is never started.
    if (!ImportPlcProgram(active, file, true)) return 1;
    if (DeviceFailed(active->WriteFileBase(), active)) return 1;
    double loadState = 0.0;
    if (DeviceFailed(active->ReadValueDouble(kPlcLoadStateParameter, &loadState), active)) return 1;
    if (static_cast<int>(loadState) == kPlcLoadedState)
        DeviceFailed(active->WriteValueDouble(kPlcRunSwitchParameter, 1.0), active);
    return 1;
}

int cb_ocx_PlcUpDateProjName(GwCore*, GwEvent* event, GwUD) {
    const std::string name = TextArgument(event, 0);
    const bool online = GwBoolFromVARIANT(GwOleEventArgument(event, 1));
    FirmwareTextsReloadRequest = true;
    if (!online) {
        ThePlcHostState().ProjectName = name;
        return 1;
    }
    if (ParaBase* active = Main::ActiveBase())
        DeviceFailed(active->WriteValueString(kPlcProjectParameter, dstring(name.c_str())), active);
    return 1;
}
