// The drive's boot loader.
#include "sim/boot_loader.h"

#include <iterator>

namespace sim {

namespace {

constexpr int32_t kCodeRates[] = {1200, 2400, 4800, 9600, 19200, 28800, 57600, 115200};
// Characters of a record besides its data: ':', length, address, type, checksum.
constexpr size_t kRecordFrame = 11;

int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The byte of the two characters at `at`; -1 when they are no hex digits.
int PairAt(const std::string& text, size_t at) {
    if (at + 1 >= text.size()) return -1;
    const int high = Nibble(text[at]);
    const int low = Nibble(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

int32_t BootBaudOfCode(uint8_t code) { return code < std::size(kCodeRates) ? kCodeRates[code] : 0; }

std::vector<uint8_t> BootLoader::Start() {
    start_pending_ = false;
    line_.clear();
    line_number_ = 0;
    base_ = 0;
    if (wake_up_ == 1) {
        state_ = State::kWakeUp;
        return {};
    }
    state_ = State::kBaudCode;
    std::vector<uint8_t> announce{kBootAck};
    faults_.Apply(BootStage::kLoaderAck, 0, announce);
    return announce;
}

std::vector<uint8_t> BootLoader::Receive(uint8_t byte) {
    switch (state_) {
        case State::kIdle:
        case State::kDone:
            return {};
        case State::kWakeUp: {
            if (byte != kBootAck) return {};
            state_ = State::kBaudCode;
            std::vector<uint8_t> answer{kBootAck};
            faults_.Apply(BootStage::kLoaderAck, 0, answer);
            return answer;
        }
        case State::kBaudCode: {
            const int32_t baud = BootBaudOfCode(byte);
            if (baud == 0) return {kBootNak};
            requested_baud_ = baud;
            state_ = State::kStartAck;
            return {};
        }
        case State::kStartAck: {
            if (byte != kBootAck) return {};
            state_ = State::kLines;
            std::vector<uint8_t> answer{kBootAck};
            faults_.Apply(BootStage::kStartAnswer, 0, answer);
            return answer;
        }
        case State::kLines:
            // Anything between lines (a line end, for one) is passed over.
            if (line_.empty() && byte != ':') return {};
            line_ += static_cast<char>(byte);
            if (line_.size() < 3) return {};
            {
                const int length = PairAt(line_, 1);
                const size_t expected = kRecordFrame + 2 * static_cast<size_t>(length < 0 ? 0 : length);
                if (line_.size() < expected) return {};
            }
            return LineComplete();
    }
    return {};
}

void BootLoader::ReceiveGarbled() {
    if (state_ != State::kLines) return;
    line_garbled_ = true;
    // It takes a character's place in the line, so the count stays right.
    if (!line_.empty()) line_ += '?';
}

std::vector<uint8_t> BootLoader::LineComplete() {
    const std::string line = line_;
    const bool garbled = line_garbled_;
    line_.clear();
    line_garbled_ = false;
    ++line_number_;
    heard_.push_back(line);
    Record record;
    const bool sound = !garbled && ParseLine(line, record);
    std::vector<uint8_t> answer{sound ? kBootAck : kBootNak};
    faults_.Apply(BootStage::kLine, line_number_, answer);
    if (answer == std::vector<uint8_t>{kBootAck}) {
        Take(record, line);
        // A repeated line keeps its number; the next new line counts on.
    } else {
        --line_number_;
        if (!sound) ++bad_lines_;
    }
    return answer;
}

bool BootLoader::ParseLine(const std::string& line, Record& record) const {
    if (line.size() < kRecordFrame || line[0] != ':' || line.size() % 2 == 0) return false;
    std::vector<uint8_t> bytes;
    for (size_t at = 1; at < line.size(); at += 2) {
        const int b = PairAt(line, at);
        if (b < 0) return false;
        bytes.push_back(static_cast<uint8_t>(b));
    }
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    if (sum != 0 || bytes[0] + kRecordFrame / 2 != bytes.size()) return false;
    record.address = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
    record.type = bytes[3];
    record.data.assign(bytes.begin() + 4, bytes.end() - 1);
    return record.type <= 0x05;
}

void BootLoader::Take(const Record& record, const std::string& line) {
    (second_loader_ ? second_lines_ : firmware_lines_).push_back(line);
    std::map<uint32_t, uint8_t>& memory = second_loader_ ? second_memory_ : flash_;
    switch (record.type) {
        case 0x00:
            for (size_t i = 0; i < record.data.size(); ++i) {
                memory[base_ + record.address + static_cast<uint32_t>(i)] = record.data[i];
            }
            break;
        case 0x01:
            if (second_loader_) {
                second_loader_ = false;
                start_pending_ = true;
                state_ = State::kIdle;
            } else {
                state_ = State::kDone;
            }
            break;
        case 0x02:
            if (record.data.size() >= 2) base_ = static_cast<uint32_t>(record.data[0] << 8 | record.data[1]) << 4;
            break;
        case 0x04:
            if (record.data.size() >= 2) base_ = static_cast<uint32_t>(record.data[0] << 8 | record.data[1]) << 16;
            break;
        default:
            break;
    }
}

std::vector<uint8_t> BootLoader::FlashBytes(uint32_t start, uint32_t length, uint8_t erased) const {
    std::vector<uint8_t> bytes(length, erased);
    for (auto it = flash_.lower_bound(start); it != flash_.end() && it->first - start < length; ++it) {
        bytes[it->first - start] = it->second;
    }
    return bytes;
}

}  // namespace sim
