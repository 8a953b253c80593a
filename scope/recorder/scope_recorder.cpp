// The engine's device protocol: attaching, the control parameter, trigger,
// channels, variables and the times of a recording.
#include "scope/recorder/scope_recorder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/base/gw_path.h"

namespace {

// Parameter 65 by mode index: both edges, falling edge, rising edge,
// automatic, recorder off.
constexpr int16_t kTriggerModeValues[kScopeTriggerModeCount] = {4, 3, 2, 1, -1};

constexpr double kMsPerSecond = 1000.0;
constexpr double kSecondsPerMs = 0.001;
constexpr double kLargestDivider = 65535.0;
// Rounding of the divider: a fraction of more than this goes down.
constexpr double kRoundDownAbove = 0.5;
// Sample count of a recording without an active channel when parameter 62
// has no minimum.
constexpr double kFallbackSampleCount = 32.0;
// A recording shorter than one interval becomes this many intervals.
constexpr double kShortestRecordIntervals = 100.0;

// Units of a variable of unit "variable", by control type (parameter 300).
constexpr const char* kControlTypeUnits[] = {"Hz", "Nm", "1/min", "incr"};
constexpr char kNoUnit[] = "none";
constexpr char kVariableUnit[] = "variable";
// Device class whose variables of unit "variable" are always in Hz.
constexpr int kFrequencyDeviceClass = 3;

bool IsChannel(int channel) { return channel >= 0 && channel < kScopeChannelCount; }
int ConfigParameter(int channel) { return kScopeFirstConfigParameter + 2 * channel; }
int VariableParameter(int channel) { return kScopeFirstVariableParameter + 2 * channel; }

void ShowActiveDeviceError(int number) {
    ServicesHooks* hooks = GetServicesHooks();
    ShowDeviceError(number, hooks != nullptr ? hooks->ActiveParaBase() : nullptr, GetMainWindow());
}

}  // namespace

bool ScopeTriggerModeValue(int index, int16_t* value) {
    if (index < 0 || index >= kScopeTriggerModeCount) return false;
    *value = kTriggerModeValues[index];
    return true;
}

int ScopeTriggerModeIndex(int16_t value) {
    for (int i = 0; i < kScopeTriggerModeCount; ++i)
        if (kTriggerModeValues[i] == value) return i;
    return 0;
}

// --- construction ---

ScopeRecorder::ScopeRecorder(const char* setupFile) {
    ServicesHooks* hooks = GetServicesHooks();
    Construct(hooks != nullptr ? hooks->ActiveParaBase() : nullptr, setupFile);
}

ScopeRecorder::ScopeRecorder(ParaBase* paraBase, const char* setupFile) { Construct(paraBase, setupFile); }

void ScopeRecorder::Construct(ParaBase* paraBase, const char* setupFile) {
    if (!Attach(paraBase)) {
        valid_ = false;
        return;
    }
    if (setupFile == nullptr || setupFile[0] == '\0') return;
    setupFile_.AssignText(setupFile);
    if (!WriteSetupFile(setupFile)) setupFile_.Clear();
}

ScopeRecorder::~ScopeRecorder() {
    // The settings found at construction go back into the device.
    if (base_ != nullptr && setupFile_.Length() > 0) ReadSetupFile(setupFile_.Text());
}

void ScopeRecorder::SetDefaultExportPaths() {
    const GwString header = GwMakepath("", kScopeExportDir, kScopeExportName, kScopeHeaderExtension);
    const GwString value = GwMakepath("", kScopeExportDir, kScopeExportName, kScopeValueExtension);
    base_->SetScopeExportPaths(header.c_str(), value.c_str());
}

bool ScopeRecorder::Attach(ParaBase* paraBase) {
    base_ = paraBase;
    error_ = false;
    attached_ = true;
    list_ = nullptr;
    if (base_ == nullptr) return false;
    SetDefaultExportPaths();
    const bool loaded = CheckResult(base_->LoadScopeVariableList());
    list_ = base_->GetScopeVariables();
    return loaded;
}

