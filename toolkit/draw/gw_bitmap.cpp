#include "toolkit/draw/gw_bitmap.h"

#include "toolkit/core/gw_rcmgr.h"

bool GwBitmap::is_loaded() const { return GwRcMgr::bitmap_size(name_, nullptr); }

int GwBitmap::width() const {
    GwBitmapSize size;
    return GwRcMgr::bitmap_size(name_, &size) ? size.width : 0;
}

int GwBitmap::height() const {
    GwBitmapSize size;
    return GwRcMgr::bitmap_size(name_, &size) ? size.height : 0;
}
