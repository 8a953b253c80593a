// The drive side of CANopen: SDO server, NMT, guarding and emergencies.
#include "sim/can_drive_node.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

constexpr uint32_t kNmtId = 0x000;
constexpr uint32_t kEmergencyBase = 0x080;
constexpr uint32_t kSdoReplyBase = 0x580;
constexpr uint32_t kSdoRequestBase = 0x600;
constexpr uint32_t kGuardingBase = 0x700;

constexpr uint8_t kNmtStart = 0x01;
constexpr uint8_t kNmtStop = 0x02;
constexpr uint8_t kNmtEnterPreOperational = 0x80;
constexpr uint8_t kNmtResetNode = 0x81;
constexpr uint8_t kNmtResetCommunication = 0x82;
constexpr uint8_t kGuardToggle = 0x80;
constexpr uint8_t kBootUp = 0x00;

// Client command specifiers (top three bits of the first byte).
constexpr uint8_t kCsDownloadSegment = 0;
constexpr uint8_t kCsInitiateDownload = 1;
constexpr uint8_t kCsInitiateUpload = 2;
constexpr uint8_t kCsUploadSegment = 3;
constexpr uint8_t kCsAbort = 4;

// Server replies.
constexpr uint8_t kUploadExpedited = 0x43;  // expedited, size given; n in bits 2-3
constexpr uint8_t kUploadSegmented = 0x41;  // size in bytes 4..7
constexpr uint8_t kDownloadAck = 0x60;
constexpr uint8_t kDownloadSegmentAck = 0x20;
constexpr uint8_t kAbort = 0x80;
constexpr uint8_t kToggle = 0x10;
constexpr uint8_t kLast = 0x01;

constexpr uint16_t kParameterArea = 0x2000;
constexpr size_t kSegmentBytes = 7;
constexpr int kTypeNumberParameter = 91;
constexpr int kVersionParameter = 92;
constexpr size_t kRecordNameLength = 5;

std::vector<uint8_t> Little(uint32_t value, size_t count) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return bytes;
}

uint32_t FromLittle(const std::vector<uint8_t>& bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size() && i < 4; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

std::vector<uint8_t> Reply(uint8_t command, uint16_t index, uint8_t subindex, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> reply(8, 0);
    reply[0] = command;
    reply[1] = static_cast<uint8_t>(index & 0xFF);
    reply[2] = static_cast<uint8_t>(index >> 8);
    reply[3] = subindex;
    std::copy_n(data.begin(), std::min<size_t>(data.size(), 4), reply.begin() + 4);
    return reply;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
    return text;
}

// A decimal parameter number written as text; -1 when it is none.
int DecimalText(const std::vector<uint8_t>& bytes) {
    int value = 0;
    bool any = false;
    for (uint8_t b : bytes) {
        if (b == 0) break;
        if (b < '0' || b > '9' || value > 99999) return -1;
        value = value * 10 + (b - '0');
        any = true;
    }
    return any ? value : -1;
}

uint32_t StatusToAbort(uint16_t status) {
    if (status == 0) return 0;
    if (status & kStatusNoParameter) return kAbortNoObject;
    if (status & kStatusWriteAccess) return kAbortAccess;
    if (status & kStatusInvalidValue) return kAbortValueRange;
    return kAbortGeneral;
}

}  // namespace

CanFault CanFault::Abort(uint32_t code) {
    CanFault f;
    f.kind = CanFaultKind::kAbort;
    f.abort_code = code;
    return f;
}

CanFault CanFault::Silence() { return CanFault{}; }

CanFault CanFault::Delay(uint64_t us) {
    CanFault f;
    f.kind = CanFaultKind::kDelay;
    f.delay_us = us;
    return f;
}

CanFault CanFault::RawReply(std::vector<uint8_t> bytes) {
    CanFault f;
    f.kind = CanFaultKind::kRawReply;
    f.bytes = std::move(bytes);
    return f;
}

