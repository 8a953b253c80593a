// What the docked state and value windows of the active device share: the
// frame of a poll tick, the lookup of their widgets by name (no widget is
// kept between events) and the error lamp with its device error note.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/main/main_object.h"
#include "devicewin/poll_timer.h"

class GwCore;
class GwUD;
struct GwEvent;
class ParaBase;

// A window's poll record: maximum, interval at 9600 baud, minimum (ms).
struct PollRecord {
    uint32_t Maximum = 0;
    uint32_t IntervalAt9600 = 0;
    uint32_t Minimum = 0;
};

inline constexpr PollRecord kStateWindowPoll{100000, 2000, 1000};

// The frame of a window's widget (the docking frame of a docked pane), the
// widget itself when it has none: the parent of its messages.
GwCore* FrameOf(GwCore* widget);

// Whether every name is found below the window. When one is missing, main
// error 7 is shown and the window's frame destroyed.
bool FindWindowWidgets(GwCore* window, std::initializer_list<const char*> names);

// Whether the widget still exists (a modal box runs events).
bool IsLiveWidget(const GwCore* widget);

// The text of the widget of that name below the window; nothing when there
// is none.
void SetChildText(GwCore* window, const char* name, const std::string& text);
void SetChildEnabled(GwCore* window, const char* name, bool enabled);

// A failed device access of a window's tick: main error 5 for the active
// device with the window's frame as parent. False for code 0.
bool ReportWindowError(int code, GwCore* window);

// The first period of a window's timer.
void StartFirstPoll(GwCore* window);

// The show and hide bodies that many polling windows share, bound under
// their own names: start the calling widget's timer at 500 ms (always, or
// only with a device online) and stop it.
int ShowPollingWindow(GwCore* widget, GwEvent* event, GwUD data);
int ShowPollingWindowWhenOnline(GwCore* widget, GwEvent* event, GwUD data);
int HidePollingWindow(GwCore* widget, GwEvent* event, GwUD data);

// One tick of a polling window: nothing when the guard refuses it; else the
// timer is stopped, `work` runs with the application object, and the timer
// is restarted by the record however the work ends.
template <typename Work>
int PollTick(GwCore* widget, bool needsDevice, const PollRecord& poll, Work&& work);
void StopTimer(GwCore* widget);

// The state models whose error note can be refused.
enum class StateModel { kRuvex, kMarlo, kPesco, kWenzo, kZov, kCount };

// How a state window reads and shows the device's error.
struct ErrorLampRule {
    StateModel Model = StateModel::kRuvex;
    int StatusParameter = 403;
    bool StatusIs8Bit = false;
    uint16_t ErrorBits = 0;  // any of them: error or warning
    uint16_t RedBits = 0;    // any of them: a red lamp, else yellow
    uint16_t SourceBit = 0;
    // Whether a set SourceBit means "read 95 from the device" (else it means
    // the fixed code 2).
    bool ReadWhenSourceSet = false;
    // Whether the error text is the first non-empty part between commas
    // (else the text up to the first comma).
    bool FirstNonEmptyPart = false;
};

// Reads the status word; false after a reported read error.
bool ReadStatusWord(const ErrorLampRule& rule, ParaBase& base, GwCore* window, uint16_t* status);
// Sets "state" to the device's state text when the active bus knows a device
// at the active address.
void ShowDeviceStateText(Main& main, GwCore* window);
// Shows the error of the status word in "error" and "eres", offers the
// device error note and resets the error when the user confirms. False after
// a reported read error.
bool ShowErrorLamp(const ErrorLampRule& rule, uint16_t status, ParaBase& base, GwCore* window);
// No error: the note may be offered again, "eres" off, a green lamp, no
// error text.
void ShowNoError(StateModel model, GwCore* window);
// The note may be offered again (the error cleared or the window hid).
void ClearNoteRefused(StateModel model);
bool IsNoteRefused(StateModel model);

// The text up to the first comma; the first part between commas that is
// not empty.
std::string TextBeforeFirstComma(const std::string& text);
std::string FirstNonEmptyCommaPart(const std::string& text);

// Writes 74 := 1 (8-bit) to the active device; its result is not looked at.
void ResetActiveDeviceError();

template <typename Work>
int PollTick(GwCore* widget, bool needsDevice, const PollRecord& poll, Work&& work) {
    Main* main = GetMain();
    if (main == nullptr || widget == nullptr || !main->CheckTimerIntegrity(widget, needsDevice)) return 1;
    PollTimer timer{poll.Maximum, poll.IntervalAt9600, poll.Minimum, widget};
    StopTimer(widget);
    PollTimerRestartAtEnd restart(timer);
    work(*main);
    return 1;
}
