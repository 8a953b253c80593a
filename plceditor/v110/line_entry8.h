// One entry of the V1.10 program table: the 8-byte code record that goes to
// the device, and beside it what the translator keeps about the line (used
// flag, operand kind, source line). Fields are little-endian byte accessors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace plc {

// Operand kind of an entry: whether bytes 4-5 hold a jump or call target.
namespace operand_kind {
constexpr uint8_t kNone = 0;
constexpr uint8_t kTarget = 1;  // every JMP form, CALL, RET, BRKPT and NOP
constexpr uint8_t kOther = 2;   // every other statement
}  // namespace operand_kind

class LineEntry8 {
public:
    static constexpr std::size_t kCodeSize = 8;

    uint8_t Opcode() const { return code_[0]; }
    void SetOpcode(uint8_t v) { code_[0] = v; }
    // Sub-kind or first operand.
    uint8_t A() const { return code_[1]; }
    void SetA(uint8_t v) { code_[1] = v; }
    // Index of the next used entry, set when END closes the program.
    uint16_t Next() const { return Get16(2); }
    void SetNext(uint16_t v) { Set16(2, v); }
    // Jump or call target: an entry 1..254, or 255 for END.
    uint16_t Target() const { return Get16(4); }
    void SetTarget(uint16_t v) { Set16(4, v); }
    uint8_t B() const { return code_[4]; }
    void SetB(uint8_t v) { code_[4] = v; }
    uint8_t C() const { return code_[5]; }
    void SetC(uint8_t v) { code_[5] = v; }
    uint8_t D() const { return code_[6]; }
    void SetD(uint8_t v) { code_[6] = v; }
    uint8_t E() const { return code_[7]; }
    void SetE(uint8_t v) { code_[7] = v; }
    // Bytes 4-7 as one 32-bit constant: an integer, or a float whose 16-bit
    // halves are exchanged (bytes 4-5 hold the float's high half).
    uint32_t Constant() const { return static_cast<uint32_t>(Get16(4)) | (static_cast<uint32_t>(Get16(6)) << 16); }
    void SetConstant(uint32_t v) {
        Set16(4, static_cast<uint16_t>(v));
        Set16(6, static_cast<uint16_t>(v >> 16));
    }
    // Bytes 6-7: a parameter or message number.
    uint16_t Number() const { return Get16(6); }
    void SetNumber(uint16_t v) { Set16(6, v); }

    // Code bytes 0-3 (`half` 0) or 4-7 (`half` 1) as a little-endian word.
    uint32_t CodeWord(int half) const {
        const std::size_t at = half == 0 ? 0 : 4;
        return static_cast<uint32_t>(Get16(at)) | (static_cast<uint32_t>(Get16(at + 2)) << 16);
    }
    void SetCodeWord(int half, uint32_t v) {
        const std::size_t at = half == 0 ? 0 : 4;
        Set16(at, static_cast<uint16_t>(v));
        Set16(at + 2, static_cast<uint16_t>(v >> 16));
    }
    // Halfword 0..3 of the code record.
    uint16_t CodeHalfword(int index) const { return Get16(static_cast<std::size_t>(index) * 2); }

    bool Used() const { return used_ != 0; }
    void SetUsed(bool v) { used_ = v ? 1 : 0; }
    uint8_t OperandKind() const { return operandKind_; }
    void SetOperandKind(uint8_t v) { operandKind_ = v; }
    // Editor line (from 0) that produced the entry.
    uint16_t SourceLine() const { return sourceLine_; }
    void SetSourceLine(uint16_t v) { sourceLine_ = v; }

    const std::array<uint8_t, kCodeSize>& Code() const { return code_; }
    std::array<uint8_t, kCodeSize>& Code() { return code_; }
    void Clear() { *this = LineEntry8{}; }

    bool operator==(const LineEntry8&) const = default;

private:
    uint16_t Get16(std::size_t at) const { return static_cast<uint16_t>(code_[at] | (code_[at + 1] << 8)); }
    void Set16(std::size_t at, uint16_t v) {
        code_[at] = static_cast<uint8_t>(v);
        code_[at + 1] = static_cast<uint8_t>(v >> 8);
    }

    std::array<uint8_t, kCodeSize> code_{};
    uint8_t used_ = 0;
    uint8_t operandKind_ = operand_kind::kNone;
    uint16_t sourceLine_ = 0;
};

}  // namespace plc
