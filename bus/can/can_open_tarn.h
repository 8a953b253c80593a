// The CANopen drive bus: a CANopen master that reaches the drives'
// parameters through SDO transfers and sends NMT commands, PDOs and
// node-guarding requests through one CAN adapter. The callers run on the GUI
// thread; all CAN traffic runs on one worker thread that the bus starts and
// joins, handed over through request records and auto-reset events.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

#include "bus/can/can_ctrl_base.h"
#include "bus/can/sdo_transfer.h"
#include "platform/system/descriptor_wait.h"
#include "platform/system/sync_event.h"

// Bus error codes; their texts are "CANOpen_M%02u" in "CANOpen-Messages".
inline constexpr int kCanErrorNotOpen = 1;
// The adapter refused to send a frame (a full transmit queue, a failed
// socket): the transfer ended at once.
inline constexpr int kCanErrorAdapterRefused = 4;
inline constexpr int kCanErrorNoDeviceFound = 2;
inline constexpr int kCanErrorNoDeviceRecord = 3;
inline constexpr int kCanErrorSdoTimeout = 5;
inline constexpr int kCanErrorAbort = 6;
inline constexpr int kCanErrorValueTooLong = 7;
inline constexpr int kCanErrorNoObject = 8;
inline constexpr int kCanErrorUnsupportedAccess = 9;
inline constexpr int kCanErrorValueRange = 10;
inline constexpr int kCanErrorAdapter = 11;
inline constexpr int kCanErrorTransfer = 12;

// Results of CanSdoUpload and CanSdoDownload.
inline constexpr int kSdoOk = 1;
inline constexpr int kSdoTimedOut = 2;
inline constexpr int kSdoAborted = 3;
inline constexpr int kSdoProtocolError = 6;
// The data would not fit the caller's buffer; nothing was stored.
inline constexpr int kSdoTooLong = 7;
// The adapter refused a request frame; the transfer ended at once.
inline constexpr int kSdoAdapterRefused = 8;

// SDO abort codes the bus tells apart.
inline constexpr uint32_t kSdoAbortUnsupportedAccess = 0x06010000;
inline constexpr uint32_t kSdoAbortNoObject = 0x06020000;
inline constexpr uint32_t kSdoAbortValueRange = 0x06090030;

// Reply waits of the GUI thread.
inline constexpr uint32_t kSdoReplyTimeoutMs = 2000;
inline constexpr uint32_t kSdoScanTimeoutMs = 100;
// Text uploads and segmented uploads go through a buffer of this size.
inline constexpr size_t kCanTransferBufferSize = 100;
// Category a bus error code counts in; -1 for none.
int CanErrorCategory(int code);
// Bus error code of an SDO abort code.
int CanAbortToError(uint32_t abortCode);
// Baud rate of a baud-rate identifier 0..7; 0 for any other.
int32_t CanBaudRateFromId(int32_t baudRateId);

// How the worker runs: on its own thread, or stepped by the bus's own waits
// on the calling thread (tests use this on the virtual clock).
enum class CanWorkerMode { kThread, kStepped };

class CCanOpenTarn : public CCanBusBase {
public:
    // Opens the adapter with `settings` (null: the bus stays closed) and, when
    // it opened, starts the worker. `ownNode` is the node of the master's own
    // device, whose PDOs, emergencies and guarding the bus handles.
    CCanOpenTarn(int ownNode, const CanAdapterSettings* settings, CanWorkerMode mode = CanWorkerMode::kThread);
    // Stops and joins the worker; deletes the driver when this bus opened it.
    ~CCanOpenTarn() override;

