#include "toolkit/draw/gw_colour.h"

#include "platform/com/com_types.h"
#include "platform/files/paths.h"

namespace {

struct NamedColour {
    const char* name;
    GwRgb rgb;
};

// The colour names that definition files and the program use.
constexpr NamedColour kNamed[] = {
    {"default", {0, 0, 0}},
    {"black", {0, 0, 0}},
    {"white", {255, 255, 255}},
    {"red", {255, 0, 0}},
    {"green", {0, 128, 0}},
    {"yellow", {255, 255, 0}},
    {"gray", {128, 128, 128}},
    {"grey", {128, 128, 128}},
    {"DarkSlateGrey", {47, 79, 79}},
};

}  // namespace

std::optional<GwRgb> GwColourToRgb(const std::string& colour) {
    if (colour.size() == 7 && colour[0] == '#') {
        uint8_t parts[3];
        for (size_t i = 0; i < 3; ++i) {
            int64_t part = platform::guid_detail::Hex(colour, 1 + 2 * i, 2);
            if (part < 0) return std::nullopt;
            parts[i] = static_cast<uint8_t>(part);
        }
        return GwRgb{parts[0], parts[1], parts[2]};
    }
    for (const auto& named : kNamed)
        if (platform::EqualNoCase(colour, named.name)) return named.rgb;
    return std::nullopt;
}
