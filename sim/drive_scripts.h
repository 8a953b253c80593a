// Values a drive's parameters follow by a test's script: the reads of a
// parameter answering a sequence of values (a state word moving through its
// states, a progress counter), a command parameter that reacts to being
// written, and the motor identification a family-3 drive runs by itself.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace sim {

// One step of a read script: the value answered for `reads` reads, or, when
// `reads` is kUntilTime, for every read before `until_us` on the drive's
// clock.
inline constexpr int kUntilTime = -1;

struct ReadStep {
    uint32_t value = 0;
    int reads = 0;
    uint64_t until_us = 0;

    static ReadStep ForReads(uint32_t value, int reads) { return {value, reads, 0}; }
    static ReadStep Until(uint32_t value, uint64_t until_us) { return {value, kUntilTime, until_us}; }
    // Answered for every read from then on.
    static ReadStep Forever(uint32_t value) { return Until(value, std::numeric_limits<uint64_t>::max()); }
};

// The reads of one parameter run through `steps` in order; a step whose reads
// are used up, or whose time has passed, gives way to the next. Once every
// step has run the parameter keeps the last step's value. A write of the
// parameter ends its script.
struct ReadScript {
    int number = 0;
    std::vector<ReadStep> steps;
    size_t current = 0;
    int reads_done = 0;  // reads answered by the current step
};

// A command parameter's answer to being written with `written`: its reads
// then follow `reads` (times of kUntilTime steps count from the write), and,
// when `zero_after_us` is not 0, it holds 0 again that long after the write.
struct CommandScript {
    int number = 0;
    uint32_t written = 0;
    std::vector<ReadStep> reads;
    uint64_t zero_after_us = 0;
};

// The motor identification inside a family-3 drive, off unless a test turns
// it on. Any value other than 0 written to 163 starts it (the program writes
// 1.0): 167 then climbs from 0 to 100 percent over `duration_us` of the
// drive's clock, and at `ends_at` percent (100 unless a test ends it early)
// the drive stops: 163 reads 0 and 167 keeps that percentage. 0 written to
// 163 stops it where it is.
inline constexpr int kIdentCommandParameter = 163;
inline constexpr int kIdentProgressParameter = 167;

struct DriveIdentification {
    bool enabled = false;
    uint64_t duration_us = 10'000'000;
    int ends_at = 100;
    // Set by the drive.
    bool running = false;
    uint64_t started_us = 0;
    int starts = 0;  // how often it was started
};

// The drive's stop command, off unless a test turns it on: 1 written to 15
// (1.0 when 15 is a FLOAT32) while the state in 403 is 5 or 7 (bits 12 to 15
// on families 3 and 4, the low 16 bits on the others) makes the drive report
// state 2 `after_us` later on its clock. In any other state the write
// changes nothing.
inline constexpr int kStopCommandParameter = 15;

struct DriveStop {
    bool enabled = false;
    uint64_t after_us = 0;
    int stops = 0;  // stops the drive carried out
};

}  // namespace sim
