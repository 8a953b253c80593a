// The drive thread of a pseudo-terminal pair.
#include "sim/pty_drive_link.h"

#include <poll.h>

#include <string>

#include "platform/system/clock.h"

namespace sim {

namespace {

// How long the thread waits for bytes before it looks at its stop flag.
constexpr int kPollStepMs = 5;

}  // namespace

void PtyDriveLink::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void PtyDriveLink::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void PtyDriveLink::Run() {
    while (!stop_) {
        struct pollfd p {
            pair_.MasterFd(), POLLIN, 0
        };
        if (p.fd < 0) return;
        ::poll(&p, 1, kPollStepMs);
        // Draining even with no drive listening keeps the port's output
        // queue from filling up.
        const std::string bytes = pair_.DrainMaster();
        taken_ += bytes.size();
        for (char c : bytes) {
            const uint64_t now = platform::TheClock().NowUs();
            for (VirtualDrive* drive : drives_) {
                std::vector<uint8_t> reply = drive->Receive(static_cast<uint8_t>(c), now);
                if (!reply.empty()) pair_.WriteMaster(std::string(reply.begin(), reply.end()));
            }
        }
    }
}

}  // namespace sim
