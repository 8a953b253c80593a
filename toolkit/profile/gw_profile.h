// The toolkit's profile file: a sectioned "key=value" text file (".ini") held
// in memory, read at construction and written only by save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class IniDocument;
class IniSection;
struct IniEntry;
}  // namespace platform

// A profile keeps a current section; the key operations work in it. Names of
// sections and keys compare without regard to case and keep the spelling they
// were first given. Section 0 is the file's unnamed head (the keys before the
// first "[section]" line); it always exists.
//
// Texts passed in may be null (read as ""). Texts returned are never null and
// belong to the profile: they stay valid until the profile changes.
class GwProfile {
public:
    // An empty profile without a file; not valid, but it can be filled and
    // loaded into.
    GwProfile();
    // Opens `path` (the program's Windows form or a POSIX path). The profile
    // is valid when the file was read, or when it does not exist but its
    // directory does (save creates it). An empty path, a directory, an
    // unreadable file or a missing directory leave it empty and not valid.
    explicit GwProfile(const char* path);
    explicit GwProfile(const std::string& path) : GwProfile(path.c_str()) {}
    ~GwProfile();

    GwProfile(const GwProfile&) = delete;
    GwProfile& operator=(const GwProfile&) = delete;

    bool is_valid() const { return valid_; }
    // The path the profile was opened with, as given.
    const char* path() const { return path_.c_str(); }

    // Empties the whole profile (the head stays, empty) and selects the head.
    // The file is untouched until save.
    void clear();
    // Reads another file into the profile: its values replace those already
    // held key by key, new sections and keys are added at their ends. False,
    // with the profile unchanged, when the file cannot be read.
    bool load(const char* path);
    // Writes the whole profile with CR LF line ends to `path`, or to the path
    // it was opened with when `path` is null or empty. The old file is
    // replaced only by a complete new one. False when the profile is not
    // valid or the file cannot be written.
    bool save(const char* path = nullptr);

    // Sections, the head included.
    int section_count() const;
    bool section_exists(const char* name) const;
    // Name of section `index` ("" for the head and out of range).
    const char* section_name(int index) const;
    // Name of the current section ("" for the head or when none is selected).
    const char* current_section() const;
    // Selects a section by name ("" is the head), creating it at the end when
    // it is missing and `create` is set. A failed select leaves no section
    // selected: reads then give "" and writes fail, so a missing section never
    // reads as another one.
    bool select_section(const char* name, bool create = false);
    bool select_section(int index);
    // Selects the section, creating it when missing ("" is the head). False,
    // with the current section kept, for a name that a "[section]" line
    // cannot carry (']', line breaks).
    bool create_section(const char* name);
    // Removes every key and comment of the current section; the section stays.
    bool clear_section();

    // Keys of the current section.
    int key_count() const;
    bool key_exists(const char* key) const;
    // The key's value; "" when the key or the current section is missing.
    const char* read(const char* key) const;
    // The value as a 32-bit integer (leading blanks and sign, digits up to the
    // first other character, saturated; an empty or non-numeric value reads
    // 0). `default_value` when the key is missing.
    int read_int(const char* key, int default_value = 0) const;
    // The value as a decimal number ("." as the decimal point; an empty or
    // non-numeric value reads 0). `default_value` when the key is missing.
    double read_double(const char* key, double default_value = 0.0) const;
    // Sets key = value, adding the key at the section's end when missing.
    // False without a current section, for an empty key or for a key or value
    // that one "key=value" line cannot carry ('=' in the key, line breaks).
    bool write(const char* key, const char* value);
    bool write_int(const char* key, int64_t value);
    // Key and value of the entry `index` in file order ("" out of range).
    const char* key(int index) const;
    const char* value(int index) const;
    // Value of the section's first key ("" when it has none).
    const char* first_value() const;

    // Geometry values in the text forms "x,y", "w,h" and "x,y,w,h" (decimal,
    // blanks allowed around the numbers). A missing or unparsable value
    // returns false and leaves the outputs as they are, so they keep the
    // caller's defaults.
    bool read_position(const char* key, int& x, int& y) const;
    bool read_dimension(const char* key, int& width, int& height) const;
    bool read_rectangle(const char* key, int& x, int& y, int& width, int& height) const;
    bool write_position(const char* key, int x, int y);
    bool write_dimension(const char* key, int width, int height);
    bool write_rectangle(const char* key, int x, int y, int width, int height);

private:
    platform::IniSection* current() const;
    const std::string* find(const char* key) const;
    const platform::IniEntry* entry_at(int index) const;
    bool read_integers(const char* key, int* values, size_t count) const;

    std::string path_;
    bool valid_ = false;
    std::unique_ptr<platform::IniDocument> document_;
    // Index of the current section in the document; -1 when none is selected.
    int current_ = 0;
};
