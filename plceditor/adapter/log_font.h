// The description of a font as the editor's font dialog, page setup and
// printing pass it around: face, height (negative: character height), weight
// and the style flags.
#pragma once

#include <string>

namespace sindel {

constexpr int kFontWeightNormal = 400;

struct LogFont {
    std::string face_name;
    int height = 0;
    int width = 0;
    int weight = kFontWeightNormal;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    bool operator==(const LogFont&) const = default;
};

// The text the toolkit widget records as its font: "face,height,weight,i,u,s".
std::string FontText(const LogFont& font);

}  // namespace sindel
