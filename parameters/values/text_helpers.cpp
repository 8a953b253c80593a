// Text files through the platform's file layer (paths in the program's
// Windows form, names found regardless of case) and C-string line helpers.
#include "parameters/values/text_helpers.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/files/text_file.h"

namespace {

// Longest text that IsNotNumberText still takes for a number, in characters.
constexpr size_t kMaxNumberTextLength = 128;
// Characters of each path that ComparePathNoCase looks at.
constexpr size_t kMaxComparedPathLength = 255;

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// The first characters of a path, upper-cased, with '/' read as '\'.
std::string PathKey(const char* path) {
    std::string key(path != nullptr ? path : "");
    if (key.size() > kMaxComparedPathLength) key.resize(kMaxComparedPathLength);
    for (char& c : key) {
        c = IsPathSeparator(c) ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

// Removes every character for which `drop` is true, in place.
template <typename Drop>
void RemoveIf(char* text, Drop drop) {
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (!drop(*in)) *out++ = *in;
    }
    *out = '\0';
}

}  // namespace

bool ReadTextFile(GwString& out, const char* path) {
    if (path == nullptr) return false;
    const std::optional<std::string> text = platform::ReadTextFile(path);
    if (!text) return false;
    out.Append(*text);
    return true;
}

bool WriteTextFile(const GwString& text, const char* path) {
    if (path == nullptr) return false;
    return platform::ReplaceFile(path, text.str());
}

bool WriteTextFileByName(const GwString& text, GwString path) { return WriteTextFile(text, path.c_str()); }

int CopyTextFile(const char* src, const char* dst, std::string* error) {
    if (src == nullptr || dst == nullptr) return 0;
    // The bytes go over unchanged, so a file with CR LF lines keeps them.
    const std::optional<std::string> bytes = platform::ReadBinaryFile(src);
    if (!bytes) {
        if (error != nullptr) *error = platform::SystemErrorText(errno);
        return 0;
    }
    return platform::ReplaceFile(dst, *bytes, error) ? 1 : 0;
}

void CutFileExtension(char* path) {
    if (path == nullptr) return;
    for (size_t i = std::strlen(path); i-- > 1;) {
        if (IsPathSeparator(path[i])) return;
        if (path[i] == '.') {
            path[i] = '\0';
            return;
        }
    }
}

std::string WithoutFileExtension(const std::string& path) {
    std::string cut = path;
    CutFileExtension(cut.data());
    cut.resize(std::strlen(cut.c_str()));
    return cut;
}

std::string DirectoryOfPath(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

void CutComment(char* line) {
    if (line == nullptr) return;
    if (char* comment = std::strchr(line, ';')) *comment = '\0';
}

void TabsToBlanks(char* line) {
    if (line == nullptr) return;
    for (char* c = line; *c != '\0'; ++c) {
        if (*c == '\t') *c = ' ';
    }
}

char* RemoveBlanks(char* text) {
    if (text != nullptr) RemoveIf(text, [](char c) { return c == ' ' || c == '\t'; });
    return text;
}

void ToUpperInPlace(char* text) {
    if (text == nullptr) return;
    for (char* c = text; *c != '\0'; ++c) {
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
}

char* UpperCase(char* text) {
    ToUpperInPlace(text);
    return text;
}

int HasControlChars(const char* text) {
    if (text == nullptr) return 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (*c < 0x20 || *c > 0x7F) return 1;
    }
    return 0;
}

bool IsNotNumberText(const char* text) {
    if (text == nullptr) return true;
    if (std::strlen(text) > kMaxNumberTextLength) return true;
    return text[std::strspn(text, "0123456789,-.Ee")] != '\0';
}

int CompareNoCase(const char* a, const char* b) {
    if (a == b) return 0;
    if (a == nullptr || b == nullptr) return a == nullptr ? -1 : 1;
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0) return ca - cb;
    }
}

int ComparePathNoCase(const char* a, const char* b) {
    const int order = PathKey(a).compare(PathKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}
