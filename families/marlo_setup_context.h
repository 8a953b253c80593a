// The setup context of device family 3.
#pragma once

#include "families/plc_context.h"

class MarloSetupContext : public PlcContext {
public:
    // Takes its setup page table from the stored firmware version, also when
    // online, and loads the version profile.
    MarloSetupContext(GwCore* window, const ParaBase& base, bool online);

    bool CheckStatusWordBit() override;     // 403 bit 4
    bool CheckStatusWordBitAlt() override;  // 403 bit 0, from the device
    bool CheckModeSelection() override;     // 579 and 578 both not 4
    bool CheckModeSelectionAlt() override;  // false
};
