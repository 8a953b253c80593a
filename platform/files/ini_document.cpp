// Sectioned key/value documents: parsing, lookup and serialisation. It needs
// nothing of the platform layer beyond this file, so the profile library can
// link it statically.
#include "platform/files/ini_document.h"

namespace platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A CR at the edge of a line is a left-over line end, never content.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names compare without regard to ASCII case only: texts are bytes.
std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

bool HasLineEnd(std::string_view text) { return text.find('\n') != std::string_view::npos; }

// One pair of surrounding double quotes protects blanks at the edges.
std::string UnquoteValue(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return std::string(value);
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) return false;
    return IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '"';
}

void AppendLine(std::string& out, std::string_view line, std::string_view eol) {
    out.append(line);
    out.append(eol);
}

}  // namespace

// ---------------------------------------------------------------- IniSection

const IniEntry* IniSection::EntryAt(size_t index) const { return index < entries_.size() ? &entries_[index] : nullptr; }

const std::string* IniSection::Find(std::string_view key) const {
    auto it = index_.find(FoldCase(Trim(key)));
    return it == index_.end() ? nullptr : &entries_[it->second].value;
}

bool IniSection::Set(std::string_view key, std::string_view value) {
    key = Trim(key);
    if (key.empty() || key.find('=') != std::string_view::npos || HasLineEnd(key) || key.front() == ';' ||
        key.front() == '[' || HasLineEnd(value))
        return false;
    std::string folded = FoldCase(key);
    auto it = index_.find(folded);
    if (it != index_.end()) {
        entries_[it->second].value = std::string(value);
        return true;
    }
    index_.emplace(std::move(folded), entries_.size());
    entries_.push_back(IniEntry{std::string(key), std::string(value), {}});
    return true;
}

bool IniSection::Remove(std::string_view key) {
    auto it = index_.find(FoldCase(Trim(key)));
    if (it == index_.end()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(it->second));
    RebuildIndex();
    return true;
}

void IniSection::Clear() {
    entries_.clear();
    text_after_.clear();
    index_.clear();
}

void IniSection::RebuildIndex() {
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(FoldCase(entries_[i].key), i);
}

// --------------------------------------------------------------- IniDocument

IniDocument::IniDocument() { sections_.emplace_back(); }

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        doc.byte_order_mark_ = true;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    size_t current = 0;                // section whose lines are being read
    std::vector<std::string> pending;  // comment lines waiting for what follows them
    size_t detached = 0;               // pending lines that a blank line separates from what follows
    size_t line_number = 0;
    auto keep_text = [&](std::string_view line) {
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pending.emplace_back(line);
    };
    // Lines stay in the section they were read in, so that a kept duplicate
    // key never lands in another section on the next read.
    auto flush_to_tail = [&](size_t count) {
        auto& tail = doc.sections_[current].text_after_;
        tail.insert(tail.end(), pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(count));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(count));
        detached = 0;
    };

    while (!bytes.empty()) {
        size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
        ++line_number;

        std::string_view trimmed = Trim(line);
        if (trimmed.empty()) {
            detached = pending.size();
            continue;
        }
        if (trimmed.front() == ';') {
            keep_text(line);
            continue;
        }
        if (trimmed.front() == '[') {
            size_t close = trimmed.find(']');
            std::string_view name =
                close == std::string_view::npos ? std::string_view{} : Trim(trimmed.substr(1, close - 1));
            if (name.empty()) {
                doc.unrecognised_lines_.push_back(line_number);
                keep_text(line);
                continue;
            }
            std::string folded = FoldCase(name);
            auto it = doc.index_.find(folded);
            if (it == doc.index_.end()) {
                // Comments right above a new header introduce it, unless a
                // blank line parts them from it or they were read in an
                // earlier section that a repeated header continued.
                flush_to_tail(current + 1 == doc.sections_.size() ? detached : pending.size());
                it = doc.index_.emplace(std::move(folded), doc.sections_.size()).first;
                doc.sections_.emplace_back(std::string(name));
                doc.sections_.back().text_before_header_ = std::move(pending);
                pending.clear();
            } else {
                flush_to_tail(pending.size());  // a repeated header continues its section
            }
            current = it->second;
            continue;
        }
        size_t equals = trimmed.find('=');
        std::string_view key = equals == std::string_view::npos ? std::string_view{} : Trim(trimmed.substr(0, equals));
        if (key.empty()) {
            doc.unrecognised_lines_.push_back(line_number);
            keep_text(line);
            continue;
        }
        IniSection& section = doc.sections_[current];
        if (section.Has(key)) {
            keep_text(line);  // the first of duplicate keys wins; the line survives a save
            continue;
        }
        if (!section.Set(key, UnquoteValue(trimmed.substr(equals + 1)))) {
            doc.unrecognised_lines_.push_back(line_number);
            keep_text(line);
            continue;
        }
        section.entries_.back().text_before = std::move(pending);
        pending.clear();
        detached = 0;
    }
    flush_to_tail(pending.size());
    return doc;
}

