// The contexts of the families whose firmware carries a PLC: their value
// texts name PLC operands from the firmware texts, which follow the
// firmware's name (parameter 468). The newest such context's base is the one
// the PLC host works through.
#pragma once

#include "families/firmware_texts.h"
#include "families/setup_context.h"
#include "parameters/values/dstring.h"

// The parameter that names the firmware whose texts are loaded.
inline constexpr int kFirmwareNameParameter = 468;

class PlcContext : public DeviceSetupContext {
public:
    // Sets PlcParaBase to the context's base.
    PlcContext(GwCore* window, const ParaBase& base, bool online);
    // Sets PlcParaBase to null, whichever base it points to.
    ~PlcContext() override;

    // The operand letter and number of the PLC operand parameters, then the
    // firmware text of the value.
    void GetValueText(dstring& out, int number, int32_t value) override;
    // Reloads the texts when the firmware name changed or the PLC host asked
    // for it; nothing while parameter 468 was never read from the device.
    void ReloadFirmwareTexts() override;
    virtual void LoadVersionProfile();

    FirmwareTexts FirmwareTextProfile;
    dstring FirmwareName;
};

// The parameter base of the newest Marlo or Pesco context, or null.
extern ParaBase* PlcParaBase;
