// A wake-up that a worker thread waits on together with a file descriptor
// (a CAN socket, an adapter's receive event): whichever comes first ends the
// wait, so the worker sleeps until there is something to do instead of
// looking every few milliseconds.
#pragma once

#include <cstdint>

namespace platform {

class DescriptorWait {
public:
    // What ended a wait.
    enum class Woken {
        kTimeout,
        kWakeUp,         // Wake was called (and is consumed)
        kDescriptor,     // the descriptor became readable
        kBadDescriptor,  // the descriptor cannot be waited on (closed, no file)
    };

    DescriptorWait();
    ~DescriptorWait();
    DescriptorWait(const DescriptorWait&) = delete;
    DescriptorWait& operator=(const DescriptorWait&) = delete;

    // Ends the current or the next wait; from any thread.
    void Wake();
    // Waits up to `us` microseconds of real time for Wake or for `descriptor`
    // (ignored when negative) to be readable. A wake-up that came meanwhile
    // wins over the descriptor and is consumed.
    Woken WaitRealUs(uint32_t us, int descriptor = -1);

private:
    int event_ = -1;
};

}  // namespace platform
