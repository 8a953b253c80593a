// The drive's recorder: timing on the clock, the recorded buffer and the
// acknowledged block transfer.
#include "sim/drive_recorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/system/clock.h"

namespace sim {

namespace {

constexpr double kUsPerSecond = 1e6;

float FloatOfBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

uint32_t BitsOfFloat(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

}  // namespace

DriveRecorder::DriveRecorder(DriveTable& table) : table_(table) {}

void DriveRecorder::SetSignal(int kind, int index, Signal signal) { signals_[{kind, index}] = std::move(signal); }

uint32_t DriveRecorder::Register(int number) const {
    const DriveParameter* p = table_.Find(number);
    return p != nullptr ? p->value : 0;
}

void DriveRecorder::SetControl(uint32_t bits) {
    if (DriveParameter* p = table_.Find(kRecorderControl)) p->value = bits;
}

uint32_t DriveRecorder::Sample(int kind, int index, size_t row) const {
    const auto it = signals_.find({kind, index});
    const uint32_t raw =
        it != signals_.end() ? it->second(row) : 0x100u * static_cast<uint32_t>(index + 1) + static_cast<uint32_t>(row);
    return kind == 2 ? raw : raw & 0xFFFF;
}

void DriveRecorder::Start(uint64_t now_us) {
    if (static_cast<int16_t>(Register(kRecorderTriggerMode) & 0xFFFF) == kRecorderOffMode) {
        state_ = State::kIdle;
        SetControl(0);
        return;
    }
    size_t row_bytes = 0;
    for (int c = 0; c < kRecorderChannels; ++c) {
        const uint32_t config = Register(kRecorderFirstChannel + 2 * c);
        Channel& channel = channels_[c];
        channel.on = (config & kRecorderChannelOn) != 0;
        channel.kind = (config & kRecorderChannelWide) != 0 ? 2 : 1;
        channel.index = static_cast<int>(Register(kRecorderFirstChannel + 2 * c + 1) & 0xFFFF);
        if (channel.on) row_bytes += channel.kind == 2 ? 4 : 2;
    }
    const size_t length = Register(kRecorderLength) & 0xFFFF;
    rows_ = row_bytes == 0 ? 0 : length / row_bytes;
    const uint32_t pre = std::min(Register(kRecorderPreTrigger) & 0xFFFF, kRecorderFullPreTrigger);
    pre_rows_ = rows_ * pre / kRecorderFullPreTrigger;

    double base_time = FloatOfBits(Register(kRecorderBaseTime));
    if (!(base_time > 0.0)) base_time = 0.0;
    const double interval_us = ((Register(kRecorderDivider) & 0xFFFF) + 1) * base_time * kUsPerSecond;
    const auto span = [&](size_t rows) { return static_cast<uint64_t>(std::llround(rows * interval_us)); };

    const bool automatic = static_cast<int32_t>(Register(kRecorderTriggerMode)) == kRecorderAutomaticMode;
    triggers_ = automatic || trigger_delay_us_.has_value();
    trigger_us_ = now_us + span(pre_rows_);
    earliest_trigger_us_ = trigger_us_;
    post_trigger_us_ = span(rows_ - pre_rows_);
    if (!automatic && trigger_delay_us_) trigger_us_ = std::max(trigger_us_, now_us + *trigger_delay_us_);
    done_us_ = trigger_us_ + span(rows_ - pre_rows_);
    state_ = State::kArmed;
    SetControl(kRecorderRunning);
}

void DriveRecorder::Finish() {
    const size_t length = Register(kRecorderLength) & 0xFFFF;
    std::vector<uint8_t> buffer;
    buffer.reserve(length);
    for (size_t row = 0; row < rows_; ++row) {
        // A row holds the active channels from the highest down, most
        // significant byte first.
        for (int c = kRecorderChannels - 1; c >= 0; --c) {
            const Channel& channel = channels_[c];
            if (!channel.on) continue;
            const uint32_t sample = Sample(channel.kind, channel.index, row);
            for (int shift = channel.kind == 2 ? 24 : 8; shift >= 0; shift -= 8)
                buffer.push_back(static_cast<uint8_t>(sample >> shift));
        }
    }
    buffer.resize(std::max(buffer.size(), length), 0);
    table_.samples = std::move(buffer);
    table_.sample_position = 0;
    unacknowledged_.reset();
    state_ = State::kDone;
    SetControl(kRecorderTriggered);
}

void DriveRecorder::ShowActualValues(uint64_t now_us) {
    const size_t row = static_cast<size_t>(now_us / kRecorderActualRowUs);
    for (int c = 0; c < kRecorderChannels; ++c) {
        DriveParameter* actual = table_.Find(kRecorderFirstActual + c);
        if (actual == nullptr) continue;
        const uint32_t config = Register(kRecorderFirstChannel + 2 * c);
        const int kind = (config & kRecorderChannelWide) != 0 ? 2 : 1;
        const int index = static_cast<int>(Register(kRecorderFirstChannel + 2 * c + 1) & 0xFFFF);
        const uint32_t sample = Sample(kind, index, row);
        const auto raw = static_cast<int16_t>(kind == 2 ? sample >> 16 : sample & 0xFFFF);
        actual->value = static_cast<uint32_t>(static_cast<int32_t>(raw));
    }
}

void DriveRecorder::Update() {
    const uint64_t now = platform::TheClock().NowUs();
    ShowActualValues(now);
    if (state_ == State::kArmed && triggers_ && now >= trigger_us_) {
        state_ = State::kTriggered;
        SetControl(kRecorderRunning | kRecorderTriggered);
    }
    if (state_ == State::kTriggered && now >= done_us_) Finish();
}

void DriveRecorder::Written(int number) {
    if (number == kRecorderControl) {
        if (Register(kRecorderControl) == kRecorderRunning) {
            Start(platform::TheClock().NowUs());
            Update();
        } else {
            state_ = State::kIdle;
            SetControl(0);
        }
    } else if (number == kRecorderTestSignalCommand) {
        if (state_ == State::kArmed && Register(kRecorderTestSignalCommand) == kRecorderTestSignalStart) {
            triggers_ = true;
            trigger_us_ = std::max(earliest_trigger_us_, platform::TheClock().NowUs());
            done_us_ = trigger_us_ + post_trigger_us_;
            Update();
        }
    } else if (number == kRecorderCatalogueIndex) {
        ShowCatalogueEntry();
    } else if (number == kRecorderTransfer) {
        const uint32_t command = Register(kRecorderTransfer);
        if (command == kRecorderRewind) {
            table_.sample_position = 0;
            unacknowledged_.reset();
        } else if (command == kRecorderAcknowledge && unacknowledged_) {
            table_.sample_position += *unacknowledged_;
            unacknowledged_.reset();
        }
    }
}

void DriveRecorder::ShowCatalogueEntry() {
    const size_t index = Register(kRecorderCatalogueIndex);
    const RecorderVariable shown = index < catalogue_.size() ? catalogue_[index] : RecorderVariable{};
    auto set = [&](int number, uint32_t raw) {
        if (DriveParameter* p = table_.Find(number)) p->value = raw;
    };
    if (DriveParameter* p = table_.Find(kRecorderCatalogueName)) p->text = shown.name;
    if (DriveParameter* p = table_.Find(kRecorderCatalogueUnit)) p->text = shown.unit;
    set(kRecorderCatalogueFraction, shown.fraction_bits);
    const DriveParameter* factor = table_.Find(kRecorderCatalogueFactor);
    set(kRecorderCatalogueFactor,
        factor != nullptr && factor->type->is_float ? BitsOfFloat(shown.factor) : static_cast<uint32_t>(shown.factor));
    set(kRecorderCatalogueKind, shown.kind);
    set(kRecorderCatalogueLevel, shown.level);
}

std::string DriveRecorder::NextBlock() {
    const std::vector<uint8_t>& samples = table_.samples;
    const size_t at = std::min(table_.sample_position, samples.size());
    const size_t left = samples.size() - at;
    const size_t take = std::min(left, kRecorderBlockBytes);
    std::string value;
    for (size_t i = 0; i < take; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", samples[at + i]);
        value += pair;
    }
    if (take == left && take < kRecorderBlockBytes) value += '!';
    // Until it is acknowledged, a block is sent again on request.
    unacknowledged_ = take;
    return value;
}

}  // namespace sim
