// Progress of the oscilloscope's buffer read in its window.
#include "scope/recorder/scope_base.h"

#include "platform/system/event_pump.h"

ScopeBase::ScopeBase(DataBus* bus, int address, ScopeWindowLink* link) : ParaBase(bus, address), link_(link) {}

ScopeBase::ScopeBase(const ParaBase& device, ScopeWindowLink* link) : ParaBase(device), link_(link) {}

bool ScopeBase::ContinueProgress(float percent) {
    if (link_ == nullptr || !link_->HasEngine()) return false;
    if (percent < 0) {
        link_->ResetSlider();
        return true;
    }
    link_->SetSlider(percent);
    if (platform::PumpHook* pump = platform::GetPumpHook()) pump->ProcessPending();
    if (CancelRequested != 0 || link_->IsStopRequested() || !link_->HasEngine()) {
        CancelRequested = 0;
        return false;
    }
    return true;
}
