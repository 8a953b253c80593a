// GwEvent and the callback form: what a callback bound by name receives.
// A callback is int fn(GwCore* widget, GwEvent* event, GwUD user_data); the
// program also calls callbacks itself with a null event.
#pragma once

#include <functional>
#include <string>

#include "toolkit/core/gw_ud.h"

class GwCore;
struct GwEvent;

using GwCallback = int (*)(GwCore*, GwEvent*, GwUD);
// A callback bound in code (dialogs built by the program) may carry its own
// state instead of user data.
using GwCallbackFunction = std::function<int(GwCore*, GwEvent*)>;

// The kinds of binding a widget can have; each is one "on <name>" line in a
// definition file. Events of other names (control events) are bound by name.
enum GwCallbackType {
    GwCB_NONE = 0,
    GwCB_CREATE,  // once, at the widget's first show, never inside load
    GwCB_SHOW,    // every show, also hide followed by show
    GwCB_HIDE,
    GwCB_DESTROY,
    GwCB_RESIZE,  // every geometry set, also to an equal value
    GwCB_TIMER,
    GwCB_CLOSE,     // close request; a callback returning 0 refuses the close
    GwCB_ACTIVATE,  // button click, Return in an edit, double click in a list
    GwCB_DEFAULT,   // default action (a spreadsheet's current cell)
    GwCB_CHANGE,    // value changed by input: toggle (value 1/0), edit, slider
    GwCB_KEY,       // a key typed into the widget; 0 refuses the key
    GwCB_MOUSE,     // mouse button (button bits, click count, state bits)
    GwCB_SELECT,    // selection changed in a list or combo
    GwCB_USER,      // post_user_event
    GwCB_HELP,
    GwCB_FOCUS,        // focus gained (value 1) or lost (value 0)
    GwCB_FILL,         // row fill of a toggle-row list (row widget, row index)
    GwCB_BUTTON,       // button pressed (GwBUTTON_DOWN) or released (GwBUTTON_UP)
    GwCB_SPREADSHEET,  // spreadsheet cell events; the reason says which, row and column the cell
    GwCB_EXPOSE,       // a drawing widget is to draw a fresh picture into its device context
    GwCB_SCROLL,       // the user moved a scrolled container's first visible item (value)
    GwCB_CONFIRM,      // an edit's input confirmed: Return, or leaving a field typed into
    GwCB_COUNT
};

// Name of a binding type as written after "on" in definition files; null for
// GwCB_NONE and out-of-range values.
const char* GwCallbackTypeName(GwCallbackType type);
// The binding type of a name, GwCB_NONE when it names no built-in event.
GwCallbackType GwCallbackTypeFromName(const std::string& name);

struct GwEvent {
    GwCallbackType type = GwCB_NONE;
    // Event code: GwBUTTON_DOWN / GwBUTTON_UP for buttons, sub-reasons of
    // later widget kinds (spreadsheet activate, confirm, cancel, focus out).
    int reason = 0;
    GwCore* widget = nullptr;
    int key = 0;          // key code of a key event
    int button = 0;       // mouse button bits (bit 0 = first button)
    int click_count = 0;  // 2 for a double click
    int state = 0;        // mouse state bits (GwMOUSE_BUTTON1, GwMOUSE_DOUBLE)
    int x = 0;
    int y = 0;
    int row = -1;  // list row, row-fill index, cell row
    int column = -1;
    int value = 0;        // toggle value (1/0), focus gained (1/0)
    double dvalue = 0.0;  // slider value
    int user1 = 0;        // the two arguments of post_user_event
    int user2 = 0;
    std::string name;      // name of a named (control) event
    void* data = nullptr;  // arguments of control events
};
