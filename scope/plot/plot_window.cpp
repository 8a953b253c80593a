// The callbacks of the plot window "PlotTool" and its grid dialog.
#include "scope/plot/plot_window.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/services/app_files.h"
#include "app/services/empty_callback.h"
#include "app/services/message_box.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "parameters/values/text_helpers.h"
#include "platform/files/paths.h"
#include "platform/system/program_start.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/zoom_dialog.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_drawing.h"

namespace {

constexpr char kPlotFilter[] = "Plot files (*.dat)|*.dat|";
constexpr char kOpenTitle[] = "Datei öffnen";
constexpr char kSaveTitle[] = "Sichern als";
constexpr int kQuestionOverwrite = 42;
constexpr int kErrorFileMissing = 2800;
constexpr int kInfoNoView = 2801;
constexpr int kErrorFormat = 2802;
constexpr int kErrorNoMemory = 2803;
constexpr int kDefaultDivisions = 10;

// A plot file chosen in the selector, the directory remembered; empty when
// the user cancelled.
std::string ChoosePlotFile(GwCore* widget, const char* title, int mode) {
    PlotWindowState& state = PlotState();
    if (state.LastDirectory.empty()) state.LastDirectory = GetUserDataDir();
    GwFileSelector chooser(widget != nullptr ? widget->frame() : GetMainWindow());
    if (title != nullptr) chooser.set_title(title);
    chooser.set_filter(kPlotFilter);
    chooser.set_directory(state.LastDirectory);
    chooser.set_mode(mode);
    if (!chooser.go()) return "";
    state.LastDirectory = chooser.directory();
    return chooser.selection();
}

enum class LoadOutcome { kLoaded, kMissing, kFormat, kNoMemory };

LoadOutcome LoadPlot(const std::string& path, std::unique_ptr<PlotData>* out) {
    try {
        auto plot = std::make_unique<PlotData>();
        if (plot->Load(path)) {
            *out = std::move(plot);
            return LoadOutcome::kLoaded;
        }
        return plot->Missing ? LoadOutcome::kMissing : LoadOutcome::kFormat;
    } catch (const std::bad_alloc&) {
        return LoadOutcome::kNoMemory;
    }
}

std::string ReplaceExtension(const std::string& path, const char* extension) {
    std::string base = path;
    CutFileExtension(base.data());
    base.resize(std::strlen(base.c_str()));
    return base + extension;
}

// Copies one file of the pair; false with a box naming both paths and the
// system's reason.
bool CopyPlotFile(const std::string& source, const std::string& target, GwCore* parent) {
    std::string reason;
    if (CopyTextFile(source.c_str(), target.c_str(), &reason) == 1) return true;
    const std::string text = "Cannot copy \"" + source + "\" to \"" + target + "\": " + reason;
    ShowErrorTextBox(text.c_str(), parent);
    return false;
}

int DivisionsFromText(const std::string& text, int current) {
    if (text.empty()) return current;
    const int value = std::atoi(text.c_str());
    return value < 1 ? 1 : value;
}

void ShowDivisions(GwCore* dialog) {
    const PlotView* view = GetPlotView();
    if (dialog == nullptr || view == nullptr) return;
    if (GwCore* y = dialog->child("PWGridSizeY")) y->set_text(std::to_string(view->YDivisions));
    if (GwCore* x = dialog->child("PWGridSizeX")) x->set_text(std::to_string(view->XDivisions));
}

void DestroyMainChild(const char* name) {
    GwCore* main = GetMainWindow();
    if (GwCore* window = main != nullptr ? main->child(name) : nullptr) window->destroy();
}

GwCore* CallerFrame(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

}  // namespace

int CBPlotActivate(GwCore* widget, GwEvent*, GwUD) {
    const std::string path = ChoosePlotFile(widget, kOpenTitle, GwFILESELECTOR_OPEN);
    if (path.empty()) return 1;
    const std::string tool = GetPlotToolToUse();
    if (tool != "intern") {
        if (platform::StartProgram(tool, {tool, path}, false) == 0) return 1;
        const std::string text = "Cannot start \"" + tool + " " + path + "\"!";
        ShowErrorTextBox(text.c_str(), CallerFrame(widget));
    }
    PlotWindowState& state = PlotState();
    state.UserFile = true;
    state.CurrentFile = path;
    state.Plot.reset();
    switch (LoadPlot(path, &state.Plot)) {
        case LoadOutcome::kNoMemory:
            ShowErrorMessage(kErrorNoMemory);
            return 1;
        case LoadOutcome::kMissing:
            ShowErrorMessage(kErrorFileMissing);
            return 1;
        case LoadOutcome::kFormat:
            ShowErrorMessage(kErrorFormat);
            return 1;
        case LoadOutcome::kLoaded:
            break;
    }
    GwCore* window = FindPlotWindow();
    if (window != nullptr && TheWindowHandler().IndexOf(window) >= 0) {
        if (GetPlotView() == nullptr) {
            ShowInfoMessage(kInfoNoView);
        } else {
            RedrawPlotWindow();
        }
        return 1;
    }
    if ((window = GwRcMgr::load(GetMainWindow(), "PlotTool", 1)) != nullptr) {
        TheWindowHandler().Add(window, 1);
        window->show();
    }
    return 1;
}

int CBPlotOpen(GwCore* widget, GwEvent*, GwUD) {
    const std::string path = ChoosePlotFile(widget, nullptr, GwFILESELECTOR_OPEN);
    if (path.empty()) return 1;
    PlotWindowState& state = PlotState();
    state.UserFile = true;
    state.CurrentFile = path;
    if (state.Plot == nullptr) return 1;
    std::unique_ptr<PlotData> plot;
    switch (LoadPlot(path, &plot)) {
        case LoadOutcome::kNoMemory:
            ShowInfoMessage(kErrorNoMemory);
            return 1;
        case LoadOutcome::kMissing:
            ShowErrorMessage(kErrorFileMissing);
            return 1;
        case LoadOutcome::kFormat:
            ShowErrorMessage(kErrorFormat, FindPlotWindow());
            return 1;
        case LoadOutcome::kLoaded:
            break;
    }
    state.Plot = std::move(plot);
    if (GetPlotView() == nullptr) {
        ShowInfoMessage(kInfoNoView);
    } else {
        RedrawPlotWindow();
    }
    return 1;
}

int CBPlotSaveAs(GwCore* widget, GwEvent*, GwUD) {
    const std::string chosen = ChoosePlotFile(widget, kSaveTitle, GwFILESELECTOR_SAVE);
    if (chosen.empty()) return 1;
    const std::string target = ReplaceExtension(chosen, ".dat");
    if (platform::FileExists(target) && !ShowQuestionMessage(kQuestionOverwrite)) return 1;
    PlotWindowState& state = PlotState();
    const std::string source =
        state.UserFile ? ReplaceExtension(state.CurrentFile, ".dat") : GwMakepath("", "..\\TMP", "Scope", "dat").str();
    if (ComparePathNoCase(source.c_str(), target.c_str()) == 0) return 1;
    GwCore* parent = CallerFrame(widget);
    // A plot whose copy failed keeps its old path: it was not saved.
    if (!CopyPlotFile(source, target, parent)) return 1;
    if (!CopyPlotFile(ReplaceExtension(source, ".sdc"), ReplaceExtension(target, ".sdc"), parent)) return 1;
    if (state.Plot != nullptr) state.Plot->Path = ReplaceExtension(target, "");
    return 1;
}

int CBPlotCreate(GwCore*, GwEvent*, GwUD) {
    PlotWindowState& state = PlotState();
    if (state.View != nullptr) {
        ShowInfoText("Plot != NULL");
        return 1;
    }
    state.View = std::make_unique<PlotView>();
    return 1;
}

int CBPlotShow(GwCore* widget, GwEvent*, GwUD) {
    auto* drawing = dynamic_cast<GwDrawing*>(widget);
    if (PlotView* view = GetPlotView(); view != nullptr && drawing != nullptr) view->Redraw(drawing->device_context());
    GwCore* window = CallerFrame(widget);
    if (const WindowPlacement* placement = GetSavedWindowPlacement(window)) {
        window->move(placement->x, placement->y);
    }
    return 1;
}

int CBPlotExpose(GwCore* widget, GwEvent*, GwUD) {
    auto* drawing = dynamic_cast<GwDrawing*>(widget);
    PlotView* view = GetPlotView();
    if (view == nullptr || drawing == nullptr) return 1;
    view->Layout(drawing->device_context());
    view->DrawCurves(drawing->device_context());
    return 1;
}

int CBPlotWindowHelp(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr) widget->show_help_text();
    return 0;
}

