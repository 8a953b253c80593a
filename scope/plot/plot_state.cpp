#include "scope/plot/plot_state.h"

#include "app/services/services_hooks.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/draw/gw_drawing.h"

namespace {

PlotWindowState& State() {
    static PlotWindowState state;
    return state;
}

platform::ResetHook ResetState([] { State() = PlotWindowState{}; });

}  // namespace

PlotWindowState& PlotState() { return State(); }
PlotData* GetPlotData() { return State().Plot.get(); }
PlotView* GetPlotView() { return State().View.get(); }

GwCore* FindPlotWindow() {
    GwCore* main = GetMainWindow();
    GwCore* window = main != nullptr ? main->child("PlotTool") : nullptr;
    return window != nullptr && window->is_alive() ? window : nullptr;
}

GwDrawing* FindPlotDrawing() {
    GwCore* window = FindPlotWindow();
    return window != nullptr ? window->child<GwDrawing>(kPlotDrawingName) : nullptr;
}

void RedrawPlotWindow() {
    PlotView* view = GetPlotView();
    GwDrawing* drawing = FindPlotDrawing();
    if (view == nullptr || drawing == nullptr) return;
    view->Redraw(drawing->device_context());
    drawing->invalidate();
}
