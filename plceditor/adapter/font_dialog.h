// The font dialog: the user picks a face, a size in points, a weight and the
// style flags, starting from a font description. A modal window named
// "FontDialog" with the fields "FaceName", "Size" (points, one decimal),
// "Weight" and the check boxes "Italic", "Underline", "StrikeOut".
#pragma once

#include <optional>

#include "plceditor/adapter/log_font.h"

class GwCore;

namespace sindel {

// Screen resolution at which the dialog turns a font height into points.
constexpr int kFontDialogScreenDpi = 96;

struct FontChoice {
    LogFont font;               // height for the screen
    int point_size_tenths = 0;  // the size chosen, in tenths of a point
};

// Runs the dialog; the choice, or nothing when cancelled.
std::optional<FontChoice> ChooseFont(GwCore* owner, const LogFont& seed);

}  // namespace sindel
