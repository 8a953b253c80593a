#include "families/parameter_freeze.h"

#include "app/services/message_box.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/system/token_source.h"
#include "toolkit/core/gw_core.h"

ParameterFreeze::ParameterFreeze(ParaBase* base, GwCore* window) : base_(base), window_(window) {
    ownerToken_ = platform::NewToken();
    if (base_ == nullptr) return;
    ParaWriteLock& lock = TheParaWriteLock();
    if (!lock.Acquire(ownerToken_)) {
        ShowErrorMessage(kFreezeLockedMessage);
        return;
    }
    for (size_t i = 0; i < kFrozenParameters.size(); ++i) {
        if (Read(kFrozenParameters[i], &saved_[i]) != 0) {
            ReportDeviceError();
            Abandon(0);
            return;
        }
    }
    // The reference values: a failure is shown and the freeze goes on.
    for (size_t i = 0; i < 2; ++i) {
        if (Write(kFrozenParameters[i], 0.0) != 0) ReportDeviceError();
    }
    // The limits: without them at 0 the test may not run.
    for (size_t i = 2; i < kFrozenParameters.size(); ++i) {
        if (Write(kFrozenParameters[i], 0.0) != 0) {
            ReportDeviceError();
            Abandon(static_cast<int>(i));
            return;
        }
    }
    if (Write(kFrozenUnsavedParameter, 0.0) != 0) ReportDeviceError();
    if (Read(kFreezeSavedParameter, &saved260_) != 0) ReportDeviceError();
    for (int number : kFrozenParameters) lock.Protect(ownerToken_, number);
    lock.Protect(ownerToken_, kFrozenUnsavedParameter);
    EnableFrame(false);
    active_ = true;
}

ParameterFreeze::~ParameterFreeze() { Restore(); }

bool ParameterFreeze::Restore() {
    EnableFrame(true);
    if (!active_) return true;
    active_ = false;
    ParaWriteLock& lock = TheParaWriteLock();
    bool restored = true;
    for (size_t i = 0; i < kFrozenParameters.size(); ++i) {
        lock.AllowNextWrite(ownerToken_);
        if (Write(kFrozenParameters[i], saved_[i]) != 0) {
            ReportDeviceError();
            restored = false;
            break;
        }
    }
    if (restored && Write(kFreezeSavedParameter, saved260_) != 0) ReportDeviceError();
    // Released on every path, marks and all, so that a later freeze can take
    // the lock again.
    lock.Release(ownerToken_);
    return restored;
}

int ParameterFreeze::Read(int number, double* out) {
    return base_->IsOnline() ? base_->ReadValueDouble(number, out) : base_->GetValueDouble(number, out);
}

int ParameterFreeze::Write(int number, double value) {
    return base_->IsOnline() ? base_->WriteValueDouble(number, value) : base_->SetValueDouble(number, value);
}

void ParameterFreeze::Abandon(int count) {
    for (int i = 0; i < count; ++i) Write(kFrozenParameters[static_cast<size_t>(i)], saved_[static_cast<size_t>(i)]);
    TheParaWriteLock().Release(ownerToken_);
}

void ParameterFreeze::EnableFrame(bool on) {
    if (GwCore* window = window_.get()) {
        if (GwCore* frame = window->frame()) on ? frame->enable() : frame->disable();
    }
}

void ParameterFreeze::ReportDeviceError() {
    GwCore* window = window_.get();
    ShowErrorMessageFor(kFreezeDeviceErrorMessage, base_, window != nullptr ? window->frame() : nullptr);
}
