// One recorded drawing primitive of a device context, with the pen, font,
// colours and clip that were in force, in device units. Its text form is what
// tests compare: one line per primitive, fixed field order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/gw_types.h"

// Line styles of a pen.
constexpr int GwLINE_SOLID = 0;
constexpr int GwLINE_BROKEN = 2;

// Horizontal alignment of a text at its anchor point.
enum GwTextAlign : int { GwALIGN_LEFT = 0, GwALIGN_RIGHT = 1, GwALIGN_CENTER = 2 };

struct GwPen {
    std::string colour = "black";
    int style = GwLINE_SOLID;
    int width = 1;  // device units
};

struct GwFontSpec {
    std::string face = "Arial";
    int height = 0;  // device units
};

enum class GwDrawKind { kLine, kFrame, kFill, kPolyline, kText, kTextBox, kBitmap, kClip, kLiftClip };

struct GwDrawOp {
    GwDrawKind kind = GwDrawKind::kLine;
    std::vector<GwPosition> points;  // line: 2, polyline: all, text: the anchor
    GwRect rect;                     // frame, fill, text box, bitmap, clip
    std::string text;                // text and text box; the bitmap's name
    int align = GwALIGN_LEFT;
    GwPen pen;                   // lines, frames, polylines
    std::string colour;          // text colour; fill colour
    std::string background;      // behind a text; empty for none
    GwFontSpec font;             // texts
    std::optional<GwRect> clip;  // the clip in force when drawn

    // "line 10,20 30,40 pen=black/1/0", "text 300,50 right \"1.25\"
    // font=Arial/83 colour=black", ... (see gw_draw_op.cpp).
    std::string describe() const;
};

// Character width of a font in the fixed metrics every context uses: half
// the height, rounded up.
int GwFontCharWidth(const GwFontSpec& font);
// Width of a text in those metrics (UTF-8 characters).
int GwTextWidth(const GwFontSpec& font, const std::string& text);