bool ScopeRecorder::CheckResult(int code) {
    if (code == 0) return true;
    ShowDeviceError(kScopeDeviceErrorMessage, base_, GetMainWindow());
    error_ = true;
    return false;
}

// --- reads with the stored value as fall-back ---

uint8_t ScopeRecorder::ReadU8(int number) {
    uint8_t v = 0;
    if (!CheckResult(base_->ReadValueU8(number, &v))) base_->GetValueU8(number, &v);
    return v;
}

uint16_t ScopeRecorder::ReadU16(int number) {
    uint16_t v = 0;
    if (!CheckResult(base_->ReadValueU16(number, &v))) base_->GetValueU16(number, &v);
    return v;
}

int16_t ScopeRecorder::ReadS16(int number) {
    int16_t v = 0;
    if (!CheckResult(base_->ReadValueS16(number, &v))) base_->GetValueS16(number, &v);
    return v;
}

float ScopeRecorder::ReadFloat(int number) {
    float v = 0.0f;
    if (!CheckResult(base_->ReadValueFloat(number, &v))) base_->GetValueFloat(number, &v);
    return v;
}

bool ScopeRecorder::ReadConfig(int channel, uint16_t* config) {
    *config = 0;
    return IsChannel(channel) && CheckResult(base_->ReadValueU16(ConfigParameter(channel), config));
}

// --- the control parameter ---

bool ScopeRecorder::Start() {
    return base_ != nullptr && CheckResult(base_->WriteValueU16(kScopeControlParameter, kScopeStart));
}

bool ScopeRecorder::Stop() {
    return base_ != nullptr && CheckResult(base_->WriteValueU16(kScopeControlParameter, kScopeStop));
}

bool ScopeRecorder::IsRunning() {
    uint16_t state = 0;
    return base_ != nullptr && CheckResult(base_->ReadValueU16(kScopeControlParameter, &state)) &&
           (state & kScopeRunningBit) != 0;
}

bool ScopeRecorder::IsStopped() {
    uint16_t state = 0;
    return base_ != nullptr && CheckResult(base_->ReadValueU16(kScopeControlParameter, &state)) &&
           (state & kScopeRunningBit) == 0;
}

bool ScopeRecorder::IsTriggered() {
    uint16_t state = 0;
    return base_ != nullptr && CheckResult(base_->ReadValueU16(kScopeControlParameter, &state)) &&
           (state & kScopeTriggeredBit) != 0;
}

// --- trigger ---

bool ScopeRecorder::SetTriggerChannel(int channel) {
    return base_ != nullptr && IsChannel(channel) &&
           CheckResult(base_->WriteValueU8(kScopeTriggerChannelParameter, static_cast<uint8_t>(channel)));
}

int ScopeRecorder::GetTriggerChannel() { return base_ != nullptr ? ReadU8(kScopeTriggerChannelParameter) : 0; }

bool ScopeRecorder::SetTriggerMode(int index) {
    int16_t value = 0;
    return base_ != nullptr && ScopeTriggerModeValue(index, &value) &&
           CheckResult(base_->WriteValueS16(kScopeTriggerModeParameter, value));
}

int ScopeRecorder::GetTriggerMode() {
    return base_ != nullptr ? ScopeTriggerModeIndex(ReadS16(kScopeTriggerModeParameter)) : 0;
}

bool ScopeRecorder::SetPreTrigger(double percent) {
    return base_ != nullptr &&
           CheckResult(base_->WriteValueFloat(kScopePreTriggerParameter, static_cast<float>(percent)));
}

double ScopeRecorder::GetPreTrigger() { return base_ != nullptr ? ReadFloat(kScopePreTriggerParameter) : 0.0; }

const ScopeVariable* ScopeRecorder::SelectChannelVariable(int channel, double* factor) {
    if (base_ == nullptr || list_ == nullptr || !IsChannel(channel)) return nullptr;
    const uint16_t config = ReadU16(ConfigParameter(channel));
    const uint16_t index = ReadU16(VariableParameter(channel));
    if (!list_->SelectByKindIndex(index, ScopeKindOfConfig(config))) return nullptr;
    *factor = list_->GetCurrentFactor();
    return list_->Current();
}