std::string IniDocument::Serialize(LineEnd line_end) const {
    const std::string_view eol = line_end == LineEnd::kCrLf ? "\r\n" : "\n";
    std::string out;
    if (byte_order_mark_) out.append(kByteOrderMark);
    bool wrote_any = false;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const IniSection& section = sections_[s];
        if (s > 0) {
            if (wrote_any) out.append(eol);  // a blank line between sections
            for (const std::string& text : section.text_before_header_) AppendLine(out, text, eol);
            out.append("[").append(section.name_).append("]").append(eol);
        } else {
            for (const std::string& text : section.text_before_header_) AppendLine(out, text, eol);
        }
        for (const IniEntry& entry : section.entries_) {
            for (const std::string& text : entry.text_before) AppendLine(out, text, eol);
            out.append(entry.key).append("=");
            if (NeedsQuotes(entry.value))
                out.append("\"").append(entry.value).append("\"");
            else
                out.append(entry.value);
            out.append(eol);
        }
        for (const std::string& text : section.text_after_) AppendLine(out, text, eol);
        wrote_any = wrote_any || s > 0 || !section.entries_.empty() || !section.text_before_header_.empty() ||
                    !section.text_after_.empty();
    }
    // A first line that itself begins with the mark would lose it on the next
    // read; a mark in front keeps it.
    if (!byte_order_mark_ && out.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) out.insert(0, kByteOrderMark);
    return out;
}

IniSection* IniDocument::FindSection(std::string_view name) {
    name = Trim(name);
    if (name.empty()) return &sections_.front();
    auto it = index_.find(FoldCase(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

const IniSection* IniDocument::FindSection(std::string_view name) const {
    return const_cast<IniDocument*>(this)->FindSection(name);
}

IniSection* IniDocument::AddSection(std::string_view name) {
    if (IniSection* found = FindSection(name)) return found;
    name = Trim(name);
    if (name.find(']') != std::string_view::npos || HasLineEnd(name)) return nullptr;
    index_.emplace(FoldCase(name), sections_.size());
    sections_.emplace_back(std::string(name));
    return &sections_.back();
}

bool IniDocument::RemoveSection(std::string_view name) {
    name = Trim(name);
    if (name.empty()) return false;
    auto it = index_.find(FoldCase(name));
    if (it == index_.end()) return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    RebuildIndex();
    return true;
}

const std::string* IniDocument::Get(std::string_view section, std::string_view key) const {
    const IniSection* found = FindSection(section);
    return found == nullptr ? nullptr : found->Find(key);
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    IniSection* target = AddSection(section);
    return target != nullptr && target->Set(key, value);
}

void IniDocument::Merge(const IniDocument& other) {
    for (const IniSection& section : other.sections_) {
        IniSection* target = AddSection(section.name_);
        if (target == nullptr) continue;  // cannot happen: names come from a document
        for (const IniEntry& entry : section.entries_) target->Set(entry.key, entry.value);
    }
}

void IniDocument::Clear() {
    sections_.clear();
    sections_.emplace_back();
    index_.clear();
    unrecognised_lines_.clear();
    byte_order_mark_ = false;
}

void IniDocument::RebuildIndex() {
    index_.clear();
    for (size_t i = 1; i < sections_.size(); ++i) index_.emplace(FoldCase(sections_[i].name_), i);
}

}  // namespace platform
