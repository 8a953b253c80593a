#include "plchost/plc_host_startup.h"

#include "app/mainwindow/main_window_display.h"
#include "motor/datalogger/data_logger.h"
#include "platform/com/com_registry.h"
#include "platform/com/com_types.h"
#include "platform/files/paths.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_editor_wrapper.h"

namespace {

constexpr size_t kModulePathBytes = 4096;

// The module the store names for the control's class, empty when none.
std::string RegisteredModule() {
    const std::string key =
        "HKEY_CLASSES_ROOT\\CLSID\\" + platform::GuidToString(sindel::CLSID_Sindel) + "\\InprocServer32";
    std::string path;
    if (platform::TheRegistry().ReadValue(key, "", kModulePathBytes, &path) != platform::RegistryStatus::kOk)
        return std::string();
    return path;
}

}  // namespace

bool RegisterPlcEditorModule() {
    const std::string registered = RegisteredModule();
    if (!registered.empty() && platform::FileExists(registered)) return true;
    const std::string module = platform::ExecutableDirectory() + "/" + kPlcEditorModuleName;
    if (platform::Succeeded(platform::RegisterServer(module))) return true;
    TheDataLogger().WriteEntry(("The PLC editor control " + module + " could not be registered").c_str());
    return false;
}

void StartPlcHost() {
    ThePlcEditorX();
    RegisterPlcEditorEvents();
    RegisterPlcEditorModule();
    SetPlcEditorFollower(UpdatePlcEditorOnline);
}
