// The base object: construction, the value objects beside the table, error
// messages, access levels, selection marks and the texts of a parameter.
#include "parameters/parabase/para_base.h"

#include <cstring>
#include <string_view>

#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/strings_profile.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/base/gw_path.h"

namespace {

constexpr char kScratchDir[] = "..\\TMP";
constexpr char kScratchName[] = "Scope";
constexpr const char* kScratchExtensions[kScratchFileCount] = {"HEX", "DAT", "SDC"};

// The program's own wording of the messages, used when the message file has
// no usable text: it is missing, or its conversions do not fit the
// arguments.
constexpr const char* kBuiltInTexts[] = {
    "OK",
    "Cannot open file \"%s\"",
    "Cannot read file \"%s\"",
    "Cannot write to file \"%s\"",
    "Access error on file \"%s\"",
    "No valid parameterbase available for this operation",
    "There's no valid parameter on number %d",
    "Device has too much parametervalue substitutiontext",
    "Timeout during data transmission of parameterbase to device",
    "New value of parameter %d-%s is out of valid range",
    ("Mismatch by type (%s) of parameter %d-%s and type of delivered variable (%s) of actual "
     "function"),
    "New Value for parameter %d-%s (%s %s) is out of valid range",
    "Data of parameter %d-%s is invalid",
    "%s transmission error:\n%s",
    "%s transmission error in parameter %d-%s:\n%s",
    "Insuffucient RAM for scope function",
    "There are no parameters available in actual parametergroup",
    "Parameters out of this case of datatype are not editable",
};
constexpr int kBuiltInTextCount = sizeof kBuiltInTexts / sizeof kBuiltInTexts[0];

// Names of the only parameters that may be written at the lowest user levels.
constexpr std::string_view kLowLevelWritableNames[] = {"MODE ", "PWRON"};
constexpr uint16_t kLowestRestrictedUserLevel = 1;

void CopyCut(char* destination, size_t size, std::string_view text) {
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(destination, text.data(), n);
    destination[n] = '\0';
}

std::string_view NameOf(const ParameterEntry& e) { return std::string_view(e.name, strnlen(e.name, kEntryNameSize)); }

uint8_t& Mark(ParameterEntry& e, bool markB) { return markB ? e.markB : e.markA; }

bool IsPresentEntry(const ParameterEntry& e) { return e.number != 0 && e.valid != 0; }

}  // namespace

ParaBase::ParaBase() { Init(); }

ParaBase::ParaBase(DataBus* bus, int address) {
    Init();
    bus_ = bus;
    address_ = static_cast<uint8_t>(address);
    online_ = bus_ != nullptr ? 1 : 0;
    if (bus_ != nullptr) {
        int32_t ignored = 0;
        bus_->ReadParameterValue(kIdentificationParameter, ignored, address_);
    }
}

ParaBase::~ParaBase() = default;

void ParaBase::Init() {
    CurrentParameter = 0;
    DevicesUncoupled = false;
    recorder_ = ScopeRecording{};
    bus_ = nullptr;
    address_ = 0;
    online_ = 0;
    entries_.assign(kParameterCount, ParameterEntry{});
    values_.clear();
    values_.resize(kParameterCount);
    valueTexts_ = std::make_unique<ValueTextTable>();
    descriptionFile_.reset();
    stringsProfile_.reset();
    NothingWritten = 0;
    TableLoaded = 0;
    CancelRequested = 0;
    for (char* path : paths_) path[0] = '\0';
    for (int i = 0; i < kScratchFileCount; ++i) {
        const GwString path = GwMakepath("", kScratchDir, kScratchName, kScratchExtensions[i]);
        CopyCut(recorder_.scratchPaths[i], kParaPathSize, path.c_str());
    }
}

void ParaBase::ReportProgress(int) {}

bool ParaBase::ContinueProgress(float) {
    if (CancelRequested == 0) return true;
    CancelRequested = 0;
    return false;
}

