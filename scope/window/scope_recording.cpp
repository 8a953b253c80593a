// Starting, stopping, triggering and reading the recorder from the window,
// and the recording loop: one recording or a series, each read, exported and
// handed to the plot window or an outside plot tool.
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "platform/base/format.h"
#include "scope/plot/plot_window.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"

namespace {

constexpr uint32_t kPollStepMs = 1;
constexpr char kRecordingChooserId[] = "id";
constexpr char kSeriesFileExtension[] = ".dat";

// The loop works on the engine it started with, which stays after the window
// closed until the next show; null once the device or its bus is gone (a
// closed bus closes the window, and the engine's copy would reach a bus that
// no longer exists).
ScopeRecorder* LoopEngine(int serial) {
    ScopeWindowState& state = TheScopeWindowState();
    if (state.EngineSerial != serial || state.Engine == nullptr || state.Base == nullptr) return nullptr;
    ParaBase* active = Main::ActiveBase();
    if (active == nullptr || active->GetBus() != state.Base->GetBus()) return nullptr;
    return state.Engine.get();
}

bool LoopWindowOpen(int serial) { return ScopeWindowOpen() && TheScopeWindowState().EngineSerial == serial; }

enum class WaitEnd { kReached, kStopRequested, kWindowClosed, kEngineError };

// Polls the recorder until `reached`, giving way to the user interface
// between polls.
template <typename Condition>
WaitEnd WaitForRecorder(int serial, Condition reached) {
    for (;;) {
        ScopeRecorder* engine = LoopEngine(serial);
        if (engine == nullptr || !LoopWindowOpen(serial)) return WaitEnd::kWindowClosed;
        if (reached(*engine)) return WaitEnd::kReached;
        if (engine->HasError()) return WaitEnd::kEngineError;
        WaitMilliseconds(kPollStepMs);
        if (!LoopWindowOpen(serial)) return WaitEnd::kWindowClosed;
        if (TheScopeWindowState().StopRequested) return WaitEnd::kStopRequested;
    }
}

void SetSliderAtStart() {
    TheScopeWindowLink().ResetSlider();
    TheScopeWindowLink().SetSlider(0.0f);
}

void ShowLoopButtons(bool running) {
    SetScopeEnabled(kAutoScopeButton, !running);
    SetScopeEnabled(kAutoScopeStopButton, running);
}

// The path without its extension, from the recording-file chooser; false when
// it was cancelled or gave nothing.
bool ChooseSeriesBaseName(GwCore* parent, std::string* baseName) {
    ScopeWindowState& state = TheScopeWindowState();
    GwFileSelector chooser(parent, kRecordingChooserId);
    chooser.set_title(ScopeTitleText("ChooseScopeFile"));
    chooser.set_filter(platform::Format("%s|*|", ScopeTitleText("AllFiles").c_str()));
    chooser.set_directory(state.RecordingFolder);
    chooser.set_mode(GwFILESELECTOR_SAVE);
    if (!chooser.go() || chooser.selection().empty()) return false;
    state.RecordingFolder = chooser.directory();
    GwString drive, dir, name;
    GwSplitpath(chooser.selection().c_str(), &drive, &dir, &name, nullptr);
    *baseName = GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), "").str();
    return true;
}

// The loop's end: the saved trigger mode back in the device, the buttons as
// at rest, and the next start free.
void EndRecordingLoop(int serial) {
    ScopeWindowState& state = TheScopeWindowState();
    if (ScopeRecorder* engine = LoopEngine(serial)) {
        state.RestorePending = false;
        engine->SetTriggerMode(state.SavedTriggerMode);
    }
    if (LoopWindowOpen(serial)) {
        ShowLoopButtons(false);
        SetScopeEnabled(kScopeSetupButton, true);
    }
    state.RecordingBusy = false;
}

// A stop request while waiting: the recorder stopped, the window at rest.
void StopOnRequest(ScopeRecorder& engine) {
    engine.Stop();
    SetScopeText(kStateField, "");
    SetScopeVisible(kSlider, false);
    TheScopeWindowState().StopRequested = false;
}

