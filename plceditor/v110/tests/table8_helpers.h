// Small helpers of the V1.10 tests: feeding source lines to a table and
// writing expected code records as their 8 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plceditor/v110/line_table8.h"

namespace plc::test {

using Code8 = std::array<uint8_t, 8>;

// Feeds the lines with their indices 0, 1, ...; returns each line's status
// and, in `lines`, the line each status refers to.
inline std::vector<int> EnterLines(LineTable8& table, const std::vector<std::string>& source,
                                   std::vector<int>* lines = nullptr) {
    std::vector<int> statuses;
    for (std::size_t i = 0; i < source.size(); ++i) {
        int line = static_cast<int>(i);
        statuses.push_back(table.enterLine(source[i], line));
        if (lines != nullptr) lines->push_back(line);
    }
    return statuses;
}

// An entry as a compiled line would leave it.
inline LineEntry8 MakeEntry(const Code8& code, uint8_t kind = operand_kind::kOther, uint16_t sourceLine = 0) {
    LineEntry8 entry;
    entry.Code() = code;
    entry.SetUsed(code[0] != 0);
    entry.SetOperandKind(kind);
    entry.SetSourceLine(sourceLine);
    return entry;
}

}  // namespace plc::test
