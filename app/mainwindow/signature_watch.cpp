#include "app/mainwindow/signature_watch.h"

#include <cstring>
#include <memory>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "bus/base/timeout.h"
#include "devicewin/poll_timer.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr uint32_t kWatchMaximumMs = 100000;
constexpr uint32_t kWatchAt9600Ms = 3000;
constexpr uint32_t kWatchMinimumMs = 1500;
// While a service-state message is open the watch looks at least this often.
constexpr uint32_t kServiceStateMaximumMs = 2000;
constexpr int kServiceStatePasses = 30;
constexpr uint32_t kServiceStatePassWaitMs = 1000;
constexpr int kServiceLevel = 6;
constexpr int kDeviceAccessMessage = 5;
constexpr int kServiceProgressMessage = 23;
constexpr int kServiceStateMessage = 16;
constexpr int kServiceLoadParameter = 5;
constexpr char kServiceLoadName[] = "SVSLD";
constexpr int kServiceFlagParameter = 132;
constexpr int kOtherServiceFlagParameter = 150;

struct StateMessages {
    std::unique_ptr<ProgressMessage> Progress;
    std::unique_ptr<ActivMessage> Service;       // families 3 to 7
    std::unique_ptr<ActivMessage> OtherService;  // every other family
};

StateMessages& State() {
    static StateMessages state;
    return state;
}

platform::ResetHook ResetState([] {
    State().Progress.release();
    State().Service.release();
    State().OtherService.release();
});

bool HasParameterNamed(ParaBase& base, int number, const char* name) {
    const char* actual = base.GetParameterName(number);
    return actual != nullptr && std::strncmp(actual, name, std::strlen(name)) == 0;
}

// Reads a byte of the service state; false when the passes end.
enum class Read { kValue, kRetry, kEnd };

Read ReadServiceByte(ParaBase& base, int number, uint8_t& value) {
    if (base.ReadValueU8(number, &value) == 0) return Read::kValue;
    return ShowErrorMessageFor(kDeviceAccessMessage, &base) ? Read::kRetry : Read::kEnd;
}

// Keeps `message` open while `active`; false when the state has ended.
bool FollowState(std::unique_ptr<ActivMessage>& message, bool active, PollTimer& timer) {
    if (!active) {
        message.reset();
        return false;
    }
    if (!message) message = std::make_unique<ActivMessage>(kServiceStateMessage);
    timer.Maximum = kServiceStateMaximumMs;
    return true;
}

void WatchServiceState(Main& main, PollTimer& timer) {
    ParaBase* base = main.ActiveParaBase();
    if (base == nullptr) return;
    const int family = main.GetActiveDeviceFamily();
    for (int pass = 0; pass < kServiceStatePasses; ++pass) {
        uint8_t value = 0;
        Read read = Read::kValue;
        if (family == 4 && HasParameterNamed(*base, kServiceLoadParameter, kServiceLoadName)) {
            read = ReadServiceByte(*base, kServiceLoadParameter, value);
            if (read == Read::kEnd) return;
            if (read == Read::kValue) {
                if (value != 0) {
                    if (!State().Progress) {
                        State().Progress = std::make_unique<ProgressMessage>(kServiceProgressMessage, 100.0);
                    }
                    State().Progress->SetValue(static_cast<double>(value));
                    timer.Maximum = kServiceStateMaximumMs;
                } else {
                    State().Progress.reset();
                }
            }
        }
        const bool servoFamily = family >= 3 && family <= 7;
        read = ReadServiceByte(*base, servoFamily ? kServiceFlagParameter : kOtherServiceFlagParameter, value);
        if (read == Read::kEnd) return;
        if (read == Read::kValue &&
            !FollowState(servoFamily ? State().Service : State().OtherService, value != 0, timer)) {
            return;
        }
        BusyWait(kServiceStatePassWaitMs);
    }
}

void SignatureChanged(Main& main) {
    TheDataLogger().WriteEntry(kSignatureChangeLog);
    if (GetUserLevel() < kServiceLevel) {
        ShowInfoMessage(kSignatureChangedMessage);
    } else if (!ShowWarningMessage(kSignatureChangedMessage)) {
        TheDataLogger().WriteEntry(kSignatureIgnoredLog);
        return;
    }
    const bool scan = main.LastSearchWasScan();
    main.UncoupleAllDevices();
    scan ? main.ScanNet() : main.SearchDevice();
    RefreshBusDisplay();
    if (main.FoundDevices()[0] != -1) main.SetActiveDevice(main.FoundDevices()[0]);
}

}  // namespace

void DestroyDeviceStateMessages() {
    State().Progress.reset();
    State().Service.reset();
    State().OtherService.reset();
}

int CB_CheckDeviceSignature(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    // The watch checks for an online device itself, so the guard need not:
    // a pending uncoupling is left to the signature check.
    if (main == nullptr || !main->HasOnlineDevice() || !main->CheckTimerIntegrity(widget, false)) {
        DestroyDeviceStateMessages();
        return 1;
    }
    if (IsMessageBoxOpen()) return 1;
    widget->stop_timer();
    PollTimer timer{kWatchMaximumMs, kWatchAt9600Ms, kWatchMinimumMs, widget};
    if (!BusTransferFlag && main->DeviceSignatureCheck() != 1) {
        SignatureChanged(*main);
    } else if (!UncouplingPending) {
        DestroyDeviceStateMessages();
    } else {
        WatchServiceState(*main, timer);
    }
    timer.Restart();
    return 1;
}