int CBPlotPrint(GwCore* widget, GwEvent*, GwUD) {
    if (PlotView* view = GetPlotView(); view != nullptr && GetPlotData() != nullptr) view->Print(widget);
    return 0;
}

int CBScopeZoom(GwCore*, GwEvent*, GwUD) {
    PlotData* plot = GetPlotData();
    PlotView* view = GetPlotView();
    if (plot == nullptr || view == nullptr) return 1;
    (new Zoom(GetMainWindow(), plot, view))->go();
    DestroyMainChild("Zoom");
    return 1;
}

int CBScopeHide(GwCore*, GwEvent*, GwUD) {
    GwCore* window = FindPlotWindow();
    if (window == nullptr) {
        ShowInfoText("Hide mehrfach aufgerufen!!");
        return 1;
    }
    PlotWindowState& state = PlotState();
    state.View.reset();
    state.Plot.reset();
    TheWindowHandler().DeleteWindow(window);
    window->destroy();
    return 1;
}

int CBScopeGridSize(GwCore*, GwEvent*, GwUD) {
    GwCore* dialog = GwRcMgr::load(GetMainWindow(), "PWGridSize", 1);
    if (dialog == nullptr) return 0;
    if (GwCore* window = FindPlotWindow()) window->disable();
    dialog->go();
    // Either window may have gone while the dialog ran.
    if (GwCore* window = FindPlotWindow()) window->enable();
    DestroyMainChild("PWGridSize");
    return 0;
}

