#include "motor/ident/ident_step.h"

#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/wait.h"
#include "bus/base/basic_bus.h"
#include "motor/ident/ident_access.h"
#include "motor/ident/ident_parameters.h"
#include "parameters/parabase/on_off_base.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_cursor.h"

namespace {

constexpr int kRuvexFamily = 4;

// What a device state asks of the step before it may start.
enum class Readiness { kReady, kComplain, kEndTransient, kWaitTransient, kUnknown };

struct StateRule {
    Readiness what;
    int message;  // of a complaint
};

StateRule RuvexRule(uint16_t state) {
    switch (state) {
        case 0:
            return {Readiness::kComplain, 129};
        case 1:
            return {Readiness::kComplain, 130};
        case 2:
            return {Readiness::kReady, 0};
        case 5:
        case 7:
            return {Readiness::kEndTransient, 0};
        case 10:
            return {Readiness::kWaitTransient, 0};
        case 8:
        case 9:
            return {Readiness::kComplain, 132};
        case 3:
        case 4:
        case 6:
        case 11:
            return {Readiness::kComplain, 131};
        default:
            return {Readiness::kUnknown, 0};
    }
}

StateRule PescoRule(uint16_t state) {
    switch (state) {
        case 1:
            return {Readiness::kComplain, 129};
        case 2:
            return {Readiness::kComplain, 130};
        case 3:
            return {Readiness::kReady, 0};
        case 8:
            return {Readiness::kComplain, 132};
        case 4:
        case 5:
        case 6:
        case 7:
            return {Readiness::kComplain, 131};
        default:
            return {Readiness::kUnknown, 0};
    }
}

uint16_t ReadDeviceState() {
    Main* main = GetMain();
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    if (bus == nullptr) return kDeviceStateNoDevice;
    return bus->ReadDeviceState(main->GetActiveAddress());
}

bool IsTransient(uint16_t state) { return state == 5 || state == 7 || state == 10; }

// A wait of the phases after the readiness check, under the wait cursor.
void WaitWithCursor(unsigned ms) {
    GwWaitObject cursor;
    WaitMilliseconds(ms);
}

bool Fail(int message) {
    ShowErrorMessage(message);
    return false;
}

// Main message `message` and the common ending, as one warning. False when
// the user gives up.
bool Complain(int message) {
    std::string text = GetMessageString(message, kMainMessagesSection).Text();
    text += GetMessageString(kIdentNotReadyFollowMessage, kMainMessagesSection).Text();
    return ShowWarningTextBox(text.c_str());
}

enum class Phase1 { kReady, kTransient, kFailed };

// Phase 1: asks the drive until its state lets a step start.
Phase1 AwaitReadiness(OnOffBase* base) {
    const bool ruvex = GetMain() != nullptr && GetMain()->GetActiveDeviceFamily() == kRuvexFamily;
    platform::Deadline unknownFor(kIdentUnreadableStateLimitMs);
    for (;;) {
        const uint16_t state = ReadDeviceState();
        const StateRule rule = ruvex ? RuvexRule(state) : PescoRule(state);
        if (rule.what != Readiness::kUnknown) unknownFor.Restart();
        switch (rule.what) {
            case Readiness::kReady:
                return Phase1::kReady;
            case Readiness::kComplain:
                if (!Complain(rule.message)) return Phase1::kFailed;
                break;
            case Readiness::kEndTransient:
                if (base->WriteValue(kTransientEndParameter, 1.0) != 0) {
                    IdentAccess(base).ShowAccessError();
                    return Phase1::kFailed;
                }
                return Phase1::kTransient;
            case Readiness::kWaitTransient:
                return Phase1::kTransient;
            case Readiness::kUnknown:
                // A state that could not be read, or none the table knows:
                // asked again shortly, for a while.
                if (unknownFor.Expired()) {
                    Fail(kIdentReadyTimeoutMessage);
                    return Phase1::kFailed;
                }
                WaitMilliseconds(kIdentUnreadableStatePollMs);
                break;
        }
    }
}

// Phase 2: true when the transient state ended in time.
bool AwaitTransientEnd() {
    platform::Deadline deadline(kIdentTransientDeadlineMs);
    for (;;) {
        WaitWithCursor(kIdentTransientPollMs);
        if (!IsTransient(ReadDeviceState())) return true;
        if (deadline.Expired()) return Fail(kIdentReadyTimeoutMessage);
    }
}

// Phase 3: the drive's identification back to idle.
bool ResetIdentification(IdentAccess& access) {
    WaitWithCursor(kIdentSettleMs);
    if (!access.Write(kIdentCommand, kIdentResetCommand)) return false;
    platform::Deadline deadline(kIdentResetDeadlineMs);
    for (;;) {
        WaitWithCursor(kIdentResetPollMs);
        double state = 0.0;
        if (!access.Read(kIdentState, &state)) return false;
        if (state == kIdentStateIdle) break;
        if (!access.Write(kIdentCommand, kIdentResetCommand)) return false;
        if (deadline.Expired()) break;
    }
    if (deadline.Expired()) return Fail(kIdentReadyTimeoutMessage);
    return true;
}

// Phase 4: the step itself.
bool RunStep(IdentAccess& access, double command) {
    WaitWithCursor(kIdentSettleMs);
    if (!access.Write(kIdentCommand, command)) return false;
    WaitWithCursor(kIdentStepStartWaitMs);
    platform::Deadline deadline(kIdentStepDeadlineMs);
    double state = 0.0;
    for (;;) {
        WaitWithCursor(kIdentStepPollMs);
        if (!access.Read(kIdentState, &state)) return false;
        if (state == kIdentStateDone || state == kIdentStateFailed) break;
        if (state == kIdentStateIdle && !access.Write(kIdentCommand, command)) return false;
        if (deadline.Expired()) return Fail(kIdentStepTimeoutMessage);
    }
    if (state == kIdentStateFailed) {
        ShowInfoMessage(kIdentStepFailedMessage);
        return false;
    }
    WaitWithCursor(kIdentStepDoneWaitMs);
    return true;
}

}  // namespace

bool RunIdentStep(double command, OnOffBase* base) {
    for (;;) {
        const Phase1 ready = AwaitReadiness(base);
        if (ready == Phase1::kFailed) return false;
        if (ready == Phase1::kReady) break;
        if (!AwaitTransientEnd()) return false;
    }
    IdentAccess access(base);
    return ResetIdentification(access) && RunStep(access, command);
}
