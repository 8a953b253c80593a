// The program-wide lock through which a window protects parameters against
// device writes and grants single writes while it holds the lock.
#pragma once

#include <array>
#include <cstdint>

#include "parameters/parabase/para_types.h"

class ParaWriteLock {
public:
    // All marks 0, no owner, no permission.
    void Reset();
    // Takes the lock for the nonzero token `owner`; false while it is held.
    bool Acquire(int32_t owner);
    // The holder grants the next protected write.
    bool AllowNextWrite(int32_t owner);
    // The holder gives the lock up; everything is reset.
    bool Release(int32_t owner);
    // The holder marks parameter `number` (0..999) as protected.
    bool Protect(int32_t owner, int number);
    bool IsHeld() const { return owner_ != 0; }
    bool IsProtected(int number) const;
    // Uses up a granted write: true (and cleared) when one was granted.
    bool TakeWritePermission();

private:
    bool IsHolder(int32_t owner) const { return owner != 0 && owner == owner_; }

    std::array<uint8_t, kParameterCount> protected_{};
    int32_t owner_ = 0;
    bool permission_ = false;
};

// The one lock of the program.
ParaWriteLock& TheParaWriteLock();
