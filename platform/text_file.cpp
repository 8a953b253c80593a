// Whole-file reads and safe replacement of files, on top of the path helper.
#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/paths.h"

namespace platform {

namespace {

// Attempts to find a free temporary name beside the target before giving up.
constexpr int kTempNameAttempts = 100;
// Permissions of a new file before the umask, as fopen gives them.
constexpr mode_t kNewFileMode = 0666;

std::string StripCrBeforeLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Creates a new, exclusive temporary file beside `target`; -1 with errno set
// when none can be made.
int CreateTempBeside(const std::string& target, std::string* temp_path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        *temp_path = target + ".tmp" + std::to_string(::getpid()) + "_" +
                     std::to_string(counter.fetch_add(1));
        int fd = ::open(temp_path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
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
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
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
    std::string target = ResolveForWrite(path);
    auto fail = [&](int error_number) {
        if (error != nullptr) *error = SystemErrorText(error_number);
        return false;
    };
    if (target.empty()) return fail(ENOENT);
    std::string temp;
    int fd = CreateTempBeside(target, &temp);
    if (fd < 0) return fail(errno);
    // A replaced file keeps its permissions.
    struct stat old{};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    bool written = WriteAll(fd, bytes);
    int saved = errno;
    // The bytes reach the disk before the name moves, so a crash or power
    // loss right after the rename leaves the new file or the old one, never
    // an empty one.
    if (written && ::fdatasync(fd) != 0) {
        written = false;
        saved = errno;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        saved = errno;
    }
    if (!written) {
        ::unlink(temp.c_str());
        return fail(saved);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        saved = errno;
        ::unlink(temp.c_str());
        return fail(saved);
    }
    return true;
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
