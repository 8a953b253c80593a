// The chip's bootstrap loader.
#include "sim/boot_rom.h"

namespace sim {

std::vector<uint8_t> BootRom::Receive(uint8_t byte) {
    switch (phase_) {
        case Phase::kSync: {
            if (byte != kSyncByte) {
                ++noise_;
                return {};
            }
            phase_ = Phase::kBooter;
            std::vector<uint8_t> answer{identification_};
            faults_.Apply(BootStage::kIdentification, 0, answer);
            return answer;
        }
        case Phase::kBooter:
            booter_.push_back(byte);
            if (booter_.size() == kBooterSize) phase_ = image_size_ > 0 ? Phase::kLoaderImage : Phase::kDone;
            return {};
        case Phase::kLoaderImage:
            image_.push_back(byte);
            if (image_.size() == image_size_) phase_ = Phase::kDone;
            return {};
        case Phase::kDone:
            return {};
    }
    return {};
}

void BootRom::ReceiveGarbled() {
    if (phase_ == Phase::kSync) {
        ++noise_;
        return;
    }
    // The byte still takes its place in the block, spoilt.
    garbled_ = true;
    Receive(0xFF);
}

}  // namespace sim
