// A recording device context: every primitive drawn is kept (with pen, font,
// colours and clip) in call order, in device units, for tests and for the PDF
// writer. Text metrics are fixed (a character is half the font height wide),
// so screen layouts come out the same on every machine; a printer measures
// with the real fonts its pages are written in. Coordinates pass through the
// context's mapping (identity, data ranges onto a rectangle with y up, or a
// character grid) and are rounded to whole device units; a caller that maps
// itself and passes device units gets the same log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/gw_types.h"
#include "toolkit/draw/gw_draw_op.h"

// Device measures (the printer's paper in millimetres and pixels, pixels per
// inch).
enum GwDeviceCap : int { GwHORZSIZE, GwVERTSIZE, GwHORZRES, GwVERTRES, GwLOGPIXELSX, GwLOGPIXELSY };

// A point in the caller's coordinates, before mapping.
struct GwPointF {
    double x = 0;
    double y = 0;
};

// Resolution of screen contexts (drawing buttons, preview windows).
constexpr int kGwScreenDpi = 96;
constexpr double kGwMillimetresPerInch = 25.4;
constexpr int kGwPointsPerInch = 72;

class GwDeviceContext {
public:
    // A context of `size` device units at `dpi` units per inch.
    GwDeviceContext(int dpi, GwDimension size);
    virtual ~GwDeviceContext() = default;
    GwDeviceContext(const GwDeviceContext&) = delete;
    GwDeviceContext& operator=(const GwDeviceContext&) = delete;

    // --- redraw bracket -----------------------------------------------------
    // The operations between the outermost lock and its unlock are one
    // picture: locking starts a fresh one, unlocking tells the picture
    // listener (a drawing widget tells the observers).
    void lock() {
        if (locks_++ == 0) clear();
    }
    void unlock() {
        if (locks_ > 0 && --locks_ == 0 && picture_listener_) picture_listener_();
    }
    void set_picture_listener(std::function<void()> listener) { picture_listener_ = std::move(listener); }
    bool is_locked() const { return locks_ > 0; }
    void flush() { ++flushes_; }
    int flush_count() const { return flushes_; }
    // Empties the log (the window is cleared).
    void clear() { ops_.clear(); }

    // --- metrics --------------------------------------------------------------
    int resolution() const { return dpi_; }
    // The drawing area or page in device units.
    GwDimension size() const { return size_; }
    void set_size(GwDimension size) { size_ = size; }
    int device_caps(GwDeviceCap cap) const;
    // Device units per mapped x unit.
    double x_factor() const { return scale_x_; }

    // --- mapping -----------------------------------------------------------------
    // Maps x_min..x_max onto the rectangle's width and y_min..y_max onto its
    // height with y growing upwards. False, mapping unchanged, for an empty
    // range or rectangle.
    bool set_mapping(double x_min, double x_max, double y_min, double y_max, const GwRect& area);
    // x counts `columns` over the device width, y `lines` over its height
    // (downwards). False, mapping unchanged, unless both are positive.
    bool set_char_grid(double columns, double lines);
    void reset_mapping();
    // Moves the device origin; adds to earlier moves, kept across mappings.
    void move_origin(int dx, int dy);
    GwPosition to_device(double x, double y) const;
    // Lengths of device units in mapped units (positive).
    double device_to_x(double units) const;
    double device_to_y(double units) const;

    // --- pens, colours, fonts -----------------------------------------------------
    // The text colour and the pen's colour.
    void set_foreground(const std::string& colour);
    void set_text_colour(const std::string& colour) { text_colour_ = colour; }
    void set_pen(const std::string& colour, int style, int width);
    void set_line_style(int style) { pen_.style = style; }
    void set_line_width(int width) { pen_.width = width; }
    const GwPen& pen() const { return pen_; }
    // A font by its definition-database name ("PrintFont10", "AxisFont") whose
    // value is "Face,points"; false, font unchanged, when the database has no
    // such value.
    bool set_font(const std::string& database_name);
    // A font by face and height in device units (a negative height as a
    // character height works the same).
    void set_font_face(const std::string& face, int height);
    const GwFontSpec& font() const { return font_; }
    // Width and height of a one-line text in device units (on a printer in
    // the real font it prints with). False, `out` untouched, when the text
    // cannot be measured (no font height, or a test made measuring fail).
    bool text_extent(const std::string& text, GwDimension* out) const;
    void set_extent_failure(bool fail) { extent_fails_ = fail; }

    // --- primitives ------------------------------------------------------------------
    // Text anchored at (x, y), the top of its line: left, right or centre.
    void draw_text(double x, double y, const std::string& text, int align = GwALIGN_LEFT,
                   const std::string& background = "");
    // Text in a rectangle: broken at line feeds, tabs expanded, each line cut
    // with "..." at a word when too wide (see gw_text_layout.h).
    void draw_text_in_rect(double x1, double y1, double x2, double y2, const std::string& text);
    void draw_line(double x1, double y1, double x2, double y2);
    void draw_frame(double x1, double y1, double x2, double y2);
    void fill_rect(double x1, double y1, double x2, double y2, const std::string& colour);
    void draw_polyline(const std::vector<GwPointF>& points);
    // Restricts drawing to a rectangle until lifted.
    void set_clip(double x1, double y1, double x2, double y2);
    void lift_clip();

    // --- bitmaps ---------------------------------------------------------------------
    bool can_draw_bitmaps() const { return draws_bitmaps_; }
    void set_draws_bitmaps(bool on) { draws_bitmaps_ = on; }
    // Pixel size of a known bitmap; false for an unknown name.
    bool bitmap_size(const std::string& name, GwDimension* out) const;
    // Draws a known bitmap with its top left corner at (x, y), scaled; false,
    // nothing drawn, for an unknown name or a device that draws no bitmaps.
    bool draw_bitmap(const std::string& name, double x, double y, double scale = 1.0);

    // --- the log -----------------------------------------------------------------------
    const std::vector<GwDrawOp>& operations() const { return ops_; }
    std::vector<std::string> operation_texts() const;

protected:
    // Keeps one primitive; printer contexts also put it on their page.
    virtual void Record(GwDrawOp op);
    // Width and height of a one-line text in `font`: the fixed metrics here,
    // the real font's on a printer.
    virtual GwDimension MeasureText(const GwFontSpec& font, const std::string& text) const;
    // The paper's size in millimetres when it is not the device size at the
    // resolution (a printer's A4 is 210 x 297 mm, not 4960 / 600 inches).
    void set_size_mm(double width, double height) {
        width_mm_ = width;
        height_mm_ = height;
    }

private:
    GwDrawOp Styled(GwDrawKind kind) const;
    GwRect DeviceRect(double x1, double y1, double x2, double y2) const;

    int dpi_;
    GwDimension size_;
    double width_mm_ = -1;  // negative: from the size and resolution
    double height_mm_ = -1;
    int locks_ = 0;
    int flushes_ = 0;
    double scale_x_ = 1, scale_y_ = 1, offset_x_ = 0, offset_y_ = 0;
    int origin_x_ = 0, origin_y_ = 0;
    GwPen pen_;
    std::string text_colour_ = "black";
    GwFontSpec font_;
    bool extent_fails_ = false;
    bool draws_bitmaps_ = true;
    std::optional<GwRect> clip_;
    std::vector<GwDrawOp> ops_;
    std::function<void()> picture_listener_;
};

// Height in device units of a font of `points` at `dpi`.
int GwFontHeight(int points, int dpi);
