// Name tables of generator V1.10. V1.10 numbers the status bits, control
// bits and drive values differently from the later generators (STA_ERR is
// code 0 here), so it keeps its own tables in the core's NamedCode form:
// `name` as matched in the upper-case source, `display` as decoded.
#pragma once

#include <span>
#include <string_view>

#include "plceditor/core/plc_language.h"

namespace plc::v110 {

// Status bits 0..30, in matching order (ERR_WRN before ERR); the display
// name carries the "STA_" prefix.
extern const std::span<const NamedCode> kStatusNames;
constexpr std::string_view kStatusPrefix = "STA_";
constexpr int kLastStatusCode = 30;

// Control bits of 'SET name = Mx' and 'SET name = b', codes 0..11; the
// names are matched with their equals sign.
extern const std::span<const NamedCode> kControlBitNames;
constexpr int kLastControlBit = 11;

// Drive values that 'SET name = Hx' writes (operand a 0..5); REFFRQ is
// written back as REFVAL.
extern const std::span<const NamedCode> kIntegerTargetNames;
constexpr int kLastIntegerTarget = 5;
// 'SET REFVAL = Fx' has the one float target, operand a 0.
constexpr int kFloatTargetRefVal = 0;

// Drive values that 'SET Hx = name' reads, codes 0..13 in matching order.
extern const std::span<const NamedCode> kIntegerSourceNames;
constexpr int kLastIntegerSource = 13;

// Drive values that 'SET Fx = name' reads: the shared table, codes 0..5.
inline std::span<const NamedCode> FloatSourceNames() { return plc::kFloatSourceNames; }
constexpr int kLastFloatSource = 5;

}  // namespace plc::v110
