#include "toolkit/draw/gw_pdf_writer.h"

#include <cmath>
#include <cstdio>

#include "platform/files/text_file.h"
#include "toolkit/draw/gw_colour.h"
#include "toolkit/draw/gw_text_layout.h"

namespace {

// Where a text's baseline lies below the top of its line, as a share of the
// font height.
constexpr double kBaselineShare = 0.8;
// Dash pattern of broken lines, in points.
constexpr const char* kBrokenDash = "[6 3] 0 d";
// Placeholder colour of bitmaps.
constexpr const char* kBitmapGrey = "#c0c0c0";

// A number with at most two decimals, always with '.', whatever the locale.
std::string Num(double value) {
    if (!std::isfinite(value)) value = 0;
    long long hundredths = std::llround(value * 100);
    std::string sign = hundredths < 0 ? "-" : "";
    unsigned long long a = static_cast<unsigned long long>(hundredths < 0 ? -hundredths : hundredths);
    std::string out = sign + std::to_string(a / 100);
    unsigned long long frac = a % 100;
    if (frac != 0) {
        out += '.';
        out += static_cast<char>('0' + frac / 10);
        if (frac % 10 != 0) out += static_cast<char>('0' + frac % 10);
    }
    return out == "-0" ? "0" : out;
}

std::string Colour(const std::string& name, const char* op) {
    GwRgb rgb = GwColourToRgb(name).value_or(GwRgb{});
    return Num(rgb.red / 255.0) + " " + Num(rgb.green / 255.0) + " " + Num(rgb.blue / 255.0) + " " + op + "\n";
}

// UTF-8 text as a PDF string in the font's WinAnsi encoding: Latin-1
// characters as octal escapes, anything beyond as '?'.
std::string PdfString(const std::string& text) {
    std::string out = "(";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned code = c;
        size_t length = 1;
        if (c >= 0xC0 && c < 0xE0 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            length = 2;
        } else if (c >= 0x80) {
            code = '?';
            while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
        }
        i += length;
        if (code == '(' || code == ')' || code == '\\') {
            out += '\\';
            out += static_cast<char>(code);
        } else if (code < 0x20 || code == 0x7F) {
            out += ' ';
        } else if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code >= 0xA0 && code <= 0xFF) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", code);
            out += octal;
        } else {
            out += '?';
        }
    }
    return out + ")";
}

class PageWriter {
public:
    PageWriter(const GwPaper& paper) : scale_(72.0 / paper.dpi), height_(paper.height_mm / 25.4 * 72) {}

    std::string Content(const std::vector<GwDrawOp>& ops) {
        for (const auto& op : ops) {
            if (op.kind == GwDrawKind::kClip || op.kind == GwDrawKind::kLiftClip) continue;  // kept with each op
            if (op.clip) out_ += "q " + Rect(*op.clip) + " re W n\n";
            Draw(op);
            if (op.clip) out_ += "Q\n";
        }
        return out_;
    }

private:
    std::string X(int x) const { return Num(x * scale_); }
    std::string Y(int y) const { return Num(height_ - y * scale_); }
    std::string Point(const GwPosition& p) const { return X(p.x) + " " + Y(p.y); }
    std::string Rect(const GwRect& r) const {
        return X(r.x) + " " + Y(r.y + r.height) + " " + Num(r.width * scale_) + " " + Num(r.height * scale_);
    }

    void Stroke(const GwPen& pen) {
        out_ += Colour(pen.colour, "RG");
        out_ += Num(pen.width * scale_) + " w " + (pen.style == GwLINE_SOLID ? "[] 0 d" : kBrokenDash) + "\n";
    }

    void Text(int x, int y, const std::string& text, const GwDrawOp& op) {
        if (text.empty() || op.font.height <= 0) return;
        out_ += Colour(op.colour, "rg");
        int baseline = y + static_cast<int>(std::lround(op.font.height * kBaselineShare));
        out_ += "BT /F1 " + Num(op.font.height * scale_) + " Tf " + X(x) + " " + Y(baseline) + " Td " +
                PdfString(text) + " Tj ET\n";
    }

    void Draw(const GwDrawOp& op) {
        switch (op.kind) {
            case GwDrawKind::kLine:
            case GwDrawKind::kPolyline:
                if (op.points.empty()) return;
                Stroke(op.pen);
                out_ += Point(op.points[0]) + " m";
                for (size_t i = 1; i < op.points.size(); ++i) out_ += " " + Point(op.points[i]) + " l";
                out_ += " S\n";
                return;
            case GwDrawKind::kFrame:
                Stroke(op.pen);
                out_ += Rect(op.rect) + " re S\n";
                return;
            case GwDrawKind::kFill:
                out_ += Colour(op.colour, "rg") + Rect(op.rect) + " re f\n";
                return;
            case GwDrawKind::kBitmap:
                out_ += Colour(kBitmapGrey, "rg") + Rect(op.rect) + " re f\n";
                return;
            case GwDrawKind::kText: {
                if (op.points.empty()) return;
                int width = GwTextWidth(op.font, op.text);
                int x = op.points[0].x;
                if (op.align == GwALIGN_RIGHT) x -= width;
                if (op.align == GwALIGN_CENTER) x -= width / 2;
                if (!op.background.empty())
                    out_ += Colour(op.background, "rg") + Rect({x, op.points[0].y, width, op.font.height}) + " re f\n";
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

    double scale_;
    double height_;
    std::string out_;
};

}  // namespace

std::string GwPdfBytes(const GwPrintDocument& document) {
    if (document.pages.empty()) return std::string();
    const GwPaper& paper = document.paper;
    std::string media = "[0 0 " + Num(paper.width_mm / 25.4 * 72) + " " + Num(paper.height_mm / 25.4 * 72) + "]";
    size_t page_count = document.pages.size();
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content
    // stream for each page.
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (size_t i = 0; i < page_count; ++i) kids += (i ? " " : "") + std::to_string(4 + 2 * i) + " 0 R";
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(page_count) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    for (size_t i = 0; i < page_count; ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox " + media +
                          " /Resources << /Font << /F1 3 0 R >> >> /Contents " + std::to_string(5 + 2 * i) + " 0 R >>");
        std::string content = PageWriter(paper).Content(document.pages[i].operations);
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }

    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

bool GwWritePdf(const GwPrintDocument& document, const std::string& path, std::string* error) {
    std::string bytes = GwPdfBytes(document);
    if (bytes.empty()) {
        if (error != nullptr) *error = "the document has no page";
        return false;
    }
    return platform::ReplaceFile(path, bytes, error);
}
