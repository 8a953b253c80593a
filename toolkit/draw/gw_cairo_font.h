// Text in the real font that fontconfig gives for a face name ("Courier New"
// may come out as another monospaced face), at a height in device units:
// what printer contexts measure with and the PDF writer draws with, so a
// page is laid out with the widths it is printed in.
#pragma once

#include <cairo.h>

#include <string>

#include "toolkit/draw/gw_draw_op.h"

struct GwRealTextExtent {
    double width = 0;     // advance of the whole text
    double height = 0;    // of the font: from one line's top to the next's
    double baseline = 0;  // of the font: top of a line to its baseline
};

// Selects the font on `cr`; its height is one em in the context's user units.
void GwSelectCairoFont(cairo_t* cr, const GwFontSpec& font);
// The text measured in `font` (on a context of its own, without hinting, as
// the PDF surface draws).
GwRealTextExtent GwMeasureRealText(const GwFontSpec& font, const std::string& text);
// The text as valid UTF-8 that a font can show: a byte that starts no UTF-8
// character is taken as Latin-1, control characters become blanks.
std::string GwPrintableUtf8(const std::string& text);
