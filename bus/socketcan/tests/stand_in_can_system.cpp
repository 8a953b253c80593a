#include "bus/socketcan/tests/stand_in_can_system.h"

#include <cerrno>

namespace socketcan_test {

StandInCanSystem::StandInCanSystem(sim::VirtualCanBus& bus) : peer_(bus) {}

void StandInCanSystem::SetLink(const std::string& name, const StandInLink& link) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Entry& entry : links_) {
        if (entry.name == name) {
            entry.link = link;
            return;
        }
    }
    links_.push_back(Entry{name, link});
}

StandInLink StandInCanSystem::Link(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Entry& entry : links_)
        if (entry.name == name) return entry.link;
    return {};
}

void StandInCanSystem::SetOpenError(int error) {
    std::lock_guard<std::mutex> lock(mutex_);
    openError_ = error;
}

std::vector<std::string> StandInCanSystem::Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void StandInCanSystem::ClearCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

StandInCanSystem::Entry* StandInCanSystem::ByIndex(int index) {
    if (index < 1 || index > static_cast<int>(links_.size())) return nullptr;
    return &links_[static_cast<size_t>(index - 1)];
}

socketcan::LinkState StandInCanSystem::QueryLink(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    socketcan::LinkState state;
    for (size_t i = 0; i < links_.size(); ++i) {
        if (links_[i].name != name) continue;
        state.index = static_cast<int>(i + 1);
        state.kind = links_[i].link.kind;
        state.up = links_[i].link.up;
        state.bitrate = links_[i].link.bitrate;
        return state;
    }
    state.error = ENODEV;
    return state;
}

int StandInCanSystem::SetLinkUp(const socketcan::LinkState& link, uint32_t bitrate) {
    std::lock_guard<std::mutex> lock(mutex_);
    Entry* entry = ByIndex(link.index);
    if (entry == nullptr) return ENODEV;
    calls_.push_back("up " + entry->name + (bitrate != 0 ? " " + std::to_string(bitrate) : ""));
    if (entry->link.configureError != 0) return entry->link.configureError;
    // As the kernel: a CAN link takes a new rate only while it is down.
    if (bitrate != 0 && entry->link.up) return EBUSY;
    entry->link.up = true;
    if (bitrate != 0) entry->link.bitrate = bitrate;
    return 0;
}

int StandInCanSystem::SetLinkDown(const socketcan::LinkState& link) {
    std::lock_guard<std::mutex> lock(mutex_);
    Entry* entry = ByIndex(link.index);
    if (entry == nullptr) return ENODEV;
    calls_.push_back("down " + entry->name);
    if (entry->link.configureError != 0) return entry->link.configureError;
    entry->link.up = false;
    return 0;
}

int StandInCanSystem::OpenSocket(const std::string& name) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back("open " + name);
        if (openError_ != 0) return -openError_;
    }
    return peer_.MakeSocketPair();
}

ssize_t StandInCanSystem::Send(int socket, const can_frame& frame) {
    const ssize_t sent = LinuxCanSystem::Send(socket, frame);
    peer_.Pump();
    return sent;
}

ssize_t StandInCanSystem::Receive(int socket, can_frame& frame) {
    peer_.Pump();
    return LinuxCanSystem::Receive(socket, frame);
}

void StandInCanSystem::CloseSocket(int socket) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back("close");
    }
    LinuxCanSystem::CloseSocket(socket);
}

}  // namespace socketcan_test
