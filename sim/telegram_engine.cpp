// Drive side of the serial telegram protocol: request parsing, the answers
// from the parameter table, and scripted misbehaviour.
#include "sim/telegram_engine.h"

#include <algorithm>
#include <cstdio>

#include "sim/drive_recorder.h"

namespace sim {

namespace {

constexpr uint8_t kEot = 0x04;
constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kEnq = 0x05;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kFirstAddressCharacter = 0x40;
constexpr int kBroadcastAddress = 31;
// Longer requests than this are garbage, not telegrams.
constexpr size_t kMaxCodeLength = 12;
constexpr size_t kMaxWriteText = kMaxCodeLength + 1 + kMaxTextLength;
constexpr size_t kAttributeRecordLength = 52;

std::string Hex(uint32_t value, int digits = 0) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

bool Decimal(std::string_view text, int* out) {
    if (text.empty()) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    *out = value;
    return true;
}

bool ParseHex(std::string_view text, uint32_t* out) {
    if (text.empty() || text.size() > 8) return false;
    uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    *out = value;
    return true;
}

// "20nnn" and the other codes with a three-digit parameter number.
bool ParameterCode(const std::string& code, const char* prefix, int* number) {
    return code.size() == 5 && code.compare(0, 2, prefix) == 0 && Decimal(code.substr(2), number);
}

struct BlockCode {
    int number = 0, first = 0, count = 0;
};

// "70" parameter (3 digits), first element (5), element count (2).
bool ParseBlockCode(const std::string& code, BlockCode* block) {
    return code.size() == kMaxCodeLength && code.compare(0, 2, "70") == 0 &&
           Decimal(code.substr(2, 3), &block->number) && Decimal(code.substr(5, 5), &block->first) &&
           Decimal(code.substr(10, 2), &block->count);
}

bool IsFrame(const std::vector<uint8_t>& reply) {
    return reply.size() >= 4 && reply[1] == kStx && reply[reply.size() - 2] == kEtx;
}

}  // namespace

uint8_t TelegramCheck(const std::string& bytes) {
    uint8_t check = 0;
    for (char c : bytes) check ^= static_cast<uint8_t>(c);
    return check;
}

TelegramEngine::TelegramEngine(DriveTable& table, int address) : table_(table), address_(address) {}

uint8_t TelegramEngine::AddressCharacter() const { return static_cast<uint8_t>(kFirstAddressCharacter + address_); }

void TelegramEngine::ReceiveGarbled() {
    if (state_ == State::kCode || state_ == State::kText) damaged_ = true;
    // An undecodable character where an address or check was due leaves the
    // drive out of step until the next EOT.
    if (state_ == State::kAddress || state_ == State::kCheck) state_ = State::kIgnore;
}

std::vector<uint8_t> TelegramEngine::Receive(uint8_t byte) {
    // EOT starts every telegram; only as a check character is it data.
    if (byte == kEot && state_ != State::kCheck) {
        state_ = State::kAddress;
        damaged_ = false;
        return {};
    }
    switch (state_) {
        case State::kIdle:
        case State::kIgnore:
            return {};
        case State::kAddress: {
            int address = byte - kFirstAddressCharacter;
            broadcast_ = address == kBroadcastAddress;
            // Address 0 reaches whichever drive is on a point-to-point line.
            if (address == address_ || address == 0 || broadcast_) {
                state_ = State::kCode;
                code_.clear();
                text_.clear();
                check_ = 0;
            } else {
                state_ = State::kIgnore;
            }
            return {};
        }
        case State::kCode:
            if (byte == kStx && code_.empty()) {
                state_ = State::kText;
            } else if (byte == kEnq) {
                state_ = State::kIdle;
                return Complete(false);
            } else if (code_.size() < kMaxCodeLength) {
                code_ += static_cast<char>(byte);
            } else {
                damaged_ = true;
            }
            return {};
        case State::kText:
            check_ ^= byte;
            if (byte == kEtx) {
                state_ = State::kCheck;
            } else if (text_.size() < kMaxWriteText) {
                text_ += static_cast<char>(byte);
            } else {
                damaged_ = true;
            }
            return {};
        case State::kCheck:
            state_ = State::kIdle;
            if (byte != check_) damaged_ = true;
            return Complete(true);
    }
    return {};
}

std::vector<uint8_t> TelegramEngine::Complete(bool write) {
    if (broadcast_ && !write) return {};
    if (damaged_) {
        if (!write || broadcast_) return {};
        write_error_ = kStatusTelegramChecksum;
        return Short(kNak);
    }
    std::string code = code_;
    std::string value;
    if (write) {
        size_t equals = text_.find('=');
        code = text_.substr(0, equals);
        if (equals != std::string::npos) value = text_.substr(equals + 1);
        if (equals == std::string::npos || code.size() > kMaxCodeLength) {
            write_error_ = kStatusInvalidValue;
            return broadcast_ ? std::vector<uint8_t>{} : Short(kNak);
        }
    }
    if (recorder_ != nullptr) recorder_->Update();
    DriveFault fault;
    const bool faulty = !broadcast_ && TakeFault(code, &fault);
    if (faulty) {
        switch (fault.kind) {
            case DriveFaultKind::kSilence:
                return {};
            case DriveFaultKind::kNak:
                if (write) write_error_ = fault.status;
                return Short(kNak);
            case DriveFaultKind::kRawReply:
                return fault.bytes;
            default:
                break;
        }
    }
    std::vector<uint8_t> reply;
    if (write) {
        write_error_ = Write(code, value);
        if (broadcast_) return {};
        reply = Short(write_error_ == 0 ? kAck : kNak);
    } else {
        Answer answer = Read(code);
        reply = answer.refused ? Short(kNak) : Frame(answer.code, answer.value);
    }
    if (faulty) ApplyFault(fault, reply);
    return reply;
}

TelegramEngine::Answer TelegramEngine::Read(const std::string& code) {
    Answer answer;
    answer.code = code;
    int number = 0;
    BlockCode block;
    if (code == "00082") {
        answer.value = Hex(static_cast<uint32_t>(address_));
    } else if (code == "00085") {
        answer.value = Hex(table_.status | write_error_, 4);
    } else if (code == "00091") {
        answer.value = Hex(table_.type_number);
    } else if (code == "00092") {
        answer.value = Hex(table_.version);
    } else if (ParameterCode(code, "20", &number) && table_.pos_programs.Serves(number)) {
        answer.refused = !table_.pos_programs.NextReply(&answer.value);
    } else if (ParameterCode(code, "20", &number)) {
        table_.BeforeValueRead(number);
        const DriveParameter* p = table_.Find(number);
        if (p == nullptr && number == kValueTextIndexParameter) {
            answer.value = Hex(value_text_index_);
        } else if (p == nullptr || p->IsArray()) {
            answer.refused = true;
        } else {
            answer.value = p->type->is_string ? p->text : Hex(p->value);
        }
    } else if (ParameterCode(code, "30", &number)) {
        const DriveParameter* p = table_.Find(number);
        if (p == nullptr) {
            answer.refused = true;
        } else {
            std::string name = p->name;
            name.resize(kMaxNameLength, ' ');
            answer.value = name + Hex(p->unit_index, 2) + p->kind + p->type->code + Hex(p->minimum, 8) +
                           Hex(p->maximum, 8) + Hex(p->default_value, 8) +
                           Hex(static_cast<uint32_t>(p->write_level << 4 | p->read_level), 2) + Hex(p->flags, 4) +
                           Hex(0, 4) + Hex(0, 4) + Hex(p->keypad_group, 2) + Hex(p->sc_group, 2);
            static_assert(kAttributeRecordLength == 6 + 2 + 1 + 1 + 3 * 8 + 2 + 3 * 4 + 2 + 2);
        }
    } else if (ParameterCode(code, "61", &number)) {
        const DriveParameter* p = table_.Find(number);
        auto text = p == nullptr ? decltype(p->value_texts)::const_iterator{} : p->value_texts.find(ValueTextIndex());
        if (p == nullptr || text == p->value_texts.end())
            answer.refused = true;
        else
            answer.value = text->second;
    } else if (code == "60002" && recorder_ != nullptr) {
        answer.value = recorder_->NextBlock();
    } else if (code == "60002") {
        const size_t left = table_.samples.size() - std::min(table_.sample_position, table_.samples.size());
        const size_t take = std::min(left, kSampleBlockBytes);
        for (size_t i = 0; i < take; ++i) answer.value += Hex(table_.samples[table_.sample_position++], 2);
        if (take == left) answer.value += '!';
    } else if (ParseBlockCode(code, &block)) {
        const DriveParameter* p = table_.Find(block.number);
        if (p == nullptr || !p->IsArray()) {
            answer.refused = true;
        } else {
            int delivered = 0;
            answer.value = BlockRead(*p, block.first, block.count, &delivered);
            char count[4];
            std::snprintf(count, sizeof count, "%02d", delivered);
            answer.code = code.substr(0, 10) + count;
        }
    } else {
        answer.refused = true;
    }
    return answer;
}

// The index register is parameter 108 when the table has one.
uint8_t TelegramEngine::ValueTextIndex() const {
    const DriveParameter* index = table_.Find(kValueTextIndexParameter);
    return index == nullptr ? value_text_index_ : static_cast<uint8_t>(index->value);
}

std::string TelegramEngine::BlockRead(const DriveParameter& p, int first, int count, int* delivered) const {
    const int width = p.type->width;
    int n = std::min(count, kMaxBlockValueCharacters / (2 * width));
    if (block_limit_ > 0) n = std::min(n, block_limit_);
    const int size = static_cast<int>(p.elements.size());
    n = std::max(0, std::min(n, size - first));
    const uint32_t mask = width >= 4 ? 0xFFFFFFFFu : (uint32_t{1} << (8 * width)) - 1;
    std::string value;
    for (int i = 0; i < n; ++i) value += Hex(p.elements[static_cast<size_t>(first + i)] & mask, 2 * width);
    *delivered = n;
    return value;
}

uint16_t TelegramEngine::Write(const std::string& code, const std::string& value) {
    int number = 0;
    BlockCode block;
    if (ParseBlockCode(code, &block)) return BlockWrite(block.number, block.first, block.count, value);
    if (!ParameterCode(code, "20", &number)) return kStatusNoParameter;
    const DriveParameter* p = table_.Find(number);
    if (p != nullptr && p->type->is_string) return table_.WriteText(number, value);
    uint32_t raw = 0;
    if (!ParseHex(value, &raw)) return p == nullptr ? kStatusNoParameter : kStatusInvalidValue;
    if (number == kValueTextIndexParameter && p == nullptr) {
        if (raw > 0xFF) return kStatusInvalidValue;
        value_text_index_ = static_cast<uint8_t>(raw);
        return 0;
    }
    const uint16_t status = table_.WriteValue(number, raw);
    if (status == 0 && recorder_ != nullptr) recorder_->Written(number);
    return status;
}

uint16_t TelegramEngine::BlockWrite(int number, int first, int count, const std::string& value) {
    const DriveParameter* p = table_.Find(number);
    if (p == nullptr) return kStatusNoParameter;
    if (!p->IsArray()) return kStatusInvalidValue;
    const size_t digits = static_cast<size_t>(2 * p->type->width);
    if (value.size() != digits * static_cast<size_t>(count)) return kStatusInvalidValue;
    std::vector<uint32_t> elements;
    for (size_t at = 0; at < value.size(); at += digits) {
        uint32_t element = 0;
        if (!ParseHex(std::string_view(value).substr(at, digits), &element)) return kStatusInvalidValue;
        elements.push_back(element);
    }
    return table_.WriteElements(number, static_cast<size_t>(first), elements);
}

std::vector<uint8_t> TelegramEngine::Frame(const std::string& code, const std::string& value) const {
    std::string body = code + "=" + value + static_cast<char>(kEtx);
    // Sized once: growing a two-byte vector by the body trips a false
    // -Warray-bounds of the optimiser.
    std::vector<uint8_t> frame(body.size() + 3);
    frame[0] = AddressCharacter();
    frame[1] = kStx;
    std::copy(body.begin(), body.end(), frame.begin() + 2);
    frame.back() = TelegramCheck(body);
    return frame;
}

std::vector<uint8_t> TelegramEngine::Short(uint8_t answer) const { return {AddressCharacter(), answer}; }

bool TelegramEngine::TakeFault(const std::string& code, DriveFault* fault) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (!it->code.empty() && it->code != code) continue;
        if (it->skip > 0) {
            --it->skip;
            return false;
        }
        *fault = *it;
        if (it->times != kForever && --it->times <= 0) faults_.erase(it);
        return true;
    }
    return false;
}

void TelegramEngine::ApplyFault(const DriveFault& fault, std::vector<uint8_t>& reply) const {
    switch (fault.kind) {
        case DriveFaultKind::kWrongCheck:
            if (IsFrame(reply)) reply.back() ^= 0x01;
            break;
        case DriveFaultKind::kNulBeforeStx:
            if (IsFrame(reply)) reply.insert(reply.begin() + 1, 0x00);
            break;
        case DriveFaultKind::kPartialReply:
            reply.resize(std::min(reply.size(), fault.length));
            break;
        case DriveFaultKind::kLongReply:
            if (IsFrame(reply) && fault.length > reply.size()) {
                reply.insert(reply.end() - 2, fault.length - reply.size(), '0');
                reply.back() = TelegramCheck(std::string(reply.begin() + 2, reply.end() - 1));
            }
            break;
        case DriveFaultKind::kWrongAddress:
            reply[0] = static_cast<uint8_t>(kFirstAddressCharacter + fault.address);
            break;
        default:
            break;
    }
}

}  // namespace sim