const char* ParaBase::GetErrorText(int code) {
    static char text[kMessageTextSize];
    const std::string key = platform::Format("PB_%02u", static_cast<unsigned>(code & 0xffff));
    return GetMessageText(text, kParaBaseMessagesSection, key.c_str(), kMessageTextSize);
}

int ParaBase::SetMessage(int code, const std::vector<platform::FormatArg>& args) {
    const std::string key = platform::Format("PB_%02u", static_cast<unsigned>(code & 0xffff));
    const char* tmpl = GetErrorText(code);
    platform::FormatResult result = platform::FormatChecked(tmpl != nullptr ? tmpl : "", args);
    const bool fromFile = tmpl != nullptr && key != tmpl;
    if ((!result.ok || !fromFile) && code >= 0 && code < kBuiltInTextCount)
        result = platform::FormatChecked(kBuiltInTexts[code], args);
    CopyCut(MessageBuffer, sizeof MessageBuffer, result.text);
    return code;
}

// --- the table ---

ParameterEntry* ParaBase::GetEntry(int number) {
    if (number < 0 || number > kHighestParameter) return nullptr;
    return &entries_[number];
}

const ParameterEntry* ParaBase::GetEntry(int number) const { return const_cast<ParaBase*>(this)->GetEntry(number); }

bool ParaBase::IsPresent(int number) const {
    const ParameterEntry* e = GetEntry(number);
    return e != nullptr && IsPresentEntry(*e);
}

int ParaBase::GetElementSize(int number) const {
    const ParameterEntry* e = GetEntry(number);
    return e != nullptr ? ElementSizeOfType(e->type) : 0;
}

dstring* ParaBase::GetTextObject(int number) {
    return GetEntry(number) != nullptr ? values_[number].text.get() : nullptr;
}

darray* ParaBase::GetArrayObject(int number) {
    return GetEntry(number) != nullptr ? values_[number].array.get() : nullptr;
}

const darray* ParaBase::GetArrayObject(int number) const { return const_cast<ParaBase*>(this)->GetArrayObject(number); }

void ParaBase::SetTextObject(int number, std::unique_ptr<dstring> text) {
    if (GetEntry(number) != nullptr) values_[number].text = std::move(text);
}

void ParaBase::SetArrayObject(int number, std::unique_ptr<darray> array) {
    if (GetEntry(number) != nullptr) values_[number].array = std::move(array);
}

int ParaBase::GetValueCount(int number) const {
    const ParameterEntry* e = GetEntry(number);
    if (e == nullptr || (e->flags & kFlagArray) == 0) return 1;
    const darray* array = values_[number].array.get();
    return array != nullptr ? array->GetCount() : 0;
}

dstring& ParaBase::TextOf(int number) {
    std::unique_ptr<dstring>& text = values_[number].text;
    if (!text) text = std::make_unique<dstring>();
    return *text;
}

const char* ParaBase::GetPath(int which) const { return which >= 0 && which < kFilePathCount ? paths_[which] : ""; }

void ParaBase::SetPath(int which, const char* path) {
    if (which < 0 || which >= kFilePathCount) return;
    CopyCut(paths_[which], kParaPathSize, path != nullptr ? path : "");
}

const char* ParaBase::GetScratchPath(int which) const {
    return which >= 0 && which < kScratchFileCount ? recorder_.scratchPaths[which] : "";
}

void ParaBase::SetDescriptionFile(std::unique_ptr<ParaDescriptionFile> file) { descriptionFile_ = std::move(file); }

// --- checks of values read from the device ---

bool ParaBase::CheckRange(int32_t raw, const ParameterEntry* e) const {
    return e != nullptr && IsPresentEntry(*e) && IsRawWithinLimits(*e, raw);
}

bool ParaBase::CheckText(const char* s) {
    if (s == nullptr) return true;
    size_t length = 0;
    for (const char* p = s; *p != '\0'; ++p, ++length) {
        if (static_cast<unsigned char>(*p) > 0x7F || length >= kMaxDeviceTextLength) return false;
    }
    return true;
}

