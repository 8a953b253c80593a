// What the module writes into the registry when it registers itself: its
// type library, the control class and the property page class.
#pragma once

#include <string>

#include "platform/com/com_registry.h"

namespace sindel {

inline constexpr char kControlProgId[] = "SINDEL.SindelCtrl.1";
inline constexpr char kPropPageProgId[] = "SINDEL.SindelPropPage.1";
inline constexpr char kTypeLibraryName[] = "SINDELLib";
inline constexpr char kTypeLibraryHelpFile[] = "Sindel.hlp";
// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME | OLEMISC_INSIDEOUT
// | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
inline constexpr unsigned kControlMiscStatus = 0x20000 | 0x400 | 0x80 | 0x10 | 0x1;
static_assert(kControlMiscStatus == 132241);

platform::TypeLibraryRegistration SindelTypeLibrary(const std::string& module_path);
platform::ClassRegistration ControlClass(const std::string& module_path);
platform::ClassRegistration PropPageClass(const std::string& module_path);

// The two steps of registration and of unregistration, with their codes:
// S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
platform::HRESULT RegisterSindel(const std::string& module_path);
platform::HRESULT UnregisterSindel(const std::string& module_path);

}  // namespace sindel
