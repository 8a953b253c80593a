// Class and type library registration, and object creation by class id.
#include "platform/com/com_registry.h"

#include <map>
#include <mutex>

#include "platform/base/log_sink.h"
#include "platform/files/registry_store.h"
#include "platform/system/dynamic_library.h"

namespace platform {

namespace {

constexpr std::string_view kClassesRoot = "HKEY_CLASSES_ROOT\\";
constexpr size_t kMaxRegistryTextBytes = 4096;

// Built by appending: GCC 12 at -O2 warns falsely (array bounds) on a
// concatenation that starts with a moved temporary.
std::string RootKey(std::string_view first, std::string_view second = {}) {
    std::string key(kClassesRoot);
    key.append(first).append(second);
    return key;
}
std::string ClassKey(const CLSID& clsid) { return RootKey("CLSID\\", GuidToString(clsid)); }
std::string ProgIdKey(std::string_view prog_id) { return RootKey(prog_id); }
std::string LibraryKey(const GUID& library) { return RootKey("TypeLib\\", GuidToString(library)); }
std::string InterfaceKey(const IID& iid) { return RootKey("Interface\\", GuidToString(iid)); }
std::string Below(const std::string& key, std::string_view subkey) {
    return subkey.empty() ? key : key + "\\" + std::string(subkey);
}

// Runs several changes as one write of the store.
HRESULT Write(const std::function<RegistryStatus(RegistryTree&)>& edit) {
    RegistryStatus status = TheRegistry().Change(edit);
    if (status == RegistryStatus::kOk) return S_OK;
    if (status == RegistryStatus::kNotFound) return S_FALSE;
    return E_FAIL;
}

// Stops at the first refused change; the store then stays as it was.
class Batch {
public:
    explicit Batch(RegistryTree& tree) : tree_(tree) {}
    void Set(const std::string& key, std::string_view name, std::string_view data) {
        if (status_ == RegistryStatus::kOk) status_ = tree_.SetValue(key, name, data);
    }
    void Create(const std::string& key) {
        if (status_ == RegistryStatus::kOk) status_ = tree_.CreateKey(key);
    }
    RegistryStatus status() const { return status_; }

private:
    RegistryTree& tree_;
    RegistryStatus status_ = RegistryStatus::kOk;
};

std::mutex g_modules_mutex;
std::map<std::string, ModuleHandle>& LoadedServers() {
    // Never destroyed: the handles stay valid until the process ends.
    static auto* modules = new std::map<std::string, ModuleHandle>;
    return *modules;
}

// Server modules are loaded once and never unloaded: their objects may live
// as long as the process.
ModuleHandle ServerModule(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_modules_mutex);
    auto it = LoadedServers().find(path);
    if (it != LoadedServers().end()) return it->second;
    ModuleHandle module = LoadLibraryA(path);
    if (module != nullptr) LoadedServers().emplace(path, module);
    return module;
}

HRESULT CallServerExport(std::string_view module_path, std::string_view export_name) {
    ModuleHandle module = ServerModule(std::string(module_path));
    if (module == nullptr) return E_FAIL;
    auto function = reinterpret_cast<DllRegisterServerFunction>(GetProcAddress(module, export_name));
    if (function == nullptr) {
        LogLine("\"" + std::string(module_path) + "\" has no " + std::string(export_name));
        return E_FAIL;
    }
    return function();
}

}  // namespace

HRESULT RegisterClassServer(const ClassRegistration& registration) {
    const std::string key = ClassKey(registration.clsid);
    const std::string clsid_text = GuidToString(registration.clsid);
    return Write([&](RegistryTree& tree) {
        Batch batch(tree);
        batch.Set(key, "", registration.name);
        batch.Set(key + "\\InprocServer32", "", registration.module_path);
        batch.Set(key + "\\InprocServer32", "ThreadingModel", registration.threading_model);
        if (!registration.prog_id.empty()) batch.Set(key + "\\ProgID", "", registration.prog_id);
        for (const RegistryItem& item : registration.items) {
            if (item.key_only)
                batch.Create(Below(key, item.subkey));
            else
                batch.Set(Below(key, item.subkey), item.name, item.data);
        }
        if (!registration.prog_id.empty()) {
            const std::string prog_key = ProgIdKey(registration.prog_id);
            batch.Set(prog_key, "", registration.name);
            batch.Set(prog_key + "\\CLSID", "", clsid_text);
        }
        return batch.status();
    });
}

