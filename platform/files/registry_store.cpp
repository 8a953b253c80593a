// The file-backed registry store and the process's instance of it.
#include "platform/files/registry_store.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"

namespace platform {

namespace {

struct Hive {
    std::string_view full;
    std::string_view abbreviation;
};
constexpr Hive kHives[] = {
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
};

std::string DefaultValueName(std::string_view name) {
    return name.empty() ? std::string(kRegistryDefaultValueName) : std::string(name);
}

bool IsBelow(std::string_view section, std::string_view key) {
    return section.size() > key.size() && section[key.size()] == '\\' &&
           EqualNoCase(section.substr(0, key.size()), key);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string NormaliseRegistryKey(std::string_view key) {
    std::vector<std::string_view> parts;
    while (!key.empty()) {
        size_t sep = key.find('\\');
        std::string_view part = key.substr(0, sep);
        if (!part.empty()) parts.push_back(part);
        key.remove_prefix(sep == std::string_view::npos ? key.size() : sep + 1);
    }
    if (parts.empty()) return {};
    std::string result;
    for (const Hive& hive : kHives) {
        if (EqualNoCase(parts[0], hive.full) || EqualNoCase(parts[0], hive.abbreviation)) result = hive.full;
    }
    if (result.empty()) return {};
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        // A section header ends at ']' and a line at its end; blanks at the
        // edges would be trimmed away on the next read; a NUL byte would make
        // the whole file read as damaged.
        if (part.find_first_of(std::string_view("]\r\n\0", 4)) != std::string_view::npos || part.front() == ' ' ||
            part.back() == ' ' || part.front() == '\t' || part.back() == '\t')
            return {};
        result += '\\';
        result += part;
    }
    return result;
}

// -------------------------------------------------------------- RegistryTree

bool RegistryTree::KeyExists(std::string_view key) const {
    std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) return false;
    for (size_t i = 1; i < document_.SectionCount(); ++i) {
        const std::string& name = document_.SectionAt(i).name();
        if (EqualNoCase(name, normal) || IsBelow(name, normal)) return true;
    }
    return false;
}

std::vector<std::pair<std::string, std::string>> RegistryTree::Values(std::string_view key) const {
    std::vector<std::pair<std::string, std::string>> values;
    std::string normal = NormaliseRegistryKey(key);
    const IniSection* section = normal.empty() ? nullptr : document_.FindSection(normal);
    if (section == nullptr) return values;
    for (size_t i = 0; i < section->KeyCount(); ++i) {
        const IniEntry* entry = section->EntryAt(i);
        values.emplace_back(entry->key == kRegistryDefaultValueName ? "" : entry->key, entry->value);
    }
    return values;
}

const std::string* RegistryTree::Value(std::string_view key, std::string_view name) const {
    std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) return nullptr;
    return document_.Get(normal, DefaultValueName(name));
}

RegistryStatus RegistryTree::CreateKey(std::string_view key) {
    std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) return RegistryStatus::kInvalid;
    return document_.AddSection(normal) != nullptr ? RegistryStatus::kOk : RegistryStatus::kInvalid;
}

RegistryStatus RegistryTree::SetValue(std::string_view key, std::string_view name, std::string_view data) {
    std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) return RegistryStatus::kInvalid;
    // Check before creating the key, so a refused value leaves no empty key.
    // A NUL byte would make every later read refuse the file as damaged.
    if (name.find('\0') != std::string_view::npos || data.find('\0') != std::string_view::npos ||
        !IniSection().Set(DefaultValueName(name), data))
        return RegistryStatus::kInvalid;
    return document_.SetValue(normal, DefaultValueName(name), data) ? RegistryStatus::kOk : RegistryStatus::kInvalid;
}

RegistryStatus RegistryTree::DeleteKeyTree(std::string_view key) {
    std::string normal = NormaliseRegistryKey(key);
    if (normal.empty()) return RegistryStatus::kInvalid;
    std::vector<std::string> doomed;
    for (size_t i = 1; i < document_.SectionCount(); ++i) {
        const std::string& name = document_.SectionAt(i).name();
        if (EqualNoCase(name, normal) || IsBelow(name, normal)) doomed.push_back(name);
    }
    for (const std::string& name : doomed) document_.RemoveSection(name);
    return doomed.empty() ? RegistryStatus::kNotFound : RegistryStatus::kOk;
}

// ------------------------------------------------------------- RegistryStore

RegistryStore::RegistryStore(std::string path) : path_(std::move(path)) {}

std::string RegistryStore::path() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return path_;
}

void RegistryStore::SetPath(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    path_ = std::move(path);
    last_error_.clear();
}

std::string RegistryStore::LastError() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_error_;
}

RegistryStatus RegistryStore::Fail(RegistryStatus status, std::string text) {
    last_error_ = std::move(text);
    if (status == RegistryStatus::kDamaged || status == RegistryStatus::kWriteFailed) LogLine(last_error_);
    return status;
}

