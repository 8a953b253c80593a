// Paths as the program composes them ("..\TMP\DataLogger.txt", "C:\dir\f.00D")
// stay in that form in memory, titles and logs. These functions turn them into
// POSIX paths at the moment a file is opened, listed, loaded or started, and
// find existing files and directories regardless of letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// '\' becomes '/', a leading drive prefix ("C:") is dropped. No lookup.
std::string ToNativePath(std::string_view path);

// The native path of an existing file or directory: the exact spelling when it
// exists, else each component matched without regard to ASCII case (exact
// spelling first, then the first in sorted order). Null when nothing matches.
std::optional<std::string> FindExisting(std::string_view path);

// The native path to create or replace `path` at: directories are matched as
// by FindExisting, an existing file whose name differs only in case is reused,
// otherwise the name keeps the spelling given.
std::string ResolveForWrite(std::string_view path);

bool FileExists(std::string_view path);       // a regular file
bool DirectoryExists(std::string_view path);  // a directory

struct DirEntry {
    std::string name;  // file name only, as stored on disk
    bool is_directory = false;
    uint64_t size = 0;
    int64_t write_time = 0;     // seconds since 1970 UTC
    int64_t write_time_ns = 0;  // nanoseconds within that second
};

// Entries of a directory whose names match a wildcard pattern ('*', '?',
// "*.*" = all) without regard to case, sorted by upper-cased name (ties keep a
// stable order). `pattern` is a whole path: "..\FIRMDATA\*.00D".
std::vector<DirEntry> ListDirectory(std::string_view pattern);

// Wildcard match without regard to ASCII case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Equality without regard to ASCII case.
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace platform