    bool ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int address) override;
    bool ReadParameterText(int number, dstring& text, int address) override;
    bool WriteBlock(int number, const void* source, int first, uint16_t count, int width, int address) override;
    bool WriteParameterText(int number, const char* text, int address) override;
    // Reaches any node, with or without a device record.
    bool ReadParameterValue(int number, int32_t& value, int address) override;
    bool WriteParameterValue(int number, int32_t value, int address) override;
    // Asks nodes 0..31 in turn and registers the first that answers with its
    // type and version; node 31, beyond the device table, is only logged.
    bool ConnectDevice(BasicSlider* slider) override;
    // Asks nodes 0..31 and registers every one that answers with its type and
    // version; node 31, beyond the device table, is only logged.
    bool CheckDevice(BasicSlider* slider) override;
    const char* GetBusDisplayName() const;

    bool ReadEmergency(CanEmergencyRecord& record) override;
    bool ReadPdoIn1(CanDataValues& data) override;
    bool ReadPdoIn2(CanDataValues& data) override;
    bool WritePdoOut1(const CanDataValues& data) override;
    bool WritePdoOut2(const CanDataValues& data) override;
    bool StartNode() override;
    bool EnterPreOperational() override;
    int GetNodeState() override;
    // Guards the own node every 500 ms from now on; returns false.
    bool StartNodeGuarding() override;

    // The settings inside the program's adapter driver; null without one.
    static CanAdapterSettings* GetDriverSettings();

    // Reads object (index, subindex) of `node` into `buffer`, which holds
    // `capacity` bytes: kSdoOk with `length`, kSdoTimedOut, kSdoAborted (the
    // code in GetLastAbortCode), kSdoProtocolError or kSdoTooLong. With
    // SdoOverflow::kDrain an object longer than `capacity` is still taken to
    // its end, so the drive is left with no transfer open.
    int CanSdoUpload(uint16_t index, uint8_t subindex, uint8_t* buffer, size_t capacity, size_t& length, int node,
                     SdoOverflow overflow = SdoOverflow::kRefuse);
    // Writes `length` bytes to object (index, subindex) of `node`; results as
    // CanSdoUpload.
    int CanSdoDownload(uint16_t index, uint8_t subindex, size_t length, const uint8_t* data, int node);

    uint32_t GetLastAbortCode() const { return lastAbortCode_; }
    uint32_t GetSdoTimeout() const { return sdoTimeoutMs_; }
    void SetSdoTimeout(uint32_t ms) { sdoTimeoutMs_ = ms; }
    int32_t GetBaudRateId() const { return baudRateId_; }
    int32_t GetHardwareId() const { return hardwareId_; }
    uint32_t GetIoPort() const { return ioPort_; }

    // One round of the worker: hands out the SDO, NMT and PDO requests and
    // takes in what the adapter received. Returns whether an SDO reply came.
    bool run_one_round();
    // Whether this bus's worker thread runs; and how many run in the process.
    bool IsWorkerRunning();
    static int RunningWorkers();

    // How the worker thread has waited between its rounds.
    struct WorkerWaits {
        uint64_t started = 0;           // waits begun
        uint64_t onReceive = 0;         // ended by a frame the adapter signalled
        bool receiveSignalled = false;  // the adapter offers a receive descriptor
    };
    WorkerWaits GetWorkerWaits() const;
    // The longest wait of an idle worker on an adapter that signals received
    // frames (tests make it long to show that a frame ends it).
    void SetSignalledWaitLimitMs(uint32_t ms) { signalledWaitLimitMs_ = ms; }

