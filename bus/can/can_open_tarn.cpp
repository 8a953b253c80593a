// Opening and closing the CANopen bus, its worker, and the process-data side.
#include "bus/can/can_open_tarn.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "bus/can/can_peak.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"

namespace {

// Message objects of the adapter driver as the master uses them.
constexpr int kPdoOut2Object = 2;
constexpr int kPdoIn1Object = 3;
constexpr int kEmergencyObject = 4;
constexpr int kGuardingRequestObject = 5;
constexpr int kPdoIn2Object = 7;
constexpr int kPdoOut1Object = 8;
constexpr int kNmtObject = 9;
constexpr int kSdoRequestObject = 10;
constexpr int kSdoReplyObject = 11;
constexpr int kGuardingAnswerObject = 12;

// COB-ID bases; the node number is added.
constexpr uint32_t kPdoIn1CobId = 0x180;
constexpr uint32_t kEmergencyCobId = 0x080;
constexpr uint32_t kPdoOut1CobId = 0x200;
constexpr uint32_t kPdoIn2CobId = 0x280;
constexpr uint32_t kPdoOut2CobId = 0x300;
constexpr uint32_t kSdoReplyCobId = 0x580;
constexpr uint32_t kSdoRequestCobId = 0x600;
constexpr uint32_t kGuardingCobId = 0x700;
constexpr uint32_t kNmtCobId = 0x000;

constexpr int kFullFrame = 8;
constexpr uint32_t kSdoClientAbortCommand = 0x80;
constexpr int kNmtLength = 2;
constexpr int kGuardingAnswerLength = 1;
constexpr uint32_t kNmtStartRemoteNode = 1;
constexpr uint32_t kNmtEnterPreOperational = 128;
constexpr uint32_t kNmtAllNodes = 0;
constexpr uint8_t kNodeStateMask = 0x7F;
constexpr uint8_t kNodeStateOperational = 5;
constexpr uint8_t kNodeStatePreOperational = 127;
constexpr uint32_t kGuardingPeriodMs = 500;

// Waits of the process-data slots.
constexpr uint32_t kProcessDataWaitMs = 1;
constexpr uint32_t kPdoSentStepMs = 5;
// The worker always sends a PDO it took, so the first wait for its sending
// only guards against a worker that stopped; a busy machine may keep the
// worker from running for longer than one 5 ms step.
constexpr uint32_t kPdoFirstSentLimitMs = 2000;
// How long the worker waits after a round that found nothing to do. An
// adapter that signals received frames ends the wait itself, so its worker
// sleeps until there is something to do (and wakes now and then, for the
// guarding clock and a frame the signal missed): an idle bus costs next to
// nothing and the first frame after a quiet spell is taken at once. Without
// the signal the worker has to look: every millisecond, and ten times as
// often while an SDO reply is awaited. A request from the program wakes the
// worker at once whatever the wait.
constexpr uint32_t kSignalledWaitLimitMs = 100;
constexpr uint32_t kIdleWaitUs = 1000;
constexpr uint32_t kReplyDueWaitUs = 100;
constexpr uint32_t kUsPerMs = 1000;
// An SDO reply counts as due for at most this long after its request.
constexpr uint32_t kReplyDueLimitMs = kSdoReplyTimeoutMs;

constexpr int32_t kBaudRates[] = {25000, 50000, 75000, 125000, 250000, 500000, 800000, 1000000};

// The program's one adapter driver, and the bus that opened it (null while
// the driver is left from an open that failed).
std::unique_ptr<CCanDrvBase> g_driver;
const CCanOpenTarn* g_driverOwner = nullptr;
std::atomic<int> g_runningWorkers{0};

platform::ResetHook ResetState([] {
    if (g_driverOwner == nullptr) g_driver.reset();
});

}  // namespace

int32_t CanBaudRateFromId(int32_t baudRateId) {
    if (baudRateId < 0 || baudRateId >= static_cast<int32_t>(std::size(kBaudRates))) return 0;
    return kBaudRates[baudRateId];
}

