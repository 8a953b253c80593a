#include "toolkit/draw/gw_draw_op.h"

namespace {

std::string Point(const GwPosition& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

std::string Box(const GwRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::string Pen(const GwPen& pen) {
    return "pen=" + pen.colour + "/" + std::to_string(pen.width) + "/" + std::to_string(pen.style);
}

// The text between double quotes, with line breaks, tabs, quotes and
// backslashes escaped so that one primitive stays one line.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string TextStyle(const GwDrawOp& op) {
    std::string out = " font=" + op.font.face + "/" + std::to_string(op.font.height) + " colour=" + op.colour;
    if (!op.background.empty()) out += " background=" + op.background;
    return out;
}

const char* AlignName(int align) {
    switch (align) {
        case GwALIGN_RIGHT:
            return "right";
        case GwALIGN_CENTER:
            return "center";
        default:
            return "left";
    }
}

}  // namespace

std::string GwDrawOp::describe() const {
    switch (kind) {
        case GwDrawKind::kLine:
            return "line " + Point(points.at(0)) + " " + Point(points.at(1)) + " " + Pen(pen);
        case GwDrawKind::kFrame:
            return "frame " + Box(rect) + " " + Pen(pen);
        case GwDrawKind::kFill:
            return "fill " + Box(rect) + " colour=" + colour;
        case GwDrawKind::kPolyline: {
            std::string out = "polyline";
            for (const auto& p : points) out += " " + Point(p);
            return out + " " + Pen(pen);
        }
        case GwDrawKind::kText:
            return "text " + Point(points.at(0)) + " " + AlignName(align) + " " + Quoted(text) + TextStyle(*this);
        case GwDrawKind::kTextBox:
            return "textbox " + Box(rect) + " " + Quoted(text) + TextStyle(*this);
        case GwDrawKind::kBitmap:
            return "bitmap " + text + " " + Box(rect);
        case GwDrawKind::kClip:
            return "clip " + Box(rect);
        case GwDrawKind::kLiftClip:
            return "noclip";
    }
    return std::string();
}

int GwFontCharWidth(const GwFontSpec& font) { return font.height > 0 ? (font.height + 1) / 2 : 0; }

int GwTextWidth(const GwFontSpec& font, const std::string& text) {
    int characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++characters;
    return characters * GwFontCharWidth(font);
}
