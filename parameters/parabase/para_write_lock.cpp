#include "parameters/parabase/para_write_lock.h"

#include "platform/base/reset_hooks.h"

namespace {

platform::ResetHook ResetState([] { TheParaWriteLock().Reset(); });

}  // namespace

ParaWriteLock& TheParaWriteLock() {
    static ParaWriteLock lock;
    return lock;
}

void ParaWriteLock::Reset() {
    protected_.fill(0);
    owner_ = 0;
    permission_ = false;
}

bool ParaWriteLock::Acquire(int32_t owner) {
    if (IsHeld()) return false;
    owner_ = owner;
    return true;
}

bool ParaWriteLock::AllowNextWrite(int32_t owner) {
    if (!IsHolder(owner)) return false;
    permission_ = true;
    return true;
}

bool ParaWriteLock::Release(int32_t owner) {
    if (!IsHolder(owner)) return false;
    Reset();
    return true;
}

bool ParaWriteLock::Protect(int32_t owner, int number) {
    if (!IsHolder(owner) || number < 0 || number > kHighestParameter) return false;
    protected_[number] = 1;
    return true;
}

bool ParaWriteLock::IsProtected(int number) const {
    return number >= 0 && number <= kHighestParameter && protected_[number] != 0;
}

bool ParaWriteLock::TakeWritePermission() {
    const bool granted = permission_;
    permission_ = false;
    return granted;
}
