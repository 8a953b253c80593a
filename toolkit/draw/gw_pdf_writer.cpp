#include "toolkit/draw/gw_pdf_writer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>

#include "platform/files/text_file.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_cairo_font.h"
#include "toolkit/draw/gw_colour.h"
#include "toolkit/draw/gw_text_layout.h"

namespace {

// Dash pattern of broken lines, in points.
constexpr double kBrokenDash[] = {6, 3};
// A bitmap whose image file is missing or unreadable is shown as a framed
// grey box of its size.
constexpr char kMissingBitmapGrey[] = "#c0c0c0";

void SetColour(cairo_t* cr, const std::string& name) {
    GwRgb rgb = GwColourToRgb(name).value_or(GwRgb{});
    cairo_set_source_rgb(cr, rgb.red / 255.0, rgb.green / 255.0, rgb.blue / 255.0);
}

void RectPath(cairo_t* cr, const GwRect& r) { cairo_rectangle(cr, r.x, r.y, r.width, r.height); }

cairo_status_t AppendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

class PageWriter {
public:
    PageWriter(cairo_t* cr, int dpi) : cr_(cr), points_per_unit_(static_cast<double>(kGwPointsPerInch) / dpi) {}

    void Page(const std::vector<GwDrawOp>& ops) {
        cairo_save(cr_);
        // Device units from here on; line widths and font heights too.
        cairo_scale(cr_, points_per_unit_, points_per_unit_);
        for (const auto& op : ops) {
            if (op.kind == GwDrawKind::kClip || op.kind == GwDrawKind::kLiftClip) continue;  // kept with each op
            cairo_save(cr_);
            if (op.clip) {
                RectPath(cr_, *op.clip);
                cairo_clip(cr_);
            }
            Draw(op);
            cairo_restore(cr_);
        }
        cairo_restore(cr_);
        cairo_show_page(cr_);
    }

private:
    void Stroke(const GwPen& pen) {
        SetColour(cr_, pen.colour);
        cairo_set_line_width(cr_, pen.width > 0 ? pen.width : 1);
        if (pen.style == GwLINE_SOLID) {
            cairo_set_dash(cr_, nullptr, 0, 0);
        } else {
            const double dash[] = {kBrokenDash[0] / points_per_unit_, kBrokenDash[1] / points_per_unit_};
            cairo_set_dash(cr_, dash, 2, 0);
        }
        cairo_stroke(cr_);
    }

    // A line of text with its top at y.
    void Text(double x, double y, const std::string& text, const GwDrawOp& op) {
        if (text.empty() || op.font.height <= 0) return;
        GwSelectCairoFont(cr_, op.font);
        SetColour(cr_, op.colour);
        cairo_move_to(cr_, x, y + GwMeasureRealText(op.font, "").baseline);
        cairo_show_text(cr_, GwPrintableUtf8(text).c_str());
        cairo_new_path(cr_);
    }

    void Bitmap(const GwDrawOp& op) {
        const std::string image = GwRcMgr::bitmap_image(op.text);
        cairo_surface_t* png = image.empty() ? nullptr : cairo_image_surface_create_from_png(image.c_str());
        const bool readable = png != nullptr && cairo_surface_status(png) == CAIRO_STATUS_SUCCESS;
        const int width = readable ? cairo_image_surface_get_width(png) : 0;
        const int height = readable ? cairo_image_surface_get_height(png) : 0;
        if (width > 0 && height > 0 && op.rect.width > 0 && op.rect.height > 0) {
            cairo_translate(cr_, op.rect.x, op.rect.y);
            cairo_scale(cr_, static_cast<double>(op.rect.width) / width, static_cast<double>(op.rect.height) / height);
            cairo_set_source_surface(cr_, png, 0, 0);
            cairo_paint(cr_);
        } else {
            SetColour(cr_, kMissingBitmapGrey);
            RectPath(cr_, op.rect);
            cairo_fill_preserve(cr_);
            Stroke(GwPen{});
        }
        if (png != nullptr) cairo_surface_destroy(png);
    }

    void Draw(const GwDrawOp& op) {
        switch (op.kind) {
            case GwDrawKind::kLine:
            case GwDrawKind::kPolyline:
                if (op.points.empty()) return;
                cairo_move_to(cr_, op.points[0].x, op.points[0].y);
                for (size_t i = 1; i < op.points.size(); ++i) cairo_line_to(cr_, op.points[i].x, op.points[i].y);
                Stroke(op.pen);
                return;
            case GwDrawKind::kFrame:
                RectPath(cr_, op.rect);
                Stroke(op.pen);
                return;
            case GwDrawKind::kFill:
                SetColour(cr_, op.colour);
                RectPath(cr_, op.rect);
                cairo_fill(cr_);
                return;
            case GwDrawKind::kBitmap:
                Bitmap(op);
                return;
            case GwDrawKind::kText: {
                if (op.points.empty()) return;
                const GwRealTextExtent extent = GwMeasureRealText(op.font, op.text);
                double x = op.points[0].x;
                if (op.align == GwALIGN_RIGHT) x -= extent.width;
                if (op.align == GwALIGN_CENTER) x -= extent.width / 2;
                if (!op.background.empty()) {
                    SetColour(cr_, op.background);
                    cairo_rectangle(cr_, x, op.points[0].y, extent.width, extent.height);
                    cairo_fill(cr_);
                }
                Text(x, op.points[0].y, op.text, op);
                return;
            }
            case GwDrawKind::kTextBox:
                for (const auto& line : GwLayoutTextBox(op.rect, op.text, op.font))
                    Text(line.at.x, line.at.y, line.text, op);
                return;
            case GwDrawKind::kClip:
            case GwDrawKind::kLiftClip:
                return;
        }
    }

    cairo_t* cr_;
    double points_per_unit_;
};

}  // namespace

std::string GwPdfBytes(const GwPrintDocument& document) {
    if (document.pages.empty()) return std::string();
    const GwPaper& paper = document.paper;
    const double width = paper.width_mm / kGwMillimetresPerInch * kGwPointsPerInch;
    const double height = paper.height_mm / kGwMillimetresPerInch * kGwPointsPerInch;
    std::string pdf;
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendTo, &pdf, width, height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, GwPrintableUtf8(document.name).c_str());
    // A date that is no date leaves the creation date out.
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "");
    cairo_t* cr = cairo_create(surface);
    const int dpi = paper.dpi > 0 ? paper.dpi : kGwPointsPerInch;
    for (const auto& page : document.pages) PageWriter(cr, dpi).Page(page.operations);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool finished = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok && finished ? pdf : std::string();
}

bool GwWritePdf(const GwPrintDocument& document, const std::string& path, std::string* error) {
    if (document.pages.empty()) {
        if (error != nullptr) *error = "the document has no page";
        return false;
    }
    std::string bytes = GwPdfBytes(document);
    if (bytes.empty()) {
        if (error != nullptr) *error = "the PDF surface failed";
        return false;
    }
    return platform::ReplaceFile(path, bytes, error);
}
