// The orientation dialog of the plot's printing, built in code: a modal
// "Print" under the main window whose container offers portrait and
// landscape and writes the choice into the view's two flags.
#pragma once

#include "toolkit/core/gw_frame.h"

class PlotView;

class PrintContainer : public GwContainer {
public:
    PrintContainer(GwCore* parent, PlotView* view);

    // Switches on the toggle of the chosen orientation.
    int OnCreateHandler();
    // Takes the toggles' choice into the view and closes.
    int Take();
    int Cancel();

protected:
    void OnCreate() override;

private:
    PlotView* view_;  // outlives the modal run that uses this container
};

class PrintDialog : public GwDialogFrame {
public:
    PrintDialog(GwCore* parent, PlotView* view);
};
