#include "toolkit/core/gw_cursor.h"

#include "toolkit/core/gw_core.h"

GwWaitObject::GwWaitObject() : saved_(GwCore::global_cursor()) { GwCore::set_global_cursor(GwCURSOR_WAIT); }

GwWaitObject::~GwWaitObject() { GwCore::set_global_cursor(saved_); }
