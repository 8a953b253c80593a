// Scripted misbehaviour of the virtual drive's boot ROM and boot loader:
// which answer it spoils (the chip identification, the loader's ACK, the
// answer at the new line rate, the answer to a line), how, and how often.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

enum class BootStage {
    kIdentification,  // the chip's answer to the synchronisation byte
    kLoaderAck,       // the loader announcing itself (or answering the wake-up)
    kStartAnswer,     // the answer to the ACK at the new line rate
    kLine,            // the answer to a line
};

struct BootFault {
    BootStage stage = BootStage::kLine;
    bool silent = false;  // no answer at all
    uint8_t answer = 0;   // else this byte instead of the right answer
    int times = 1;        // answers spoilt, or -1 for all
    int line = 0;         // kLine: only the answers to this line (from 1); 0: any line

    static BootFault Silence(BootStage stage) { return BootFault{stage, true, 0, 1, 0}; }
    static BootFault Answer(BootStage stage, uint8_t byte) { return BootFault{stage, false, byte, 1, 0}; }
    // The loader refuses lines.
    static BootFault Nak() { return Answer(BootStage::kLine, 0x15); }

    BootFault Times(int count) const {
        BootFault f = *this;
        f.times = count;
        return f;
    }
    BootFault AtLine(int number) const {
        BootFault f = *this;
        f.line = number;
        return f;
    }
};

// The faults still to apply, in the order added.
class BootFaults {
public:
    void Add(BootFault fault) { faults_.push_back(fault); }
    size_t Left() const { return faults_.size(); }

    // Spoils `answer` by the first fault for `stage` (and `line`), if any.
    // Returns whether a fault applied.
    bool Apply(BootStage stage, int line, std::vector<uint8_t>& answer) {
        for (auto it = faults_.begin(); it != faults_.end(); ++it) {
            if (it->stage != stage || (it->line != 0 && it->line != line)) continue;
            answer = it->silent ? std::vector<uint8_t>() : std::vector<uint8_t>{it->answer};
            if (it->times > 0 && --it->times == 0) faults_.erase(it);
            return true;
        }
        return false;
    }

private:
    std::deque<BootFault> faults_;
};

}  // namespace sim
