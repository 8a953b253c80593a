// Writes a printed document as a PDF 1.4 file, one page per printed page, so
// a print can be looked at: lines, frames, fills, polylines, texts in the
// standard Helvetica font (with the toolkit's fixed metrics for placement),
// bitmaps as grey placeholders, clips. The file is replaced only by a
// complete new one.
#pragma once

#include <string>

#include "toolkit/draw/gw_printer.h"

// The PDF bytes of a document; empty when it has no page.
std::string GwPdfBytes(const GwPrintDocument& document);
// False, with `error` set, when the document has no page or the file cannot
// be written; the path may be in the program's Windows form.
bool GwWritePdf(const GwPrintDocument& document, const std::string& path, std::string* error = nullptr);
