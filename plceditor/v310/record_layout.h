// Byte values with a meaning inside the V3.10 code records, shared by the
// line compiler that writes them and the decoder that reads them.
#pragma once

#include <cstdint>

namespace plc::layout {

// An optional operand that is absent (GO options, cam A0/A1).
constexpr uint8_t kAbsentOperand = 255;

// Left side of the drive-value compares (byte a of opcodes 3-18).
constexpr uint8_t kCompareVariable = 0;
constexpr uint8_t kCompareActualValue = 1;
constexpr uint8_t kCompareReferenceValue = 2;

// Sub-kinds of the status jump (byte a of opcode 173): bit 0 set for '=',
// kStatusConstant added when the right side is 0 or 1 instead of a flag.
constexpr uint8_t kStatusEqual = 1;
constexpr uint8_t kStatusConstant = 16;

// Form bits (byte e) of 'SET TP a SN b EG c = v': which operands are H
// variables, and whether the value is a flag.
constexpr uint8_t kProbeChannelInH = 1;
constexpr uint8_t kProbeSnInH = 2;
constexpr uint8_t kProbeEdgeInH = 4;
constexpr uint8_t kProbeValueInM = 8;
constexpr uint8_t kProbeFormBits = 0x0F;

// Form bits (byte e) of 'SET EVPRG a = b'.
constexpr uint8_t kEventNumberInH = 1;
constexpr uint8_t kEventValueInM = 2;
constexpr uint8_t kEventFormBits = 0x03;

// Sub-kinds of 'RCAM START/BREAK/STOP' (byte a of opcode 177).
constexpr uint8_t kCamStartH = 0;
constexpr uint8_t kCamStartNumber = 1;
constexpr uint8_t kCamStart = 2;
constexpr uint8_t kCamBreakH = 3;
constexpr uint8_t kCamBreakNumber = 4;
constexpr uint8_t kCamBreak = 5;
// BREAK with a limit: + 1 for a number limit, + 2 for a number start.
constexpr uint8_t kCamBreakHLimitH = 6;
constexpr uint8_t kCamStop = 10;

// Operand of the T[...] positioning forms (byte e of opcodes 169, 170).
constexpr uint8_t kTableInH = 0;
constexpr uint8_t kTableInC = 1;
constexpr uint8_t kTableNumber = 2;

// Function codes of 'SET Fx = fn Fy' (byte e of opcode 60) beyond the
// one-operand functions 0-5.
constexpr uint8_t kFloatPower = 6;

}  // namespace plc::layout
