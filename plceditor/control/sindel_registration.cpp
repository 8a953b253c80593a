#include "plceditor/control/sindel_registration.h"

#include "plceditor/control/sindel_strings.h"
#include "plceditor/interface/sindel_ids.h"

namespace sindel {

using namespace platform;

namespace {
constexpr char kVersion[] = "1.0";
constexpr char kToolboxBitmap[] = ", 1";

ClassRegistration ServedClass(const CLSID& clsid, int type_name, const std::string& module_path, const char* prog_id) {
    ClassRegistration registration;
    registration.clsid = clsid;
    registration.name = std::string(LoadString(type_name));
    registration.module_path = module_path;
    registration.prog_id = prog_id;
    return registration;
}
}  // namespace

TypeLibraryRegistration SindelTypeLibrary(const std::string& module_path) {
    TypeLibraryRegistration library;
    library.library = LIBID_SINDELLib;
    library.version = kVersion;
    library.name = kTypeLibraryName;
    library.module_path = module_path;
    library.help_dir = kTypeLibraryHelpFile;
    library.interfaces = {{DIID__DSindel, "_DSindel"}, {DIID__DSindelEvents, "_DSindelEvents"}};
    return library;
}

ClassRegistration ControlClass(const std::string& module_path) {
    ClassRegistration registration = ServedClass(CLSID_Sindel, ids::kControlTypeName, module_path, kControlProgId);
    registration.items = {
        {"Control", "", "", true},
        {"MiscStatus", "", "0", false},
        {"MiscStatus\\1", "", std::to_string(kControlMiscStatus), false},
        {"ToolboxBitmap32", "", module_path + kToolboxBitmap, false},
        {"TypeLib", "", GuidToString(LIBID_SINDELLib), false},
        {"Version", "", kVersion, false},
    };
    return registration;
}

ClassRegistration PropPageClass(const std::string& module_path) {
    return ServedClass(CLSID_SindelPropPage, ids::kPropPageTypeName, module_path, kPropPageProgId);
}

HRESULT RegisterSindel(const std::string& module_path) {
    if (Failed(RegisterTypeLibrary(SindelTypeLibrary(module_path)))) return SELFREG_E_TYPELIB;
    if (Failed(RegisterClassServer(ControlClass(module_path))) ||
        Failed(RegisterClassServer(PropPageClass(module_path))))
        return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT UnregisterSindel(const std::string& module_path) {
    if (Failed(UnregisterTypeLibrary(SindelTypeLibrary(module_path)))) return SELFREG_E_TYPELIB;
    if (Failed(UnregisterClassServer(CLSID_Sindel, kControlProgId)) ||
        Failed(UnregisterClassServer(CLSID_SindelPropPage, kPropPageProgId)))
        return SELFREG_E_CLASS;
    return S_OK;
}

}  // namespace sindel
