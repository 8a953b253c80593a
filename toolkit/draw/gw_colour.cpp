#include "toolkit/draw/gw_colour.h"

#include "platform/paths.h"

namespace {

struct NamedColour {
    const char* name;
    GwRgb rgb;
};

// The colour names that definition files and the program use.
constexpr NamedColour kNamed[] = {
    {"default", {0, 0, 0}},         {"black", {0, 0, 0}},           {"white", {255, 255, 255}},
    {"red", {255, 0, 0}},           {"green", {0, 128, 0}},         {"blue", {0, 0, 255}},
    {"yellow", {255, 255, 0}},      {"gray", {128, 128, 128}},      {"grey", {128, 128, 128}},
    {"DarkSlateGrey", {47, 79, 79}}, {"DarkSlateGray", {47, 79, 79}}, {"LightGrey", {211, 211, 211}},
    {"orange", {255, 165, 0}},      {"cyan", {0, 255, 255}},        {"magenta", {255, 0, 255}},
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<GwRgb> GwColourToRgb(const std::string& colour) {
    if (colour.size() == 7 && colour[0] == '#') {
        uint8_t parts[3];
        for (int i = 0; i < 3; ++i) {
            int high = HexValue(colour[1 + 2 * i]);
            int low = HexValue(colour[2 + 2 * i]);
            if (high < 0 || low < 0) return std::nullopt;
            parts[i] = static_cast<uint8_t>(high * 16 + low);
        }
        return GwRgb{parts[0], parts[1], parts[2]};
    }
    for (const auto& named : kNamed)
        if (platform::EqualNoCase(colour, named.name)) return named.rgb;
    return std::nullopt;
}
