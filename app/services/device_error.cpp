// A failed device access: the error box, then the offer to uncouple.
#include "app/services/device_error.h"

#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"

bool ShowDeviceError(int number, ParaBase* base, GwCore* parent) {
    if (number == 0) return false;
    // While another error box is open this one is not shown; no one is asked
    // to uncouple for an error they never saw.
    if (ErrorBoxFlag) return true;
    if (ShowErrorMessageFor(number, base, parent)) return true;
    ServicesHooks* hooks = GetServicesHooks();
    if (hooks == nullptr || base == nullptr || !hooks->ParaBaseHasBus(base)) return true;
    if (!ShowQuestionMessage(kUncoupleQuestionMessage, parent)) return true;
    // With the write lock held the user is asked whether to uncouple at once;
    // otherwise the next device-bound timer or signature check does it.
    if (hooks->IsParaWriteLockHeld() && ShowWarningMessage(kUncoupleNowWarningMessage, parent)) {
        hooks->UncoupleAllDevices();
    } else {
        UncouplingPending = true;
    }
    DevicesUncoupled = true;
    return false;
}
