#include "platform/system/descriptor_wait.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

constexpr uint32_t kUsPerSecond = 1000000;
constexpr long kNsPerUs = 1000;

// Takes the count the wake-ups left; true when there was one.
bool Consume(int event) {
    eventfd_t count = 0;
    return event >= 0 && eventfd_read(event, &count) == 0 && count != 0;
}

}  // namespace

DescriptorWait::DescriptorWait() : event_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

DescriptorWait::~DescriptorWait() {
    if (event_ >= 0) close(event_);
}

void DescriptorWait::Wake() {
    if (event_ >= 0) eventfd_write(event_, 1);
}

DescriptorWait::Woken DescriptorWait::WaitRealUs(uint32_t us, int descriptor) {
    pollfd waits[2] = {{event_, POLLIN, 0}, {descriptor, POLLIN, 0}};
    const nfds_t count = descriptor >= 0 ? 2 : 1;
    const timespec limit{static_cast<time_t>(us / kUsPerSecond), static_cast<long>(us % kUsPerSecond) * kNsPerUs};
    int ready = 0;
    do {
        ready = ppoll(waits, count, &limit, nullptr);
    } while (ready < 0 && errno == EINTR);
    if (Consume(event_)) return Woken::kWakeUp;
    if (ready <= 0 || count < 2) return Woken::kTimeout;
    if ((waits[1].revents & POLLNVAL) != 0) return Woken::kBadDescriptor;
    return waits[1].revents != 0 ? Woken::kDescriptor : Woken::kTimeout;
}

}  // namespace platform
