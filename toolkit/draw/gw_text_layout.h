// Placement of a text drawn into a rectangle: lines broken at line feeds, tabs
// expanded to stops of eight characters, a line too wide for the rectangle cut
// at a word with "..." appended, and only the lines that fit whole.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_types.h"
#include "toolkit/draw/gw_draw_op.h"

constexpr int kGwTabStopChars = 8;

struct GwTextLine {
    GwPosition at;  // top left of the line
    std::string text;
};

std::vector<GwTextLine> GwLayoutTextBox(const GwRect& rect, const std::string& text, const GwFontSpec& font);
