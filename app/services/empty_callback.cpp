#include "app/services/empty_callback.h"

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ud.h"

int EmptyCallback(GwCore*, GwEvent*, GwUD) { return 1; }
