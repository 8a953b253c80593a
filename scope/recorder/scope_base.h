// The oscilloscope window's parameter base: a device's parameter base whose
// buffer-read progress goes to the window's slider, and which stops the read
// when the window asks it to or is gone.
#pragma once

#include "parameters/parabase/para_base.h"

// What the window lends its parameter base.
class ScopeWindowLink {
public:
    virtual ~ScopeWindowLink() = default;
    // Whether the window's engine still exists.
    virtual bool HasEngine() = 0;
    // Whether the user asked the window to stop.
    virtual bool IsStopRequested() = 0;
    virtual void SetSlider(float percent) = 0;
    virtual void ResetSlider() = 0;
};

class ScopeBase : public ParaBase {
public:
    // `link` (not owned) may be null: the read then stops at once.
    ScopeBase(DataBus* bus, int address, ScopeWindowLink* link);

    void SetWindowLink(ScopeWindowLink* link) { link_ = link; }

    // A negative percent resets the slider. Else the slider moves and pending
    // events run; false (and the cancel request cleared) when the user
    // cancelled, the window asks to stop or its engine is gone.
    bool ContinueProgress(float percent) override;

private:
    ScopeWindowLink* link_;
};