CanFault CanFault::For(uint16_t object, int sub) const {
    CanFault f = *this;
    f.any_object = false;
    f.index = object;
    f.subindex = sub;
    return f;
}

CanFault CanFault::Times(int count) const {
    CanFault f = *this;
    f.times = count;
    return f;
}

CanDriveNode::CanDriveNode(DriveTable table, int node) : table_(std::move(table)), node_(node) {}

CanDriveNode::~CanDriveNode() { Detach(); }

void CanDriveNode::AttachTo(VirtualCanBus& bus) {
    Detach();
    bus.Attach(this);
    bus_ = &bus;
}

void CanDriveNode::Detach() {
    if (bus_ != nullptr) bus_->Detach(this);
    bus_ = nullptr;
}

void CanDriveNode::AddFault(CanFault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back(std::move(fault));
}

size_t CanDriveNode::FaultsLeft() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_.size();
}

void CanDriveNode::SetReplyDelayUs(uint64_t us) {
    std::lock_guard<std::mutex> lock(mutex_);
    reply_delay_us_ = us;
}

uint8_t CanDriveNode::NmtState() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return nmt_state_;
}

std::vector<uint32_t> CanDriveNode::AbortsHeard() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return aborts_heard_;
}

bool CanDriveNode::TransferOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return transfer_.active;
}

void CanDriveNode::SendEmergency(uint16_t code, uint8_t error_register, const std::array<uint8_t, 5>& vendor) {
    std::vector<uint8_t> bytes = Little(code, 2);
    bytes.push_back(error_register);
    bytes.insert(bytes.end(), vendor.begin(), vendor.end());
    if (bus_ != nullptr) bus_->Inject(CanFrame::Data(kEmergencyBase + static_cast<uint32_t>(node_), bytes));
}

std::vector<CanNodeDevice::Answer> CanDriveNode::OnFrame(const CanFrame& frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint32_t node = static_cast<uint32_t>(node_);
    if (frame.id == kNmtId && !frame.remote) return Nmt(frame);
    if (frame.id == kGuardingBase + node && frame.remote) {
        const uint8_t answer = static_cast<uint8_t>(guard_toggle_ | nmt_state_);
        guard_toggle_ ^= kGuardToggle;
        return {Answer{CanFrame::Data(frame.id, {answer}), reply_delay_us_}};
    }
    // SDO requests are always eight bytes; anything else is not for the server.
    if (frame.id != kSdoRequestBase + node || frame.remote || frame.length != 8) return {};

    const uint8_t cs = static_cast<uint8_t>(frame.data[0] >> 5);
    // A client's abort is no request: no fault spoils it and nothing answers.
    if (cs == kCsAbort) {
        Sdo(frame.data);
        return {};
    }
    // Segment requests belong to the object of the transfer's first request,
    // also when that request was answered by a fault.
    if (cs == kCsInitiateUpload || cs == kCsInitiateDownload) {
        last_index_ = static_cast<uint16_t>(frame.data[1] | frame.data[2] << 8);
        last_subindex_ = frame.data[3];
    }
    const uint16_t index = last_index_;
    const uint8_t subindex = last_subindex_;
    uint64_t delay = reply_delay_us_;
    CanFault fault;
    if (TakeFault(index, subindex, &fault)) {
        switch (fault.kind) {
            case CanFaultKind::kSilence:
                return {};
            case CanFaultKind::kAbort:
                return {
                    Answer{CanFrame::Data(kSdoReplyBase + node, AbortReply(index, subindex, fault.abort_code)), delay}};
            case CanFaultKind::kRawReply:
                return {Answer{CanFrame::Data(kSdoReplyBase + node, fault.bytes), delay}};
            case CanFaultKind::kDelay:
                delay += fault.delay_us;
                break;
        }
    }
    std::vector<uint8_t> reply = Sdo(frame.data);
    if (reply.empty()) return {};
    return {Answer{CanFrame::Data(kSdoReplyBase + node, reply), delay}};
}

