// Path composition and splitting on the program's Windows-form paths.
#include "toolkit/base/gw_path.h"

#include <string_view>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::string_view View(const char* text) { return text != nullptr ? text : ""; }

void Set(GwString* out, std::string_view bytes) {
    if (out != nullptr) *out = GwString(bytes);
}

}  // namespace

GwString GwMakepath(const char* drive, const char* dir, const char* name, const char* ext) {
    GwString path(View(drive));
    std::string_view d = View(dir);
    path += d;
    if (!d.empty() && !IsSeparator(d.back())) path += '\\';
    path += View(name);
    std::string_view e = View(ext);
    if (!e.empty() && e.front() != '.') path += '.';
    path += e;
    return path;
}

void GwSplitpath(const char* path, GwString* drive, GwString* dir, GwString* name, GwString* ext) {
    std::string_view rest = View(path);
    std::string_view drive_part;
    if (rest.size() >= 2 && rest[1] == ':' && IsAsciiLetter(rest[0])) {
        drive_part = rest.substr(0, 2);
        rest.remove_prefix(2);
    }
    size_t last_separator = rest.find_last_of("\\/");
    std::string_view dir_part;
    if (last_separator != std::string_view::npos) {
        dir_part = rest.substr(0, last_separator + 1);
        rest.remove_prefix(last_separator + 1);
    }
    // Only a dot in the file name starts the extension: "/a/dir.x/file" has none.
    size_t dot = rest.rfind('.');
    std::string_view name_part = rest.substr(0, dot);
    std::string_view ext_part = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    Set(drive, drive_part);
    Set(dir, dir_part);
    Set(name, name_part);
    Set(ext, ext_part);
}
