// The setup context of device family 4.
#pragma once

#include "families/setup_context.h"

inline constexpr char kRuvexSpecialsPage[] = "4_Specials";

class RuvexSetupContext : public DeviceSetupContext {
public:
    // Takes its setup page table from the firmware version read by the read
    // rule (the 17-entry table when the read fails).
    RuvexSetupContext(GwCore* window, const ParaBase& base, bool online);

    bool CheckStatusWordBit() override;     // 403 bit 4
    bool CheckStatusWordBitAlt() override;  // 403 bit 0, from the device
    bool CheckModeSelection() override;     // 579 and 578 both not 4
    bool CheckModeSelectionAlt() override;  // 579 and 578 both not 7
};
