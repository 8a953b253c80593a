// The oscilloscope window "DigitalScope": the drive's recorder set up (four
// channels, trigger, time base), started, stopped, triggered by hand, read
// and handed to the plot window or an outside plot tool, recordings repeated
// automatically, recorder setups saved and loaded, and the live values of the
// channel variables. All device work goes through one ScopeRecorder on a
// copy of the active device's parameter base.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "scope/recorder/scope_base.h"
#include "scope/recorder/scope_recorder.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

inline constexpr char kScopeWindowName[] = "DigitalScope";
inline constexpr char kScopeChooserWindowName[] = "ChooseScopeEntry";
inline constexpr char kScopeVariableListName[] = "ScopeVariableList";

// The window's children, in the order CB_CreateScope looks them up.
enum ScopeWidget {
    kTrigCh0,
    kTrigCh1,
    kTrigCh2,
    kTrigCh3,
    kTrigLevel,
    kPreTrigVal,
    kChActiv0,
    kChActiv1,
    kChActiv2,
    kChActiv3,
    kChVal0,
    kChVal1,
    kChVal2,
    kChVal3,
    kChAct0,
    kChAct1,
    kChAct2,
    kChAct3,
    kChActTimer,
    kTmBaseVal,
    kFlashTmVal,
    kFlashTmFix,
    kTmBaseFix,
    kTrigModeRis,
    kTrigModeFall,
    kTrigModeBoth,
    kTrigModeAuto,
    kScopeStartButton,
    kScopeStopButton,
    kScopeReadButton,
    kStateField,
    kSlider,
    kUserTriggerButton,
    kScopeSetupButton,
    kAutoScopeButton,
    kAutoScopeStopButton,
    kSpecialPage,
    kScopeWidgetCount
};
extern const char* const kScopeWidgetNames[kScopeWidgetCount];

// What a recording start does: one recording, repeated recordings, or
// repeated recordings each into its own numbered files.
inline constexpr int kScopeSingleRecording = 0;
inline constexpr int kScopeRepeatedRecordings = 1;
inline constexpr int kScopeNumberedRecordings = 2;

// The window-wide state; there is one oscilloscope window at a time.
struct ScopeWindowState {
    // The copy of the active base and the engine on it; they stay after the
    // window closed until the next show.
    std::unique_ptr<ScopeBase> Base;
    std::unique_ptr<ScopeRecorder> Engine;
    // Counts the engines made, so the chooser knows whether it is current.
    int EngineSerial = 0;
    GwRef<> Window;
    std::array<GwRef<>, kScopeWidgetCount> Widgets;
    // Set by CB_ScopeDestroy; nothing touches a widget of a closed window.
    bool Closed = true;
    int SerialMode = kScopeSingleRecording;
    bool StopRequested = false;
    bool Repeat = false;
    bool RecordingBusy = false;
    int SavedTriggerMode = 0;
    bool RestorePending = false;
    // The variable chooser: the last choice, its window and what it was made
    // for.
    std::string ChosenName;
    std::string ChosenText;
    GwRef<> Chooser;
    int ChooserUserLevel = -1;
    int ChooserEngineSerial = -1;
    // Where the recording-file and setup-file choosers start.
    std::string RecordingFolder;
    std::string SetupFolder;
    // The channel CB_ActUpdate shows next.
    int ActualChannel = 0;
    // Whether the start, stop and read buttons show a running recorder (-1:
    // not set yet).
    int ButtonsShowRunning = -1;
};
ScopeWindowState& TheScopeWindowState();

// What the window lends its engine's parameter base.
ScopeWindowLink& TheScopeWindowLink();

int CB_CreateScope(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowScope(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeDestroy(GwCore* widget, GwEvent* event, GwUD userData);

// Timers: the channel display, one live value per tick, and the start, stop
// and read buttons of the page "Special".
int CB_Scope_UpdateAct(GwCore* widget, GwEvent* event, GwUD userData);
int CB_Scope_StartActValTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ActUpdate(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowSpecialPage(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TimerSpecialPage(GwCore* widget, GwEvent* event, GwUD userData);

// Trigger, times and channels.
int CB_Scope_UpdateTrigger(GwCore* widget, GwEvent* event, GwUD userData);
int CB_Scope_UpdateTime(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TrigChan(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TrigLevel(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetTrigMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_PreTrigVal(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TmBaseVal(GwCore* widget, GwEvent* event, GwUD userData);
int CB_FlashTmVal(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetFlashTmEditable(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ChActiv(GwCore* widget, GwEvent* event, GwUD userData);

// The variable chooser "ChooseScopeEntry".
int CB_ChVal(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CreateScopeVariableList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowScopeVariableList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeListDefault(GwCore* widget, GwEvent* event, GwUD userData);

// The recorder and the recording loop.
int CB_StartDeviceScope(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StopDeviceScope(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ReadDeviceScope(GwCore* widget, GwEvent* event, GwUD userData);
int CB_UserTrigger(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeStartSerialOverwrite(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeSetSerial(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeStopSerial(GwCore* widget, GwEvent* event, GwUD userData);

// Recorder setup files (".scs").
int CB_ScopeSetupWrite(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScopeSetupRead(GwCore* widget, GwEvent* event, GwUD userData);

// Every callback of the oscilloscope window and its chooser under its name,
// ended by the null entry; the program joins it into its general table.
const GwFuncDesc* ScopeWindowCallbacks();
