// Making a device active (its parameter base from the cache, the cache file
// or the device; its signature; its setup context) and the periodic check
// that the device behind the active address is still the same one.
#include <cstdio>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "families/setup_context.h"
#include "families/setup_context_factory.h"
#include "motor/datalogger/data_logger.h"
#include "parameters/parabase/parameter_name.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kNoTypeDescriptionWarning = 74;
constexpr int kDeviceErrorMessage = 5;
constexpr int kCacheWithoutDescriptionError = 14;
constexpr int kIncompatibleCacheQuestion = 28;
constexpr int kReadBaseActivity = 1;
// The level from which an incompatible cache may be kept.
constexpr uint16_t kKeepCacheLevel = 6;
constexpr char kCacheDir[] = "..\\FIRMDATA";
constexpr char kPowerOnName[] = "PWRON";
constexpr char kUdsacName[] = "UDSAC";
constexpr char kSerialNumberNamePart[] = "S_NR";

void ProcessPendingEventsOnce() {
    GwCore* main = GetMainWindow();
    if (main != nullptr && GwRcMgr::is_valid_child(main)) main->peek_event();
}

void Log(const char* text) { TheDataLogger().WriteEntry(text); }

bool IsDeviceFamily(int family) { return family >= 3 && family <= 7; }

}  // namespace