RegistryStatus RegistryStore::LoadLocked(RegistryTree* tree) {
    std::optional<std::string> found = FindExisting(path_);
    if (!found) {
        *tree = RegistryTree();
        return RegistryStatus::kOk;
    }
    errno = 0;
    std::optional<std::string> bytes = ReadBinaryFile(*found);
    const std::string name = "The registry store " + Quoted(path_);
    if (!bytes) {
        int error = errno != 0 ? errno : EIO;
        return Fail(RegistryStatus::kDamaged, name + " cannot be read: " + SystemErrorText(error));
    }
    if (bytes->find('\0') != std::string::npos)
        return Fail(RegistryStatus::kDamaged, name + " is damaged: it holds a NUL byte. It is left unchanged.");
    IniDocument document = IniDocument::Parse(*bytes);
    if (!document.UnrecognisedLines().empty())
        return Fail(RegistryStatus::kDamaged,
                    name + " is damaged at line " + std::to_string(document.UnrecognisedLines()[0]) +
                        ": it is no key, value or comment. It is left unchanged.");
    if (document.Head().KeyCount() > 0)
        return Fail(RegistryStatus::kDamaged,
                    name + " is damaged: the value " + Quoted(document.Head().EntryAt(0)->key) +
                        " stands before any key. It is left unchanged.");
    *tree = RegistryTree(std::move(document));
    return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::Load(RegistryTree* tree) {
    std::lock_guard<std::mutex> lock(mutex_);
    return LoadLocked(tree);
}

RegistryStatus RegistryStore::Change(const std::function<RegistryStatus(RegistryTree&)>& edit) {
    std::lock_guard<std::mutex> lock(mutex_);
    RegistryTree tree;
    RegistryStatus status = LoadLocked(&tree);
    if (status != RegistryStatus::kOk) return status;
    status = edit(tree);
    if (status != RegistryStatus::kOk) return status;

    std::string target = ResolveForWrite(path_);
    std::error_code ignored;
    std::filesystem::path parent = std::filesystem::path(target).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    std::string error;
    if (!ReplaceFile(path_, tree.document().Serialize(LineEnd::kLf), &error))
        return Fail(
            RegistryStatus::kWriteFailed,
            "The registry store " + Quoted(path_) + " could not be written: " + error + ". The old file is unchanged.");
    return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::KeyExists(std::string_view key) {
    RegistryTree tree;
    RegistryStatus status = Load(&tree);
    if (status != RegistryStatus::kOk) return status;
    if (NormaliseRegistryKey(key).empty()) return RegistryStatus::kInvalid;
    return tree.KeyExists(key) ? RegistryStatus::kOk : RegistryStatus::kNotFound;
}

RegistryStatus RegistryStore::ReadValue(std::string_view key, std::string_view name, size_t max_bytes,
                                        std::string* data, size_t* needed_bytes) {
    RegistryTree tree;
    RegistryStatus status = Load(&tree);
    if (status != RegistryStatus::kOk) return status;
    if (NormaliseRegistryKey(key).empty()) return RegistryStatus::kInvalid;
    const std::string* value = tree.Value(key, name);
    if (value == nullptr) return RegistryStatus::kNotFound;
    if (needed_bytes != nullptr) *needed_bytes = value->size() + 1;
    if (value->size() + 1 > max_bytes) return RegistryStatus::kMoreData;
    *data = *value;
    return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::EnumValue(std::string_view key, size_t index, size_t max_name_bytes,
                                        size_t max_data_bytes, std::string* name, std::string* data) {
    RegistryTree tree;
    RegistryStatus status = Load(&tree);
    if (status != RegistryStatus::kOk) return status;
    if (NormaliseRegistryKey(key).empty()) return RegistryStatus::kInvalid;
    if (!tree.KeyExists(key)) return RegistryStatus::kNotFound;
    auto values = tree.Values(key);
    if (index >= values.size()) return RegistryStatus::kNoMoreItems;
    const auto& [value_name, value_data] = values[index];
    if (value_name.size() + 1 > max_name_bytes || value_data.size() + 1 > max_data_bytes)
        return RegistryStatus::kMoreData;
    *name = value_name;
    *data = value_data;
    return RegistryStatus::kOk;
}

RegistryStatus RegistryStore::SetValue(std::string_view key, std::string_view name, std::string_view data) {
    return Change([&](RegistryTree& tree) { return tree.SetValue(key, name, data); });
}

RegistryStatus RegistryStore::CreateKey(std::string_view key) {
    return Change([&](RegistryTree& tree) { return tree.CreateKey(key); });
}

RegistryStatus RegistryStore::DeleteKeyTree(std::string_view key) {
    return Change([&](RegistryTree& tree) { return tree.DeleteKeyTree(key); });
}

// ------------------------------------------------------- the process's store

std::string DefaultRegistryPath() {
    constexpr std::string_view kStoreFile = "torvan/registry.ini";
    const char* explicit_path = std::getenv("TORVAN_REGISTRY");
    if (explicit_path != nullptr && explicit_path[0] != '\0') return explicit_path;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] != '\0') return std::string(config) + "/" + std::string(kStoreFile);
    std::string home;
    if (const char* env_home = std::getenv("HOME"); env_home != nullptr && env_home[0] != '\0') {
        home = env_home;
    } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
        home = user->pw_dir;
    }
    return home + "/.config/" + std::string(kStoreFile);
}

RegistryStore& TheRegistry() {
    static RegistryStore store(DefaultRegistryPath());
    return store;
}

void UseRegistryFile(std::string path) { TheRegistry().SetPath(std::move(path)); }

namespace {

// Tests never see the user's store: before every test the process store moves
// to a fresh file in the test's run-time tree (the working directory is its
// bin/ then).
const ResetHook kFreshStoreForEachTest([] {
    std::error_code ignored;
    std::filesystem::path dir = std::filesystem::current_path(ignored).parent_path() / "registry";
    std::filesystem::remove_all(dir, ignored);
    UseRegistryFile((dir / "registry.ini").string());
});

}  // namespace

}  // namespace platform
