// The plot window's program-wide state: the loaded plot, its view, the
// user-file flag, the plot file that save copies from, and the directory of
// the file selectors.
#pragma once

#include <memory>
#include <string>

#include "scope/plot/plot_data.h"
#include "scope/plot/plot_view.h"

class GwCore;
class GwDrawing;

// The drawing widget of the window "PlotTool".
inline constexpr char kPlotDrawingName[] = "PlotDrawing";

struct PlotWindowState {
    std::unique_ptr<PlotData> Plot;
    std::unique_ptr<PlotView> View;
    // Set while the window shows a file the user opened, clear for the
    // scratch pair.
    bool UserFile = false;
    std::string CurrentFile;
    // Empty until the first selector: the user data directory then.
    std::string LastDirectory;
};

PlotWindowState& PlotState();

// The loaded plot and the view, or null.
PlotData* GetPlotData();
PlotView* GetPlotView();

// The window "PlotTool" under the main window and its drawing widget, or
// null; looked up each time, as the user may close the window between
// events.
GwCore* FindPlotWindow();
GwDrawing* FindPlotDrawing();
// Lays the view out on the drawing and asks the drawing for a fresh
// picture; nothing without a view or drawing.
void RedrawPlotWindow();