std::vector<CanNodeDevice::Answer> CanDriveNode::Nmt(const CanFrame& frame) {
    if (frame.length < 2 || (frame.data[1] != 0 && frame.data[1] != node_)) return {};
    switch (frame.data[0]) {
        case kNmtStart:
            nmt_state_ = kNmtOperational;
            break;
        case kNmtStop:
            nmt_state_ = kNmtStopped;
            break;
        case kNmtEnterPreOperational:
            nmt_state_ = kNmtPreOperational;
            break;
        case kNmtResetNode:
        case kNmtResetCommunication:
            nmt_state_ = kNmtPreOperational;
            guard_toggle_ = 0;
            transfer_ = Transfer{};
            return {Answer{CanFrame::Data(kGuardingBase + static_cast<uint32_t>(node_), {kBootUp}), reply_delay_us_}};
        default:
            break;
    }
    return {};
}

bool CanDriveNode::TakeFault(uint16_t index, uint8_t subindex, CanFault* fault) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (!it->any_object && (it->index != index || (it->subindex >= 0 && it->subindex != subindex))) continue;
        *fault = *it;
        if (it->times >= 0 && --it->times <= 0) faults_.erase(it);
        if (fault->kind != CanFaultKind::kDelay) transfer_ = Transfer{};
        return true;
    }
    return false;
}

std::vector<uint8_t> CanDriveNode::AbortReply(uint16_t index, uint8_t subindex, uint32_t code) {
    transfer_ = Transfer{};
    return Reply(kAbort, index, subindex, Little(code, 4));
}

std::vector<uint8_t> CanDriveNode::Sdo(const std::array<uint8_t, 8>& request) {
    switch (request[0] >> 5) {
        case kCsInitiateUpload:
            return InitiateUpload(static_cast<uint16_t>(request[1] | request[2] << 8), request[3]);
        case kCsUploadSegment:
            return UploadSegment(request[0]);
        case kCsInitiateDownload:
            return InitiateDownload(request);
        case kCsDownloadSegment:
            return DownloadSegment(request);
        case kCsAbort:
            aborts_heard_.push_back(static_cast<uint32_t>(request[4] | request[5] << 8 | request[6] << 16) |
                                    static_cast<uint32_t>(request[7]) << 24);
            transfer_ = Transfer{};
            return {};
        default:
            return AbortReply(last_index_, last_subindex_, kAbortCommand);
    }
}

std::vector<uint8_t> CanDriveNode::InitiateUpload(uint16_t index, uint8_t subindex) {
    transfer_ = Transfer{};
    if (index >= kParameterArea && subindex == 0) table_.BeforeValueRead(index - kParameterArea);
    ObjectValue value = ReadObject(index, subindex);
    if (value.abort != 0) return AbortReply(index, subindex, value.abort);
    const size_t n = value.bytes.size();
    if (n >= 1 && n <= 4)
        return Reply(static_cast<uint8_t>(kUploadExpedited | (4 - n) << 2), index, subindex, value.bytes);
    transfer_.active = true;
    transfer_.upload = true;
    transfer_.index = index;
    transfer_.subindex = subindex;
    transfer_.data = std::move(value.bytes);
    return Reply(kUploadSegmented, index, subindex, Little(static_cast<uint32_t>(n), 4));
}

std::vector<uint8_t> CanDriveNode::UploadSegment(uint8_t command) {
    if (!transfer_.active || !transfer_.upload) return AbortReply(last_index_, last_subindex_, kAbortCommand);
    if ((command & kToggle) != transfer_.toggle) return AbortReply(last_index_, last_subindex_, kAbortToggle);
    const size_t n = std::min(kSegmentBytes, transfer_.data.size() - transfer_.position);
    const bool last = transfer_.position + n >= transfer_.data.size();
    std::vector<uint8_t> reply(8, 0);
    reply[0] = static_cast<uint8_t>(transfer_.toggle | (kSegmentBytes - n) << 1 | (last ? kLast : 0));
    std::copy_n(transfer_.data.begin() + static_cast<long>(transfer_.position), n, reply.begin() + 1);
    transfer_.position += n;
    transfer_.toggle ^= kToggle;
    if (last) transfer_ = Transfer{};
    return reply;
}

