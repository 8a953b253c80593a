// The oscilloscope window's parameter base: a device's parameter base whose
// buffer-read progress goes to the window's slider, and which stops the read
// when the window asks it to or is gone.
#pragma once

#include "parameters/parabase/para_base.h"

// What the window lends its parameter base.
class ScopeWindowLink {
public:
    virtual ~ScopeWindowLink() = default;
    // Whether the window holds an engine and is not closed.
    virtual bool HasEngine() = 0;
    // Whether the user asked the window to stop.
    virtual bool IsStopRequested() = 0;
    // Move the window's slider; nothing once the window is closed.
    virtual void SetSlider(float percent) = 0;
    virtual void ResetSlider() = 0;
};

class ScopeBase : public ParaBase {
public:
    // `link` (not owned) may be null: the read then stops at once.
    ScopeBase(DataBus* bus, int address, ScopeWindowLink* link);
    // A copy of a device's parameter base: its table, value objects, bus,
    // address and paths; of its recorder state only the scratch paths (the
    // variable list and the sample buffer are the copy's own).
    ScopeBase(const ParaBase& device, ScopeWindowLink* link);

    void SetWindowLink(ScopeWindowLink* link) { link_ = link; }

    // A negative percent resets the slider. Else the slider moves and pending
    // events run; false (and the cancel request cleared) when the user
    // cancelled, the window asks to stop or its engine is gone.
    bool ContinueProgress(float percent) override;

private:
    ScopeWindowLink* link_;
};
