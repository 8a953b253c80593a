#include "devicewin/error_analysis.h"

#include <cstdint>

#include "app/notes/device_error_note.h"
#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kNoErrorInfo = 85;
constexpr int kErrorNoteFallback = 38;
constexpr int kErrorReset = 74;

}  // namespace

int CB_CallErrorAnalyse(GwCore* button, GwEvent*, GwUD userData) {
    const int n = LeadingNumber(button->name());
    DeviceSetupContext* context = DeviceContextOf(button);
    if (userData.string().empty() || context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    if (n == 0 || !base->IsPresent(n) || base->GetEntry(n)->type != kTypeErrStruc) return 1;
    if (base->IsOnline()) {
        const ParameterEntry* entry = base->GetEntry(n);
        base->ReadBusParameter(n, 0, (entry->flags & kFlagArray) != 0 ? base->GetValueCount(n) : 1);
    }
    int32_t code = 0;
    base->GetRawValue(n, &code);
    if (code == 0) {
        ShowInfoMessage(kNoErrorInfo, button->frame());
        return 1;
    }
    const bool infoOnly = userData.string() == "info";
    const auto errorCode = static_cast<uint16_t>(code);
    if (!base->IsOnline()) {
        ShowDeviceErrorNote(kErrorNoteFallback, errorCode, button->frame(), infoOnly, base);
        return 1;
    }
    const bool resettable = context->CheckStatusWordBitAlt();
    const bool confirmed = ShowDeviceErrorNote(kErrorNoteFallback, errorCode, button->frame(), infoOnly, nullptr);
    if (!infoOnly && confirmed && resettable) base->WriteValueDouble(kErrorReset, 1.0);
    return 1;
}
