// The toolkit test driver: tests act as the user through it (find widgets,
// type, click, select, toggle, fire named events, close windows), script the
// answers to message boxes, modal runs and file selectors, move the virtual
// clock so timers fire in order, and read what the user sees. A box, modal
// run or file selector that the test did not script fails the test, unless
// the test set a default answer for that kind. Everything resets between
// tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_recorder.h"

namespace gwtest {

// A widget given directly or by path: "Window/child/grandchild". The first
// name is looked up among all live widgets, each further one below the
// previous (depth first).
class Target {
public:
    Target(GwCore* widget) : widget_(widget) {}
    Target(const char* path) : path_(path != nullptr ? path : "") {}
    Target(const std::string& path) : path_(path) {}
    // The widget; null (and the test failed) when it does not exist.
    GwCore* Resolve() const;
    std::string Describe() const;

private:
    GwCore* widget_ = nullptr;
    std::string path_;
};

// --- finding ---------------------------------------------------------------
// Null when there is none; no failure.
GwCore* Find(const std::string& path);
// Fails the test when there is none.
GwCore* Get(const std::string& path);

// --- acting as the user ----------------------------------------------------
// Types into an edit or combo, byte by byte as keys ('\n' is Return, '\b'
// Backspace). Returns whether every key was taken.
bool Type(const Target& target, const std::string& text);
// One key (GwKEY_F1, GwKEY_ESCAPE, ...) on any widget (GwCore::press_key):
// whether it was taken. A key refused by its binding is no failure.
bool PressKey(const Target& target, int key);
// Selects all and types the text, as a user replacing a field.
bool Replace(const Target& target, const std::string& text);
// Clicks a button, toggle or radio (any other widget: its activate binding).
bool Click(const Target& target);
// Flips a check box or switches a radio on, as a click would.
bool Toggle(const Target& target);
bool PressButton(const Target& target);
bool ReleaseButton(const Target& target);
// Selects a row of a list or combo, an item of a radio group or toggle list.
bool Select(const Target& target, int index);
// Selects the list or combo row of that text.
bool SelectText(const Target& target, const std::string& text);
bool DoubleClick(const Target& target, int row);
bool MoveSlider(const Target& target, double value);
// Fires a binding by event name ("activate", "timer", a control event).
int Fire(const Target& target, const std::string& event, GwEvent event_data = GwEvent());
// A close request as by the window's close button.
bool Close(const Target& target);
// The user resizes a window with the window manager (GwUserResizeWindow).
bool ResizeWindow(const Target& window, GwDimension size);
// The user leaves an edit for another program's window (GwEdit::user_focus_out).
bool LeaveField(const Target& field);
// Opens a menu or popup as the user (GwCore::open_menu).
bool OpenMenu(const Target& menu);
// The user scrolls a scrolled container (or a list) so that `first` is the
// first visible item.
bool Scroll(const Target& target, int first);

// --- scripting the user's answers -------------------------------------------
struct ModalScript {
    std::string window;                           // expected window name; empty: any
    std::function<void(GwCore* window)> actions;  // what the user does in it
    std::optional<int> result;                    // ends the run if the actions did not
};

void AnswerBox(int result);
// Answers the next box with `result` after running `while_open` as the user
// would while the box is up (timers may run in it, it may read the box).
void AnswerBox(int result, std::function<void(const GwBoxRecord& box)> while_open);
// Answers every box of a kind ("error", "question", ... or "" for all) that
// has no queued answer.
void SetDefaultBoxAnswer(int result, const std::string& kind = "");
void ScriptModal(ModalScript script);
void ScriptModal(const std::string& window, std::function<void(GwCore* window)> actions,
                 std::optional<int> result = std::nullopt);
// Ends the next modal run (of that window, when named) with a result.
void AnswerModal(int result, const std::string& window = "");
void SetDefaultModalResult(int result);
void AnswerFile(const std::string& path);
void CancelFile();
// Answers unscripted selectors with a path, or cancels them (nullopt).
void SetDefaultFileAnswer(std::optional<std::string> path);
// Scripted answers not used so far.
int UnusedAnswers();

// --- time ---------------------------------------------------------------------
// Moves the virtual clock forward, stopping at each timer's due time so
// timers fire in order and as often as their periods say. A user event that
// posts itself again at one instant without end fails the test with the
// widget's name instead of spinning.
void Advance(uint32_t ms);
// Runs `action` as the user when the event pump runs at `ms_from_now` on the
// virtual clock or later: from Advance, or from a loop of the code under
// test that pumps events (waits, sleeps that pump, GwProcessPendingEvents).
void At(uint32_t ms_from_now, std::function<void()> action);

// --- observing ------------------------------------------------------------------
// The recorder (and the print log) are attached in every test; a test that
// shows how the model behaves without them detaches them here.
void SetRecording(bool on);
// Adds an observer that SetRecording attaches and detaches with the recorder.
void AddRecordingObserver(GwObserver* observer);
// Who answers print dialogs in tests (set by gw_test_driver_kinds).
void SetPrintDialogScript(std::function<GwPrintDialogAnswer(const GwPrintDialogRequest&)> script);

// --- reading what the user sees ---------------------------------------------
std::string Text(const Target& target);
bool IsEnabled(const Target& target);
bool IsVisible(const Target& target);
const std::vector<GwBoxRecord>& Boxes();
std::vector<GwEffect> Effects(const std::string& what);

// --- failures -------------------------------------------------------------------
// Where driver failures go; by default a non-fatal test failure.
void SetFailureReporter(std::function<void(const std::string&)> reporter);
void Fail(const std::string& message);

// Helpers of the driver's actions: the target as a widget of class T (null,
// and the test failed, when it is not one), and a refused action (fails the
// test and returns false).
template <typename T>
T* As(const Target& target, const char* what) {
    GwCore* w = target.Resolve();
    if (w == nullptr) return nullptr;
    auto* typed = dynamic_cast<T*>(w);
    if (typed == nullptr) Fail(target.Describe() + " is not " + what);
    return typed;
}
bool Refused(const Target& target, const std::string& action);

}  // namespace gwtest
