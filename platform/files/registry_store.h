// The registry values the program reads and writes (open commands, the port
// map, class registrations), kept in one text file of sections named by full
// key paths ("[HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32]") with "@=" for
// the default value and "name=data" for the others, in stored order. Data
// that begins with a double quote or has blanks at its ends is written
// between double quotes, as in every profile.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/ini_document.h"

namespace platform {

enum class RegistryStatus {
    kOk,
    kNotFound,     // no such key or value
    kMoreData,     // the value does not fit the byte limit
    kNoMoreItems,  // enumeration past the last value
    kInvalid,      // a key path without a known hive, or a text the file cannot hold
    kDamaged,      // the store file cannot be read or is not a store; left untouched
    kWriteFailed,  // the store file could not be replaced; the old one is intact
};

// The name of the default value, as the store file writes it.
inline constexpr std::string_view kRegistryDefaultValueName = "@";

// A key path in the store's form: the hive's full name ("HKCR" and
// "HKEY_CLASSES_ROOT" alike become "HKEY_CLASSES_ROOT"), separators '\',
// no empty parts. Empty when the path has no known hive or cannot be stored.
std::string NormaliseRegistryKey(std::string_view key);

// The registry's keys and values in memory, over an IniDocument. Key paths and
// value names compare without regard to ASCII case and keep their first
// spelling; a key exists when it has a section or a subkey has one.
class RegistryTree {
public:
    RegistryTree() = default;
    explicit RegistryTree(IniDocument document) : document_(std::move(document)) {}

    bool KeyExists(std::string_view key) const;
    // The values of a key in stored order as (name, data); the default value
    // has the name "".
    std::vector<std::pair<std::string, std::string>> Values(std::string_view key) const;
    // The data of a value ("" or "@" for the default value); null when missing.
    const std::string* Value(std::string_view key, std::string_view name) const;

    RegistryStatus CreateKey(std::string_view key);
    RegistryStatus SetValue(std::string_view key, std::string_view name, std::string_view data);
    // Removes the key and every key below it; kNotFound when nothing was there.
    RegistryStatus DeleteKeyTree(std::string_view key);

    const IniDocument& document() const { return document_; }

private:
    IniDocument document_;
};

// The store file. Every call reads the file afresh, so changes by another
// process are seen; every change writes a temporary file and renames it over
// the old one. A missing file is an empty store. A file that cannot be read,
// holds a NUL byte, a line that is no key, value or comment, or a value
// outside any key is damaged: every call then fails with kDamaged and the file
// is never overwritten. LastError() says what failed and where.
class RegistryStore {
public:
    explicit RegistryStore(std::string path);

    std::string path() const;
    void SetPath(std::string path);

    RegistryStatus KeyExists(std::string_view key);
    // Reads a string value; `max_bytes` counts the terminating NUL of the
    // caller's buffer, so data of max_bytes - 1 bytes is the longest that
    // fits. Longer data gives kMoreData and `needed_bytes` (NUL included).
    RegistryStatus ReadValue(std::string_view key, std::string_view name, size_t max_bytes, std::string* data,
                             size_t* needed_bytes = nullptr);
    // The value at `index` in stored order; the default value's name is "".
    // Limits as for ReadValue, for the name and the data.
    RegistryStatus EnumValue(std::string_view key, size_t index, size_t max_name_bytes, size_t max_data_bytes,
                             std::string* name, std::string* data);
    RegistryStatus SetValue(std::string_view key, std::string_view name, std::string_view data);
    RegistryStatus CreateKey(std::string_view key);
    RegistryStatus DeleteKeyTree(std::string_view key);

    // Several changes written at once: `edit` changes the tree and returns
    // kOk to write it; anything else leaves the file as it was and is
    // returned.
    RegistryStatus Change(const std::function<RegistryStatus(RegistryTree&)>& edit);
    // A snapshot of the whole store for reading several values.
    RegistryStatus Load(RegistryTree* tree);

    std::string LastError() const;

private:
    RegistryStatus LoadLocked(RegistryTree* tree);
    RegistryStatus Fail(RegistryStatus status, std::string text);

    std::string path_;
    mutable std::mutex mutex_;
    std::string last_error_;
};

// Where the process's store lives: $TORVAN_REGISTRY, else
// $XDG_CONFIG_HOME/torvan/registry.ini, else ~/.config/torvan/registry.ini.
std::string DefaultRegistryPath();

// The process's store, on DefaultRegistryPath() until pointed elsewhere.
// Tests get a fresh store file in their run-time tree before every test.
RegistryStore& TheRegistry();
void UseRegistryFile(std::string path);

}  // namespace platform
