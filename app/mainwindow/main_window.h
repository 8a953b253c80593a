// The main window's own callbacks: it keeps the widgets that the rest of the
// program updates, lays out the work area and the state line, and arms the
// signature watch and the one start timer when it is shown.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwSlider;

// Interval of the signature watch on "MainContainer", and of the start timer
// that runs the start-up sequence once.
inline constexpr uint32_t kSignatureWatchStartMs = 500;
inline constexpr uint32_t kStartTimerMs = 2500;

// Widgets kept by MainWindow_create; all null until it found every one.
struct MainWindowWidgets {
    GwRef<> frame;
    GwRef<> stateText;         // "State1"
    GwRef<> activeDeviceMenu;  // "MN_ActiveDevice"
    GwRef<> windowMenu;        // "M_Window"
    GwRef<> closeAll;          // "M_CloseAll"
    GwRef<> loadFromOther;     // "M_LoadFromOther"
    GwRef<> storeToOther;      // "M_Store2Other"
    GwRef<> chooseDevice;      // "M_ChooseDevice"
    GwRef<> killDevice;        // "M_KillDevice"
    GwRef<GwSlider> progress;  // "ParaProgressIndicator"
    GwRef<> busState;          // "BusState"
};

const MainWindowWidgets& MainWidgets();
// The main frame while it exists, else null.
GwCore* MainFrame();

// A child of the main frame by name, null without one or without the frame.
GwCore* MainChild(const char* name);

// The main frame's title when it was shown; the start-up sequence extends it.
const std::string& GetBaseTitle();
void SetBaseTitle(const std::string& title);
// Title kept for the partial parameter-base editor; empty at start.
const std::string& GetPartialBaseTitle();
void SetPartialBaseTitle(const std::string& title);
// Whether the start timer was armed.
bool IsStartTimerArmed();

int MainWindow_create(GwCore* widget, GwEvent* event, GwUD userData);
int MainWindow_resize(GwCore* widget, GwEvent* event, GwUD userData);
int StateLine_resize(GwCore* widget, GwEvent* event, GwUD userData);
int MainWindow_show(GwCore* widget, GwEvent* event, GwUD userData);
