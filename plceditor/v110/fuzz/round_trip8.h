// Check shared by the V1.10 fuzz targets: a decoded line that compiles again
// must decode to the same text, and a record the compiler made must come
// back byte for byte (float constants aside, which keep ten decimals).
#pragma once

#include <cstdlib>
#include <string>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"

namespace plc::fuzz {

inline void Require(bool condition) {
    if (!condition) std::abort();
}

inline bool IsFloatConstant(uint8_t opcode) {
    return opcode == 52 || opcode == 54 || opcode == 56 || opcode == 58 || opcode == 61 || opcode == 156;
}

// Decodes entry `index` (1..254) of `table`, compiles the text into a fresh
// table and checks the result. `exact`: the record came from the compiler.
inline void CheckRoundTrip(const LineTable8& table, int index, bool exact) {
    std::string text;
    if (!table.decodeLine8(text, index) || text.front() != 'N') return;
    LineTable8 again;
    int line = 0;
    Require(again.enterLine("%P00", line) == msg::kNoError);
    const int status = again.enterLine(text, line);
    // A float constant near the range limit may round past it and then be
    // refused when read again; every other compiled record reads back.
    Require(!exact || status == msg::kNoError || IsFloatConstant(table.Entry(index).Opcode()));
    if (status != msg::kNoError) return;
    std::string decoded;
    Require(again.decodeLine8(decoded, index));
    Require(decoded == text);
    if (exact && !IsFloatConstant(table.Entry(index).Opcode())) {
        for (int byte : {0, 1, 4, 5, 6, 7}) Require(again.Entry(index).Code()[byte] == table.Entry(index).Code()[byte]);
    }
}

}  // namespace plc::fuzz
