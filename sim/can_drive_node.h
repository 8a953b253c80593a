// The virtual drive as a CANopen node on the virtual CAN bus: an SDO server
// over the drive's parameter table (object 0x2000 + parameter number, array
// elements by subindex), NMT states, node-guarding answers and emergency
// messages, with scripted aborts, silences, delays and raw replies.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "sim/can_bus.h"
#include "sim/drive_faults.h"
#include "sim/drive_table.h"

namespace sim {

// NMT states as a guarding answer reports them.
inline constexpr uint8_t kNmtStopped = 4;
inline constexpr uint8_t kNmtOperational = 5;
inline constexpr uint8_t kNmtPreOperational = 127;

// Abort codes the node sends, and the client's it tells apart.
inline constexpr uint32_t kAbortToggle = 0x05030000;
inline constexpr uint32_t kAbortTimedOut = 0x05040000;
inline constexpr uint32_t kAbortCommand = 0x05040001;
inline constexpr uint32_t kAbortOutOfMemory = 0x05040005;
inline constexpr uint32_t kAbortAccess = 0x06010000;
inline constexpr uint32_t kAbortNoObject = 0x06020000;
inline constexpr uint32_t kAbortNoSubindex = 0x06090011;
inline constexpr uint32_t kAbortValueRange = 0x06090030;
inline constexpr uint32_t kAbortGeneral = 0x08000000;

// Parameters that serve as request registers when the table has none of
// that number: write a parameter number (decimal text) to 34 and read its
// description from 34; write a number to 35 and an index to 108, and read
// that value text from 35 (empty for a value without a text).
inline constexpr int kDescriptionRegister = 34;
inline constexpr int kValueTextRegister = 35;
inline constexpr int kValueTextIndexRegister = 108;

enum class CanFaultKind {
    kAbort,     // answers with an abort of `abort_code`; nothing is done
    kSilence,   // no answer; nothing is done
    kDelay,     // answers `delay_us` later than usual
    kRawReply,  // answers `bytes` (as the reply's data) instead; nothing is done
};

struct CanFault {
    CanFaultKind kind = CanFaultKind::kSilence;
    bool any_object = true;  // else only requests of (index, subindex)
    uint16_t index = 0;
    int subindex = -1;  // -1: any subindex of `index`
    int times = 1;      // requests spoilt, or kForever
    uint32_t abort_code = 0;
    uint64_t delay_us = 0;
    std::vector<uint8_t> bytes;

    static CanFault Abort(uint32_t code);
    static CanFault Silence();
    static CanFault Delay(uint64_t us);
    static CanFault RawReply(std::vector<uint8_t> bytes);
    // Limits the fault to the transfers of one object; segment requests
    // belong to their transfer's object.
    CanFault For(uint16_t index, int subindex = -1) const;
    CanFault Times(int count) const;
};

class CanDriveNode : public CanNodeDevice {
public:
    CanDriveNode(DriveTable table, int node);
    ~CanDriveNode() override;
    CanDriveNode(const CanDriveNode&) = delete;
    CanDriveNode& operator=(const CanDriveNode&) = delete;

    int Node() const { return node_; }
    // The table itself; change it only while the program does not talk to
    // the node.
    DriveTable& Table() { return table_; }

    // Joins the bus (leaving the one it was on).
    void AttachTo(VirtualCanBus& bus);
    void Detach();

    void AddFault(CanFault fault);
    size_t FaultsLeft() const;
    // Time from a request to the node's answer.
    void SetReplyDelayUs(uint64_t us);
    uint8_t NmtState() const;
    // Abort codes of the aborts the client sent, oldest first; and whether a
    // segmented transfer is open on the server.
    std::vector<uint32_t> AbortsHeard() const;
    bool TransferOpen() const;
    // Sends an emergency message: error code, error register and five
    // manufacturer bytes.
    void SendEmergency(uint16_t code, uint8_t error_register, const std::array<uint8_t, 5>& vendor);

    std::vector<Answer> OnFrame(const CanFrame& frame) override;

private:
    struct Transfer {
        bool active = false;
        bool upload = false;
        uint16_t index = 0;
        uint8_t subindex = 0;
        std::vector<uint8_t> data;
        size_t position = 0;
        uint8_t toggle = 0;
        bool size_given = false;
        uint32_t size = 0;
    };
    // Bytes of an object, or the abort code that refuses it.
    struct ObjectValue {
        uint32_t abort = 0;
        std::vector<uint8_t> bytes;
    };

    std::vector<Answer> Nmt(const CanFrame& frame);
    std::vector<uint8_t> Sdo(const std::array<uint8_t, 8>& request);
    std::vector<uint8_t> InitiateUpload(uint16_t index, uint8_t subindex);
    std::vector<uint8_t> UploadSegment(uint8_t command);
    std::vector<uint8_t> InitiateDownload(const std::array<uint8_t, 8>& request);
    std::vector<uint8_t> DownloadSegment(const std::array<uint8_t, 8>& request);
    bool TakeFault(uint16_t index, uint8_t subindex, CanFault* fault);
    ObjectValue ReadObject(uint16_t index, uint8_t subindex) const;
    uint32_t WriteObject(uint16_t index, uint8_t subindex, const std::vector<uint8_t>& bytes);
    std::string DescriptionRecord(int number) const;
    uint8_t ValueTextIndex() const;
    int ArraySubindexOffset() const;
    std::vector<uint8_t> AbortReply(uint16_t index, uint8_t subindex, uint32_t code);

    mutable std::mutex mutex_;
    DriveTable table_;
    int node_;
    uint8_t nmt_state_ = kNmtPreOperational;
    uint8_t guard_toggle_ = 0;
    uint64_t reply_delay_us_ = 0;
    Transfer transfer_;
    std::vector<uint32_t> aborts_heard_;
    uint16_t last_index_ = 0;
    uint8_t last_subindex_ = 0;
    std::deque<CanFault> faults_;
    int selected_description_ = -1;
    int selected_value_texts_ = -1;
    uint8_t value_text_index_ = 0;  // when the table has no parameter 108
    VirtualCanBus* bus_ = nullptr;
};

}  // namespace sim
