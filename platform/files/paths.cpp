// The one place that turns the program's Windows-form paths into POSIX paths
// and finds files whose stored spelling differs in letter case.
#include "platform/files/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCased(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

bool StatPath(const std::string& native, struct stat* st) { return !native.empty() && ::stat(native.c_str(), st) == 0; }

bool IsDirectory(const std::string& native) {
    struct stat st {};
    return StatPath(native, &st) && S_ISDIR(st.st_mode);
}

// Names in a directory ("" = the working directory), without "." and "..".
std::vector<std::string> DirectoryNames(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return names;
    while (const dirent* e = ::readdir(d)) {
        std::string_view name(e->d_name);
        if (name == "." || name == "..") continue;
        names.emplace_back(name);
    }
    ::closedir(d);
    return names;
}

std::string Join(const std::string& base, std::string_view name) {
    if (base.empty()) return std::string(name);
    if (base.back() == '/') return base + std::string(name);
    return base + "/" + std::string(name);
}

// The spelling of `name` inside `dir`: exact when it exists, else the first
// case-insensitive match in byte order. `want_directory` restricts matches to
// directories, as every component but the last must be one.
std::optional<std::string> MatchComponent(const std::string& dir, std::string_view name, bool want_directory) {
    struct stat st {};
    std::string exact = Join(dir, name);
    if (::stat(exact.c_str(), &st) == 0 && (!want_directory || S_ISDIR(st.st_mode))) return std::string(name);
    std::vector<std::string> names = DirectoryNames(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& candidate : names) {
        if (!EqualNoCase(candidate, name)) continue;
        if (want_directory && !IsDirectory(Join(dir, candidate))) continue;
        return candidate;
    }
    return std::nullopt;
}

struct Resolved {
    std::string path;
    bool complete = true;  // every component exists
};

// Resolves component by component. With `keep_missing`, components from the
// first one that does not exist keep the spelling given; without, resolution
// stops there.
Resolved ResolveComponents(const std::string& native, bool keep_missing) {
    Resolved out;
    std::string& result = out.path;
    if (!native.empty() && native.front() == '/') result = "/";
    std::vector<std::string_view> parts;
    std::string_view rest(native);
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        if (!part.empty()) parts.push_back(part);
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        bool last = i + 1 == parts.size();
        if (!out.complete || part == "." || part == "..") {
            result = Join(result, part);
            continue;
        }
        std::optional<std::string> match = MatchComponent(result, part, !last);
        if (!match) {
            out.complete = false;
            if (!keep_missing) return out;
            result = Join(result, part);
            continue;
        }
        result = Join(result, *match);
    }
    if (native.size() > 1 && native.back() == '/' && result.back() != '/') result += '/';
    return out;
}

}  // namespace

std::string ToNativePath(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) path.remove_prefix(2);
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::optional<std::string> FindExisting(std::string_view path) {
    std::string native = ToNativePath(path);
    struct stat st {};
    if (StatPath(native, &st)) return native;
    if (native.empty()) return std::nullopt;
    Resolved r = ResolveComponents(native, false);
    if (!r.complete || !StatPath(r.path, &st)) return std::nullopt;
    return r.path;
}

std::string ResolveForWrite(std::string_view path) {
    std::string native = ToNativePath(path);
    struct stat st {};
    if (StatPath(native, &st)) return native;
    return ResolveComponents(native, true).path;
}

bool FileExists(std::string_view path) {
    std::optional<std::string> native = FindExisting(path);
    struct stat st {};
    return native && StatPath(*native, &st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    std::optional<std::string> native = FindExisting(path);
    return native && IsDirectory(*native);
}

std::vector<DirEntry> ListDirectory(std::string_view pattern) {
    std::string native = ToNativePath(pattern);
    std::string dir;
    std::string name_pattern = native;
    size_t slash = native.rfind('/');
    if (slash != std::string::npos) {
        dir = native.substr(0, slash + 1);
        name_pattern = native.substr(slash + 1);
    }
    std::vector<DirEntry> entries;
    if (name_pattern.empty()) return entries;
    std::string found_dir;
    if (!dir.empty()) {
        std::optional<std::string> existing = FindExisting(dir);
        if (!existing || !IsDirectory(*existing)) return entries;
        found_dir = *existing;
    }
    for (const std::string& name : DirectoryNames(found_dir)) {
        if (!WildcardMatch(name_pattern, name)) continue;
        struct stat st {};
        if (::stat(Join(found_dir, name).c_str(), &st) != 0) continue;  // dangling link
        DirEntry e;
        e.name = name;
        e.is_directory = S_ISDIR(st.st_mode);
        e.size = e.is_directory ? 0 : static_cast<uint64_t>(st.st_size);
        e.write_time = static_cast<int64_t>(st.st_mtime);
        e.write_time_ns = static_cast<int64_t>(st.st_mtim.tv_nsec);
        entries.push_back(std::move(e));
    }
    // Byte order first, so names equal when upper-cased keep a fixed order
    // whatever order the file system returned them in.
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        return UpperCased(a.name) < UpperCased(b.name);
    });
    return entries;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;  // "all files", also those without a dot
    // Greedy match with one backtrack point: linear in practice, never
    // exponential on patterns like "*a*a*a*b".
    size_t p = 0, n = 0;
    size_t star = std::string_view::npos, star_n = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            star_n = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

}  // namespace platform