int CBGridShow(GwCore* widget, GwEvent*, GwUD) {
    ShowDivisions(CallerFrame(widget));
    return 1;
}

int CBGridOK(GwCore* widget, GwEvent*, GwUD) {
    GwCore* dialog = CallerFrame(widget);
    PlotView* view = GetPlotView();
    if (dialog == nullptr || view == nullptr) return 1;
    GwCore* x = dialog->child("PWGridSizeX");
    GwCore* y = dialog->child("PWGridSizeY");
    view->XDivisions = DivisionsFromText(x != nullptr ? x->text() : "", view->XDivisions);
    view->YDivisions = DivisionsFromText(y != nullptr ? y->text() : "", view->YDivisions);
    const bool defaultGrid = view->XDivisions == kDefaultDivisions && view->YDivisions == kDefaultDivisions;
    if (PlotData* plot = GetPlotData()) plot->Mode = AxisModeAfterGrid(plot->Mode, defaultGrid);
    dialog->end_modal(GwRESULT_OK);
    dialog->hide();
    view->FreeCurves();
    RedrawPlotWindow();
    return 1;
}

int CBGridDefault(GwCore* widget, GwEvent*, GwUD) {
    PlotView* view = GetPlotView();
    if (view == nullptr) return 1;
    view->XDivisions = view->YDivisions = kDefaultDivisions;
    if (PlotData* plot = GetPlotData()) plot->Mode = AxisModeAfterGrid(plot->Mode, true);
    ShowDivisions(CallerFrame(widget));
    return 1;
}

int CloseCallerFrame(GwCore* widget, GwEvent*, GwUD) {
    if (GwCore* frame = CallerFrame(widget)) frame->close();
    return 1;
}

namespace {

const GwFuncDesc kPlotWindowCallbacks[] = {
    {"CBPlotOpen", CBPlotOpen},
    {"CBPlotSaveAs", CBPlotSaveAs},
    {"CBPlotSaveAsYes", EmptyCallback},
    {"CBPlotSaveAsNo", EmptyCallback},
    {"CBPlotCreate", CBPlotCreate},
    {"CBPlotShow", CBPlotShow},
    {"CBPlotExpose", CBPlotExpose},
    {"CBPlotWindowHelp", CBPlotWindowHelp},
    {"CBPlotPrint", CBPlotPrint},
    {"CBScopeZoom", CBScopeZoom},
    {"CBScopeHide", CBScopeHide},
    {"CBScopeGridSize", CBScopeGridSize},
    {"CBGridShow", CBGridShow},
    {"CBGridOK", CBGridOK},
    {"CBGridDefault", CBGridDefault},
    {"CBGridEsc", CloseCallerFrame},
    {"CBScopeCancel", CloseCallerFrame},
    {"Cancel", CloseCallerFrame},
    {"CB_ExitBusMonitor", CloseCallerFrame},
    {"CBPlotDestroy", EmptyCallback},
    {"CBScopeLineColors", EmptyCallback},
    {"CBScopeLineStyles", EmptyCallback},
    {"CB_SelectVal", EmptyCallback},
    {"HelpContextFocusInCB", EmptyCallback},
    {"Zov_Create_Current", EmptyCallback},
    {"Zov_Create_Val", EmptyCallback},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* PlotWindowCallbacks() { return kPlotWindowCallbacks; }
