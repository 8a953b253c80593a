// Widgets that follow the parameters the connected device really has and the
// user's rights: name markers ("_P_DISABLE_<n>", "_P_HIDE_<n>"), bound
// parameters that are absent or may not be written, and widgets usable only
// online (by user level, or in manual mode on the serial bus).
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Walks the widgets below the calling one with CheckParaIdChild. Returns 1.
int CB_CheckParaID(GwCore* widget, GwEvent* event, GwUD userData);
// The rules for one child of the walk's frame (the walk's user data).
int CheckParaIdChild(GwCore* child, GwUD walkData);
int CB_DisableIfOffline(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DisableIfOfflineAndCheckGlobalManualMode(GwCore* widget, GwEvent* event, GwUD userData);
