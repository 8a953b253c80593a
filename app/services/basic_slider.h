// The progress interface that long operations drive without knowing whether
// (or how) a window shows it.
#pragma once

class BasicSlider {
public:
    virtual void SetMinimum(unsigned n) = 0;
    virtual void SetMaximum(unsigned n) = 0;
    virtual void SetStep(unsigned step) = 0;
    virtual void SetValue(unsigned value) = 0;
    // Moves the value on by the step width.
    virtual void StepIt() = 0;
    virtual void StepBy(unsigned n) = 0;
    virtual int GetValue() = 0;
    virtual int GetMinimum() = 0;
    virtual int GetMaximum() = 0;
    virtual int GetStep() = 0;

protected:
    ~BasicSlider() = default;
};
