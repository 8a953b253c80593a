// The modal window that shows the progress of a decode: 100 ms after it
// opens it prepares the work, sets its bar to the number of steps, runs the
// steps one by one moving the bar, and closes itself. The work always runs
// to its end, also when the window's run ends before it started.
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwSlider;

namespace sindel {

class DecodeProgressDialog {
public:
    static constexpr char kWindowName[] = "DecodeProgressDialog";
    static constexpr uint32_t kStartDelayMs = 100;

    // `prepare` returns the number of steps; `step` does one and returns
    // false when there is none left.
    void Run(GwCore* owner, std::function<int()> prepare, std::function<bool()> step);

private:
    static int OnTimer(GwCore*, GwEvent*, GwUD);
    void Work();

    std::function<int()> prepare_;
    std::function<bool()> step_;
    GwRef<> window_;
    GwRef<GwSlider> bar_;
    bool done_ = false;
};

}  // namespace sindel
