// The display types of the debug watch: how the words read at a row's address
// become its value text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The type names, as the options dialog's buttons show them.
inline constexpr std::array<const char*, 12> kWatchTypeNames = {
    "byte",
    "word",
    "dword",
    "usign8",
    "usign16",
    "usign32",
    "int8",
    "int16",
    "int32",
    "int32Q16",
    "float32",
    "fixpoint16",
};
// The type new rows get until the user chooses another.
inline constexpr char kDefaultWatchType[] = "word";

bool IsWatchType(std::string_view type);
// Whether the type also needs the word at address + 2.
bool IsDoubleWordType(std::string_view type);

// The value text of `type` for the word w0 at `address` and the word w1 at
// `address` + 2; nullopt for an unknown type. The byte types take the high
// byte of w0 at an odd address, else its low byte.
std::optional<std::string> FormatWatchValue(std::string_view type, uint32_t address, uint16_t w0, uint16_t w1);
