// A pseudo-terminal pair for serial tests on the real clock: the program opens
// the slave by its path as if it were a serial port; the test (or a simulated
// device) talks through the master. The slave is raw from the start, so
// nothing echoes, and the pair keeps its own slave descriptor open, so the
// master stays readable while the port under test is closed and reopened.
#pragma once

#include <termios.h>

#include <cstdint>
#include <string>

namespace platform {

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // False with the system's reason in `error`.
    bool Open(std::string* error);

    const std::string& SlavePath() const { return slave_path_; }
    int MasterFd() const { return master_fd_; }

    // Reads from the master until `count` bytes came or `timeout_ms` of real
    // time passed; returns what came.
    std::string ReadMaster(size_t count, int timeout_ms);
    // Everything the master has right now, without waiting.
    std::string DrainMaster();
    bool WriteMaster(const std::string& bytes);

    // Closes both of the pair's own descriptors: the port under test then
    // sees the line hang up.
    void Hangup();

    // The slave's settings as the system holds them, and its rate (which
    // tcgetattr cannot show for rates without a B-constant). False / -1 on
    // failure.
    bool SlaveAttributes(struct termios* attributes) const;
    int32_t SlaveBaud() const;

private:
    int master_fd_ = -1;
    int slave_fd_ = -1;
    std::string slave_path_;
};

}  // namespace platform
