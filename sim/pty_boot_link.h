// A boot drive behind a pseudo-terminal: a thread drains the master, feeds
// every byte to the drive and writes its answers back when they are due, so
// the program's loader code runs over a real terminal on the real clock.
//
// A pseudo-terminal reports no output as queued, and opening or purging the
// slave drops what the master has not read yet; a UART instead holds its
// output until it is on the wire and its close waits for that. The link's
// opener gives the program the slave with the UART's behaviour: bytes
// written count as queued until the link has read them.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/serial_port.h"
#include "platform/testing/pty_pair.h"
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

    // Opens the slave for `port_name` ("COM7", without case) and refuses
    // every other name.
    platform::SerialPortOpener Opener(const std::string& port_name);

    struct Counters {
        std::atomic<uint64_t> written{0};
        std::atomic<uint64_t> read{0};
    };

private:
    void Run();

    platform::PtyPair& pair_;
    BootDrive& drive_;
    std::vector<BootDrive::Output> pending_;
    std::shared_ptr<Counters> counters_ = std::make_shared<Counters>();
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace sim
