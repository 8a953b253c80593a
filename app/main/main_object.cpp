#include "app/main/main_object.h"

#include <memory>

#include "app/services/app_files.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_write_lock.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/registry_store.h"

namespace {

constexpr char kWindowsVersionKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kPathNameValue[] = "PathName";
constexpr size_t kPathNameBytes = 260;

struct MainObjectState {
    // Emptied before the object ends, so that nothing its destructor calls
    // finds it half-gone.
    std::unique_ptr<Main> Object;
};

MainObjectState& State() {
    // Never destroyed: the object ends by DestroyMainObject, not at exit.
    static auto* state = new MainObjectState;
    return *state;
}

void DeleteMain() { State().Object.reset(); }

platform::ResetHook ResetState([] { DeleteMain(); });

}  // namespace

Main::Main() {
    foundDevices_.fill(-1);
    std::string path;
    if (platform::TheRegistry().ReadValue(kWindowsVersionKey, kPathNameValue, kPathNameBytes, &path) ==
        platform::RegistryStatus::kOk) {
        windowsPath_ = dstring(path.c_str());
    }
    OpenApplicationFiles();
    SetServicesHooks(this);
}

Main::~Main() {
    if (GetServicesHooks() == this) SetServicesHooks(nullptr);
    activeBase_ = nullptr;
    setupContext_.reset();
    for (std::unique_ptr<ParaBase>& base : cachedBases_) base.reset();
    canBus_.reset();
    serialBus_.reset();
    activeBus_ = nullptr;
}

const char* Main::ActiveBusName() { return activeBus_ != nullptr ? activeBus_->GetName().Text() : nullptr; }

const char* Main::ActiveBusErrorText() { return activeBus_ != nullptr ? activeBus_->GetErrorText() : ""; }

const char* Main::ParaBaseErrorText(ParaBase* base) { return base != nullptr ? base->MessageBuffer : ""; }

bool Main::ParaBaseHasBus(ParaBase* base) { return base != nullptr && base->GetBus() != nullptr; }

bool Main::IsParaWriteLockHeld() { return TheParaWriteLock().IsHeld(); }

uint32_t Main::ActiveBusBaudRate() { return activeBus_ != nullptr ? activeBus_->GetBaudRate() : 0; }

ParaBase* Main::GetCachedParaBase(int address) const {
    return address >= 0 && address < kBusDeviceSlots ? cachedBases_[address].get() : nullptr;
}

BusDeviceRecord* Main::RecordAt(int address) const {
    return activeBus_ != nullptr ? activeBus_->GetDevice(address) : nullptr;
}

Main* GetMain() { return State().Object.get(); }

bool CreateMainObject() {
    DeleteMain();
    State().Object = std::make_unique<Main>();
    SetUserDataDirFromProfile();
    return true;
}

void DestroyMainObject() { DeleteMain(); }
