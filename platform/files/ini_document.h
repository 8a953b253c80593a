// The one reader and writer of sectioned "key=value" files: profiles and the
// registry store both keep their data in an IniDocument. It works on bytes
// only (no file access), so the profile library can link it on its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files/text_file.h"  // LineEnd

namespace platform {

// A key and its value, with the comment lines that stood before it.
struct IniEntry {
    std::string key;                       // first spelling seen
    std::string value;                     // without the surrounding quotes of the file
    std::vector<std::string> text_before;  // comment and kept lines, as they were
};

// One section: its entries in file order. Names compare without regard to
// ASCII case.
class IniSection {
public:
    explicit IniSection(std::string name = {}) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    size_t KeyCount() const { return entries_.size(); }
    // The entry at `index` in file order; null past the end.
    const IniEntry* EntryAt(size_t index) const;
    // The value of `key`; null when the section has no such key.
    const std::string* Find(std::string_view key) const;
    bool Has(std::string_view key) const { return Find(key) != nullptr; }

    // Replaces the value of an existing key in place (keeping its first
    // spelling) or appends the key. Blanks around the key are trimmed. False,
    // with nothing changed, for what the file cannot hold: an empty key, a key
    // with '=', a line end or a leading ';' or '[', a value with a line end.
    bool Set(std::string_view key, std::string_view value);
    // Removes a key with the comments before it; false when it was not there.
    bool Remove(std::string_view key);
    // Removes every key and comment of the section.
    void Clear();

private:
    friend class IniDocument;
    void RebuildIndex();

    std::string name_;
    std::vector<std::string> text_before_header_;  // comments that introduce the section
    std::vector<IniEntry> entries_;
    std::vector<std::string> text_after_;            // comments after the last entry
    std::unordered_map<std::string, size_t> index_;  // upper-cased key -> entry
};

// Sections in file order; section 0 is the unnamed head, which holds the keys
// that stand before any section header.
class IniDocument {
public:
    IniDocument();

    // Reads a document. LF and CR LF are both line ends and a last line
    // without one counts; blank lines are dropped; ';' starts a comment line.
    // Within one file the first of duplicate keys wins (the others are kept as
    // text, so nothing is lost on save) and a repeated section header
    // continues the first section of that name. Lines that are neither blank,
    // a comment, a section header nor "key=value" are kept as text too.
    static IniDocument Parse(std::string_view bytes);

    // The document as bytes, with the given line end after every line.
    std::string Serialize(LineEnd line_end) const;

    // Sections including the head.
    size_t SectionCount() const { return sections_.size(); }
    IniSection& SectionAt(size_t index) { return sections_.at(index); }
    const IniSection& SectionAt(size_t index) const { return sections_.at(index); }
    IniSection& Head() { return sections_.front(); }
    const IniSection& Head() const { return sections_.front(); }

    // The section of that name (the head for an empty name); null when missing.
    IniSection* FindSection(std::string_view name);
    const IniSection* FindSection(std::string_view name) const;
    // The section of that name, appended when missing. Null for a name the
    // file cannot hold (with ']' or a line end).
    IniSection* AddSection(std::string_view name);
    // Removes a named section; the head cannot be removed, only cleared.
    bool RemoveSection(std::string_view name);

    // Shorthands over the sections. Get returns null when section or key is
    // missing; SetValue creates the section when needed.
    const std::string* Get(std::string_view section, std::string_view key) const;
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    // Lays `other` over this document: its values replace these key by key,
    // in place; its new keys and sections are appended in its order. Its
    // comments are not taken over.
    void Merge(const IniDocument& other);

    // Back to an empty head alone.
    void Clear();

    // Lines (1-based) that were neither blank, a comment, a section header
    // nor "key=value"; they are kept as text. Stores that must be exact use
    // this to refuse a damaged file.
    const std::vector<size_t>& UnrecognisedLines() const { return unrecognised_lines_; }

private:
    void RebuildIndex();

    std::vector<IniSection> sections_;
    std::unordered_map<std::string, size_t> index_;  // upper-cased name -> section
    std::vector<size_t> unrecognised_lines_;
    bool byte_order_mark_ = false;  // kept so files from other tools round-trip
};

}  // namespace platform