HRESULT UnregisterClassServer(const CLSID& clsid, std::string_view prog_id) {
    return Write([&](RegistryTree& tree) {
        bool removed = tree.DeleteKeyTree(ClassKey(clsid)) == RegistryStatus::kOk;
        if (!prog_id.empty()) removed = tree.DeleteKeyTree(ProgIdKey(prog_id)) == RegistryStatus::kOk || removed;
        return removed ? RegistryStatus::kOk : RegistryStatus::kNotFound;
    });
}

HRESULT RegisterTypeLibrary(const TypeLibraryRegistration& registration) {
    const std::string version_key = LibraryKey(registration.library) + "\\" + registration.version;
    const std::string library_text = GuidToString(registration.library);
    return Write([&](RegistryTree& tree) {
        Batch batch(tree);
        batch.Set(version_key, "", registration.name);
        batch.Set(version_key + "\\0\\linux", "", registration.module_path);
        batch.Set(version_key + "\\FLAGS", "", "0");
        batch.Set(version_key + "\\HELPDIR", "", registration.help_dir);
        for (const auto& [iid, name] : registration.interfaces) {
            const std::string key = InterfaceKey(iid);
            batch.Set(key, "", name);
            batch.Set(key + "\\TypeLib", "", library_text);
            batch.Set(key + "\\TypeLib", "Version", registration.version);
        }
        return batch.status();
    });
}

HRESULT UnregisterTypeLibrary(const TypeLibraryRegistration& registration) {
    const std::string version_key = LibraryKey(registration.library) + "\\" + registration.version;
    HRESULT hr = Write([&](RegistryTree& tree) {
        if (!tree.KeyExists(version_key)) return RegistryStatus::kNotFound;
        tree.DeleteKeyTree(version_key);
        for (const auto& entry : registration.interfaces) tree.DeleteKeyTree(InterfaceKey(entry.first));
        return RegistryStatus::kOk;
    });
    return hr == S_OK ? S_OK : E_FAIL;
}

HRESULT ClassIdFromProgId(std::string_view prog_id, CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    std::string text;
    if (prog_id.empty() || TheRegistry().ReadValue(ProgIdKey(prog_id) + "\\CLSID", "", kMaxRegistryTextBytes, &text) !=
                               RegistryStatus::kOk)
        return REGDB_E_CLASSNOTREG;
    std::optional<GUID> guid = GuidFromString(text);
    if (!guid) return REGDB_E_CLASSNOTREG;
    *clsid = *guid;
    return S_OK;
}

HRESULT GetClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    std::string module_path;
    RegistryStatus status =
        TheRegistry().ReadValue(ClassKey(clsid) + "\\InprocServer32", "", kMaxRegistryTextBytes, &module_path);
    if (status == RegistryStatus::kNotFound || (status == RegistryStatus::kOk && module_path.empty()))
        return REGDB_E_CLASSNOTREG;
    if (status != RegistryStatus::kOk) return E_FAIL;
    ModuleHandle module = ServerModule(module_path);
    if (module == nullptr) return E_FAIL;
    auto get_class_object = reinterpret_cast<DllGetClassObjectFunction>(GetProcAddress(module, kDllGetClassObject));
    if (get_class_object == nullptr) {
        LogLine("\"" + module_path + "\" has no " + std::string(kDllGetClassObject));
        return E_FAIL;
    }
    return get_class_object(clsid, iid, out);
}

HRESULT CreateInstance(const CLSID& clsid, const IID& iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    ComPtr<IClassFactory> factory;
    HRESULT hr = GetClassObject(clsid, IID_IClassFactory, factory.Put());
    if (Failed(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

HRESULT RegisterServer(std::string_view module_path) { return CallServerExport(module_path, kDllRegisterServer); }

HRESULT UnregisterServer(std::string_view module_path) { return CallServerExport(module_path, kDllUnregisterServer); }

}  // namespace platform
