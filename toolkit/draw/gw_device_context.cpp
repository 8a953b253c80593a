#include "toolkit/draw/gw_device_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolkit/core/gw_rcmgr.h"

int GwFontHeight(int points, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(points) * dpi / kGwPointsPerInch));
}

GwDeviceContext::GwDeviceContext(int dpi, GwDimension size) : dpi_(dpi > 0 ? dpi : kGwScreenDpi), size_(size) {
    font_.height = GwFontHeight(kGwDefaultFontPoints, dpi_);
}

int GwDeviceContext::device_caps(GwDeviceCap cap) const {
    auto mm = [this](double given, int units) {
        double value = given >= 0 ? given : units * kGwMillimetresPerInch / dpi_;
        return static_cast<int>(std::lround(value));
    };
    switch (cap) {
        case GwHORZSIZE:
            return mm(width_mm_, size_.width);
        case GwVERTSIZE:
            return mm(height_mm_, size_.height);
        case GwHORZRES:
            return size_.width;
        case GwVERTRES:
            return size_.height;
        case GwLOGPIXELSX:
        case GwLOGPIXELSY:
            return dpi_;
    }
    return 0;
}

// --- mapping -----------------------------------------------------------------

bool GwDeviceContext::set_mapping(double x_min, double x_max, double y_min, double y_max, const GwRect& area) {
    if (!(x_max != x_min) || !(y_max != y_min) || area.width <= 0 || area.height <= 0) return false;
    if (!std::isfinite(x_min) || !std::isfinite(x_max) || !std::isfinite(y_min) || !std::isfinite(y_max)) return false;
    scale_x_ = area.width / (x_max - x_min);
    offset_x_ = area.x - x_min * scale_x_;
    scale_y_ = -area.height / (y_max - y_min);
    offset_y_ = area.y + area.height - y_min * scale_y_;
    return true;
}

bool GwDeviceContext::set_char_grid(double columns, double lines) {
    if (!(columns > 0) || !(lines > 0) || !std::isfinite(columns) || !std::isfinite(lines)) return false;
    scale_x_ = size_.width / columns;
    scale_y_ = size_.height / lines;
    offset_x_ = 0;
    offset_y_ = 0;
    return true;
}

void GwDeviceContext::reset_mapping() {
    scale_x_ = scale_y_ = 1;
    offset_x_ = offset_y_ = 0;
}

void GwDeviceContext::move_origin(int dx, int dy) {
    origin_x_ += dx;
    origin_y_ += dy;
}

GwPosition GwDeviceContext::to_device(double x, double y) const {
    // Out-of-range values are pinned rather than overflowing the conversion.
    auto round = [](double v) {
        if (!std::isfinite(v)) return 0L;
        return std::lround(std::clamp(v, -1e9, 1e9));
    };
    return {static_cast<int>(round(x * scale_x_ + offset_x_) + origin_x_),
            static_cast<int>(round(y * scale_y_ + offset_y_) + origin_y_)};
}

double GwDeviceContext::device_to_x(double units) const { return units / std::fabs(scale_x_); }

double GwDeviceContext::device_to_y(double units) const { return units / std::fabs(scale_y_); }

