#include "families/zov_setup_context.h"

#include <string>

#include "parameters/values/dstring.h"

ZovSetupContext::ZovSetupContext(GwCore* window, const ParaBase& base, bool online)
    : DeviceSetupContext(window, base, online) {
    RunModeParameter = 0;
    ApplicationListName = nullptr;
    texts_ = &FirmwareTextProfile;
    LoadVersionProfile();
}

void ZovSetupContext::GetValueText(dstring& out, int number, int32_t value) {
    out.Clear();
    FirmwareTextProfile.ValueText(*this, out, number, value);
}

bool ZovSetupContext::CheckStatusWordBit() { return false; }

bool ZovSetupContext::CheckStatusWordBitAlt() { return DeviceStatusBit(kDeviceStateWordParameter, 0); }

bool ZovSetupContext::CheckModeSelection() { return false; }

bool ZovSetupContext::CheckModeSelectionAlt() { return false; }

void ZovSetupContext::LoadVersionProfile() { FirmwareTextProfile.LoadVersionProfile(*this); }
