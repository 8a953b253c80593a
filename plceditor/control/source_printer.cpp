#include "plceditor/control/source_printer.h"

#include <algorithm>
#include <limits>

#include "platform/base/format.h"
#include "toolkit/draw/gw_printer.h"

namespace sindel {

namespace {
constexpr int kPointsPerInch = 72;
constexpr int kMinPageLines = 4;
constexpr int kHeaderLines = 3;
}  // namespace

const char* PrintFailureText(PrintFailure failure) {
    switch (failure) {
        case PrintFailure::kPrinterContext:
            return "Error seeting up Printer-Context";
        case PrintFailure::kPaperSize:
            return "Error Printing Paper-Size";
        case PrintFailure::kFontSize:
            return "Error Printing Font-Size";
        case PrintFailure::kNone:
            break;
    }
    return "";
}

PrinterMeasures MeasuresOf(const GwPrinterContext& printer) {
    return {printer.device_caps(GwHORZSIZE),
            printer.device_caps(GwVERTSIZE),
            printer.device_caps(GwHORZRES),
            printer.device_caps(GwVERTRES),
            printer.device_caps(GwLOGPIXELSY)};
}

PrintFailure LayoutPage(const PrinterMeasures& printer, int editor_font_height, int top_mm, int left_mm,
                        PageGeometry* page) {
    // In 64 bits and held to the int range: a font size from the profile must
    // not wrap around.
    const int64_t font_height = std::min<int64_t>(int64_t{printer.log_pixels_y} * editor_font_height / -kPointsPerInch,
                                                  std::numeric_limits<int>::max());
    int64_t top = 0;
    int64_t left = 0;
    if (printer.horz_size_mm > 0 && printer.vert_size_mm > 0) {
        top = int64_t{top_mm} * printer.vert_res / printer.vert_size_mm;
        left = int64_t{left_mm} * printer.horz_res / printer.horz_size_mm;
    }
    if (printer.horz_res <= 0 || printer.vert_res <= 0) return PrintFailure::kPaperSize;
    if (font_height <= 0) return PrintFailure::kFontSize;
    // Margins from a hand-edited profile stay on the page, so the text area
    // cannot wrap around.
    top = std::clamp<int64_t>(top, 0, printer.vert_res);
    left = std::clamp<int64_t>(left, 0, printer.horz_res);
    page->font_height = static_cast<int>(font_height);
    page->text_area = {static_cast<int>(left),
                       static_cast<int>(top),
                       printer.horz_res - static_cast<int>(left),
                       printer.vert_res - static_cast<int>(top)};
    page->lines_per_page =
        std::max(static_cast<int>((printer.vert_res - top) / font_height), kMinPageLines) - kHeaderLines;
    return PrintFailure::kNone;
}

int PageCount(int lines, int lines_per_page) {
    return lines_per_page > 0 ? (lines + lines_per_page - 1) / lines_per_page : 0;
}

std::string PageText(int page, int pages, const std::string& path, const std::vector<std::string>& lines,
                     int lines_per_page) {
    std::string text =
        platform::Format("%ld/%ld\t", static_cast<int32_t>(page), static_cast<int32_t>(pages)) + path + "\n\n";
    const size_t first = static_cast<size_t>(page - 1) * lines_per_page;
    for (size_t i = first; i < first + lines_per_page && i < lines.size(); ++i) text += lines[i] + "\n";
    return text;
}

std::vector<std::vector<int>> PrintOrder(int pages, int copies, bool collate) {
    copies = std::max(copies, 1);
    std::vector<std::vector<int>> documents;
    if (collate) {
        std::vector<int> all;
        for (int page = 1; page <= pages; ++page) all.push_back(page);
        documents.assign(copies, all);
    } else {
        std::vector<int> repeated;
        for (int page = 1; page <= pages; ++page) repeated.insert(repeated.end(), copies, page);
        documents.push_back(repeated);
    }
    return documents;
}

}  // namespace sindel
