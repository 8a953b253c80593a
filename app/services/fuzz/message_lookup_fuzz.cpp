// Fuzz target of the message and label lookups: any bytes as the language's
// message file "TORVAN.MSG" and label file "BLabel.dat". Every lookup of the
// file's sections and keys, by name and by number, stays inside its buffer
// and keeps the text's length, and the texts take their arguments through
// the checked formatting and the "%s" replacement as the callers do.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/services/app_files.h"
#include "app/services/message_text.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/files/ini_document.h"

namespace {

struct Tree {
    Tree() : root(std::filesystem::temp_directory_path() / ("torvan_msg_fuzz_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(root / "bin");
        std::filesystem::create_directories(root / "LANGUAGE/007");
        std::ofstream(root / "bin/Torvan.ini") << "[Options]\nLanguage=7\n";
        if (chdir((root / "bin").c_str()) != 0) std::abort();
    }
    ~Tree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    void Write(const char* name, const uint8_t* data, size_t size) const {
        std::ofstream out(root / "LANGUAGE/007" / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::filesystem::path root;
};

void Substitute(const std::string& text) {
    platform::FormatChecked(text, {7, "name", 2.5, -1});
    dstring d(text.c_str());
    d.Replace("%s", "..\\FIRMDATA\\5_003_10.MCW");
}

void LookUp(const std::string& section, const std::string& key) {
    for (int size : {1, 2, 17, kMessageTextSize}) {
        std::vector<char> buffer(static_cast<size_t>(size) + 8, 'Z');
        GetMessageText(buffer.data(), section.c_str(), key.c_str(), size);
        const size_t length = std::strlen(buffer.data());
        if (length >= static_cast<size_t>(size)) std::abort();
        for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i)
            if (buffer[i] != 'Z') std::abort();
        if (size == kMessageTextSize) Substitute(buffer.data());
    }
    if (const char* label = GetProfileText(section.c_str(), key.c_str())) Substitute(label);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Tree tree;
    tree.Write("TORVAN.MSG", data, size);
    tree.Write("BLabel.dat", data, size);
    OpenApplicationFiles();

    const platform::IniDocument doc =
        platform::IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (size_t s = 0; s < doc.SectionCount() && s < 8; ++s) {
        const platform::IniSection& section = doc.SectionAt(s);
        LookUp(section.name(), "missing key");
        for (size_t k = 0; k < section.KeyCount() && k < 16; ++k) LookUp(section.name(), section.EntryAt(k)->key);
    }
    for (unsigned number : {0u, 1u, 12u, 157u, kMaxMessageNumber, kMaxMessageNumber + 1}) {
        for (const char* section : {kMainMessagesSection, kActivMessagesSection}) {
            const dstring text = GetMessageString(number, section);
            Substitute(text.Text());
        }
    }
    GetDeviceTypeName(5123);
    CloseApplicationFiles();
    return 0;
}
