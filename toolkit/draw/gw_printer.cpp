#include "toolkit/draw/gw_printer.h"

#include <algorithm>
#include <cmath>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/draw/gw_cairo_font.h"
#include "toolkit/draw/gw_pdf_writer.h"

namespace {

struct PrintState {
    GwPrinterScript script;
    std::vector<GwPrintDocument> documents;
    std::string output_directory;
};

PrintState& State() {
    static PrintState state;
    return state;
}

class PrintLog : public GwObserver {
public:
    void DocumentPrinted(const GwPrintDocument& document) override { State().documents.push_back(document); }
};

PrintLog g_print_log;

platform::ResetHook ResetState([] {
    auto& s = State();
    s.script = GwPrinterScript{};
    s.documents.clear();
    s.output_directory.clear();
});

int Units(double millimetres, int dpi) {
    return static_cast<int>(std::floor(millimetres / kGwMillimetresPerInch * dpi));
}

GwDimension PaperUnits(const GwPaper& paper) {
    return {Units(paper.width_mm, paper.dpi), Units(paper.height_mm, paper.dpi)};
}

constexpr char kPrintFilePrefix[] = "print_";
constexpr char kPrintFileExtension[] = ".pdf";

// The number of a "print_<n>.pdf" name (letter case aside), 0 for any other.
long PrintFileNumber(const std::string& name) {
    const size_t prefix = sizeof(kPrintFilePrefix) - 1;
    const size_t extension = sizeof(kPrintFileExtension) - 1;
    if (name.size() <= prefix + extension) return 0;
    if (!platform::EqualNoCase(name.substr(0, prefix), kPrintFilePrefix) ||
        !platform::EqualNoCase(name.substr(name.size() - extension), kPrintFileExtension))
        return 0;
    const std::string digits = name.substr(prefix, name.size() - prefix - extension);
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stol(digits);
}

// Writes an ended document; false with `error` when it cannot be written.
bool WriteOut(const GwPrintDocument& document, std::string* error) {
    auto& s = State();
    if (s.output_directory.empty()) return true;
    std::string path = s.output_directory + "/" + GwNextPrintFileName();
    std::string why;
    if (GwWritePdf(document, path, &why)) return true;
    *error = "cannot write \"" + path + "\": " + why;
    platform::LogLine("GwPrinterContext: " + *error);
    return false;
}

}  // namespace

void GwSetPrinterScript(const GwPrinterScript& script) { State().script = script; }

const GwPrinterScript& GwGetPrinterScript() { return State().script; }

const std::vector<GwPrintDocument>& GwPrintedDocuments() { return State().documents; }

GwObserver* GwPrintLog() { return &g_print_log; }

void GwSetPrintOutputDirectory(const std::string& directory) { State().output_directory = directory; }

const std::string& GwGetPrintOutputDirectory() { return State().output_directory; }

std::string GwNextPrintFileName() {
    const std::string& directory = State().output_directory;
    if (directory.empty()) return {};
    long highest = 0;
    for (const platform::DirEntry& entry : platform::ListDirectory(directory + "/*.pdf"))
        if (!entry.is_directory) highest = std::max(highest, PrintFileNumber(entry.name));
    return kPrintFilePrefix + std::to_string(highest + 1) + kPrintFileExtension;
}

GwPrinterContext::GwPrinterContext(GwCore* parent)
    : GwDeviceContext(State().script.paper.dpi, PaperUnits(State().script.paper)),
      parent_(parent != nullptr && GwRcMgr::is_valid_child(parent) ? parent->identifier() : std::string()),
      script_(State().script) {
    set_size_mm(script_.paper.width_mm, script_.paper.height_mm);
    set_draws_bitmaps(script_.draws_bitmaps);
}

bool GwPrinterContext::print_dialog() {
    GwPrintDialogRequest request{parent_, State().output_directory, GwNextPrintFileName()};
    GwPrintDialogAnswer answer = GwGetInteraction().AnswerPrintDialog(request);
    std::string record = answer.ok ? "ok" : "cancel";
    if (!request.output_directory.empty())
        record += "; folder \"" + request.output_directory + "\"; file \"" + request.file_name + "\"";
    GwRecorder::Record("print dialog", parent_, record);
    if (!answer.ok) return false;
    has_printer_ = true;
    copies_ = answer.copies > 0 ? answer.copies : 1;
    collate_ = answer.collate;
    return true;
}

bool GwPrinterContext::use_default_printer() {
    has_printer_ = true;
    return true;
}

bool GwPrinterContext::Continue() {
    if (!abort_procedure_ || abort_procedure_()) return true;
    Finish(true);
    return false;
}

bool GwPrinterContext::start_document(const std::string& name) {
    if (!has_printer_ || in_document_ || lost_ || script_.fail_start_document) return false;
    document_ = GwPrintDocument{name, script_.paper, {}, false};
    in_document_ = true;
    pages_started_ = 0;
    return true;
}

bool GwPrinterContext::start_page() {
    if (!in_document_ || in_page_ || lost_) return false;
    if (!Continue()) return false;
    int number = pages_started_ + 1;
    if (number == script_.lose_at_page) {
        lost_ = true;
        return false;
    }
    if (number == script_.fail_start_page) return false;
    pages_started_ = number;
    in_page_ = true;
    page_ = GwPrintedPage{};
    clear();  // a page is one picture
    return true;
}

bool GwPrinterContext::end_page() {
    if (!in_page_ || lost_) return false;
    in_page_ = false;
    document_.pages.push_back(std::move(page_));
    page_ = GwPrintedPage{};
    return Continue();
}

bool GwPrinterContext::end_document() {
    if (!in_document_ || lost_) return false;
    if (in_page_) end_page();
    if (!in_document_) return false;  // the abort procedure ended it
    return Finish(false);
}

void GwPrinterContext::abort_document() {
    if (in_document_) Finish(true);
}

bool GwPrinterContext::Finish(bool aborted) {
    document_.aborted = aborted;
    in_document_ = false;
    in_page_ = false;
    GwNotifyDocument(document_);
    const bool written = aborted || WriteOut(document_, &last_error_);
    document_ = GwPrintDocument{};
    return written;
}

void GwPrinterContext::Record(GwDrawOp op) {
    if (in_page_) page_.operations.push_back(op);
    GwDeviceContext::Record(std::move(op));
}

GwDimension GwPrinterContext::MeasureText(const GwFontSpec& font, const std::string& text) const {
    if (!script_.real_fonts) return GwDeviceContext::MeasureText(font, text);
    const GwRealTextExtent extent = GwMeasureRealText(font, text);
    return {static_cast<int>(std::ceil(extent.width)), static_cast<int>(std::ceil(extent.height))};
}
