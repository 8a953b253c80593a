// Printing the editor's source text: page geometry from the printer's
// measures, the margins and the editor font, and the print run with page
// numbers, the file path as header, copies and collation.
#pragma once

#include <string>
#include <vector>

#include "plceditor/adapter/log_font.h"
#include "toolkit/core/gw_types.h"

class GwCore;
class GwPrinterContext;

namespace sindel {

// Failures of a print, each with its message.
enum class PrintFailure { kNone, kPrinterContext, kPaperSize, kFontSize };
const char* PrintFailureText(PrintFailure failure);

// The printer's measures a page is laid out from.
struct PrinterMeasures {
    int horz_size_mm = 0;
    int vert_size_mm = 0;
    int horz_res = 0;
    int vert_res = 0;
    int log_pixels_y = 0;
};
PrinterMeasures MeasuresOf(const GwPrinterContext& printer);

struct PageGeometry {
    GwRect text_area;     // from the margins to the paper's right and bottom
    int font_height = 0;  // printer pixels
    int lines_per_page = 0;
};

// The page for the editor font's height (a negative character height) and
// margins in millimetres; kNone, or the failure that stops the print.
PrintFailure LayoutPage(const PrinterMeasures& printer, int editor_font_height, int top_mm, int left_mm,
                        PageGeometry* page);

// Number of pages for a text of `lines` lines.
int PageCount(int lines, int lines_per_page);

// The text of one page (1-based): "page/pages\t", the path, an empty line,
// then the page's lines, each ended by a line feed.
std::string PageText(int page, int pages, const std::string& path, const std::vector<std::string>& lines,
                     int lines_per_page);

// The order pages are printed in, one document per entry: with collation
// each copy is a document of all pages, without it one document repeats
// every page `copies` times in a row.
std::vector<std::vector<int>> PrintOrder(int pages, int copies, bool collate);

}  // namespace sindel
