// The bit buttons of the single-parameter dialog: the bits of the selected
// parameter (or element) in a bit window of the device windows.
#include "app/services/window_handler.h"
#include "bus/base/parameter_entry.h"
#include "devicewin/bit_windows.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "toolkit/core/gw_core.h"

namespace {

// Refreshes the editor's list; then the selected parameter and the editor's
// context, which the dialog frame takes as its user data. False without an
// editor, a selection or a context.
bool PrepareBitWindow(GwCore* widget, ParameterEditorState** editor) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return false;
    s->RefreshVisibleValues();
    if (s->Context == nullptr || s->Selected == nullptr) return false;
    widget->frame()->set_user_data(GwUD(static_cast<void*>(s->Context)));
    *editor = s;
    return true;
}

}  // namespace

int CB_CallBitView(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = nullptr;
    if (PrepareBitWindow(widget, &s)) OpenBitStateWindow(widget, s->Context, s->Selected->number, s->SelectedElement);
    return 1;
}

int CB_CallBitEdit(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = nullptr;
    if (!PrepareBitWindow(widget, &s)) return 1;
    WindowHandler& windows = TheWindowHandler();
    GwCore* host = windows.FindByName("ParaField");
    if (host == nullptr) host = windows.FindByName("ParameterEditor");
    if (host == nullptr) return 1;
    OpenBitEditWindow(host, s->Context, s->Selected->number, s->SelectedElement);
    widget->frame()->hide();
    return 1;
}