bool ScopeRecorder::SetTriggerLevel(double level) {
    if (base_ == nullptr) return false;
    double factor = 0.0;
    const ScopeVariable* variable = SelectChannelVariable(GetTriggerChannel(), &factor);
    if (variable == nullptr) {
        ShowActiveDeviceError(kScopeVariableMissingMessage);
        return false;
    }
    const auto x = static_cast<float>(level / factor);
    const int16_t raw =
        variable->width_kind == kScopeKind32
            ? static_cast<int16_t>(static_cast<uint32_t>(FloatToFixedPoint32(x, variable->fraction_bits)) >> 16)
            : FloatToFixedPoint16(x, variable->fraction_bits);
    return CheckResult(base_->WriteValueS16(kScopeTriggerLevelParameter, raw));
}

double ScopeRecorder::GetTriggerLevel() {
    if (base_ == nullptr) return 0.0;
    const float level = ReadFloat(kScopeTriggerLevelParameter);
    double factor = 0.0;
    const ScopeVariable* variable = SelectChannelVariable(GetTriggerChannel(), &factor);
    if (variable == nullptr) return 0.0;
    // The widest level the field must show is that of the most negative raw
    // value of the variable.
    const double lowest = variable->width_kind == kScopeKind32
                              ? FixedPoint32ToDouble(std::numeric_limits<int32_t>::min(), variable->fraction_bits)
                              : FixedPoint16ToDouble(std::numeric_limits<int16_t>::min(), variable->fraction_bits);
    const std::string widest = platform::Format("%f", factor * lowest);
    levelIntegerWidth_ = static_cast<int>(std::min(widest.find_first_of(".,"), widest.size())) + 1;
    return ScopeRawToValue(*variable, factor, static_cast<int16_t>(level));
}

// --- channels ---

bool ScopeRecorder::SetChannelActive(int channel, bool on) {
    uint16_t config = 0;
    if (base_ == nullptr || !ReadConfig(channel, &config)) return false;
    config =
        on ? static_cast<uint16_t>(config | kScopeChannelActive) : static_cast<uint16_t>(config & ~kScopeChannelActive);
    return CheckResult(base_->WriteValueU16(ConfigParameter(channel), config));
}

bool ScopeRecorder::IsChannelActive(int channel) {
    return base_ != nullptr && IsChannel(channel) && (ReadU16(ConfigParameter(channel)) & kScopeChannelActive) != 0;
}

bool ScopeRecorder::SetChannelVariable(int channel, const char* name) {
    if (base_ == nullptr) return false;
    if (list_ == nullptr || name == nullptr || !list_->SelectByName(name)) {
        ShowErrorMessage(kScopeVariableMissingMessage);
        return false;
    }
    const ScopeVariable variable = *list_->Current();
    return AssignChannelVariable(channel, variable.width_kind, variable.index_within_kind);
}

bool ScopeRecorder::AssignChannelVariable(int channel, int kind, int index) {
    uint16_t config = 0;
    if (base_ == nullptr || !ReadConfig(channel, &config)) return false;
    config = kind == kScopeKind32 ? static_cast<uint16_t>(config | kScopeChannel32Bit)
                                  : static_cast<uint16_t>(config & ~kScopeChannel32Bit);
    return CheckResult(base_->WriteValueU16(ConfigParameter(channel), config)) &&
           CheckResult(base_->WriteValueU16(VariableParameter(channel), static_cast<uint16_t>(index)));
}

std::string ScopeRecorder::GetChannelVariableName(int channel) {
    double factor = 0.0;
    const ScopeVariable* variable = SelectChannelVariable(channel, &factor);
    if (variable == nullptr) {
        ShowErrorMessage(kScopeVariableMissingMessage);
        return {};
    }
    return variable->name;
}

std::string ScopeRecorder::UnitOf(const ScopeVariable& variable) {
    if (variable.unit == kVariableUnit) return GetControlTypeUnit();
    return variable.unit;  // "none" is kept empty by the list
}

