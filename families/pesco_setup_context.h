// The setup context of device families 5, 6 and 7.
#pragma once

#include "families/plc_context.h"

class PescoSetupContext : public PlcContext {
public:
    // Takes its setup page table from the firmware version read by the read
    // rule (the "other versions" table when the read fails) and loads the
    // version profile.
    PescoSetupContext(GwCore* window, const ParaBase& base, bool online);

    bool CheckStatusWordBit() override;     // 410 bit 14
    bool CheckStatusWordBitAlt() override;  // 410 bit 3, from the device
    bool CheckModeSelection() override;     // 579 not 1
    bool CheckModeSelectionAlt() override;  // false

    // Entry n: the hand-mode window of run mode n, 0 the generic one.
    const int32_t* HandModeTable = nullptr;
    int32_t HandModeTableLength = 0;
};
