// The drive's built-in four-channel recorder: started through its control
// register, it runs on the clock from armed to triggered to done, records the
// channel variables' signals into the sample buffer and hands the buffer out
// in blocks, each acknowledged before the next one is sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/drive_table.h"

namespace sim {

// The recorder's registers in the parameter table.
inline constexpr int kRecorderFirstChannel = 20;  // configuration 20, 22, 24, 26; variable 21, 23, ...
inline constexpr int kRecorderChannels = 4;
inline constexpr uint32_t kRecorderChannelOn = 0x20;
inline constexpr uint32_t kRecorderChannelWide = 0x40;  // 32-bit samples
inline constexpr int kRecorderDivider = 60;             // interval = (value + 1) * base time
inline constexpr int kRecorderLength = 62;              // buffer bytes
inline constexpr int kRecorderTriggerMode = 65;         // 1 = automatic, -1 = recorder off
inline constexpr int kRecorderPreTrigger = 67;          // steps of 0.05 percent, 2000 = all
inline constexpr int kRecorderControl = 68;             // write 1 start, 0 stop; bit 0 running, bit 1 triggered
// 70 to 73 answer the raw value of channel 0 to 3's variable now: its signal
// at the row of the clock (one row a millisecond), the upper half of a 32-bit
// sample.
inline constexpr int kRecorderFirstActual = 70;
inline constexpr uint64_t kRecorderActualRowUs = 1000;
inline constexpr int kRecorderTransfer = 110;  // write 2 rewind, 1 acknowledge the last block
// Writing an index to 121 shows that entry of the variable catalogue in
// 112 (name), 113 (unit), 114 (fraction bits), 117 (factor), 118 (width
// kind) and 119 (level).
inline constexpr int kRecorderCatalogueIndex = 121;
inline constexpr int kRecorderCatalogueName = 112;
inline constexpr int kRecorderCatalogueUnit = 113;
inline constexpr int kRecorderCatalogueFraction = 114;
inline constexpr int kRecorderCatalogueFactor = 117;
inline constexpr int kRecorderCatalogueKind = 118;
inline constexpr int kRecorderCatalogueLevel = 119;
inline constexpr int kRecorderBaseTime = 350;  // FLOAT32, seconds
// The drive's test-signal command: 2.0 (FLOAT32) starts the signal, whose
// start triggers an armed recorder whatever its trigger mode.
inline constexpr int kRecorderTestSignalCommand = 120;
inline constexpr uint32_t kRecorderTestSignalStart = 0x40000000;

inline constexpr int32_t kRecorderAutomaticMode = 1;
// A start in this mode leaves the recorder off.
inline constexpr int16_t kRecorderOffMode = -1;
inline constexpr uint32_t kRecorderFullPreTrigger = 2000;
inline constexpr uint32_t kRecorderRunning = 0x1;
inline constexpr uint32_t kRecorderTriggered = 0x2;
inline constexpr uint32_t kRecorderRewind = 2;
inline constexpr uint32_t kRecorderAcknowledge = 1;
// A block reply carries at most 128 hex digits; the last-block mark needs one
// more character, so a last block of exactly this size is followed by an
// empty marked one.
inline constexpr size_t kRecorderBlockBytes = 64;

// One variable the recorder can record, as the drive describes it.
struct RecorderVariable {
    std::string name;
    std::string unit;
    uint32_t fraction_bits = 0;
    float factor = 1.0f;
    uint32_t kind = 1;  // 1 = 16-bit, 2 = 32-bit samples
    uint32_t level = 0;
};

class DriveRecorder {
public:
    enum class State { kIdle, kArmed, kTriggered, kDone };
    // Raw sample of a variable at `row` of a recording, cut to the sample
    // width.
    using Signal = std::function<uint32_t(size_t row)>;

    // The recorder works on the registers of `table`, which must outlive it.
    explicit DriveRecorder(DriveTable& table);

    // The signal of the variable `index` of width kind 1 (16-bit) or 2
    // (32-bit). Without one a variable gives 0x100 * (index + 1) + row.
    void SetSignal(int kind, int index, Signal signal);
    // In trigger modes other than automatic the trigger event comes this long
    // after the start (but not before the pre-trigger rows are recorded);
    // without it the recorder waits for ever.
    void SetTriggerDelayUs(std::optional<uint64_t> us) { trigger_delay_us_ = us; }
    // The catalogue shown through parameter 121; an index without an entry
    // shows an empty name.
    void SetCatalogue(std::vector<RecorderVariable> variables) { catalogue_ = std::move(variables); }

    // Brings the state, the control register and the actual values up to the
    // clock.
    void Update();
    // The table took a write of `number`.
    void Written(int number);
    // The reply to a sample block request: hex pairs, '!' after the last.
    std::string NextBlock();

    State GetState() const { return state_; }
    // Rows and pre-trigger rows of the recording started last.
    size_t Rows() const { return rows_; }
    size_t PreTriggerRows() const { return pre_rows_; }
    // The raw sample of a variable at a row, as recorded.
    uint32_t Sample(int kind, int index, size_t row) const;

private:
    struct Channel {
        bool on = false;
        int kind = 1;
        int index = 0;
    };

    uint32_t Register(int number) const;
    void SetControl(uint32_t bits);
    void Start(uint64_t now_us);
    void Finish();
    void ShowCatalogueEntry();
    void ShowActualValues(uint64_t now_us);

    DriveTable& table_;
    Channel channels_[kRecorderChannels];
    std::map<std::pair<int, int>, Signal> signals_;
    std::optional<uint64_t> trigger_delay_us_;
    std::vector<RecorderVariable> catalogue_;
    State state_ = State::kIdle;
    uint64_t trigger_us_ = 0;
    uint64_t earliest_trigger_us_ = 0;  // once the pre-trigger rows are recorded
    uint64_t post_trigger_us_ = 0;
    uint64_t done_us_ = 0;
    bool triggers_ = false;
    size_t rows_ = 0;
    size_t pre_rows_ = 0;
    // Bytes of the block sent last and not yet acknowledged.
    std::optional<size_t> unacknowledged_;
};

}  // namespace sim
