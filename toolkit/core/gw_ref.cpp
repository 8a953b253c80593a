#include "toolkit/core/gw_ref.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

uint64_t GwSerialOf(const GwCore* widget) { return GwRcMgr::is_valid_child(widget) ? widget->serial() : 0; }

bool GwIsCurrent(const GwCore* widget, uint64_t serial) {
    return serial != 0 && GwRcMgr::is_valid_child(widget) && widget->serial() == serial;
}
