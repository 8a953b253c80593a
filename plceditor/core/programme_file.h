// The binary programme file: a text file of 32-bit words, one "%08lx" line
// each. Generators with 20-byte records write their packed code array this
// way; V1.10 writes its program table in the same form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plc {

// Writes one line per word (CR LF). False for an empty path or a file that
// cannot be created; otherwise `path` becomes the full path of the file.
bool WriteProgrammeWordFile(std::string& path, std::span<const uint32_t> words);

// Reads words as "%lx" does, one after the other, until one cannot be read or
// `maxWords` are read: white space is skipped, a sign and a "0x" prefix are
// taken, a value beyond 32 bits reads as 0xFFFFFFFF. Text that is not
// hexadecimal ends the reading.
std::vector<uint32_t> ScanProgrammeWords(std::string_view text, std::size_t maxWords);

// The words of a programme file, LF or CR LF; null for an empty path or a
// file that cannot be opened.
std::optional<std::vector<uint32_t>> ReadProgrammeWordFile(std::string_view path, std::size_t maxWords);

}  // namespace plc
