#include "families/drive_watch.h"

#include <cstdint>

#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "parameters/parabase/on_off_base.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr uint32_t kRoundMs = 1000;

}  // namespace

bool WatchDriveRun(int rounds, int activityNumber, GwCore* frame, const DriveLook& look) {
    const GwRef<> window(frame);
    std::optional<ActivMessage> activity(std::in_place, activityNumber, frame);
    for (int round = 0; round < rounds; ++round) {
        WaitMilliseconds(kRoundMs);
        if (frame != nullptr && window.get() == nullptr) return false;
        if (look(activity)) return true;
    }
    return false;
}

bool ReadDuringRun(OnOffBase* base, int number, double* out, std::optional<ActivMessage>& activity, GwCore* frame) {
    if (base->ReadValue(number, out) == 0) return true;
    activity.reset();
    ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
    return false;
}