std::string ScopeRecorder::GetChannelUnit(int channel) {
    double factor = 0.0;
    const ScopeVariable* variable = SelectChannelVariable(channel, &factor);
    return variable != nullptr ? UnitOf(*variable) : std::string();
}

std::string ScopeRecorder::GetTriggerUnit() { return GetChannelUnit(GetTriggerChannel()); }

const char* ScopeRecorder::GetControlTypeUnit() {
    if (base_ == nullptr) return kNoUnit;
    double code = 0.0;
    base_->GetValueDouble(kDeviceCodeParameter, &code);
    if (static_cast<int>(code) / kDeviceClassDivisor == kFrequencyDeviceClass) return kControlTypeUnits[0];
    const uint8_t type = ReadU8(kScopeControlTypeParameter);
    return type < std::size(kControlTypeUnits) ? kControlTypeUnits[type] : kNoUnit;
}

double ScopeRecorder::GetChannelValue(int channel, const char* name) {
    if (base_ == nullptr || !IsChannel(channel)) return 0.0;
    if (list_ == nullptr || name == nullptr || !list_->SelectByName(name)) {
        ShowErrorMessage(kScopeVariableMissingMessage);
        return 0.0;
    }
    const ScopeVariable variable = *list_->Current();
    const double factor = list_->GetCurrentFactor();
    return ScopeRawToValue(variable, factor, ReadS16(kScopeFirstActualParameter + channel));
}

int ScopeRecorder::GetBytesPerRow() {
    if (base_ == nullptr) return 0;
    int bytes = 0;
    for (int channel = 0; channel < kScopeChannelCount; ++channel) {
        uint16_t config = 0;
        if (!ReadConfig(channel, &config)) return 0;
        if (config & kScopeChannelActive) bytes += ScopeBytesOfKind(ScopeKindOfConfig(config));
    }
    return bytes;
}

// --- times ---

double ScopeRecorder::BaseTime() { return ReadFloat(kScopeBaseTimeParameter); }

double ScopeRecorder::Limit60(bool maximum) {
    double limit = 0.0;
    if (maximum)
        base_->GetMaximumAsDouble(kScopeDividerParameter, &limit);
    else
        base_->GetMinimumAsDouble(kScopeDividerParameter, &limit);
    return limit;
}

double ScopeRecorder::GetTimeBase() {
    if (base_ == nullptr) return 0.0;
    const double divider = ReadU16(kScopeDividerParameter);
    return (divider + 1) * BaseTime() * kMsPerSecond;
}

double ScopeRecorder::GetMinTimeBase() {
    return base_ != nullptr ? (Limit60(false) + 1) * BaseTime() * kMsPerSecond : 0.0;
}

double ScopeRecorder::GetMaxTimeBase() {
    return base_ != nullptr ? (Limit60(true) + 1) * BaseTime() * kMsPerSecond : 0.0;
}

double ScopeRecorder::MinIntervalSeconds() { return GetMinTimeBase() * kSecondsPerMs; }

double ScopeRecorder::RecordTimeFor(double divider, double length) {
    int bytesPerRow = GetBytesPerRow();
    if (bytesPerRow == 0) bytesPerRow = kScopeBytes16;
    const double rows = std::floor(length / bytesPerRow);
    return (divider + 1) * rows * BaseTime();
}

double ScopeRecorder::GetRecordTime() {
    if (base_ == nullptr) return 0.0;
    const double divider = ReadU16(kScopeDividerParameter);
    return RecordTimeFor(divider, ReadU16(kScopeLengthParameter));
}

double ScopeRecorder::GetMinRecordTime() {
    return base_ != nullptr ? RecordTimeFor(Limit60(false), ReadU16(kScopeLengthParameter)) : 0.0;
}

double ScopeRecorder::GetMaxRecordTime() {
    return base_ != nullptr ? RecordTimeFor(Limit60(true), ReadU16(kScopeLengthParameter)) : 0.0;
}

bool ScopeRecorder::IsSampleCountWritable() {
    return base_ != nullptr && base_->IsWriteAllowed(kScopeLengthParameter, kSetterWriteLevel);
}

