// Classes found by class id through the registry store: a module that serves
// objects registers its classes and type library under HKEY_CLASSES_ROOT, and
// a host creates an object by loading the module named under
// CLSID\{...}\InprocServer32 and asking its class factory.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/com_interfaces.h"

namespace platform {

// The exports of a module that serves objects.
inline constexpr std::string_view kDllGetClassObject = "DllGetClassObject";
inline constexpr std::string_view kDllCanUnloadNow = "DllCanUnloadNow";
inline constexpr std::string_view kDllRegisterServer = "DllRegisterServer";
inline constexpr std::string_view kDllUnregisterServer = "DllUnregisterServer";
using DllGetClassObjectFunction = HRESULT (*)(const CLSID& clsid, const IID& iid, void** out);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

// A value or a bare key below a class's key.
struct RegistryItem {
    std::string subkey;  // relative to the class key; empty for the class key itself
    std::string name;    // value name; empty for the default value
    std::string data;
    bool key_only = false;  // create the key, write no value
};

struct ClassRegistration {
    CLSID clsid;
    std::string name;         // default value of CLSID\{...}
    std::string module_path;  // InprocServer32
    std::string threading_model = "Apartment";
    std::string prog_id;  // empty for none
    std::vector<RegistryItem> items;
};

// Writes CLSID\{...} (name), InprocServer32 (module path, ThreadingModel),
// ProgID and the items; and <ProgID> (name) with <ProgID>\CLSID. All in one
// write of the store: S_OK, or E_FAIL with nothing written.
HRESULT RegisterClassServer(const ClassRegistration& registration);
// Removes CLSID\{...} and <ProgID> with everything below them. S_FALSE when
// neither was there.
HRESULT UnregisterClassServer(const CLSID& clsid, std::string_view prog_id);

struct TypeLibraryRegistration {
    GUID library;
    std::string version = "1.0";
    std::string name;                                     // default value of TypeLib\{...}\<version>
    std::string module_path;                              // <version>\0\linux
    std::string help_dir;                                 // <version>\HELPDIR
    std::vector<std::pair<IID, std::string>> interfaces;  // Interface\{...} with their names
};

// Writes TypeLib\{...}\<version> with FLAGS "0", HELPDIR and the module path,
// and one Interface\{...} key per interface naming the library. S_OK or
// E_FAIL with nothing written.
HRESULT RegisterTypeLibrary(const TypeLibraryRegistration& registration);
// Removes that version of the library and its interface keys; E_FAIL when
// the version is not registered or the store cannot be written.
HRESULT UnregisterTypeLibrary(const TypeLibraryRegistration& registration);

// The class id registered for a ProgID; REGDB_E_CLASSNOTREG when none.
HRESULT ClassIdFromProgId(std::string_view prog_id, CLSID* clsid);

// The class factory (or another interface of it) of a registered class.
// REGDB_E_CLASSNOTREG for a class without InprocServer32; E_FAIL when its
// module does not load or has no DllGetClassObject. Modules stay loaded.
HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** out);
// A new object of a registered class through its class factory.
HRESULT CreateInstance(const CLSID& clsid, const IID& iid, void** out);

// Calls DllRegisterServer / DllUnregisterServer of a module file; E_FAIL
// when the module or the export is missing.
HRESULT RegisterServer(std::string_view module_path);
HRESULT UnregisterServer(std::string_view module_path);

}  // namespace platform
