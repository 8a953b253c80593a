// Code records built for the decoder tests, and the check of one record's
// text: the record stands at index 3 with base 2, so its label is N010, and
// a jump's target 5 prints N030.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "plceditor/v310/record_decoder.h"

namespace plc::test::decoding {

constexpr int kIndex = 3;
constexpr int kBase = 2;  // so the record's label is N010
constexpr int kStep = 10;
constexpr uint16_t kTarget = 5;  // prints N030

inline CodeRecord Rec(uint8_t opcode, uint8_t a = 0, uint8_t b = 0, uint8_t c = 0, uint8_t d = 0, uint8_t e = 0,
                      bool toEnd = false) {
    CodeRecord r;
    r.SetOpcode(opcode);
    r.SetOperandA(a);
    r.SetOperandB(b);
    r.SetOperandC(c);
    r.SetOperandD(d);
    r.SetOperandE(e);
    r.SetEndFlag(toEnd);
    return r;
}
inline CodeRecord Jump(uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, bool toEnd = false) {
    CodeRecord r = Rec(opcode, a, b, c);
    r.SetTarget(kTarget);
    r.SetEndFlag(toEnd);
    return r;
}
inline CodeRecord Const(uint8_t opcode, uint8_t a, uint32_t constant) {
    CodeRecord r = Rec(opcode, a);
    r.SetConstant(constant);
    return r;
}
inline uint32_t StoredFloat(float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    return (bits << 16) | (bits >> 16);
}

struct Case {
    CodeRecord record;
    const char* text;
    bool ok;
};

inline void Check(const DecoderDialect& dialect, const Case& c) {
    std::vector<CodeRecord> code(8);
    code[kIndex] = c.record;
    std::string text = "stale";
    const bool ok = DecodeRecord20(dialect, code, text, kIndex, kBase, kStep);
    EXPECT_EQ(text, c.text) << "opcode " << int(c.record.Opcode());
    EXPECT_EQ(ok, c.ok) << c.text;
}

}  // namespace plc::test::decoding
