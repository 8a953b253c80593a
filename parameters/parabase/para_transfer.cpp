// Whole-table transfer between the device and the base: the table built from
// the device, the data set read, and the data set written under the drive's
// download handshake on parameter 80.
#include <array>
#include <string>

#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "bus/base/device_kind.h"
#include "parameters/parabase/operation_log.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace {

// Elements of an array read with the table, at most.
constexpr int kMaxTableArrayElements = 256;
constexpr int kMaxElementWidth = 4;

// The download handshake: 80 := -1 opens a data set, 80 := -2 closes it; the
// device clears bit 15 of 80 when it has checked the set, leaving 0 or the
// number of a parameter it refused; 15 := 1 ends the download.
constexpr int16_t kHandshakeSetStart = -1;
constexpr int16_t kHandshakeSetEnd = -2;
constexpr uint16_t kHandshakeBusyBit = 0x8000;
constexpr int kHandshakePolls = 10;
constexpr int kHandshakePollSeconds = 1;
constexpr int kDownloadEndParameter = 15;
constexpr uint8_t kDownloadEnd = 1;

// Device kinds whose data sets move between device classes after a question.
constexpr int kFirstRelatedKind = 5;
constexpr int kLastRelatedKind = 7;
// Main messages of a data set from another device class.
constexpr unsigned kOtherDeviceTypeMessage = 114;
constexpr int kOtherDeviceClassQuestion = 160;

// Serial bus errors after which a data-set write goes on: the device has no
// such parameter, or does not let it be written.
constexpr uint16_t kSerialNoParameter = 17;
constexpr uint16_t kSerialWriteRefused = 18;

// The error box about a base's failed device access.
constexpr int kDeviceErrorMessage = 5;

// Keeps the serial bus's write log off for a whole-table run and turns it on
// again at the end, on every path.
class WriteLoggingOff {
public:
    WriteLoggingOff() { BusWriteLogging = false; }
    ~WriteLoggingOff() { BusWriteLogging = true; }
    WriteLoggingOff(const WriteLoggingOff&) = delete;
    WriteLoggingOff& operator=(const WriteLoggingOff&) = delete;
};

bool IsPresentEntry(const ParameterEntry& e) { return e.number != 0 && e.valid != 0; }

bool IsRelatedKind(int kind) { return kind >= kFirstRelatedKind && kind <= kLastRelatedKind; }

// The types whose values the data-set copy moves: those with a number.
bool HasNumericValue(char type) {
    return IsPlainIntegerType(type) || type == kTypeFixpt16 || type == kTypeInt32Q16 || type == kTypeFloat32;
}

}  // namespace

