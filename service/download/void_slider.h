// A progress sink that shows nothing, for operations that want a slider where
// no window is to appear (the device connection after a firmware download).
#pragma once

#include <cstdint>

#include "app/services/basic_slider.h"

class VoidSlider : public virtual BasicSlider {
public:
    void SetMinimum(unsigned n) override { minimum_ = static_cast<int32_t>(n); }
    void SetMaximum(unsigned n) override { maximum_ = static_cast<int32_t>(n); }
    void SetStep(unsigned step) override { step_ = static_cast<int32_t>(step); }
    void SetValue(unsigned value) override { value_ = static_cast<int32_t>(value); }
    void StepIt() override { value_ = Add(value_, step_); }
    void StepBy(unsigned n) override { value_ = Add(value_, static_cast<int32_t>(n)); }
    int GetValue() override { return value_; }
    int GetMinimum() override { return minimum_; }
    int GetMaximum() override { return maximum_; }
    int GetStep() override { return step_; }

private:
    // 32-bit arithmetic that wraps instead of overflowing.
    static int32_t Add(int32_t a, int32_t b) {
        return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
    }

    int32_t value_ = 0;
    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
    int32_t step_ = 0;
};
