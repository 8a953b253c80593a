// Library loading over the in-process module table and dlopen.
#include "platform/system/dynamic_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/files/registry_store.h"

namespace platform {

struct LoadedModule {
    std::shared_ptr<const std::map<std::string, void*>> table;  // a registered module
    void* shared_object = nullptr;                              // a dlopen handle
};

namespace {

constexpr std::string_view kWindowsLibrarySuffix = ".dll";

using SymbolTable = std::map<std::string, void*>;

std::mutex g_table_mutex;
std::map<std::string, std::shared_ptr<const SymbolTable>>& Table() {
    static std::map<std::string, std::shared_ptr<const SymbolTable>> table;
    return table;
}

const ResetHook kEmptyTableForEachTest([] {
    std::lock_guard<std::mutex> lock(g_table_mutex);
    Table().clear();
});

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// The name without ".dll".
std::string_view Stem(std::string_view name) {
    if (EndsWithNoCase(name, kWindowsLibrarySuffix)) name.remove_suffix(kWindowsLibrarySuffix.size());
    return name;
}

// The table's key: the stem upper-cased, so either spelling finds the module.
std::string TableKey(std::string_view name) {
    std::string key(Stem(name));
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// "pcan_usb.dll" -> "libpcan_usb.so"; names that already are shared objects stay.
std::string SharedObjectName(std::string_view name) {
    std::string_view stem = Stem(name);
    if (EndsWithNoCase(stem, ".so") || stem.find(".so.") != std::string_view::npos) return std::string(stem);
    return "lib" + std::string(stem) + ".so";
}

ModuleHandle Open(const std::string& path, bool report_failure) {
    void* shared_object = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (shared_object == nullptr) {
        if (report_failure) {
            const char* reason = ::dlerror();
            LogLine("LoadLibrary: \"" + path + "\" cannot be loaded: " + (reason != nullptr ? reason : "?"));
        }
        return nullptr;
    }
    return new LoadedModule{nullptr, shared_object};
}

// A file that exists but does not load is worth a log line; a name that the
// system search does not find is the normal case of a missing driver.
ModuleHandle OpenExisting(std::string_view path) {
    std::optional<std::string> found = FindExisting(path);
    return found ? Open(*found, true) : nullptr;
}

std::optional<std::string> MappedPath(std::string_view name) {
    RegistryTree tree;
    if (TheRegistry().Load(&tree) != RegistryStatus::kOk) return std::nullopt;
    for (const auto& [mapped_name, path] : tree.Values(kLibraryMapKey))
        if (!mapped_name.empty() && TableKey(mapped_name) == TableKey(name)) return path;
    return std::nullopt;
}

}  // namespace

ModuleHandle LoadLibraryA(std::string_view name) {
    if (name.empty()) return nullptr;
    {
        std::lock_guard<std::mutex> lock(g_table_mutex);
        auto it = Table().find(TableKey(name));
        if (it != Table().end()) return new LoadedModule{it->second, nullptr};
    }
    if (name.find_first_of("/\\") != std::string_view::npos) return OpenExisting(name);
    if (std::optional<std::string> mapped = MappedPath(name)) return OpenExisting(*mapped);
    std::string file = SharedObjectName(name);
    if (ModuleHandle beside = OpenExisting(ExecutableDirectory() + "/" + file)) return beside;
    return Open(file, false);
}

void* GetProcAddress(ModuleHandle module, std::string_view symbol) {
    if (module == nullptr) return nullptr;
    if (module->table) {
        auto it = module->table->find(std::string(symbol));
        return it == module->table->end() ? nullptr : it->second;
    }
    return ::dlsym(module->shared_object, std::string(symbol).c_str());
}

bool FreeLibrary(ModuleHandle module) {
    if (module == nullptr) return false;
    if (module->shared_object != nullptr) ::dlclose(module->shared_object);
    delete module;
    return true;
}

void RegisterModule(std::string_view name, std::map<std::string, void*> symbols) {
    std::lock_guard<std::mutex> lock(g_table_mutex);
    Table()[TableKey(name)] = std::make_shared<const SymbolTable>(std::move(symbols));
}

void UnregisterModule(std::string_view name) {
    std::lock_guard<std::mutex> lock(g_table_mutex);
    Table().erase(TableKey(name));
}

std::string ModulePathOf(const void* address) {
    Dl_info info{};
    if (address == nullptr || ::dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    std::string path = info.dli_fname;
    if (!path.empty() && path.front() == '/') return path;
    // The executable itself is named as it was started, which need not be a
    // path from here any more.
    std::string executable = ExecutablePath();
    std::string_view base = std::string_view(path).substr(path.rfind('/') + 1);
    if (path.empty() || executable.substr(executable.rfind('/') + 1) == base) return executable;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string absolute = resolved;
    std::free(resolved);
    return absolute;
}

std::string ExecutablePath() {
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return {};
    return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string ExecutableDirectory() {
    std::string path = ExecutablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace platform