CCanOpenTarn::CCanOpenTarn(int ownNode, const CanAdapterSettings* settings, CanWorkerMode mode)
    : ownNode_(ownNode), mode_(mode), signalledWaitLimitMs_(kSignalledWaitLimitMs) {
    SetErrorBookkeeping(CanErrorCategory, LastErrorOnSuccess::kKept);
    // A bus that did not come up still names its messages.
    name_.AssignText("CANOpen");
    lastGuardingTick_ = platform::GetTickCount();
    OpenAdapter(settings);
    if (open_) {
        busType_ = kCanOpenBusType;
        ioPort_ = settings->ioPort;
        hardwareId_ = settings->hardwareId;
        baudRateId_ = settings->baudRateId;
        baudRate_ = static_cast<uint32_t>(CanBaudRateFromId(settings->baudRateId));
        settingsText_.AssignText(platform::Format("%lu", static_cast<unsigned long>(baudRate_)).c_str());
        deviceCount_ = 1;
        searchOwnNodeFirst_ = true;
        if (mode_ == CanWorkerMode::kThread) {
            // Both are taken here, so the worker counts as running from the
            // start and a destruction right away still waits for it.
            stopMutex_.Lock();
            runMutex_.Lock();
            ++g_runningWorkers;
            worker_ = std::thread([this] { WorkerLoop(); });
        }
    }
    sdoTimeoutMs_ = kSdoReplyTimeoutMs;
}

CCanOpenTarn::~CCanOpenTarn() {
    if (worker_.joinable()) {
        stopMutex_.Unlock();
        workPosted_.Wake();
        worker_.join();
    }
    if (driver_ != nullptr) {
        g_driver.reset();
        g_driverOwner = nullptr;
        driver_ = nullptr;
    }
}

int CCanOpenTarn::OpenAdapter(const CanAdapterSettings* settings) {
    if (settings == nullptr) {
        Finish(kCanErrorNotOpen);
        return kCanErrorNotOpen;
    }
    // Only these two adapters have a driver; and an adapter another open bus
    // drives cannot be opened twice.
    if ((settings->hardwareId != kHardwareParallel && settings->hardwareId != kHardwareUsb) ||
        g_driverOwner != nullptr) {
        Finish(kCanErrorAdapter);
        return kCanErrorAdapter;
    }
    // A driver left from an earlier open that failed may be for the other
    // adapter, or inert for want of a library that is there by now.
    g_driver.reset();
    if (settings->hardwareId == kHardwareParallel) {
        g_driver = std::make_unique<CCanPeak>();
    } else {
        g_driver = std::make_unique<CCanPeakUSB>();
    }
    CanAdapterSettings record = *settings;
    record.baudRate = CanBaudRateFromId(record.baudRateId);
    const int result = g_driver->Init(record);
    if (result != kCanDriverOk) {
        Finish(kCanErrorAdapter);
        return result;
    }
    const CanDataValues none{};
    g_driver->SetMessageObject(kEmergencyObject, kEmergencyCobId + static_cast<uint32_t>(ownNode_), kFullFrame, none);
    g_driver->SetMessageObject(kPdoIn1Object, kPdoIn1CobId + static_cast<uint32_t>(ownNode_), kFullFrame, none);
    g_driver->SetMessageObject(kPdoIn2Object, kPdoIn2CobId + static_cast<uint32_t>(ownNode_), kFullFrame, none);
    g_driver->SetMessageObject(kNmtObject, kNmtCobId, kNmtLength, none);
    g_driver->SetMessageObject(
        kGuardingAnswerObject, kGuardingCobId + static_cast<uint32_t>(ownNode_), kGuardingAnswerLength, none);
    open_ = true;
    driver_ = g_driver.get();
    g_driverOwner = this;
    Finish(0);
    return result;
}

CanAdapterSettings* CCanOpenTarn::GetDriverSettings() { return g_driver ? &g_driver->GetSettings() : nullptr; }

