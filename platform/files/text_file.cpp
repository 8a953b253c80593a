// Whole-file reads and safe replacement of files, on top of the path helper.
#include "platform/files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/files/paths.h"
#include "platform/files/staged_file.h"

namespace platform {

namespace {

std::string StripCrBeforeLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

}  // namespace

std::optional<std::string> ReadBinaryFile(std::string_view path) {
    std::FILE* f = OpenFile(path, "rb");
    if (f == nullptr) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    bool failed = std::ferror(f) != 0;  // a directory opens but cannot be read
    std::fclose(f);
    if (failed) return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadTextFile(std::string_view path) {
    std::optional<std::string> bytes = ReadBinaryFile(path);
    if (!bytes) return std::nullopt;
    return StripCrBeforeLf(*bytes);
}

std::optional<std::vector<std::string>> ReadTextLines(std::string_view path) {
    std::optional<std::string> bytes = ReadBinaryFile(path);
    if (!bytes) return std::nullopt;
    return SplitLines(*bytes);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, LineEnd end) {
    const char* eol = end == LineEnd::kCrLf ? "\r\n" : "\n";
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += eol;
    }
    return out;
}

bool ReplaceFile(std::string_view path, std::string_view bytes, std::string* error) {
    StagedFile file;
    return file.Open(path, error) && file.Write(bytes, error) && file.Commit(error);
}

std::FILE* OpenFile(std::string_view path, const char* mode) {
    if (mode == nullptr || mode[0] == '\0') {
        errno = EINVAL;
        return nullptr;
    }
    std::string native;
    if (mode[0] == 'r') {
        std::optional<std::string> found = FindExisting(path);
        native = found ? *found : ToNativePath(path);  // the open then fails with the system's reason
    } else {
        native = ResolveForWrite(path);
    }
    // Text and binary modes are the same here; 't' is dropped so the C
    // library sees only modes it knows.
    std::string native_mode;
    for (const char* m = mode; *m != '\0'; ++m)
        if (*m != 't') native_mode += *m;
    return std::fopen(native.c_str(), native_mode.c_str());
}

bool RemoveFile(std::string_view path) {
    std::optional<std::string> found = FindExisting(path);
    return found && ::unlink(found->c_str()) == 0;
}

std::string SystemErrorText(int error_number) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not be in `buffer`.
    return ::strerror_r(error_number, buffer, sizeof buffer);
}

}  // namespace platform
