// A bare context around a temporary parameter base (the motor database's
// property windows). Its state checks are not meant to be asked.
#pragma once

#include "families/setup_context.h"

// The error shown when a state check is asked of it.
inline constexpr int kTmpContextCheckMessage = 7;

class TmpBaseContext : public DeviceSetupContext {
public:
    using DeviceSetupContext::DeviceSetupContext;

    // Each shows error message 7 and answers false.
    bool CheckStatusWordBit() override;
    bool CheckStatusWordBitAlt() override;
    bool CheckModeSelection() override;
    bool CheckModeSelectionAlt() override;

private:
    bool Refuse();
};
