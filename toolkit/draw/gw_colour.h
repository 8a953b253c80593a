// Colours by the names the program uses ("black", "DarkSlateGrey",
// "default") or as "#rrggbb", turned into red, green and blue for renderers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct GwRgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const GwRgb&) const = default;
};

// The colour of a name (case-insensitive) or "#rrggbb"; null for anything
// else. "default" is the default text colour, black.
std::optional<GwRgb> GwColourToRgb(const std::string& colour);
