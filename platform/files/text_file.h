// Reading and writing whole files. Text reads accept LF and CR LF (one CR
// before each LF is removed, a last line without LF is kept); byte reads are
// untouched. Every file that is replaced is written to a temporary file beside
// it and renamed, so a failed write never destroys the old one.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class LineEnd { kLf, kCrLf };

// The whole file as bytes; null when it cannot be opened. Paths may be in the
// program's Windows form; existing files are found regardless of case.
std::optional<std::string> ReadBinaryFile(std::string_view path);
// The whole file with CR LF turned into LF.
std::optional<std::string> ReadTextFile(std::string_view path);
// The file's lines without their line ends.
std::optional<std::vector<std::string>> ReadTextLines(std::string_view path);

// Splits text into lines at LF or CR LF; a last line without LF is kept, a
// final empty line after the last LF is not.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each followed by the line end.
std::string JoinLines(const std::vector<std::string>& lines, LineEnd end);

// Replaces (or creates) the file through a temporary file and a rename. On
// failure the old file is unchanged and `error` (when given) holds the
// system's reason.
bool ReplaceFile(std::string_view path, std::string_view bytes, std::string* error = nullptr);

// fopen with the path resolved as above ("r"/"rb" find existing files
// regardless of case, "w"/"a" resolve for writing). Text modes ("r", "rt",
// "w", "wt", "a") are byte modes here; callers that read text use the
// functions above or strip CR themselves.
std::FILE* OpenFile(std::string_view path, const char* mode);

// Removes a file; false when it did not exist or could not be removed.
bool RemoveFile(std::string_view path);

// The system's text for an errno value.
std::string SystemErrorText(int error_number);

}  // namespace platform