std::vector<uint8_t> CanDriveNode::InitiateDownload(const std::array<uint8_t, 8>& request) {
    transfer_ = Transfer{};
    const uint16_t index = static_cast<uint16_t>(request[1] | request[2] << 8);
    const uint8_t subindex = request[3];
    const bool expedited = (request[0] & 0x02) != 0;
    const bool size_given = (request[0] & 0x01) != 0;
    if (expedited) {
        const size_t n = size_given ? 4 - ((request[0] >> 2) & 0x03) : 4;
        const std::vector<uint8_t> bytes(request.begin() + 4, request.begin() + 4 + static_cast<long>(n));
        if (const uint32_t abort = WriteObject(index, subindex, bytes)) return AbortReply(index, subindex, abort);
        return Reply(kDownloadAck, index, subindex, {});
    }
    transfer_.active = true;
    transfer_.index = index;
    transfer_.subindex = subindex;
    transfer_.size_given = size_given;
    transfer_.size = FromLittle({request[4], request[5], request[6], request[7]});
    return Reply(kDownloadAck, index, subindex, {});
}

std::vector<uint8_t> CanDriveNode::DownloadSegment(const std::array<uint8_t, 8>& request) {
    if (!transfer_.active || transfer_.upload) return AbortReply(last_index_, last_subindex_, kAbortCommand);
    if ((request[0] & kToggle) != transfer_.toggle) return AbortReply(last_index_, last_subindex_, kAbortToggle);
    const size_t n = kSegmentBytes - ((request[0] >> 1) & 0x07);
    transfer_.data.insert(transfer_.data.end(), request.begin() + 1, request.begin() + 1 + static_cast<long>(n));
    const uint8_t ack = static_cast<uint8_t>(kDownloadSegmentAck | transfer_.toggle);
    transfer_.toggle ^= kToggle;
    if ((request[0] & kLast) == 0) return Reply(ack, 0, 0, {});
    const Transfer done = transfer_;
    transfer_ = Transfer{};
    if (done.size_given && done.data.size() != done.size) return AbortReply(done.index, done.subindex, kAbortGeneral);
    if (const uint32_t abort = WriteObject(done.index, done.subindex, done.data))
        return AbortReply(done.index, done.subindex, abort);
    return Reply(ack, 0, 0, {});
}

int CanDriveNode::ArraySubindexOffset() const {
    // Drives of families 3 and 4 count array elements from subindex 0; the
    // others keep subindex 0 for the element count.
    const uint32_t family = table_.type_number / 1000;
    return family == 3 || family == 4 ? 0 : 1;
}

uint8_t CanDriveNode::ValueTextIndex() const {
    const DriveParameter* index = table_.Find(kValueTextIndexRegister);
    return index == nullptr ? value_text_index_ : static_cast<uint8_t>(index->value);
}

std::string CanDriveNode::DescriptionRecord(int number) const {
    const DriveParameter* p = table_.Find(number);
    if (p == nullptr) return {};
    std::string name = p->name.substr(0, kRecordNameLength);
    name.resize(kRecordNameLength, ' ');
    return Hex(static_cast<uint32_t>(number), 4) + name + Hex(p->unit_index, 2) + p->kind + p->type->code + "00" +
           Hex(p->minimum, 8) + Hex(p->maximum, 8) + Hex(p->default_value, 8) + Hex(p->read_level, 2) +
           Hex(p->write_level, 2) + Hex(p->flags, 4) + Hex(p->keypad_group, 2) + Hex(p->sc_group, 2);
}