GwRect GwDeviceContext::DeviceRect(double x1, double y1, double x2, double y2) const {
    GwPosition a = to_device(x1, y1);
    GwPosition b = to_device(x2, y2);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

// --- pens and fonts ------------------------------------------------------------

void GwDeviceContext::set_foreground(const std::string& colour) {
    text_colour_ = colour;
    pen_.colour = colour;
}

void GwDeviceContext::set_pen(const std::string& colour, int style, int width) {
    pen_.colour = colour;
    pen_.style = style;
    pen_.width = width;
}

bool GwDeviceContext::set_font(const std::string& database_name) {
    GwFontInfo info;
    if (!GwRcMgr::font(database_name, &info)) return false;
    font_.face = info.face;
    font_.height = GwFontHeight(info.points, dpi_);
    return true;
}

void GwDeviceContext::set_font_face(const std::string& face, int height) {
    font_.face = face;
    font_.height = std::abs(height);
}

bool GwDeviceContext::text_extent(const std::string& text, GwDimension* out) const {
    if (extent_fails_ || font_.height <= 0 || out == nullptr) return false;
    *out = MeasureText(font_, text);
    return true;
}

GwDimension GwDeviceContext::MeasureText(const GwFontSpec& font, const std::string& text) const {
    return {GwTextWidth(font, text), font.height};
}

// --- primitives ----------------------------------------------------------------------

GwDrawOp GwDeviceContext::Styled(GwDrawKind kind) const {
    GwDrawOp op;
    op.kind = kind;
    op.pen = pen_;
    op.colour = text_colour_;
    op.font = font_;
    op.clip = clip_;
    return op;
}

void GwDeviceContext::Record(GwDrawOp op) { ops_.push_back(std::move(op)); }

void GwDeviceContext::draw_text(double x, double y, const std::string& text, int align, const std::string& background) {
    GwDrawOp op = Styled(GwDrawKind::kText);
    op.points = {to_device(x, y)};
    op.text = text;
    op.align = align;
    op.background = background;
    Record(std::move(op));
}

void GwDeviceContext::draw_text_in_rect(double x1, double y1, double x2, double y2, const std::string& text) {
    GwDrawOp op = Styled(GwDrawKind::kTextBox);
    op.rect = DeviceRect(x1, y1, x2, y2);
    op.text = text;
    Record(std::move(op));
}

void GwDeviceContext::draw_line(double x1, double y1, double x2, double y2) {
    GwDrawOp op = Styled(GwDrawKind::kLine);
    op.points = {to_device(x1, y1), to_device(x2, y2)};
    Record(std::move(op));
}

void GwDeviceContext::draw_frame(double x1, double y1, double x2, double y2) {
    GwDrawOp op = Styled(GwDrawKind::kFrame);
    op.rect = DeviceRect(x1, y1, x2, y2);
    Record(std::move(op));
}

void GwDeviceContext::fill_rect(double x1, double y1, double x2, double y2, const std::string& colour) {
    GwDrawOp op = Styled(GwDrawKind::kFill);
    op.rect = DeviceRect(x1, y1, x2, y2);
    op.colour = colour;
    Record(std::move(op));
}

void GwDeviceContext::draw_polyline(const std::vector<GwPointF>& points) {
    if (points.empty()) return;
    GwDrawOp op = Styled(GwDrawKind::kPolyline);
    op.points.reserve(points.size());
    for (const auto& p : points) op.points.push_back(to_device(p.x, p.y));
    Record(std::move(op));
}

void GwDeviceContext::set_clip(double x1, double y1, double x2, double y2) {
    clip_ = DeviceRect(x1, y1, x2, y2);
    GwDrawOp op = Styled(GwDrawKind::kClip);
    op.rect = *clip_;
    Record(std::move(op));
}

void GwDeviceContext::lift_clip() {
    clip_.reset();
    Record(Styled(GwDrawKind::kLiftClip));
}

bool GwDeviceContext::bitmap_size(const std::string& name, GwDimension* out) const {
    GwBitmapSize size;
    if (!GwRcMgr::bitmap_size(name, &size)) return false;
    if (out != nullptr) *out = {size.width, size.height};
    return true;
}

bool GwDeviceContext::draw_bitmap(const std::string& name, double x, double y, double scale) {
    GwDimension pixels;
    if (!draws_bitmaps_ || !bitmap_size(name, &pixels) || !(scale > 0) || !std::isfinite(scale)) return false;
    GwDrawOp op = Styled(GwDrawKind::kBitmap);
    GwPosition at = to_device(x, y);
    op.rect = {at.x,
               at.y,
               static_cast<int>(std::lround(std::min(pixels.width * scale, 1e9))),
               static_cast<int>(std::lround(std::min(pixels.height * scale, 1e9)))};
    op.text = name;
    Record(std::move(op));
    return true;
}

std::vector<std::string> GwDeviceContext::operation_texts() const {
    std::vector<std::string> out;
    out.reserve(ops_.size());
    for (const auto& op : ops_) out.push_back(op.describe());
    return out;
}
