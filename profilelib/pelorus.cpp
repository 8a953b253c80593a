// The profile-file library: one global profile behind seven C functions.
#include "profilelib/pelorus.h"

#include <memory>
#include <new>

#include "toolkit/profile/gw_profile.h"

namespace {

// The one open profile; null while closed. Not locked: one caller thread.
std::unique_ptr<GwProfile> g_profile;

const char* const kEmpty = "";

// No C++ exception may cross into the calling program: a failure is a 0 or an
// empty text like every other refusal.
template <typename Result, typename Fn>
Result Guarded(Result failure, Fn&& fn) noexcept {
    try {
        return fn();
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

int PL_Open(const char* path) {
    g_profile.reset();
    return Guarded(0, [&] {
        g_profile = std::make_unique<GwProfile>(path);
        return 1;
    });
}

int PL_IsValid(void) { return g_profile && g_profile->is_valid() ? 1 : 0; }

int PL_Save(void) {
    return Guarded(0, [] { return g_profile && g_profile->save() ? 1 : 0; });
}

int PL_SetSection(const char* section) {
    return Guarded(0, [&] { return g_profile && g_profile->select_section(section, true) ? 1 : 0; });
}

int PL_SetValue(const char* key, const char* value) {
    return Guarded(0, [&] { return g_profile && g_profile->write(key, value) ? 1 : 0; });
}

const char* PL_Value(const char* key) {
    return Guarded(kEmpty, [&] { return g_profile ? g_profile->read(key) : kEmpty; });
}

void PL_Close(void) { g_profile.reset(); }

}  // extern "C"
