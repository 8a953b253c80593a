#include "toolkit/draw/gw_printer.h"

#include <cmath>

#include "platform/base/log_sink.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/draw/gw_pdf_writer.h"

namespace {

struct PrintState {
    GwPrintDialogHandler handler;
    GwPrinterScript script;
    std::vector<GwPrintDocument> documents;
    std::string output_directory;
    int written = 0;
};

PrintState& State() {
    static PrintState state;
    return state;
}

// The handler stays: whoever installed it (the test driver) installs it again.
platform::ResetHook g_reset([] {
    auto& s = State();
    s.script = GwPrinterScript{};
    s.documents.clear();
    s.output_directory.clear();
    s.written = 0;
});

int Units(double millimetres, int dpi) {
    return static_cast<int>(std::floor(millimetres / kGwMillimetresPerInch * dpi));
}

GwDimension PaperUnits(const GwPaper& paper) { return {Units(paper.width_mm, paper.dpi), Units(paper.height_mm, paper.dpi)}; }

void WriteOut(const GwPrintDocument& document) {
    auto& s = State();
    if (s.output_directory.empty()) return;
    std::string path = s.output_directory + "/print_" + std::to_string(++s.written) + ".pdf";
    std::string error;
    if (!GwWritePdf(document, path, &error))
        platform::LogLine("GwPrinterContext: cannot write \"" + path + "\": " + error);
}

}  // namespace

void GwSetPrintDialogHandler(GwPrintDialogHandler handler) { State().handler = std::move(handler); }

void GwSetPrinterScript(const GwPrinterScript& script) { State().script = script; }

const GwPrinterScript& GwGetPrinterScript() { return State().script; }

const std::vector<GwPrintDocument>& GwPrintedDocuments() { return State().documents; }

void GwSetPrintOutputDirectory(const std::string& directory) { State().output_directory = directory; }

GwPrinterContext::GwPrinterContext(GwCore* parent)
    : GwDeviceContext(State().script.paper.dpi, PaperUnits(State().script.paper)),
      parent_(parent != nullptr && GwRcMgr::is_valid_child(parent) ? parent->identifier() : std::string()),
      script_(State().script) {
    set_size_mm(script_.paper.width_mm, script_.paper.height_mm);
    set_draws_bitmaps(script_.draws_bitmaps);
}

bool GwPrinterContext::print_dialog() {
    GwPrintDialogRequest request{parent_};
    GwPrintDialogAnswer answer;
    if (State().handler) answer = State().handler(request);
    GwRecorder::Record("print dialog", parent_, answer.ok ? "ok" : "cancel");
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
    Finish(false);
    return true;
}

void GwPrinterContext::abort_document() {
    if (in_document_) Finish(true);
}

void GwPrinterContext::Finish(bool aborted) {
    document_.aborted = aborted;
    in_document_ = false;
    in_page_ = false;
    State().documents.push_back(document_);
    if (!aborted) WriteOut(document_);
    document_ = GwPrintDocument{};
}

void GwPrinterContext::Record(GwDrawOp op) {
    if (in_page_) page_.operations.push_back(op);
    GwDeviceContext::Record(std::move(op));
}