const char* CCanOpenTarn::GetBusDisplayName() const { return "CANopen-Bus (LPT)"; }

bool CCanOpenTarn::IsWorkerRunning() {
    if (!runMutex_.TryLock()) return true;
    runMutex_.Unlock();
    return false;
}

int CCanOpenTarn::RunningWorkers() { return g_runningWorkers.load(); }

bool CCanOpenTarn::StopRequested() {
    if (!stopMutex_.TryLock()) return false;
    stopMutex_.Unlock();
    return true;
}

void CCanOpenTarn::WorkerLoop() {
    while (!StopRequested()) {
        // A round that did something may have more to do at once (the next
        // segment of a transfer, a second PDO); only an empty round waits.
        if (!RunRound().busy) WaitForWork();
    }
    --g_runningWorkers;
    runMutex_.Unlock();
}

void CCanOpenTarn::WaitForWork() {
    const int receive = driver_->ReceiveDescriptor();
    receiveSignalled_ = receive >= 0;
    ++waitsStarted_;
    if (receive >= 0) {
        const uint64_t ms = std::min(signalledWaitLimitMs_.load(), MsUntilGuardingDue());
        const uint32_t us = static_cast<uint32_t>(std::min<uint64_t>(ms * kUsPerMs, UINT32_MAX));
        const platform::DescriptorWait::Woken woken = workPosted_.WaitRealUs(us, receive);
        if (woken == platform::DescriptorWait::Woken::kDescriptor) ++waitsEndedByReceive_;
        if (woken != platform::DescriptorWait::Woken::kBadDescriptor) return;
        // A descriptor that cannot be waited on is no signal: look instead.
        receiveSignalled_ = false;
    }
    workPosted_.WaitRealUs(ReplyDue() ? kReplyDueWaitUs : kIdleWaitUs);
}

uint32_t CCanOpenTarn::MsUntilGuardingDue() {
    std::lock_guard<std::mutex> lock(recordsMutex_);
    if (!guardingOn_) return UINT32_MAX;
    const uint32_t since = platform::TicksSince(lastGuardingTick_, platform::GetTickCount());
    // Due once more than the period has passed.
    return since > guardingPeriodMs_ ? 0 : guardingPeriodMs_ - since + 1;
}

CCanOpenTarn::WorkerWaits CCanOpenTarn::GetWorkerWaits() const {
    return {waitsStarted_.load(), waitsEndedByReceive_.load(), receiveSignalled_.load()};
}

bool CCanOpenTarn::ReplyDue() const {
    return sdoReplyDue_ &&
           std::chrono::steady_clock::now() - sdoRequestTime_ <= std::chrono::milliseconds(kReplyDueLimitMs);
}

void CCanOpenTarn::Post(Event request) {
    events_[request].Set();
    workPosted_.Wake();
}

bool CCanOpenTarn::WaitEvent(Event event, uint32_t ms) {
    if (mode_ == CanWorkerMode::kStepped) return events_[event].Wait(ms, [this] { run_one_round(); });
    return events_[event].Wait(ms);
}

bool CCanOpenTarn::TakeFrame(int object, FrameRecord& record) {
    int length = 0;
    CanDataValues data{};
    if (!driver_->ReadMessageObject(object, length, data)) return false;
    // Bytes beyond the frame's length are not the sender's.
    for (int i = length; i < kCanDataBytes; ++i) data[static_cast<size_t>(i)] = 0;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    record.length = length;
    record.data = data;
    return true;
}

uint32_t CCanOpenTarn::SendRecord(int object, uint32_t cobId, const FrameRecord& record) {
    driver_->SetMessageObject(object, cobId, record.length, record.data);
    return driver_->SendMessageObject(object);
}

