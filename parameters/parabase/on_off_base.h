// A parameter base whose online flag is chosen by its maker: the setup
// windows edit a copy of a device's base either on the device (online) or in
// the table only (offline), and the motor database keeps empty offline bases.
#pragma once

#include "parameters/parabase/para_base.h"

class OnOffBase : public ParaBase {
public:
    // An empty base with the given online flag.
    explicit OnOffBase(bool online);
    // A copy of `src` (table, value objects, bus, address and paths) with the
    // given online flag.
    OnOffBase(const ParaBase& src, bool online);
};
