// The progress bar of a line transfer: the console's slider, moved only when
// the value has gone on by half a percent of the range, so a transfer
// updates it at most 200 times.
#pragma once

#include <cstdint>

class LoaderConsole;

class TransferProgress {
public:
    explicit TransferProgress(LoaderConsole& console) : console_(console) {}

    // Range 0..maximum, value 0.
    void SetRange(uint32_t maximum);
    void SetValue(uint32_t value);
    // The slider to its maximum.
    void Fill();

private:
    LoaderConsole& console_;
    uint32_t maximum_ = 0;
    double step_ = 0.0;
    int64_t lastStep_ = -1;
};
