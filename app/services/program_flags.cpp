// The program-wide flags with their start values, reset for every test.
#include "app/services/program_flags.h"

#include "platform/base/reset_hooks.h"

bool BusTransferFlag = true;
bool ModalFlag = false;
bool MessageBoxOpenFlag = false;
bool ErrorBoxFlag = false;
bool SerialWaitFlag = false;
bool UncouplingPending = false;
bool MessageBoxesEnabled = false;
bool DevicesUncoupled = false;
bool BusWriteLogging = true;
uint8_t CanArraySubindexOffset = 1;
bool ActivityWindowOpen = false;
bool AnimationOff = false;
bool ShowDeviceErrorFlag = false;
bool UserStateFlag = false;
double PollRateFactor = 1.0;
bool DeviceBusyFlag = false;

namespace {

platform::ResetHook ResetState([] {
    BusTransferFlag = true;
    ModalFlag = false;
    MessageBoxOpenFlag = false;
    ErrorBoxFlag = false;
    SerialWaitFlag = false;
    UncouplingPending = false;
    MessageBoxesEnabled = false;
    DevicesUncoupled = false;
    BusWriteLogging = true;
    CanArraySubindexOffset = 1;
    ActivityWindowOpen = false;
    AnimationOff = false;
    ShowDeviceErrorFlag = false;
    UserStateFlag = false;
    PollRateFactor = 1.0;
    DeviceBusyFlag = false;
});

}  // namespace

BusTransferGuard::BusTransferGuard() : raised_(!BusTransferFlag) { BusTransferFlag = true; }

BusTransferGuard::~BusTransferGuard() {
    if (raised_) BusTransferFlag = false;
}
