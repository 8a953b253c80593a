// Virtual drives behind a pseudo-terminal: a thread drains the master, feeds
// every byte to the drives and writes their answers back, so the program's
// port code runs over a real terminal on the real clock.
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "platform/testing/pty_pair.h"
#include "sim/virtual_drive.h"

namespace sim {

class PtyDriveLink {
public:
    // The pair and the drives must outlive the link.
    explicit PtyDriveLink(platform::PtyPair& pair) : pair_(pair) {}
    ~PtyDriveLink() { Stop(); }
    PtyDriveLink(const PtyDriveLink&) = delete;
    PtyDriveLink& operator=(const PtyDriveLink&) = delete;

    // Add drives before Start.
    void Add(VirtualDrive* drive) { drives_.push_back(drive); }
    void Start();
    void Stop();
    // Bytes the link has taken from the master so far: what the program
    // wrote that can no longer be lost on its side of the pair.
    size_t BytesTaken() const { return taken_.load(); }

private:
    void Run();

    platform::PtyPair& pair_;
    std::vector<VirtualDrive*> drives_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> taken_{0};
    std::thread thread_;
};

}  // namespace sim