bool TypeDescriptionExists(uint32_t typeNumber) {
    const std::string name =
        platform::Format("Type%d.xdl", static_cast<int>((typeNumber & 0xFFFF) / kDeviceClassDivisor));
    std::FILE* file = platform::OpenFile(name, "r");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

bool Main::SetActiveDevice(int address) {
    ++activationCount_;
    BusTransferFlag = true;
    if (address != activeAddress_) TheWindowHandler().CloseAll();
    // An address without a record on the active bus has no type to describe.
    const BusDeviceRecord* record = RecordAt(address);
    if (record == nullptr || !TypeDescriptionExists(record->typeNumber)) {
        ShowWarningMessage(kNoTypeDescriptionWarning);
        return false;
    }
    activeAddress_ = static_cast<int16_t>(address);
    if (!LoadActiveBase(address)) return false;
    if (!activeBase_->IsOnline()) {
        cachedBases_[address].reset();
        activeBase_ = nullptr;
        return false;
    }
    if (!ReadSignature()) return false;

    CreateSetupContext();
    storedRunMode_ = ReadRunMode();
    SetCanBlockOffsetFlag();
    RefreshActiveDeviceViews();
    UpdateMainTitle();
    RefreshUserLevel();
    ReopenAutostartWindows();
    if (HasPowerOnFlag()) activeBase_->WriteValueU8(kPowerOnParameter, 0);
    BusTransferFlag = false;
    return true;
}

bool Main::LoadActiveBase(int address) {
    if (cachedBases_[address] != nullptr) {
        activeBase_ = cachedBases_[address].get();
        return true;
    }
    const BusDeviceRecord* record = RecordAt(address);
    cachedBases_[address] = std::make_unique<parameterbase>(activeBus_, address);
    activeBase_ = cachedBases_[address].get();
    const std::string cachePath = platform::Format(
        "%s\\%u_%06.2fD", kCacheDir, static_cast<unsigned>(record->typeNumber), static_cast<double>(record->version));
    activeBase_->InitFile(cachePath.c_str());
    bool fromDevice = true;
    const int result = activeBase_->ReadFileBase();
    if (result == kParaOk) {
        if (activeBase_->IsFileBaseCompatible()) {
            fromDevice = false;
        } else if (GetUserLevel() >= kKeepCacheLevel && !ShowQuestionMessage(kIncompatibleCacheQuestion)) {
            Log("SetActiveDevice: Incompatible base cache (differences in CSXOR, CSADD) ignored in userlevel 6");
            fromDevice = false;
        }
    } else if (result == kParaNoDescriptionFile) {
        fromDevice = ShowErrorMessage(kCacheWithoutDescriptionError);
    }
    if (fromDevice && !ReadBaseFromDevice(address, cachePath)) return false;
    if (activeBase_ == nullptr) {
        cachedBases_[address].reset();
        return false;
    }
    return true;
}

bool Main::ReadBaseFromDevice(int address, const std::string& cachePath) {
    for (;;) {
        int result = kParaOk;
        {
            ActivMessage activity(kReadBaseActivity);
            result = activeBase_->ReadBusBase();
        }
        if (result == kParaOk) break;
        if (!ShowWarningMessage(kDeviceErrorMessage)) {
            cachedBases_[address].reset();
            activeBase_ = nullptr;
            return false;
        }
        ProcessPendingEventsOnce();
    }
    for (;;) {
        activeBase_->InitFile(cachePath.c_str());
        if (activeBase_->WriteFileBase() == kParaOk) break;
        // Without a cache file the base is still good to work with.
        if (!ShowWarningMessage(kDeviceErrorMessage)) break;
        ProcessPendingEventsOnce();
    }
    return true;
}

bool Main::ReadSignature() {
    ParaBase& base = *activeBase_;
    bool ok = true;
    if (HasParameterNamed(base, kUdsacParameter, kUdsacName)) {
        ok = base.ReadValueU16(kUdsacParameter, &udsacValue_) == kParaOk;
    }
    ok = ok && base.ReadValueFloat(kFirmwareVersionParameter, &firmwareVersion_) == kParaOk;
    ok = ok && base.ReadValueU16(kDeviceCodeParameter, &firmwareRevision_) == kParaOk;
    if (ok && PresentParameterName(base, kSerialNumberParameter).find(kSerialNumberNamePart) != std::string::npos) {
        ok = base.ReadValueString(kSerialNumberParameter, serialNumber_) == kParaOk;
    }
    if (!ok) ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
    return ok;
}

bool Main::HasPowerOnFlag() const {
    return activeBase_ != nullptr && HasParameterNamed(*activeBase_, kPowerOnParameter, kPowerOnName);
}

void Main::CreateSetupContext() {
    setupContext_.reset();
    if (activeBase_ == nullptr) return;
    setupContext_ = CreateSetupContextForFamily(GetActiveDeviceFamily(), GetMainWindow(), *activeBase_, true);
}

uint16_t Main::ReadRunMode() {
    if (!IsDeviceFamily(GetActiveDeviceFamily())) return 0;
    uint16_t mode = 0;
    if (activeBase_->ReadValueU16(kRunModeReadParameter, &mode) != kParaOk) {
        ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
        return 0;
    }
    return mode;
}

std::string Main::ReadActiveDeviceInfoText() {
    if (!IsDeviceFamily(GetActiveDeviceFamily())) return {};
    if (activeBase_->ReadBusParameter(kRunModeReadParameter, 0, activeBase_->GetValueCount(kRunModeReadParameter)) !=
        kParaOk) {
        ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
        return {};
    }
    return activeBase_->GetDispatchedValueText(kRunModeReadParameter, 0);
}

uint8_t Main::DeviceSignatureCheck() {
    if (UncouplingPending) {
        UncoupleAllDevices();
        return 1;
    }
    if (activeBase_ == nullptr) return 1;
    const uint8_t changed = GetDeviceSignatureFalseValue();
    float version = 0.0f;
    uint16_t revision = 0;
    if (activeBase_->ReadValueFloat(kFirmwareVersionParameter, &version) != kParaOk ||
        activeBase_->ReadValueU16(kDeviceCodeParameter, &revision) != kParaOk) {
        ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
        return 1;
    }
    if (version != firmwareVersion_ || revision != firmwareRevision_) {
        Log("CheckDeviceSignature: Different revision detected");
        return changed;
    }
    if (HasPowerOnFlag()) {
        uint8_t powerOn = 0;
        if (activeBase_->ReadValueU8(kPowerOnParameter, &powerOn) != kParaOk) {
            ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
            return 1;
        }
        if (powerOn != 0) {
            if (activeBase_->WriteValueU8(kPowerOnParameter, 0) != kParaOk) {
                ShowActiveDeviceError(kDeviceErrorMessage, nullptr);
                return 1;
            }
            if (ignoreRunMode_) {
                const uint16_t mode = ReadRunMode();
                if (mode == storedRunMode_) {
                    if (--ignoreCountdown_ <= 0) {
                        Log("DeviceSignatureCheck: Timeout for awaited runmode change");
                        ignoreCountdown_ = 0;
                        ignoreRunMode_ = false;
                        storedRunMode_ = mode;
                        UpdateMainTitle();
                    }
                } else {
                    Log("DeviceSignatureCheck: Runmode change detected and ignored");
                    ignoreRunMode_ = false;
                    storedRunMode_ = mode;
                    UpdateMainTitle();
                }
            } else if (!BusTransferFlag) {
                Log("DeviceSignatureCheck: PWRON message from Device");
                return changed;
            } else {
                Log("DeviceSignatureCheck: PWRON message from Device ignored");
            }
        }
    }
    if (ReadRunMode() == storedRunMode_) return 1;
    Log("DeviceSignatureCheck: Runmode change detected");
    return changed;
}

void Main::IgnoreNextRunModeChange() {
    Log("IgnoreNextRunModeChange adjusted");
    ignoreCountdown_ = kIgnoreRunModeReports;
    ignoreRunMode_ = true;
}

void SetCanBlockOffsetFlag() {
    Main* main = GetMain();
    const int family = main != nullptr ? main->GetActiveDeviceFamily() : 0;
    CanArraySubindexOffset = family == 3 || family == 4 ? 0 : 1;
}