// One recording after another while wanted: 0 when a recording was cut
// short before its trigger, the window closed or the engine failed.
int RunRecordings(int serial, const std::string& baseName) {
    ScopeWindowState& state = TheScopeWindowState();
    ScopeRecorder* engine = LoopEngine(serial);
    SetScopeText(kFlashTmVal, ScopeNumberText(ScopeRound(engine->GetRecordTime())));
    StoreScopePlotPage();
    state.StopRequested = false;
    state.Repeat = state.SerialMode != kScopeSingleRecording;
    SetScopeVisible(kSlider, true);
    SetSliderAtStart();
    ShowLoopButtons(true);

    for (int n = 0; engine->Start(); ++n) {
        SetScopeEnabled(kUserTriggerButton, true);
        SetScopeText(kStateField, ScopeStateText("WaitForTrig"));
        switch (WaitForRecorder(serial, [](ScopeRecorder& e) { return e.IsTriggered(); })) {
            case WaitEnd::kReached:
                break;
            case WaitEnd::kStopRequested:
                StopOnRequest(*engine);
                return 0;
            default:
                return 0;
        }
        SetScopeEnabled(kUserTriggerButton, false);
        SetScopeText(kStateField, ScopeStateText("DataSet"));
        switch (WaitForRecorder(serial, [](ScopeRecorder& e) { return e.IsStopped(); })) {
            case WaitEnd::kReached:
                break;
            case WaitEnd::kStopRequested:
                StopOnRequest(*engine);
                return 1;
            default:
                return 0;
        }

        SetScopeText(kStateField, ScopeStateText("DataRead"));
        SetScopeVisible(kSlider, true);
        const bool read = engine->ReadAndExport();
        if (!LoopWindowOpen(serial)) return 0;
        SetScopeVisible(kSlider, false);
        engine->Stop();
        SetScopeText(kStateField, "");
        SetSliderAtStart();
        if (read) {
            std::string file;
            if (state.SerialMode == kScopeNumberedRecordings) {
                file = baseName + std::to_string(n) + kSeriesFileExtension;
                engine->ExportTo(file.c_str());
            }
            const GwUD plotFile = file.empty() ? GwUD() : GwUD(file);
            if (n == 0)
                OpenPlotFirst(nullptr, nullptr, plotFile);
            else
                OpenPlotNext(nullptr, nullptr, plotFile);
        }
        RestoreScopeTriggerMode();
        if (!LoopWindowOpen(serial)) return 0;
        if (!state.Repeat || state.StopRequested) {
            state.StopRequested = false;
            return 1;
        }
    }
    return 0;
}

}  // namespace

int CB_StartDeviceScope(GwCore*, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 1;
    SetScopeText(kStateField, ScopeStateText("ScopeActive"));
    return engine->Start() ? 1 : 0;
}

int CB_StopDeviceScope(GwCore*, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 1;
    SetScopeText(kStateField, "");
    return engine->Stop() ? 1 : 0;
}

int CB_ReadDeviceScope(GwCore* widget, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 1;
    StoreScopePlotPage();
    if (engine->IsRunning()) {
        ShowInfoMessage(kScopeRecorderRunningMessage, ScopeMessageParent(widget));
        return 1;
    }
    SetScopeText(kStateField, ScopeStateText("DataRead"));
    SetScopeVisible(kSlider, true);
    engine->ReadAndExport();
    SetScopeVisible(kSlider, false);
    if ((engine = ScopeEngine()) == nullptr) return 1;
    engine->Stop();
    SetScopeText(kStateField, "");
    TheScopeWindowLink().ResetSlider();
    OpenPlotFirst(nullptr, nullptr, GwUD());
    return 1;
}

int CB_UserTrigger(GwCore*, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || !engine->IsRunning() || engine->IsTriggered()) return 1;
    ScopeWindowState& state = TheScopeWindowState();
    SetScopeEnabled(kUserTriggerButton, false);
    engine->Stop();
    state.SavedTriggerMode = engine->GetTriggerMode();
    state.RestorePending = true;
    engine->SetTriggerMode(kScopeAutomaticTriggerIndex);
    engine->Start();
    return 1;
}

int CB_ScopeStartSerialOverwrite(GwCore* widget, GwEvent*, GwUD) {
    ScopeWindowState& state = TheScopeWindowState();
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 0;
    SetScopeEnabled(kScopeSetupButton, false);
    if (state.RecordingBusy) return 1;
    state.RecordingBusy = true;
    const int serial = state.EngineSerial;
    state.SavedTriggerMode = engine->GetTriggerMode();
    std::string baseName;
    if (state.SerialMode == kScopeNumberedRecordings && !ChooseSeriesBaseName(ScopeMessageParent(widget), &baseName)) {
        EndRecordingLoop(serial);
        return 0;
    }
    const int result = LoopWindowOpen(serial) ? RunRecordings(serial, baseName) : 0;
    EndRecordingLoop(serial);
    return result;
}

int CB_ScopeSetSerial(GwCore* widget, GwEvent*, GwUD userData) {
    if (IsSwitchedOff(widget)) return 1;
    TheScopeWindowState().SerialMode = static_cast<int>(userData.integer());
    return 1;
}

int CB_ScopeStopSerial(GwCore*, GwEvent*, GwUD) {
    SetScopeEnabled(kAutoScopeStopButton, false);
    SetScopeEnabled(kAutoScopeButton, true);
    TheScopeWindowState().StopRequested = true;
    return 1;
}