void CCanOpenTarn::SendSdoRequest(const FrameRecord& record) {
    const uint32_t node = static_cast<uint32_t>(record.node);
    driver_->SetMessageObject(kSdoReplyObject, kSdoReplyCobId + node, kFullFrame, CanDataValues{});
    const uint32_t result = SendRecord(kSdoRequestObject, kSdoRequestCobId + node, record);
    const bool refused = result != kCanLibraryOk;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        sdoWriteResult_ = result;
        sdoWriteStatus_ = refused ? driver_->AdapterStatus() : 0;
    }
    // An abort is answered by nothing.
    sdoReplyDue_ = !refused && record.data[0] != kSdoClientAbortCommand;
    sdoRequestTime_ = std::chrono::steady_clock::now();
    events_[kSdoSentEvent].Set();
    // No reply can come to a frame that was not sent: the waiting caller
    // learns it now, not at the end of its reply wait.
    if (refused) events_[kSdoReplyEvent].Set();
}

bool CCanOpenTarn::TakeGuardingAnswer() {
    FrameRecord answer;
    if (!TakeFrame(kGuardingAnswerObject, answer)) return false;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        nodeState_ = static_cast<uint8_t>(answer.data[0] & kNodeStateMask);
    }
    events_[kGuardingAnswerEvent].Set();
    return true;
}

bool CCanOpenTarn::run_one_round() { return RunRound().sdoReply; }

CCanOpenTarn::RoundOutcome CCanOpenTarn::RunRound() {
    RoundOutcome outcome;
    if (driver_ == nullptr) return outcome;
    FrameRecord record;
    if (TakeRequest(kSdoRequestEvent, sdoRequest_, record)) {
        SendSdoRequest(record);
        outcome.busy = true;
    }
    outcome.sdoReply = TakeFrame(kSdoReplyObject, sdoReply_);
    if (outcome.sdoReply) {
        sdoReplyDue_ = false;
        events_[kSdoReplyEvent].Set();
        outcome.busy = true;
    }
    if (TakeFrame(kEmergencyObject, emergency_)) {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        if (emergency_.length != 0) events_[kEmergencyEvent].Set();
        outcome.busy = true;
    }
    if (TakeFrame(kPdoIn1Object, pdoIn1_)) {
        events_[kPdoIn1Event].Set();
        outcome.busy = true;
    }
    if (TakeFrame(kPdoIn2Object, pdoIn2_)) {
        events_[kPdoIn2Event].Set();
        outcome.busy = true;
    }
    if (TakeGuardingAnswer()) outcome.busy = true;

    const uint32_t own = static_cast<uint32_t>(ownNode_);
    if (TakeRequest(kNmtRequestEvent, nmtRequest_, record)) {
        SendRecord(kNmtObject, kNmtCobId, record);
        outcome.busy = true;
    }
    bool guardingDue = false;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        const uint32_t now = platform::GetTickCount();
        if (guardingOn_ && platform::TicksSince(lastGuardingTick_, now) > guardingPeriodMs_) {
            lastGuardingTick_ = now;
            guardingDue = true;
        }
    }
    if (guardingDue) {
        driver_->SetMessageObject(kGuardingRequestObject,
                                  kGuardingCobId + own,
                                  kCanRemoteLengthFlag | kGuardingAnswerLength,
                                  CanDataValues{});
        driver_->SendMessageObject(kGuardingRequestObject);
        outcome.busy = true;
    }
    if (TakeGuardingAnswer()) outcome.busy = true;
    if (TakeRequest(kPdoOut1RequestEvent, pdoOut1_, record)) {
        SendPdo(pdoOut1_, record, kPdoOut1Object, kPdoOut1CobId + own, kPdoOut1SentEvent);
        outcome.busy = true;
    }
    if (TakeRequest(kPdoOut2RequestEvent, pdoOut2_, record)) {
        SendPdo(pdoOut2_, record, kPdoOut2Object, kPdoOut2CobId + own, kPdoOut2SentEvent);
        outcome.busy = true;
    }
    return outcome;
}

