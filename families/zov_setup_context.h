// The setup context of device family 8: no run-mode setup pages, firmware
// texts without operand prefixes.
#pragma once

#include "families/firmware_texts.h"
#include "families/setup_context.h"

class ZovSetupContext : public DeviceSetupContext {
public:
    ZovSetupContext(GwCore* window, const ParaBase& base, bool online);

    void GetValueText(dstring& out, int number, int32_t value) override;
    bool CheckStatusWordBit() override;     // false
    bool CheckStatusWordBitAlt() override;  // 403 bit 0, from the device
    bool CheckModeSelection() override;     // false
    bool CheckModeSelectionAlt() override;  // false
    virtual void LoadVersionProfile();

    FirmwareTexts FirmwareTextProfile;
};