private:
    // Data of one CAN frame passed between the GUI thread and the worker.
    struct FrameRecord {
        int node = 0;
        int length = 0;
        CanDataValues data{};
        // For a frame to send: the adapter's result once the worker sent it,
        // and its status when it refused the frame.
        uint32_t writeResult = 0;
        uint32_t writeStatus = 0;
    };

    enum Event {
        kSdoRequestEvent,
        kSdoReplyEvent,
        kGuardingRequestEvent,
        kGuardingAnswerEvent,
        kPdoOut1RequestEvent,
        kPdoOut1SentEvent,
        kPdoOut2RequestEvent,
        kPdoOut2SentEvent,
        kNmtRequestEvent,
        kEmergencyEvent,
        kPdoIn1Event,
        kPdoIn2Event,
        kSdoSentEvent,
        kEventCount = 20,
    };

    // Makes the driver and initialises the adapter; sets the open flag and
    // configures the receiving objects when it came up. Returns the driver's
    // result, or the bus error when no driver could be tried.
    int OpenAdapter(const CanAdapterSettings* settings);
    // What one round of the worker did.
    struct RoundOutcome {
        bool busy = false;      // it sent or took something
        bool sdoReply = false;  // it took an SDO reply
    };
    RoundOutcome RunRound();
    void WorkerLoop();
    // Waits after a round that found nothing to do.
    void WaitForWork();
    bool StopRequested();
    // Whether an SDO request went out and its reply has not come yet.
    bool ReplyDue() const;
    // Real time until the next guarding request is due; none while off.
    uint32_t MsUntilGuardingDue();
    // Sets a request event and wakes the worker for it.
    void Post(Event request);
    bool TakeGuardingAnswer();
    // Takes object `object` into `record` if it came in; true when it did.
    bool TakeFrame(int object, FrameRecord& record);
    // The adapter's result of sending the frame.
    uint32_t SendRecord(int object, uint32_t cobId, const FrameRecord& record);
    // The worker's side of an SDO request: sends it, and on a refusal ends
    // the GUI thread's reply wait at once.
    void SendSdoRequest(const FrameRecord& record);
    bool WaitEvent(Event event, uint32_t ms);
    // Fills a request record and hands it to the worker.
    void PostRequest(FrameRecord& record, int length, const CanDataValues& data, Event request);
    // The worker's side: a copy of the record when its request is set.
    bool TakeRequest(Event request, const FrameRecord& source, FrameRecord& copy);
    bool WritePdo(FrameRecord& record, Event request, Event sent, const CanDataValues& data);
    // The worker's side of a PDO request: sends it and notes the result.
    void SendPdo(FrameRecord& source, const FrameRecord& record, int object, uint32_t cobId, Event sent);
    bool SendNmt(uint32_t command);

    // 0 when a slot may address `address`, else its error.
    int CheckSlot(int address, bool needsRecord) const;
    // The bus error of a failed transfer; `tooLongError` for data that did
    // not fit.
    int TransferError(int sdoResult, int tooLongError) const;
    // Runs a transfer to its end: each request handed to the worker, each
    // reply given to the transfer until one belongs to it, each reply waited
    // for up to the SDO time-out. Returns the transfer's result or
    // kSdoTimedOut.
    int RunTransfer(SdoTransfer& transfer, int node);
    // Hands one SDO request frame to the worker.
    void PostSdoRequest(const SdoFrame& frame, int node);
    // Frees the server of a transfer given up with `code` (0: none owed).
    void SendClientAbort(const SdoTransfer& transfer, int node, uint32_t code);
    // Logs a request frame the adapter refused.
    void LogRefusedWrite(int node);
    // Reads parameters 91 and 92 of `node` through the upload and registers it.
    bool RegisterNode(int node);
    // Registers a node that answered; a node beyond the device table is
    // logged instead. Returns whether it was registered.
    bool Register(int node, uint16_t typeNumber, float version);
    bool ReadIdentity(int node, uint16_t& typeNumber, float& version);

    uint8_t transfer_[kCanTransferBufferSize] = {};
    uint32_t lastAbortCode_ = 0;
    uint32_t sdoTimeoutMs_ = kSdoReplyTimeoutMs;
    int32_t baudRateId_ = 0;
    int32_t hardwareId_ = 0;
    uint32_t ioPort_ = 0;
    bool searchOwnNodeFirst_ = false;

    int ownNode_;
    CanWorkerMode mode_;

    // Records passed between the threads, and the guarding state.
    std::mutex recordsMutex_;
    FrameRecord sdoRequest_;
    FrameRecord sdoReply_;
    // The adapter's answer to the last SDO request sent, and its status then.
    uint32_t sdoWriteResult_ = 0;
    uint32_t sdoWriteStatus_ = 0;
    FrameRecord emergency_;
    FrameRecord pdoIn1_;
    FrameRecord pdoIn2_;
    FrameRecord pdoOut1_;
    FrameRecord pdoOut2_;
    FrameRecord nmtRequest_;
    uint8_t nodeState_ = 0;
    bool guardingOn_ = false;
    uint32_t guardingPeriodMs_ = 0;
    uint32_t lastGuardingTick_ = 0;

    std::array<platform::AutoResetEvent, kEventCount> events_;
    // Woken with every request, so the worker waits on it between rounds,
    // together with the adapter's receive descriptor where it has one.
    platform::DescriptorWait workPosted_;
    std::atomic<uint32_t> signalledWaitLimitMs_;
    std::atomic<uint64_t> waitsStarted_{0};
    std::atomic<uint64_t> waitsEndedByReceive_{0};
    std::atomic<bool> receiveSignalled_{false};
    // The worker's own: an SDO request out and its reply still to come.
    bool sdoReplyDue_ = false;
    std::chrono::steady_clock::time_point sdoRequestTime_;
    // Held by the GUI thread until the worker is to end; the worker tries it
    // every round.
    platform::ThreadMutex stopMutex_;
    // Held for the worker from its start until it ends.
    platform::ThreadMutex runMutex_;
    std::thread worker_;
};