int ParaBase::ReadBusBase() {
    LogParaBaseOperation("ReadBusBase");
    // An uncoupled device keeps the table it has.
    if (bus_ != nullptr && DevicesUncoupled) return kParaOk;
    BusTransferGuard transfer;
    WriteLoggingOff noWriteLog;
    UnloadTable();
    entries_.assign(kParameterCount, ParameterEntry{});
    EntryCount = kParameterCount;

    for (int i = 0; i < EntryCount; ++i) {
        if (bus_ == nullptr) return SetMessage(kParaNoBus);
        if (DevicesUncoupled) return kParaOk;
        ParameterEntry& e = entries_[i];
        e.number = 0;
        e.valid = 0;
        ReportProgress(i);
        if (const int r = ReadBusDescriptionEntry(i, &e)) {
            ReportProgress(0);
            return r;
        }
        e.valid = e.number != 0;
        if (e.valid == 0) continue;

        int result = kParaOk;
        if (e.flags & kFlagArray) {
            // An array whose type has no array class keeps no values.
            if (HasArrayClass(e.type)) {
                std::array<uint8_t, kMaxTableArrayElements * kMaxElementWidth> buffer{};
                uint16_t count = kMaxTableArrayElements;
                const int width = ElementSizeOfType(e.type);
                CurrentParameter = static_cast<uint16_t>(i);
                if (!bus_->ReadBlock(i, buffer.data(), 0, count, width, address_)) {
                    const int r = CheckBusResult(false);
                    ReportProgress(0);
                    return r;
                }
                if (count > kMaxTableArrayElements) count = kMaxTableArrayElements;
                std::unique_ptr<darray> array = CreateArrayForType(e.type, count);
                array->WriteBytes(buffer.data(), count * width, 0);
                values_[i].array = std::move(array);
            }
        } else {
            if (e.type == kTypeString) values_[i].text = std::make_unique<dstring>();
            result = ReadBusParameter(i, 0, 1);
        }
        if (result != kParaOk) {
            if (!ShowErrorMessageFor(kDeviceErrorMessage, this)) {
                ReportProgress(0);
                return result;
            }
            // The user goes on without this value: it stays out of the data set.
            continue;
        }
        e.markA = 1;
        e.transfer = 1;
        e.markB = 1;
    }

    valueTexts_->Clear();
    for (int i = 0; i < kParameterCount; ++i) {
        CurrentParameter = static_cast<uint16_t>(i);
        ReportProgress(i);
        const ParameterEntry& e = entries_[i];
        if (!IsPresentEntry(e) || (e.flags & kFlagValueTexts) == 0) continue;
        const int highest = e.maximum & 0xFF;
        for (int k = 0; k <= highest; ++k) {
            if (bus_ == nullptr) return SetMessage(kParaNoBus);
            if (DevicesUncoupled) return kParaOk;
            dstring text;
            if (bus_->ReadValueText(i, static_cast<uint8_t>(k), text, address_) == nullptr) {
                const int r = CheckBusResult(false);
                ReportProgress(0);
                return r;
            }
            if (k > 0 && e.type == kTypeErrStruc && text.View() == ValueTextTable::kEmptyTextMark) break;
            const bool added =
                k == 0 ? valueTexts_->AddFirstText(i, text.Text()) : valueTexts_->AddNextText(i, text.Text());
            if (!added) {
                SetMessage(kParaTooManyValueTexts);
                ReportProgress(0);
                return kParaTooManyValueTexts;
            }
        }
    }

    if (const int r = OpenDescriptionFileForTable()) return r;
    TableLoaded = 1;
    return kParaOk;
}

int ParaBase::ReadBusData(bool selectedOnly) {
    LogParaBaseOperation("ReadBusData");
    BusTransferGuard transfer;
    if (TableLoaded == 0) return SetMessage(kParaNoValidBase);
    for (int i = 0; i < EntryCount && i < kParameterCount; ++i) {
        ReportProgress(i);
        const ParameterEntry& e = entries_[i];
        if (!IsPresentEntry(e) || e.transfer == 0 || (selectedOnly && e.markB == 0)) continue;
        if (const int r = ReadBusParameter(i, 0, GetValueCount(i))) {
            ReportProgress(0);
            return r;
        }
    }
    return kParaOk;
}

bool ParaBase::InDataSet(int number, const ParaBase& source) const {
    const ParameterEntry* here = GetEntry(number);
    const ParameterEntry* there = source.GetEntry(number);
    return here != nullptr && there != nullptr && IsPresentEntry(*here) && IsPresentEntry(*there) &&
           here->transfer != 0 && there->transfer != 0 && here->SCGroup != 0 &&
           IsWriteAllowed(number, kSetterWriteLevel);
}

int ParaBase::CheckDataSetMatch(const ParaBase& other) {
    uint16_t deviceCode = 0, sourceCode = 0;
    const bool deviceKnown = StoredDeviceCode(&deviceCode);
    const bool sourceKnown = other.StoredDeviceCode(&sourceCode);
    const bool sameClass = deviceCode / kDeviceClassDivisor == sourceCode / kDeviceClassDivisor;
    // The kind as GetDeviceKind gives it: 0 for a base without a table or code.
    auto kindOf = [](const ParaBase& base, bool known, uint16_t code) {
        return base.TableLoaded != 0 && known ? DeviceKindFromTypeNumber(code) : 0;
    };
    if (!IsRelatedKind(kindOf(*this, deviceKnown, deviceCode)) ||
        !IsRelatedKind(kindOf(other, sourceKnown, sourceCode))) {
        if (!sameClass) {
            char format[kMessageTextSize];
            const std::string key = platform::Format("MN_%05d", kOtherDeviceTypeMessage);
            GetMessageText(format, kMainMessagesSection, key.c_str(), kMessageTextSize);
            const std::string sourceType = GetDeviceTypeName(sourceCode);
            const std::string deviceType = GetDeviceTypeName(deviceCode);
            ShowErrorText(platform::FormatChecked(format, {sourceType, deviceType}).text.c_str());
            return -1;
        }
    }
    if (!sameClass && !ShowQuestionMessage(kOtherDeviceClassQuestion)) return -1;
    for (int i = 0; i < kParameterCount; ++i) {
        if (!InDataSet(i, other)) continue;
        const bool textHere = entries_[i].type == kTypeString;
        const bool textThere = other.entries_[i].type == kTypeString;
        if (textHere != textThere || EntryName(i) != other.EntryName(i)) return i;
    }
    return 0;
}

