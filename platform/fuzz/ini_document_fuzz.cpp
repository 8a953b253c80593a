// Fuzz target of the INI reader: any bytes parse without a crash, the
// document reads back as it was written, and lookups find what enumeration
// shows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/files/ini_document.h"

namespace {

[[noreturn]] void Fail() { __builtin_trap(); }

void Check(bool ok) {
    if (!ok) Fail();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::IniDocument;
    using platform::LineEnd;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);

    for (size_t s = 0; s < doc.SectionCount(); ++s) {
        const platform::IniSection& section = doc.SectionAt(s);
        if (s > 0) Check(doc.FindSection(section.name()) == &section);
        for (size_t k = 0; k < section.KeyCount(); ++k) {
            const platform::IniEntry* entry = section.EntryAt(k);
            const std::string* found = section.Find(entry->key);
            Check(found == &entry->value);
        }
    }

    // What was written reads back to the same document, with either line end.
    for (LineEnd end : {LineEnd::kLf, LineEnd::kCrLf}) {
        std::string first = doc.Serialize(end);
        IniDocument again = IniDocument::Parse(first);
        Check(again.Serialize(end) == first);
        Check(again.SectionCount() == doc.SectionCount());
        for (size_t s = 0; s < doc.SectionCount(); ++s) {
            const platform::IniSection& a = doc.SectionAt(s);
            const platform::IniSection& b = again.SectionAt(s);
            Check(a.name() == b.name() && a.KeyCount() == b.KeyCount());
            for (size_t k = 0; k < a.KeyCount(); ++k)
                Check(a.EntryAt(k)->key == b.EntryAt(k)->key && a.EntryAt(k)->value == b.EntryAt(k)->value);
        }
    }

    // Laying the document over itself changes no value.
    IniDocument merged = doc;
    merged.Merge(doc);
    Check(merged.Serialize(LineEnd::kLf) == doc.Serialize(LineEnd::kLf));
    return 0;
}