// --- access levels and marks ---

bool ParaBase::IsReadAllowed(int number, int level) const {
    const ParameterEntry* e = GetEntry(number);
    return e != nullptr && IsPresentEntry(*e) && level >= (e->access & 0x0F);
}

bool ParaBase::IsWriteAllowed(int number, int level) const {
    const ParameterEntry* e = GetEntry(number);
    if (e == nullptr) return false;
    if (GetUserLevel() <= kLowestRestrictedUserLevel) {
        bool named = false;
        for (std::string_view name : kLowLevelWritableNames) named = named || NameOf(*e) == name;
        if (!named) return false;
    }
    return IsPresentEntry(*e) && level >= (e->access >> 4);
}

void ParaBase::RestrictSelectionToReadLevel(int level, bool markB) {
    for (int i = 0; i < kParameterCount; ++i) {
        ParameterEntry& e = entries_[i];
        if (IsPresentEntry(e) && Mark(e, markB) != 0) Mark(e, markB) = IsReadAllowed(i, level);
    }
}

void ParaBase::RestrictSelectionToWriteLevel(int level, bool markB) {
    for (int i = 0; i < kParameterCount; ++i) {
        ParameterEntry& e = entries_[i];
        if (IsPresentEntry(e) && Mark(e, markB) != 0) Mark(e, markB) = IsWriteAllowed(i, level);
    }
}

bool ParaBase::KPGroupHasMarkedParameter(int group, bool markB) const {
    for (const ParameterEntry& e : entries_) {
        const uint8_t mark = markB ? e.markB : e.markA;
        if (IsPresentEntry(e) && e.KPGroup == group && mark != 0) return true;
    }
    return false;
}

void ParaBase::SelectByKeypadGroup(int group, bool markB) {
    for (ParameterEntry& e : entries_) Mark(e, markB) = IsPresentEntry(e) && e.transfer != 0 && e.KPGroup == group;
}

void ParaBase::SelectBySCGroup(int group, bool markB) {
    for (ParameterEntry& e : entries_) Mark(e, markB) = IsPresentEntry(e) && e.transfer != 0 && e.SCGroup == group;
}

void ParaBase::SelectAll(bool markB) {
    for (ParameterEntry& e : entries_) Mark(e, markB) = IsPresentEntry(e) && e.transfer != 0;
}

int ParaBase::SelectParameter(int index, bool markB) {
    ParameterEntry* e = GetEntry(index);
    if (e == nullptr || e->valid == 0) return SetMessage(kParaNoParameter, {index});
    Mark(*e, markB) = IsPresentEntry(*e) && e->transfer != 0;
    return kParaOk;
}

void ParaBase::DeselectParameter(int index, bool markB) {
    if (ParameterEntry* e = GetEntry(index)) Mark(*e, markB) = 0;
}

void ParaBase::DeselectAll(bool markB) {
    for (ParameterEntry& e : entries_) Mark(e, markB) = 0;
}

// --- texts of a parameter ---

const char* ParaBase::GetParameterDescription(int number) {
    if (descriptionFile_ == nullptr) return "";
    const char* text = descriptionFile_->GetDescription(platform::Format("P%03d", number).c_str());
    return text != nullptr ? text : "";
}

const char* ParaBase::GetParameterName(int index) {
    ParameterEntry* e = GetEntry(index);
    if (e == nullptr) return "";
    if (!IsPresentEntry(*e)) e->name[0] = '\0';
    e->name[kEntryNameSize - 1] = '\0';
    return e->name;
}

const char* ParaBase::GetParameterUnit(int index) {
    ParameterEntry* e = GetEntry(index);
    if (e == nullptr) return "";
    if (!IsPresentEntry(*e)) e->unit[0] = '\0';
    e->unit[kEntryUnitSize - 1] = '\0';
    return e->unit;
}
