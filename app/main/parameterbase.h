// The parameter bases the program builds itself: their progress moves the
// main window's progress indicator and keeps the window alive while a
// whole-table operation runs.
#pragma once

#include "parameters/parabase/para_base.h"

class parameterbase : public ParaBase {
public:
    parameterbase() = default;
    parameterbase(DataBus* bus, int address) : ParaBase(bus, address) {}

    // Every fourth index sets the indicator (range 0 to 999) to the index,
    // or to 0 from 996 on; then pending events are processed once.
    void ReportProgress(int index) override;
    // Processes pending events once. For a percent of 0 or more, false once
    // after CancelRequested was set (and clears it); else true.
    bool ContinueProgress(float percent) override;
};