int ParaBase::CopyDataSetValues(const ParaBase& source) {
    for (int i = 0; i < kParameterCount; ++i) {
        if (!InDataSet(i, source)) continue;
        const char type = entries_[i].type;
        if (type == kTypeString) {
            const dstring* text = source.values_[i].text.get();
            if (const int r = SetValueString(i, text != nullptr ? *text : dstring())) return r;
            continue;
        }
        // Raw values, so every value (a FLOAT32 above all) arrives bit for bit.
        if (!HasNumericValue(type) || !HasNumericValue(source.entries_[i].type)) continue;
        const int count = GetValueCount(i);
        for (int element = 0; element < count; ++element) {
            int32_t raw = 0;
            if (source.StoredRaw(i, element, &raw) != kParaOk) continue;
            if (const int r = SetRawValue(i, raw, element)) return r;
        }
    }
    return kParaOk;
}

int ParaBase::WriteBusData(const ParaBase& source) {
    LogParaBaseOperation("WriteBusData");
    BusTransferGuard transfer;
    WriteLoggingOff noWriteLog;
    NothingWritten = 1;
    if (TableLoaded == 0) return SetMessage(kParaNoValidBase);

    const int match = CheckDataSetMatch(source);
    if (match > 0) return SetMessage(kParaSetMismatch, {match, source.EntryName(match), source.paths_[kDFilePath]});
    if (match < 0) {
        MessageBuffer[0] = '\0';
        return kParaOk;
    }
    if (const int r = CopyDataSetValues(source)) return r;

    NothingWritten = 0;
    if (const int r = WriteValueS16(kDownloadHandshakeParameter, kHandshakeSetStart)) return r;
    for (int i = 0; i < EntryCount && i < kParameterCount; ++i) {
        ReportProgress(i);
        if (!InDataSet(i, source)) continue;
        const int r = WriteBusParameter(i, 0, GetValueCount(i));
        if (r == kParaOk || r == kParaNoParameter || r == kParaWriteLevel) continue;
        if (r == kParaBusErrorInParameter && bus_ != nullptr && bus_->GetBusType() == kSerialBusType &&
            (bus_->GetLastError() == kSerialNoParameter || bus_->GetLastError() == kSerialWriteRefused))
            continue;
        ReportProgress(0);
        return r;
    }
    if (const int r = WriteValueS16(kDownloadHandshakeParameter, kHandshakeSetEnd)) return r;

    int16_t state = 0;
    bool checked = false;
    for (int poll = 0; poll < kHandshakePolls && !checked; ++poll) {
        WaitSeconds(kHandshakePollSeconds);
        checked = ReadValueS16(kDownloadHandshakeParameter, &state) == kParaOk &&
                  (static_cast<uint16_t>(state) & kHandshakeBusyBit) == 0;
    }
    if (!checked) return SetMessage(kParaDownloadTimeout);
    const int refused = static_cast<uint16_t>(state);
    if (refused != 0) return SetMessage(kParaRefusedByDevice, {refused, source.EntryName(refused)});

    // The device may store and restart on the end of the download without an
    // answer, so the write's result does not decide the transfer.
    WriteValueU8(kDownloadEndParameter, kDownloadEnd);
    return kParaOk;
}
