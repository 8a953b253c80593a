// Reading and writing the word lines of binary programme files.
#include "plceditor/core/programme_file.h"

#include <limits>

#include "platform/base/format.h"
#include "platform/base/hex_digit.h"
#include "platform/files/text_file.h"
#include "plceditor/core/crlf_file.h"

namespace plc {

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One "%lx" conversion at `pos`; false when no hexadecimal digit follows.
bool ScanHexWord(std::string_view text, std::size_t& pos, uint32_t& word) {
    std::size_t p = pos;
    while (p < text.size() && IsSpace(text[p])) ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p + 2 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X') &&
        platform::HexDigitValue(text[p + 2]) >= 0) {
        p += 2;
    }
    uint64_t value = 0;
    const std::size_t digitsStart = p;
    while (p < text.size() && platform::HexDigitValue(text[p]) >= 0) {
        value = value * 16 + static_cast<uint64_t>(platform::HexDigitValue(text[p]));
        if (value > std::numeric_limits<uint32_t>::max()) value = uint64_t{1} << 32;
        ++p;
    }
    if (p == digitsStart) return false;
    if (value > std::numeric_limits<uint32_t>::max()) {
        word = std::numeric_limits<uint32_t>::max();
    } else {
        word = negative ? static_cast<uint32_t>(0u - static_cast<uint32_t>(value)) : static_cast<uint32_t>(value);
    }
    pos = p;
    return true;
}

}  // namespace

bool WriteProgrammeWordFile(std::string& path, std::span<const uint32_t> words) {
    std::vector<std::string> lines;
    lines.reserve(words.size());
    for (uint32_t word : words) lines.push_back(platform::Format("%08lx", word));
    return WriteCrLfFile(path, lines);
}

std::vector<uint32_t> ScanProgrammeWords(std::string_view text, std::size_t maxWords) {
    std::vector<uint32_t> words;
    std::size_t pos = 0;
    uint32_t word = 0;
    while (words.size() < maxWords && ScanHexWord(text, pos, word)) words.push_back(word);
    return words;
}

std::optional<std::vector<uint32_t>> ReadProgrammeWordFile(std::string_view path, std::size_t maxWords) {
    if (path.empty()) return std::nullopt;
    std::optional<std::string> text = platform::ReadTextFile(path);
    if (!text) return std::nullopt;
    return ScanProgrammeWords(*text, maxWords);
}

}  // namespace plc
