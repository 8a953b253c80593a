// The 20-byte code record of generators V2.10 and V3.10, held as its bytes
// with little-endian field accessors. Only bytes 0, 1 and 4-7 reach the
// device; the label, source line, form and link fields serve the translator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace plc {

// How a record was made (byte 14).
namespace form {
constexpr uint8_t kNone = 0;
constexpr uint8_t kJump = 1;       // jump with a label target, checked and linked
constexpr uint8_t kOperands = 2;   // byte and word operands
constexpr uint8_t kConstant = 3;   // 32-bit constant in bytes 4-7
constexpr uint8_t kConstant4 = 4;  // 32-bit constant, second kind
constexpr uint8_t kHead = 5;       // program head
constexpr uint8_t kPlain = 6;      // END and plain statements
}  // namespace form

class CodeRecord {
public:
    static constexpr std::size_t kSize = 20;
    // Halfwords that reach the device, by halfword index (bytes 0-1, 4-5, 6-7).
    static constexpr int kDeviceHalfwords[3] = {0, 2, 3};

    uint8_t Opcode() const { return bytes_[0]; }
    void SetOpcode(uint8_t v) { bytes_[0] = v; }
    // Sub-kind or first operand; in a program head the program's position.
    uint8_t OperandA() const { return bytes_[1]; }
    void SetOperandA(uint8_t v) { bytes_[1] = v; }
    uint16_t Label() const { return Get16(2); }
    void SetLabel(uint16_t v) { Set16(2, v); }
    uint8_t OperandB() const { return bytes_[4]; }
    void SetOperandB(uint8_t v) { bytes_[4] = v; }
    uint8_t OperandC() const { return bytes_[5]; }
    void SetOperandC(uint8_t v) { bytes_[5] = v; }
    uint8_t OperandD() const { return bytes_[6]; }
    void SetOperandD(uint8_t v) { bytes_[6] = v; }
    uint8_t OperandE() const { return bytes_[7]; }
    void SetOperandE(uint8_t v) { bytes_[7] = v; }
    // A jump's target (label while compiling, code index after linking), a
    // word operand, or in a program head the index of its first statement.
    uint16_t Target() const { return Get16(6); }
    void SetTarget(uint16_t v) { Set16(6, v); }
    // Bytes 4-7 as one constant: an integer, or a float with exchanged halves.
    uint32_t Constant() const { return static_cast<uint32_t>(Get16(4)) | (static_cast<uint32_t>(Get16(6)) << 16); }
    void SetConstant(uint32_t v) {
        Set16(4, static_cast<uint16_t>(v));
        Set16(6, static_cast<uint16_t>(v >> 16));
    }
    // The editor line index of the statement.
    int32_t SourceLine() const { return static_cast<int32_t>(Get16(8) | (static_cast<uint32_t>(Get16(10)) << 16)); }
    void SetSourceLine(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        Set16(8, static_cast<uint16_t>(u));
        Set16(10, static_cast<uint16_t>(u >> 16));
    }
    uint8_t Form() const { return bytes_[14]; }
    void SetForm(uint8_t v) { bytes_[14] = v; }
    // Set when the jump goes to its program's END.
    bool EndFlag() const { return bytes_[15] != 0; }
    void SetEndFlag(bool v) { bytes_[15] = v ? 1 : 0; }
    // Program head only: index of the program's END record.
    uint16_t EndIndex() const { return Get16(16); }
    void SetEndIndex(uint16_t v) { Set16(16, v); }

    // Halfword `index` (0..9), little-endian: bytes 2*index and 2*index+1.
    uint16_t Halfword(int index) const { return Get16(static_cast<std::size_t>(index) * 2); }
    void SetHalfword(int index, uint16_t v) { Set16(static_cast<std::size_t>(index) * 2, v); }

    const std::array<uint8_t, kSize>& Bytes() const { return bytes_; }
    std::array<uint8_t, kSize>& Bytes() { return bytes_; }
    void Clear() { bytes_.fill(0); }

    bool operator==(const CodeRecord&) const = default;

private:
    uint16_t Get16(std::size_t at) const { return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8)); }
    void Set16(std::size_t at, uint16_t v) {
        bytes_[at] = static_cast<uint8_t>(v);
        bytes_[at + 1] = static_cast<uint8_t>(v >> 8);
    }

    std::array<uint8_t, kSize> bytes_{};
};

}  // namespace plc
