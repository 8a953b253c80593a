// Printing of the plot: the orientation dialog, the system print dialog and
// one page of the plot alone.
#include "app/services/services_hooks.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_view.h"
#include "scope/plot/print_dialog.h"
#include "toolkit/draw/gw_printer.h"

void PlotView::Print(GwCore* owner) {
    GwPrinterContext printer(owner);
    (new PrintDialog(GetMainWindow(), this))->go();
    if (GwCore* main = GetMainWindow(); GwCore* dialog = main != nullptr ? main->child("Print") : nullptr) {
        dialog->destroy();
    }
    // The window may have closed while the dialog ran.
    if (GetPlotView() != this || GetPlotData() == nullptr || !printer.print_dialog()) return;
    Printing = true;
    // A printer lost on the way leaves page and document open: ending them
    // would report a print that never came out.
    if (printer.start_document("Torvan") && printer.start_page()) {
        Layout(&printer);
        DrawCurves(&printer);
        if (printer.end_page()) printer.end_document();
    }
    Printing = false;
    RedrawPlotWindow();
}
