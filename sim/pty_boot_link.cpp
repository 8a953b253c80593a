// The boot drive's thread of a pseudo-terminal pair.
#include "sim/pty_boot_link.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "platform/system/serial_port_posix.h"

namespace sim {

namespace {

// The slave with the output queue of a UART (see the header).
class QueuedPtyPort : public platform::SerialPort {
public:
    QueuedPtyPort(std::unique_ptr<platform::SerialPort> slave, std::shared_ptr<PtyBootLink::Counters> counters)
        : slave_(std::move(slave)), counters_(std::move(counters)) {}

    bool Configure(const platform::SerialSettings& settings) override { return slave_->Configure(settings); }
    platform::SerialSettings Settings() const override { return slave_->Settings(); }
    void PurgeInput() override { slave_->PurgeInput(); }
    void PurgeOutput() override {
        slave_->PurgeOutput();
        counters_->written = counters_->read.load();
    }
    int BytesWaiting() override { return slave_->BytesWaiting(); }
    int BytesPending() override {
        const int pending = slave_->BytesPending();
        if (pending < 0) return pending;
        const uint64_t unread = counters_->written - std::min(counters_->written.load(), counters_->read.load());
        return std::max(pending, static_cast<int>(unread));
    }
    int Read(uint8_t* buffer, int count) override { return slave_->Read(buffer, count); }
    int Write(const uint8_t* bytes, int count) override {
        const int written = slave_->Write(bytes, count);
        if (written > 0) counters_->written += static_cast<uint64_t>(written);
        return written;
    }
    std::string LastErrorText() const override { return slave_->LastErrorText(); }

private:
    std::unique_ptr<platform::SerialPort> slave_;
    std::shared_ptr<PtyBootLink::Counters> counters_;
};

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

platform::SerialPortOpener PtyBootLink::Opener(const std::string& port_name) {
    const std::string slave = pair_.SlavePath();
    std::shared_ptr<Counters> counters = counters_;
    return [port_name, slave, counters](const std::string& name, std::string* error) {
        if (!platform::EqualNoCase(name, port_name)) {
            if (error != nullptr) *error = platform::SystemErrorText(ENOENT);
            return std::unique_ptr<platform::SerialPort>();
        }
        std::unique_ptr<platform::SerialPort> port = platform::OpenPosixSerialPort(slave, error);
        if (port == nullptr) return port;
        return std::unique_ptr<platform::SerialPort>(std::make_unique<QueuedPtyPort>(std::move(port), counters));
    };
}

void PtyBootLink::Run() {
    while (!stop_) {
        struct pollfd p {
            pair_.MasterFd(), POLLIN, 0
        };
        if (p.fd < 0) return;
        ::poll(&p, 1, kPollStepMs);
        // A pseudo-terminal has no rate or framing, so nothing arrives garbled.
        const std::string drained = pair_.DrainMaster();
        counters_->read += drained.size();
        for (char c : drained) {
            const uint64_t now = platform::TheClock().NowUs();
            for (BootDrive::Output& o : drive_.Receive(static_cast<uint8_t>(c), false, now)) {
                pending_.push_back(std::move(o));
            }
        }
        const uint64_t now = platform::TheClock().NowUs();
        auto due = std::stable_partition(
            pending_.begin(), pending_.end(), [now](const BootDrive::Output& o) { return o.at_us > now; });
        for (auto it = due; it != pending_.end(); ++it)
            pair_.WriteMaster(std::string(it->bytes.begin(), it->bytes.end()));
        pending_.erase(due, pending_.end());
    }
}

}  // namespace sim
