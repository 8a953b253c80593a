// Page setup and printing of the editor's source text.
#include "plceditor/adapter/edit_control.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/page_setup_dialog.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/source_printer.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/draw/gw_printer.h"

namespace sindel {

namespace {
constexpr char kDocumentName[] = "Sindel";
constexpr char kPrintErrorCaption[] = "Error";
}  // namespace

void PlcEditorDialog::PageSetup() {
    PageSetupDialog dialog(profile_);
    if (dialog.Run(window_, edit_->GetLogFont()) && IsOpen()) edit_->SetLogFont(EditorFontFromProfile(profile_));
}

void PlcEditorDialog::Print() {
    GwPrinterContext printer(window_);
    if (!printer.print_dialog()) return;
    auto fail = [this](PrintFailure failure) {
        ShowMessageBox(Window(), PrintFailureText(failure), kPrintErrorCaption, BoxButtons::kOk, BoxIcon::kError);
    };
    if (!printer.has_printer()) return fail(PrintFailure::kPrinterContext);
    // While the spooler works the window keeps answering.
    printer.set_abort_procedure([] {
        GwProcessPendingEvents();
        return true;
    });

    const LogFont font = edit_->GetLogFont();
    PageGeometry page;
    PrintFailure failure =
        LayoutPage(MeasuresOf(printer), font.height, TopMarginMm(profile_), LeftMarginMm(profile_), &page);
    if (failure != PrintFailure::kNone) return fail(failure);

    std::vector<std::string> lines(edit_->Buffer().LineCount());
    for (size_t i = 0; i < lines.size(); ++i) edit_->Buffer().GetLine(static_cast<int>(i), &lines[i]);
    const std::string path = current_path_;
    const int pages = PageCount(static_cast<int>(lines.size()), page.lines_per_page);
    const GwRect& area = page.text_area;

    for (const std::vector<int>& document : PrintOrder(pages, printer.copies(), printer.collate())) {
        if (!printer.start_document(kDocumentName)) return;
        for (int number : document) {
            // A page that cannot be started ends the document and the print.
            if (!printer.start_page()) {
                printer.end_document();
                return;
            }
            printer.set_font_face(font.face_name, page.font_height);
            printer.draw_text_in_rect(area.x,
                                      area.y,
                                      area.x + area.width,
                                      area.y + area.height,
                                      PageText(number, pages, path, lines, page.lines_per_page));
            printer.end_page();
        }
        printer.end_document();
    }
}

}  // namespace sindel