CanDriveNode::ObjectValue CanDriveNode::ReadObject(uint16_t index, uint8_t subindex) const {
    ObjectValue value;
    const int number = index - kParameterArea;
    if (number < 0 || number > kHighestParameter) return {kAbortNoObject, {}};
    const DriveParameter* p = table_.Find(number);
    auto text = [&value](const std::string& s) {
        value.bytes.assign(s.begin(), s.end());
        return value;
    };
    if (p == nullptr) {
        if (subindex != 0) return {kAbortNoSubindex, {}};
        switch (number) {
            case kDescriptionRegister:
                return text(DescriptionRecord(selected_description_));
            case kValueTextRegister: {
                const DriveParameter* owner = table_.Find(selected_value_texts_);
                if (owner == nullptr) return {kAbortGeneral, {}};
                // A value without a text of its own reads as an empty text.
                auto found = owner->value_texts.find(ValueTextIndex());
                return text(found == owner->value_texts.end() ? std::string() : found->second);
            }
            case kValueTextIndexRegister:
                return {0, Little(value_text_index_, 4)};
            case kTypeNumberParameter:
                return {0, Little(table_.type_number, 4)};
            case kVersionParameter:
                return {0, Little(table_.version, 4)};
            default:
                return {kAbortNoObject, {}};
        }
    }
    if (p->IsArray()) {
        const int offset = ArraySubindexOffset();
        if (offset == 1 && subindex == 0)
            return {0, Little(static_cast<uint32_t>(std::min<size_t>(p->elements.size(), 0xFF)), 1)};
        const size_t element = static_cast<size_t>(subindex - offset);
        if (element >= p->elements.size()) return {kAbortNoSubindex, {}};
        const size_t width = p->type->width > 0 ? static_cast<size_t>(p->type->width) : 4;
        return {0, Little(p->elements[element], width)};
    }
    if (subindex != 0) return {kAbortNoSubindex, {}};
    if (p->type->is_string) return text(p->text);
    return {0, Little(p->value, 4)};
}

uint32_t CanDriveNode::WriteObject(uint16_t index, uint8_t subindex, const std::vector<uint8_t>& bytes) {
    const int number = index - kParameterArea;
    if (number < 0 || number > kHighestParameter) return kAbortNoObject;
    DriveParameter* p = table_.Find(number);
    if (p == nullptr) {
        if (subindex != 0) return kAbortNoSubindex;
        switch (number) {
            case kDescriptionRegister:
                selected_description_ = DecimalText(bytes);
                return selected_description_ < 0 ? kAbortValueRange : 0;
            case kValueTextRegister:
                selected_value_texts_ = DecimalText(bytes);
                return selected_value_texts_ < 0 ? kAbortValueRange : 0;
            case kValueTextIndexRegister: {
                const uint32_t raw = FromLittle(bytes);
                if (raw > 0xFF) return kAbortValueRange;
                value_text_index_ = static_cast<uint8_t>(raw);
                return 0;
            }
            default:
                return kAbortNoObject;
        }
    }
    if (p->IsArray()) {
        const int element = subindex - ArraySubindexOffset();
        if (element < 0 || static_cast<size_t>(element) >= p->elements.size()) return kAbortNoSubindex;
        return StatusToAbort(table_.WriteElements(number, static_cast<size_t>(element), {FromLittle(bytes)}));
    }
    if (subindex != 0) return kAbortNoSubindex;
    if (p->type->is_string) {
        std::string text(bytes.begin(), std::find(bytes.begin(), bytes.end(), uint8_t{0}));
        return StatusToAbort(table_.WriteText(number, text));
    }
    uint32_t raw = FromLittle(bytes);
    // A value shorter than four bytes is widened as its type is.
    if (bytes.size() < 4) raw = p->Widen(raw);
    return StatusToAbort(table_.WriteValue(number, raw));
}

}  // namespace sim
