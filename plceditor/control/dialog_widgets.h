// Widgets that the editor's dialogs put up in code: push buttons, ending the
// dialog's run with a result code or calling back.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;
class GwPushButton;

namespace sindel {

// A button with its text.
GwPushButton* AddButton(GwCore* parent, const char* name, const char* text);
// A button whose click ends the modal run with `result`.
GwPushButton* AddButton(GwCore* parent, const char* name, const char* text, int result);
// A button whose click calls `callback` with `ud`.
GwPushButton* AddButton(GwCore* parent, const char* name, const char* text, GwCallback callback, GwUD ud);

}  // namespace sindel
