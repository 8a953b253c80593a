#include "toolkit/core/gw_picture.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

bool GwPicture::is_loadable(const std::string& bitmap_name) {
    GwBitmapSize size;
    return GwRcMgr::bitmap_size(bitmap_name, &size);
}

bool GwPicture::set_bitmap(const std::string& bitmap_name) {
    if (!is_alive()) return false;
    bool known = is_loadable(bitmap_name);
    bitmap_ = known ? bitmap_name : std::string();
    notify(GwProperty::kBitmap);
    record("bitmap", bitmap_);
    return known;
}

GwDimension GwPicture::bitmap_size() const {
    GwBitmapSize size;
    if (bitmap_.empty() || !GwRcMgr::bitmap_size(bitmap_, &size)) return {0, 0};
    return {size.width, size.height};
}

void GwPicture::resize_to_bitmap() { set_dimension(bitmap_size()); }

void GwPicture::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    if (const GwAttribute* a = def.find("bitmap", language); a != nullptr && is_loadable(a->values.front()))
        bitmap_ = a->values.front();
}

void GwPicture::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* p = dynamic_cast<GwPicture*>(copy)) p->bitmap_ = bitmap_;
}
