// A label: a text the user reads and cannot change.
#pragma once

#include "toolkit/core/gw_core.h"

class GwLabel : public GwCore {
public:
    GwLabel(const std::string& name, GwCore* parent) : GwCore(GwLABEL_CLASS, name, parent) {}

protected:
    ~GwLabel() override = default;
};
