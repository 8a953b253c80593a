#include "toolkit/draw/gw_cairo_font.h"

#include <memory>

namespace {

// The length of the valid UTF-8 character at `i`, 0 when none starts there.
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    size_t length = c < 0x80                ? 1
                    : c >= 0xC2 && c < 0xE0 ? 2
                    : c >= 0xE0 && c < 0xF0 ? 3
                    : c >= 0xF0 && c < 0xF5 ? 4
                                            : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return length;
}

struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// One measuring context for the program's run: fontconfig's match of a face
// is cached by cairo, so measuring stays cheap.
cairo_t* MeasuringContext() {
    static const std::unique_ptr<cairo_t, ContextDeleter> context = [] {
        cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
        cairo_t* cr = cairo_create(surface);
        cairo_surface_destroy(surface);
        return std::unique_ptr<cairo_t, ContextDeleter>(cr);
    }();
    return context.get();
}

}  // namespace

void GwSelectCairoFont(cairo_t* cr, const GwFontSpec& font) {
    cairo_select_font_face(cr, font.face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.height > 0 ? font.height : 1);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

GwRealTextExtent GwMeasureRealText(const GwFontSpec& font, const std::string& text) {
    cairo_t* cr = MeasuringContext();
    GwSelectCairoFont(cr, font);
    cairo_font_extents_t font_extents;
    cairo_font_extents(cr, &font_extents);
    cairo_text_extents_t text_extents;
    cairo_text_extents(cr, GwPrintableUtf8(text).c_str(), &text_extents);
    // The glyphs' ascent and descent stand in the middle of the line.
    const double baseline =
        font_extents.ascent + (font_extents.height - font_extents.ascent - font_extents.descent) / 2;
    return {text_extents.x_advance, font_extents.height, baseline};
}

std::string GwPrintableUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8Length(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (length == 0) {
            // Latin-1: two bytes in UTF-8.
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        } else if (length == 1 && (c < 0x20 || c == 0x7F)) {
            out += ' ';
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}