bool CCanOpenTarn::ReadEmergency(CanEmergencyRecord& record) {
    if (!open_ || !WaitEvent(kEmergencyEvent, kProcessDataWaitMs)) return false;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    record.values[0] = emergency_.data[3];
    record.values[1] = emergency_.data[4];
    record.values[2] = 0;
    return true;
}

bool CCanOpenTarn::ReadPdoIn1(CanDataValues& data) {
    if (!open_ || !WaitEvent(kPdoIn1Event, kProcessDataWaitMs)) return false;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    data = pdoIn1_.data;
    return true;
}

bool CCanOpenTarn::ReadPdoIn2(CanDataValues& data) {
    if (!open_ || !WaitEvent(kPdoIn2Event, kProcessDataWaitMs)) return false;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    for (int i = 0; i < pdoIn2_.length; ++i) data[static_cast<size_t>(i)] = pdoIn2_.data[static_cast<size_t>(i)];
    return true;
}

void CCanOpenTarn::PostRequest(FrameRecord& record, int length, const CanDataValues& data, Event request) {
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        record.length = length;
        record.data = data;
    }
    Post(request);
}

bool CCanOpenTarn::TakeRequest(Event request, const FrameRecord& source, FrameRecord& copy) {
    if (!events_[request].TryWait()) return false;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    copy = source;
    return true;
}

void CCanOpenTarn::SendPdo(FrameRecord& source, const FrameRecord& record, int object, uint32_t cobId, Event sent) {
    const uint32_t result = SendRecord(object, cobId, record);
    const uint32_t status = result != kCanLibraryOk ? driver_->AdapterStatus() : 0;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        source.writeResult = result;
        source.writeStatus = status;
    }
    events_[sent].Set();
}

bool CCanOpenTarn::WritePdo(FrameRecord& record, Event request, Event sent, const CanDataValues& data) {
    if (!open_) return false;
    PostRequest(record, kFullFrame, data, request);
    if (!WaitEvent(sent, kPdoFirstSentLimitMs)) return false;
    uint32_t result = 0;
    uint32_t status = 0;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        result = record.writeResult;
        status = record.writeStatus;
    }
    // Returns once a wait step passes without another send.
    while (WaitEvent(sent, kPdoSentStepMs)) {}
    if (result == kCanLibraryOk) return true;
    TheDataLogger().WriteEntry(platform::Format(
        "CANopen: the adapter refused the process data (CAN_Write 0x%04X, adapter status 0x%04X)", result, status));
    return false;
}

bool CCanOpenTarn::WritePdoOut1(const CanDataValues& data) {
    return WritePdo(pdoOut1_, kPdoOut1RequestEvent, kPdoOut1SentEvent, data);
}

bool CCanOpenTarn::WritePdoOut2(const CanDataValues& data) {
    return WritePdo(pdoOut2_, kPdoOut2RequestEvent, kPdoOut2SentEvent, data);
}

bool CCanOpenTarn::SendNmt(uint32_t command) {
    if (!open_) return false;
    PostRequest(nmtRequest_, kNmtLength, CanDataValues{command, kNmtAllNodes}, kNmtRequestEvent);
    return true;
}

bool CCanOpenTarn::StartNode() { return SendNmt(kNmtStartRemoteNode); }

bool CCanOpenTarn::EnterPreOperational() { return SendNmt(kNmtEnterPreOperational); }

bool CCanOpenTarn::StartNodeGuarding() {
    if (!open_) return false;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    guardingPeriodMs_ = kGuardingPeriodMs;
    guardingOn_ = true;
    return false;
}

int CCanOpenTarn::GetNodeState() {
    if (!open_) return kCanNodeStateUnknown;
    std::lock_guard<std::mutex> lock(recordsMutex_);
    if (!guardingOn_) return kCanNodeStateUnknown;
    if (nodeState_ == kNodeStateOperational) return kCanNodeStateOperational;
    if (nodeState_ == kNodeStatePreOperational) return kCanNodeStatePreOperational;
    return kCanNodeStateUnknown;
}
