// A picture showing a bitmap by name. Only names that the definition files
// (or GwRcMgr::add_bitmap) made known can be shown; an unknown name leaves
// the picture empty.
#pragma once

#include "toolkit/core/gw_core.h"

class GwPicture : public GwCore {
public:
    GwPicture(const std::string& name, GwCore* parent) : GwCore(GwPICTURE_CLASS, name, parent) {}

    // False, and the picture empty, for an unknown name.
    bool set_bitmap(const std::string& bitmap_name);
    const std::string& bitmap() const { return bitmap_; }
    static bool is_loadable(const std::string& bitmap_name);
    // Pixel size of the bitmap shown; 0 x 0 when empty.
    GwDimension bitmap_size() const;
    // Gives the widget the size of its bitmap.
    void resize_to_bitmap();

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwPicture() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    std::string bitmap_;
};
