// The plot's zoom dialog, built in code: the visible range of each axis
// typed in, single axes or all of them returned to their auto-scale ranges.
#pragma once

#include "scope/plot/plot_data.h"
#include "toolkit/core/gw_frame.h"

class PlotView;

class MainContainer : public GwContainer {
public:
    // Works on the loaded plot and view of the window's state.
    MainContainer(GwCore* parent, PlotData* plot, PlotView* view);

    // The view ranges into the fields (the home ranges taken first while
    // nothing is zoomed).
    void FillFields();
    // OK: takes the fields axis by axis; an axis whose minimum is not below
    // its maximum stops there and keeps the dialog open.
    int Apply();
    int Cancel();
    // All ranges and the grid back to auto-scale; drawn at the next redraw.
    int ResetAll();
    int AutoScaleX();
    int AutoScaleLeft();
    int AutoScaleRight();
    // Whether a view range differs from its home range.
    bool IsZoomed() const;

protected:
    void OnCreate() override;

private:
    void AxisGroup(const char* name, int caption, int top, const char* minName, const char* maxName,
                   int (MainContainer::*autoScale)());
    bool TakeAxis(const char* minName, const char* maxName, AxisRange* view, const AxisRange& autoRange);
    void SetField(const char* name, const std::string& text);
    bool Refresh();

    PlotData* plot_;
    PlotView* view_;
};

class Zoom : public GwDialogFrame {
public:
    Zoom(GwCore* parent, PlotData* plot, PlotView* view);
};