bool ScopeRecorder::WriteSampleCount(double n) {
    return CheckResult(base_->WriteValueDouble(kScopeLengthParameter, std::trunc(n)));
}

bool ScopeRecorder::SetTimeBase(double ms) {
    if (base_ == nullptr) return false;
    if (ms == 0 && IsSampleCountWritable()) {
        double length = 0.0;
        base_->GetDefaultAsDouble(kScopeLengthParameter, &length);
        if (!WriteSampleCount(length)) return false;
    }
    const double baseTime = BaseTime();
    const double x = std::min(ms, GetMaxTimeBase());
    const double f = x * kSecondsPerMs / baseTime;
    double g = std::ceil(f);
    if (g - f > kRoundDownAbove) g = std::floor(f);
    // A broken base time (0, NaN) or a negative interval gives the shortest.
    if (!(g >= 1)) g = 1;
    g = std::min(g, kLargestDivider);
    return CheckResult(base_->WriteValueU16(kScopeDividerParameter, static_cast<uint16_t>(g - 1)));
}

bool ScopeRecorder::SetRecordTime(double seconds) {
    if (base_ == nullptr) return false;
    double t = seconds;
    const bool writable = IsSampleCountWritable();
    double n = 0.0;
    base_->GetDefaultAsDouble(kScopeLengthParameter, &n);
    if (!writable) {
        n = ReadU16(kScopeLengthParameter);
    } else if (!IsRunning()) {
        if (!WriteSampleCount(n)) return false;
    }

    const double shortest = MinIntervalSeconds();
    const int bytesPerRow = GetBytesPerRow();
    if (t == 0) t = shortest * std::floor(n / (bytesPerRow == 0 ? 1 : bytesPerRow));
    if (t < shortest) t = kShortestRecordIntervals * shortest;
    if (!writable) return SetTimeBase(t * bytesPerRow / n * kMsPerSecond);

    if (t > GetMaxRecordTime()) {
        double largest = 0.0;
        base_->GetMaximumAsDouble(kScopeLengthParameter, &largest);
        while (t > GetMaxRecordTime()) {
            if (n < largest) {
                if (!WriteSampleCount(largest)) return false;
                n = largest;
            } else {
                t = GetMaxRecordTime();
                break;
            }
        }
    } else if (t < GetMinRecordTime()) {
        double count = 0.0;
        if (bytesPerRow == 0) {
            base_->GetMinimumAsDouble(kScopeLengthParameter, &count);
            if (count == 0) count = kFallbackSampleCount;
        } else {
            count = bytesPerRow * t / shortest;
        }
        if (!WriteSampleCount(count)) return false;
    }
    n = ReadU16(kScopeLengthParameter);
    return SetTimeBase(t / n * bytesPerRow * kMsPerSecond);
}

// --- the variable list ---

const char* ScopeRecorder::NextVisibleVariable() {
    if (list_ != nullptr) {
        const auto& entries = list_->Entries();
        while (listCursor_ < entries.size()) {
            const ScopeVariable& variable = entries[listCursor_++];
            if (variable.level <= GetUserLevel()) return variable.name.c_str();
        }
    }
    listCursor_ = 0;
    return nullptr;
}

// --- reading and exporting ---

bool ScopeRecorder::ReadAndExport() {
    if (base_ == nullptr) return false;
    SetDefaultExportPaths();
    if (base_->ReadScopeBuffer() != 0) return false;
    return CheckResult(base_->ExportScopeData());
}

bool ScopeRecorder::ExportTo(const char* path) {
    if (base_ == nullptr || path == nullptr) return false;
    GwString drive, dir, name;
    GwSplitpath(path, &drive, &dir, &name, nullptr);
    const GwString header = GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), kScopeHeaderExtension);
    const GwString value = GwMakepath(drive.c_str(), dir.c_str(), name.c_str(), kScopeValueExtension);
    base_->SetScopeExportPaths(header.c_str(), value.c_str());
    return CheckResult(base_->ExportScopeData());
}
