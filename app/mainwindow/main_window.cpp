#include "app/mainwindow/main_window.h"

#include <algorithm>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window_display.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"

namespace {

struct MainWindowState {
    MainWindowWidgets Widgets;
    std::string BaseTitle;
    std::string PartialBaseTitle;
    bool StartTimerArmed = false;
};

MainWindowState& State() {
    static MainWindowState state;
    return state;
}

platform::ResetHook ResetState([] { State() = MainWindowState(); });

// Gaps of the state line: before "State1" and between its fields.
constexpr int kStateLineGap = 5;

}  // namespace

const MainWindowWidgets& MainWidgets() { return State().Widgets; }

GwCore* MainFrame() { return State().Widgets.frame; }

GwCore* MainChild(const char* name) {
    GwCore* frame = MainFrame();
    return frame != nullptr ? frame->child(name) : nullptr;
}

const std::string& GetBaseTitle() { return State().BaseTitle; }
void SetBaseTitle(const std::string& title) { State().BaseTitle = title; }
const std::string& GetPartialBaseTitle() { return State().PartialBaseTitle; }
void SetPartialBaseTitle(const std::string& title) { State().PartialBaseTitle = title; }
bool IsStartTimerArmed() { return State().StartTimerArmed; }

int MainWindow_create(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    MainWindowWidgets found;
    found.frame = frame;
    // Looked up in this order; the first missing one ends the window.
    GwRef<>* const slots[] = {&found.stateText,
                              &found.activeDeviceMenu,
                              &found.windowMenu,
                              &found.closeAll,
                              &found.loadFromOther,
                              &found.storeToOther,
                              &found.chooseDevice,
                              &found.killDevice};
    const char* const names[] = {"State1",
                                 "MN_ActiveDevice",
                                 "M_Window",
                                 "M_CloseAll",
                                 "M_LoadFromOther",
                                 "M_Store2Other",
                                 "M_ChooseDevice",
                                 "M_KillDevice"};
    bool complete = true;
    for (size_t i = 0; i < std::size(slots) && complete; ++i) {
        *slots[i] = frame->child(names[i]);
        complete = *slots[i] != nullptr;
    }
    if (complete) {
        found.progress = dynamic_cast<GwSlider*>(frame->child("ParaProgressIndicator"));
        complete = found.progress != nullptr;
    }
    if (complete) {
        found.busState = frame->child("BusState");
        complete = found.busState != nullptr;
    }
    if (!complete) {
        // No box or window list may look for the dead frame.
        SetMainWindow(nullptr);
        MessageBoxesEnabled = false;
        State().Widgets = MainWindowWidgets();
        frame->destroy();
        return 1;
    }
    State().Widgets = found;
    if (Main* main = GetMain()) main->SetProgressIndicator(found.progress);
    frame->maximize();
    SetMainWindow(frame);
    MessageBoxesEnabled = true;
    InstallMainWindowDisplay();
    return 1;
}

int MainWindow_resize(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* stateLine = frame->child("StateLine");
    GwCore* workArea = frame->child("WorkArea");
    if (stateLine == nullptr || workArea == nullptr) return 1;
    const int width = frame->width();
    const int height = frame->height();
    const int lineHeight = stateLine->height();
    workArea->set_rect({0, 0, width, height - lineHeight});
    stateLine->set_rect({0, height - lineHeight, width, lineHeight});
    return 1;
}

int StateLine_resize(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* state = widget->child("State1");
    GwCore* bus = widget->child("BusState");
    GwCore* progress = widget->child("ParaProgressIndicator");
    GwCore* logo = widget->child("Logo");
    if (state == nullptr || bus == nullptr || progress == nullptr || logo == nullptr) return 1;
    const int busWidth = bus->width();
    const int progressWidth = progress->width();
    const int logoWidth = logo->width();
    const int y = state->position().y;
    const int stateWidth = std::max(0, widget->width() - (busWidth + progressWidth + logoWidth + 5 * kStateLineGap));
    state->set_rect({kStateLineGap, y, stateWidth, state->height()});
    bus->move(stateWidth + 2 * kStateLineGap, y);
    progress->move(stateWidth + busWidth + 3 * kStateLineGap, y);
    logo->move(stateWidth + busWidth + progressWidth + 4 * kStateLineGap, y);
    widget->hide();
    if (GwCore* frame = MainFrame()) frame->peek_event();
    widget->show();
    return 1;
}

int MainWindow_show(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    State().BaseTitle = frame->title();
    if (GwCore* container = frame->child("MainContainer")) container->start_timer(kSignatureWatchStartMs);
    if (!State().StartTimerArmed) {
        frame->start_timer(kStartTimerMs);
        State().StartTimerArmed = true;
    }
    return 1;
}
