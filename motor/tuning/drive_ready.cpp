#include "motor/tuning/drive_ready.h"

#include <cstdint>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "families/setup_context.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr uint32_t kRetryWaitMs = 500;
// Bits of the status word that say the drive is running.
constexpr uint16_t kRunningBits = 0xC000;

}  // namespace

bool WaitDriveReadyForTest(GwCore* window, DeviceSetupContext* context) {
    OnOffBase* base = context->Base.get();
    // A window closed during a wait ends the check as a refusal does.
    const GwRef<> held(window);
    const auto gone = [&] { return window != nullptr && held.get() == nullptr; };
    int busyRounds = 0;
    for (;;) {
        uint16_t state = 0;
        uint16_t status = 0;
        int code = base->ReadValueU16(kDriveStateParameter, &state);
        if (code == 0) code = base->ReadValueU16(kDriveStatusWordParameter, &status);
        if (ReportDeviceAccessError(code, window, base)) return false;
        if (state <= 2) {
            if (!ShowQuestionMessage(kDriveNotReadyQuestion, window)) return false;
            break;
        }
        if (state == 3) break;
        if (state <= 6) {
            if ((status & kRunningBits) == 0) break;
            if (!ShowQuestionMessage(kDriveRunningQuestion, window)) return false;
        } else if (state <= 8) {
            return false;
        } else {
            WaitMilliseconds(kRetryWaitMs);
            if (gone()) return false;
            // A drive that never leaves a busy state does not keep the caller.
            if (++busyRounds >= kBusyStateRounds) {
                ShowErrorMessage(kDriveRunTimeoutMessage, window);
                return false;
            }
            continue;
        }
        WaitMilliseconds(kRetryWaitMs);
        if (gone()) return false;
    }
    WaitMilliseconds(kRetryWaitMs);
    return !gone();
}
