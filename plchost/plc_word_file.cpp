#include "plchost/plc_word_file.h"

#include "platform/base/format.h"
#include "platform/base/hex_digit.h"

std::string FormatPlcWord(uint32_t word) { return platform::Format("%08X\r\n", word); }

bool ParsePlcWordLine(std::string_view line, uint32_t* word) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.size() > 8) return false;
    uint32_t value = 0;
    for (char c : line) {
        int digit = platform::HexDigitValue(c);
        if (digit < 0) return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    *word = value;
    return true;
}

bool PlcWordReader::Next(uint32_t* word) {
    if (ended_ || position_ >= text_.size()) return false;
    size_t end = text_.find('\n', position_);
    std::string_view line =
        text_.substr(position_, end == std::string_view::npos ? std::string_view::npos : end - position_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    uint32_t value = 0;
    if (!ParsePlcWordLine(line, &value)) {
        ended_ = true;
        return false;
    }
    position_ = end == std::string_view::npos ? text_.size() : end + 1;
    *word = value;
    return true;
}

int PlcWordReader::CountWords() {
    Rewind();
    int count = 0;
    uint32_t word = 0;
    while (count < kMaxPlcWordCount && Next(&word)) ++count;
    Rewind();
    return count;
}

void PlcWordReader::Rewind() {
    position_ = 0;
    ended_ = false;
}
