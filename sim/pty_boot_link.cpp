// The boot drive's thread of a pseudo-terminal pair.
#include "sim/pty_boot_link.h"

#include <poll.h>

#include <algorithm>
#include <string>

#include "platform/clock.h"

namespace sim {

namespace {

// How long the thread waits for bytes before it looks at its due answers
// and its stop flag.
constexpr int kPollStepMs = 1;

}  // namespace

void PtyBootLink::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void PtyBootLink::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PtyBootLink::Run() {
    while (!stop_) {
        struct pollfd p {pair_.MasterFd(), POLLIN, 0};
        if (p.fd < 0) return;
        ::poll(&p, 1, kPollStepMs);
        // A pseudo-terminal has no rate or framing, so nothing arrives garbled.
        for (char c : pair_.DrainMaster()) {
            const uint64_t now = platform::TheClock().NowUs();
            for (BootDrive::Output& o : drive_.Receive(static_cast<uint8_t>(c), false, now)) {
                pending_.push_back(std::move(o));
            }
        }
        const uint64_t now = platform::TheClock().NowUs();
        auto due = std::stable_partition(pending_.begin(), pending_.end(),
                                         [now](const BootDrive::Output& o) { return o.at_us > now; });
        for (auto it = due; it != pending_.end(); ++it) pair_.WriteMaster(std::string(it->bytes.begin(), it->bytes.end()));
        pending_.erase(due, pending_.end());
    }
}

}  // namespace sim
