// GwProfile over the platform's INI document: file access, validity, the
// current section and the typed reads and writes.
#include "toolkit/profile/gw_profile.h"

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/files/ini_document.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "toolkit/base/gw_number.h"

namespace {

const char* const kEmpty = "";

std::string_view Text(const char* text) { return text != nullptr ? text : std::string_view{}; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The directory part of a path in either separator form; "." for a bare name.
std::string DirectoryOf(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string_view::npos) return ".";
    if (cut == 0) return std::string(path.substr(0, 1));
    return std::string(path.substr(0, cut));
}

// The bytes of an existing, readable regular file; null otherwise.
std::optional<std::string> ReadProfileFile(std::string_view path) {
    if (path.empty() || platform::DirectoryExists(path)) return std::nullopt;
    return platform::ReadBinaryFile(path);
}

// Parses "a,b[,c,d]": exactly `count` decimal integers, blanks allowed around
// each. False, with `out` untouched, for anything else.
bool ParseIntegers(std::string_view text, int* out, size_t count) {
    int values[4];
    if (count > 4) return false;
    for (size_t i = 0; i < count; ++i) {
        size_t comma = text.find(',');
        bool last = i + 1 == count;
        if (last != (comma == std::string_view::npos)) return false;
        std::string_view field = text.substr(0, comma);
        text.remove_prefix(last ? text.size() : comma + 1);
        while (!field.empty() && IsBlank(field.front())) field.remove_prefix(1);
        while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
        const char* end = field.data() + field.size();
        auto [stop, error] = std::from_chars(field.data(), end, values[i]);
        if (field.empty() || error != std::errc() || stop != end) return false;
    }
    for (size_t i = 0; i < count; ++i) out[i] = values[i];
    return true;
}

std::string JoinIntegers(const int* values, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

}  // namespace

GwProfile::GwProfile() : document_(std::make_unique<platform::IniDocument>()) {}

GwProfile::GwProfile(const char* path) : GwProfile() {
    path_ = std::string(Text(path));
    if (path_.empty()) return;
    if (platform::FindExisting(path_)) {
        std::optional<std::string> bytes = ReadProfileFile(path_);
        if (!bytes) return;  // a directory or an unreadable file
        *document_ = platform::IniDocument::Parse(*bytes);
        valid_ = true;
        return;
    }
    // Not there yet: usable when save can create it.
    valid_ = platform::DirectoryExists(DirectoryOf(path_));
}

GwProfile::~GwProfile() = default;

void GwProfile::clear() {
    document_->Clear();
    current_ = 0;
}

bool GwProfile::load(const char* path) {
    std::optional<std::string> bytes = ReadProfileFile(Text(path));
    if (!bytes) return false;
    document_->Merge(platform::IniDocument::Parse(*bytes));
    return true;
}

bool GwProfile::save(const char* path) {
    if (!valid_) return false;
    std::string_view target = Text(path);
    if (target.empty()) target = path_;
    return platform::ReplaceFile(target, document_->Serialize(platform::LineEnd::kCrLf));
}

int GwProfile::section_count() const { return static_cast<int>(document_->SectionCount()); }

bool GwProfile::section_exists(const char* name) const { return document_->FindSection(Text(name)) != nullptr; }

const char* GwProfile::section_name(int index) const {
    if (index < 0 || index >= section_count()) return kEmpty;
    return document_->SectionAt(static_cast<size_t>(index)).name().c_str();
}

const char* GwProfile::current_section() const { return section_name(current_); }

bool GwProfile::select_section(const char* name, bool create) {
    const platform::IniSection* found = create ? document_->AddSection(Text(name)) : document_->FindSection(Text(name));
    current_ = -1;
    for (int i = 0; found != nullptr && i < section_count(); ++i) {
        if (&document_->SectionAt(static_cast<size_t>(i)) == found) {
            current_ = i;
            break;
        }
    }
    return current_ >= 0;
}

bool GwProfile::select_section(int index) {
    current_ = index >= 0 && index < section_count() ? index : -1;
    return current_ >= 0;
}

bool GwProfile::create_section(const char* name) {
    int before = current_;
    if (select_section(name, true)) return true;
    current_ = before;  // a name that cannot be written changes nothing
    return false;
}

bool GwProfile::clear_section() {
    platform::IniSection* section = current();
    if (section == nullptr) return false;
    section->Clear();
    return true;
}

int GwProfile::key_count() const {
    const platform::IniSection* section = current();
    return section == nullptr ? 0 : static_cast<int>(section->KeyCount());
}

bool GwProfile::key_exists(const char* key) const { return find(key) != nullptr; }

const char* GwProfile::read(const char* key) const {
    const std::string* value = find(key);
    return value == nullptr ? kEmpty : value->c_str();
}

int GwProfile::read_int(const char* key, int default_value) const {
    const std::string* value = find(key);
    return value == nullptr ? default_value : GwAtoi(value->c_str());
}

double GwProfile::read_double(const char* key, double default_value) const {
    const std::string* value = find(key);
    // The program runs in the "C" locale, so strtod reads '.' as the point.
    return value == nullptr ? default_value : std::strtod(value->c_str(), nullptr);
}

bool GwProfile::write(const char* key, const char* value) {
    platform::IniSection* section = current();
    return section != nullptr && section->Set(Text(key), Text(value));
}

bool GwProfile::write_int(const char* key, int64_t value) { return write(key, std::to_string(value).c_str()); }

const char* GwProfile::key(int index) const {
    const platform::IniEntry* entry = entry_at(index);
    return entry == nullptr ? kEmpty : entry->key.c_str();
}

const char* GwProfile::value(int index) const {
    const platform::IniEntry* entry = entry_at(index);
    return entry == nullptr ? kEmpty : entry->value.c_str();
}

const char* GwProfile::first_value() const { return value(0); }

bool GwProfile::read_position(const char* key, int& x, int& y) const {
    int v[2];
    if (!read_integers(key, v, 2)) return false;
    x = v[0];
    y = v[1];
    return true;
}

bool GwProfile::read_dimension(const char* key, int& width, int& height) const {
    return read_position(key, width, height);
}

bool GwProfile::read_rectangle(const char* key, int& x, int& y, int& width, int& height) const {
    int v[4];
    if (!read_integers(key, v, 4)) return false;
    x = v[0];
    y = v[1];
    width = v[2];
    height = v[3];
    return true;
}

bool GwProfile::write_position(const char* key, int x, int y) {
    const int v[2] = {x, y};
    return write(key, JoinIntegers(v, 2).c_str());
}

bool GwProfile::write_dimension(const char* key, int width, int height) { return write_position(key, width, height); }

bool GwProfile::write_rectangle(const char* key, int x, int y, int width, int height) {
    const int v[4] = {x, y, width, height};
    return write(key, JoinIntegers(v, 4).c_str());
}

platform::IniSection* GwProfile::current() const {
    if (current_ < 0 || current_ >= section_count()) return nullptr;
    return &document_->SectionAt(static_cast<size_t>(current_));
}

const std::string* GwProfile::find(const char* key) const {
    const platform::IniSection* section = current();
    return section == nullptr ? nullptr : section->Find(Text(key));
}

const platform::IniEntry* GwProfile::entry_at(int index) const {
    const platform::IniSection* section = current();
    if (section == nullptr || index < 0) return nullptr;
    return section->EntryAt(static_cast<size_t>(index));
}

bool GwProfile::read_integers(const char* key, int* values, size_t count) const {
    const std::string* text = find(key);
    return text != nullptr && ParseIntegers(*text, values, count);
}
