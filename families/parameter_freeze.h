// Holds the reference and limit values of a drive at 0 while a controller
// test runs: the freeze takes the program's parameter write lock, saves the
// values it changes, writes 0, protects the parameters against every other
// writer and disables the calling window; Restore (or the end of the scope)
// writes the saved values back and gives the lock up.
#pragma once

#include <array>
#include <cstdint>

#include "toolkit/core/gw_ref.h"

class GwCore;
class ParaBase;

// The frozen parameters: the four held at 0 and restored, the one held at 0
// only, and the one saved and restored without a change.
inline constexpr std::array<int, 4> kFrozenParameters = {280, 281, 289, 290};
inline constexpr int kFrozenUnsavedParameter = 284;
inline constexpr int kFreezeSavedParameter = 260;
// Main messages: the lock is held by another owner; a device access failed.
inline constexpr int kFreezeLockedMessage = 140;
inline constexpr int kFreezeDeviceErrorMessage = 5;

class ParameterFreeze {
public:
    // Freezes the device of `base`; the caller runs its test only when
    // Active() answers true. `window`'s frame is disabled while it holds.
    ParameterFreeze(ParaBase* base, GwCore* window);
    ~ParameterFreeze();
    ParameterFreeze(const ParameterFreeze&) = delete;
    ParameterFreeze& operator=(const ParameterFreeze&) = delete;

    // Enables the window's frame; an active freeze writes its saved values
    // back and releases the lock. False when a write back failed (the lock
    // is released all the same).
    bool Restore();

    bool Active() const { return active_; }
    int32_t OwnerToken() const { return ownerToken_; }

private:
    int Read(int number, double* out);
    int Write(int number, double value);
    // Writes the first `count` saved values back after a construction that
    // failed, best effort, and gives the lock up.
    void Abandon(int count);
    void EnableFrame(bool on);
    void ReportDeviceError();

    std::array<double, 4> saved_{};
    bool active_ = false;
    ParaBase* base_ = nullptr;
    int32_t ownerToken_ = 0;
    GwRef<> window_;
    double saved260_ = 0.0;
};
