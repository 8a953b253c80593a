// A boot drive behind a pseudo-terminal: a thread drains the master, feeds
// every byte to the drive and writes its answers back when they are due, so
// the program's loader code runs over a real terminal on the real clock.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "platform/pty_pair.h"
#include "sim/boot_drive.h"

namespace sim {

class PtyBootLink {
public:
    // The pair and the drive must outlive the link.
    PtyBootLink(platform::PtyPair& pair, BootDrive& drive) : pair_(pair), drive_(drive) {}
    ~PtyBootLink() { Stop(); }
    PtyBootLink(const PtyBootLink&) = delete;
    PtyBootLink& operator=(const PtyBootLink&) = delete;

    void Start();
    void Stop();

private:
    void Run();

    platform::PtyPair& pair_;
    BootDrive& drive_;
    std::vector<BootDrive::Output> pending_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
