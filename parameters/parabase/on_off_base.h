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

    // One element of a parameter as a double: read from the device when
    // online, else the stored value. Returns the base's error code.
    int ReadValue(int index, double* out, int element = 0);
    // One element of a parameter from a double: written to the device when
    // online, else stored in the table only. Returns the base's error code.
    int WriteValue(int index, double value, int element = 0);

    // Callers that must keep a calculation or a window off the device clear
    // the flag for a while and set it again.
    using ParaBase::SetOnline;
};
