// Fuzz target of the registry store above its INI parse: any bytes as the
// store file. A damaged store refuses every call and is never overwritten; a
// store that loads answers reads and enumeration alike, and keeps every value
// when a new one is set.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/registry_store.h"

namespace {

using platform::RegistryStatus;

void Check(bool ok) {
    if (!ok) std::abort();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr char kNewKey[] = "HKEY_CURRENT_USER\\Software\\FuzzNew";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("torvan_registry_fuzz_" + std::to_string(getpid()) + ".ini"))
            .string();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    platform::RegistryStore store(path);
    platform::RegistryTree tree;
    if (store.Load(&tree) != RegistryStatus::kOk) {
        Check(store.SetValue(kNewKey, "v", "1") == RegistryStatus::kDamaged);
        Check(ReadAll(path) == bytes);
        std::filesystem::remove(path);
        return 0;
    }

    // Every value of every section reads back through the store as the tree has it.
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> keys;
    const platform::IniDocument& doc = tree.document();
    for (size_t s = 0; s < doc.SectionCount() && keys.size() < 16; ++s) {
        const std::string& key = doc.SectionAt(s).name();
        keys.emplace_back(key, tree.Values(key));
    }
    for (const auto& [key, values] : keys) {
        Check(tree.KeyExists(key) || values.empty());
        for (size_t i = 0; i < values.size() && i < 8; ++i) {
            std::string name, value;
            if (store.EnumValue(key, i, 4096, 4096, &name, &value) == RegistryStatus::kOk) {
                std::string read;
                const RegistryStatus status = store.ReadValue(key, name, 4096, &read);
                Check(status == RegistryStatus::kOk && read == value);
            }
        }
    }

    // A new value leaves the others as they were.
    if (store.SetValue(kNewKey, "v", " new value ") == RegistryStatus::kOk) {
        std::string read;
        Check(store.ReadValue(kNewKey, "v", 4096, &read) == RegistryStatus::kOk && read == " new value ");
        platform::RegistryTree again;
        Check(store.Load(&again) == RegistryStatus::kOk);
        for (const auto& [key, values] : keys) Check(again.Values(key) == values);
    }
    std::filesystem::remove(path);
    return 0;
}
