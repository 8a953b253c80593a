// The printer device context: a recording context on a page of paper (A4 at
// 600 dpi unless a test scripts another) that measures texts in the real
// fonts the PDF file shows them in, the print dialog answered by the
// installed interaction (the test driver in tests), documents and pages.
// Every document that is ended is told to the observers (the print log keeps
// it while attached, as in tests) and written as a PDF file when an output
// directory is set, so a print can be looked at. The context's own
// operations are those of the current page only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/gw_interaction.h"
#include "toolkit/draw/gw_device_context.h"

class GwCore;

struct GwPaper {
    double width_mm = 210;
    double height_mm = 297;
    int dpi = 600;
};

// How the next printer contexts behave: their paper, whether they draw
// bitmaps, and failures to simulate (page numbers count from 1; 0 = none).
struct GwPrinterScript {
    GwPaper paper;
    bool draws_bitmaps = true;
    // False: texts are measured in the fixed metrics of screen contexts, for
    // layouts that tests count in character cells.
    bool real_fonts = true;
    bool fail_start_document = false;
    int fail_start_page = 0;  // this page cannot be started
    int lose_at_page = 0;     // the printer is lost when this page starts
};
void GwSetPrinterScript(const GwPrinterScript& script);
const GwPrinterScript& GwGetPrinterScript();

struct GwPrintedPage {
    std::vector<GwDrawOp> operations;
};

struct GwPrintDocument {
    std::string name;
    GwPaper paper;
    std::vector<GwPrintedPage> pages;  // ended pages
    bool aborted = false;
};

// Documents ended or aborted since the last reset, in order, as the print
// log kept them while it was attached.
const std::vector<GwPrintDocument>& GwPrintedDocuments();
// The print log as an observer, for GwAttachObserver.
GwObserver* GwPrintLog();
// When not empty, every ended document is also written there as
// "print_<n>.pdf", n following the highest number already in the directory
// (1 in an empty one), so no earlier print is replaced.
void GwSetPrintOutputDirectory(const std::string& directory);
const std::string& GwGetPrintOutputDirectory();
// The file name the next written document gets; empty without a directory.
std::string GwNextPrintFileName();

class GwPrinterContext : public GwDeviceContext {
public:
    explicit GwPrinterContext(GwCore* parent = nullptr);

    // The system print dialog; true when the user chose to print. Copies and
    // collation are the user's choice afterwards.
    bool print_dialog();
    // The default printer, without a dialog (for measuring).
    bool use_default_printer();
    bool has_printer() const { return has_printer_; }
    int copies() const { return copies_; }
    bool collate() const { return collate_; }

    // Each returns false when the step cannot be done: no printer chosen, no
    // document or page open, the printer lost, or a scripted failure.
    bool start_document(const std::string& name);
    bool start_page();
    bool end_page();
    // Also false, with last_error() saying why, when the document could not
    // be written to the output directory.
    bool end_document();
    const std::string& last_error() const { return last_error_; }
    // Ends the open document as aborted (kept in the log, not written).
    void abort_document();
    bool is_lost() const { return lost_; }
    bool in_document() const { return in_document_; }
    bool in_page() const { return in_page_; }

    // Called at every page start and end (as the spooler would); returning
    // false aborts the document.
    void set_abort_procedure(std::function<bool()> procedure) { abort_procedure_ = std::move(procedure); }

protected:
    void Record(GwDrawOp op) override;
    GwDimension MeasureText(const GwFontSpec& font, const std::string& text) const override;

private:
    bool Continue();
    // False when the ended document could not be written.
    bool Finish(bool aborted);

    std::string parent_;  // identifier of the owner widget
    GwPrinterScript script_;
    bool has_printer_ = false;
    int copies_ = 1;
    bool collate_ = false;
    bool in_document_ = false;
    bool in_page_ = false;
    bool lost_ = false;
    int pages_started_ = 0;
    GwPrintDocument document_;
    GwPrintedPage page_;
    std::function<bool()> abort_procedure_;
    std::string last_error_;
};
