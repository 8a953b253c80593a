// The chip's bootstrap loader as the virtual drive has it: the
// synchronisation byte answered with the chip's identification byte, then
// exactly 32 bytes of booter, which then takes the loader as a raw block of
// the loader image size. Fed one received byte at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/boot_faults.h"

namespace sim {

inline constexpr size_t kBooterSize = 32;
inline constexpr uint8_t kSyncByte = 0x00;

class BootRom {
public:
    enum class Phase { kSync, kBooter, kLoaderImage, kDone };

    // `faults` must outlive the ROM.
    BootRom(uint8_t chip_identification, size_t loader_image_size, BootFaults& faults)
        : identification_(chip_identification), image_size_(loader_image_size), faults_(faults) {}

    // The answer to one received byte (empty for most).
    std::vector<uint8_t> Receive(uint8_t byte);
    // A byte the chip could not decode: before the synchronisation it is
    // ignored, afterwards it spoils the block it falls into.
    void ReceiveGarbled();

    Phase CurrentPhase() const { return phase_; }
    const std::vector<uint8_t>& Booter() const { return booter_; }
    const std::vector<uint8_t>& LoaderImage() const { return image_; }
    // Bytes heard before the synchronisation byte.
    size_t Noise() const { return noise_; }
    bool Garbled() const { return garbled_; }

private:
    uint8_t identification_;
    size_t image_size_;
    BootFaults& faults_;
    Phase phase_ = Phase::kSync;
    std::vector<uint8_t> booter_;
    std::vector<uint8_t> image_;
    size_t noise_ = 0;
    bool garbled_ = false;
};

}  // namespace sim
