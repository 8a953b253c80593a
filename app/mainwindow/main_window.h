// The main window's own callbacks: it keeps the widgets that the rest of the
// program updates, lays out the work area and the state line, and arms the
// signature watch and the one start timer when it is shown.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/core/gw_event.h"

class GwCore;
class GwSlider;

// Interval of the signature watch on "MainContainer", and of the start timer
// that runs the start-up sequence once.
inline constexpr uint32_t kSignatureWatchStartMs = 500;
inline constexpr uint32_t kStartTimerMs = 2500;

// Widgets kept by MainWindow_create; all null until it found every one.
struct MainWindowWidgets {
    GwCore* frame = nullptr;
    GwCore* stateText = nullptr;         // "State1"
    GwCore* activeDeviceMenu = nullptr;  // "MN_ActiveDevice"
    GwCore* windowMenu = nullptr;        // "M_Window"
    GwCore* closeAll = nullptr;          // "M_CloseAll"
    GwCore* loadFromOther = nullptr;     // "M_LoadFromOther"
    GwCore* storeToOther = nullptr;      // "M_Store2Other"
    GwCore* chooseDevice = nullptr;      // "M_ChooseDevice"
    GwCore* killDevice = nullptr;        // "M_KillDevice"
    GwSlider* progress = nullptr;        // "ParaProgressIndicator"
    GwCore* busState = nullptr;          // "BusState"
};

const MainWindowWidgets& MainWidgets();
// The main frame while it exists, else null.
GwCore* MainFrame();
// The kept widget when it still exists, else null.
GwCore* LiveWidget(GwCore* widget);
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
