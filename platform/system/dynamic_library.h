// Loading libraries by the names the program uses ("pcan_usb.dll", a class's
// server module) and finding their functions. A name is resolved through, in
// this order: the in-process module table (filled only by explicit
// registration, which tests and benchmarks use for simulated drivers), the
// name map in the registry store, lib<name>.so beside the executable (".dll"
// dropped), and the system's own search.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace platform {

// Registry key whose values map a library name ("pcan_usb.dll") to the path
// of the shared object that stands for it.
inline constexpr std::string_view kLibraryMapKey = "HKEY_CURRENT_USER\\Software\\Torvan\\Libraries";

struct LoadedModule;
using ModuleHandle = LoadedModule*;

// Null when no library of that name can be loaded.
ModuleHandle LoadLibraryA(std::string_view name);
// The address of an exported symbol; null for a null handle or a missing symbol.
void* GetProcAddress(ModuleHandle module, std::string_view symbol);
// Releases a handle from LoadLibraryA; false for a null handle.
bool FreeLibrary(ModuleHandle module);

// Enters a module into the in-process table. It is found by its name with or
// without ".dll" and without regard to case; a second registration of a name
// replaces the first. The table empties before every test.
void RegisterModule(std::string_view name, std::map<std::string, void*> symbols);
void UnregisterModule(std::string_view name);

// The path of the loaded file that holds `address` (a function or object of
// that module); empty when unknown.
std::string ModulePathOf(const void* address);
// The running executable's path and directory.
std::string ExecutablePath();
std::string ExecutableDirectory();

}  // namespace platform
