// Hand-over of a recording to the built-in plot window or an outside plot
// tool.
#include <filesystem>
#include <string>
#include <vector>

#include "app/services/message_box.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "platform/system/program_start.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_window.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/hosting/gw_dde_client.h"

namespace {

constexpr char kInternalTool[] = "intern";
constexpr char kDdeTopic[] = "System";
constexpr char kScratchMissingText[] = "Klasse Scope konnte nicht über \nScope.Dat initialisiert werden!";

// The scratch ".dat" file as an absolute path.
std::string DefaultPlotFile() {
    std::error_code ignored;
    const std::string dir = std::filesystem::current_path(ignored).string() + "\\..\\TMP";
    return GwMakepath("", dir.c_str(), "Scope", "dat").str();
}

int HandOver(GwCore* widget, GwEvent* event, GwUD userData, const char* command) {
    std::string path = DefaultPlotFile();
    const std::string tool = GetPlotToolToUse();
    if (tool == kInternalTool) return ShowInternalPlot(widget, event, userData);
    if (userData.is_text() && *userData.text() != '\0') path = userData.text();
    GwDdeClient dde;
    if (dde.connect(tool, kDdeTopic)) {
        const bool done = dde.execute(std::string(command) + " " + path);
        dde.disconnect();
        return done ? 1 : 0;
    }
    if (platform::StartProgram(tool, {tool, "\"" + path + "\""}, false) == 0) return 1;
    const std::string text = "Cannot start \"" + tool + "\"!";
    ShowErrorTextBox(text.c_str(), widget != nullptr ? widget->frame() : nullptr);
    return ShowInternalPlot(widget, event, userData);
}

}  // namespace

int OpenPlotFirst(GwCore* widget, GwEvent* event, GwUD userData) {
    return HandOver(widget, event, userData, "OpenFirst");
}

int OpenPlotNext(GwCore* widget, GwEvent* event, GwUD userData) {
    return HandOver(widget, event, userData, "OpenNext");
}

int ShowInternalPlot(GwCore*, GwEvent*, GwUD) {
    PlotWindowState& state = PlotState();
    auto plot = std::make_unique<PlotData>();
    const bool loaded = plot->Load("");
    // A window left without a plot by a failed reload takes the next one
    // instead of a second window being opened.
    if (state.Plot != nullptr || FindPlotWindow() != nullptr) {
        state.Plot = loaded ? std::move(plot) : nullptr;
        if (loaded) RedrawPlotWindow();
    } else {
        if (!loaded) {
            ShowInfoText(kScratchMissingText);
            return 0;
        }
        state.Plot = std::move(plot);
        if (GwCore* window = GwRcMgr::load(GetMainWindow(), "PlotTool", 1)) {
            TheWindowHandler().Add(window, 0);
            window->show();
        }
    }
    state.UserFile = false;
    return 1;
}
