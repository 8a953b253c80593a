#include "families/run_mode_change.h"

#include <cmath>

#include "app/services/device_error.h"
#include "bus/base/timeout.h"
#include "families/setup_context.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

}  // namespace

RunModeReached AwaitRunMode(DeviceSetupContext& context, int mode, GwCore* errorParent) {
    ParaBase& base = *context.Base;
    for (int attempt = 0; attempt < kRunModeTries; ++attempt) {
        BusyWait(kRunModeSettleMs);
        double reported = 0.0;
        if (context.ReadDouble(kRunModeParameter, &reported) != 0) continue;
        if (std::lround(reported) == mode) return RunModeReached::kYes;
        const int result = base.IsOnline() ? base.WriteValueDouble(kRunModeSelectParameter, mode)
                                           : base.SetValueDouble(kRunModeSelectParameter, mode);
        if (result != 0) {
            ShowDeviceError(kDeviceErrorMessage, &base, errorParent);
            return RunModeReached::kWriteFailed;
        }
    }
    return RunModeReached::kNo;
}
