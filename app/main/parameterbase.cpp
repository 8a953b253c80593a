#include "app/main/parameterbase.h"

#include "app/main/main_object.h"
#include "app/services/services_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"

namespace {

constexpr int kProgressEvery = 4;
constexpr double kProgressMaximum = 999;
// Indexes from here on show as 0: the operation is about to end.
constexpr int kProgressEndIndex = 996;

void ProcessPendingEventsOnce() {
    GwCore* main = GetMainWindow();
    if (main != nullptr && GwRcMgr::is_valid_child(main)) main->peek_event();
}

}  // namespace

void parameterbase::ReportProgress(int index) {
    const auto shown = static_cast<uint16_t>(index);
    if (shown % kProgressEvery != 0) return;
    Main* main = GetMain();
    GwSlider* indicator = main != nullptr ? main->GetProgressIndicator() : nullptr;
    if (indicator != nullptr) {
        indicator->set_start(0);
        indicator->set_end(kProgressMaximum);
        indicator->set_value(shown < kProgressEndIndex ? shown : 0);
    }
    ProcessPendingEventsOnce();
}

bool parameterbase::ContinueProgress(float percent) {
    ProcessPendingEventsOnce();
    if (percent < 0) return true;
    if (CancelRequested == 0) return true;
    CancelRequested = 0;
    return false;
}
