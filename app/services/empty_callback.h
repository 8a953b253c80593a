// The one callback body that does nothing, for every name that a window
// binds without needing work done (a window's create, for example).
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Returns 1.
int EmptyCallback(GwCore* widget, GwEvent* event, GwUD data);
