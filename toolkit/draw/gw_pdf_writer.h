// Writes a printed document as a PDF file, one page per printed page, through
// cairo's PDF surface: lines, frames, fills, polylines, texts in the real
// fonts of the page (embedded as subsets), bitmaps from their image files,
// clips. The file carries no creation date, so the same document gives the
// same bytes; it is replaced only by a complete new one.
#pragma once

#include <string>

#include "toolkit/draw/gw_printer.h"

// The PDF bytes of a document; empty when it has no page.
std::string GwPdfBytes(const GwPrintDocument& document);
// False, with `error` set, when the document has no page or the file cannot
// be written; the path may be in the program's Windows form.
bool GwWritePdf(const GwPrintDocument& document, const std::string& path, std::string* error = nullptr);
