// The user's input to the model: an adapter's signal handler runs the
// model's entry point through Act, which does nothing while the renderer
// itself is applying the model to the Qt widgets (the signals that follow
// are not the user's) or when the model widget is gone.
#pragma once

#include "renderer/screen_renderer.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_rcmgr.h"

namespace screen {

inline bool UserActs() { return Screen::Instance() != nullptr && !Screen::Instance()->Syncing(); }

// Runs `action` on the model widget when it still lives, then lets the
// screen catch up with whatever the model did not announce.
template <typename Fn>
void Act(GwCore* widget, Fn action) {
    if (!UserActs() || !GwRcMgr::is_valid_child(widget)) return;
    action();
    GwAnnounceCreatedWidgets();
}

}  // namespace screen
