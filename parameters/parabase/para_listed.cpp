// The listed parameters: the few that the family setup windows copy from a
// file set into the device on their own, apart from the data set.
#include <cstring>
#include <string>

#include "parameters/parabase/para_base.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace {

// The list of device class 4, in the order they are moved. Other classes
// have no list.
constexpr int kListedDeviceClass = 4;
constexpr int kListedParametersOfClass4[] = {728, 729, 727, 730};
// Progress index reported when the listed write ends.
constexpr int kListedWriteDoneProgress = 996;

bool IsTransferable(const ParameterEntry* e) {
    return e != nullptr && e->number != 0 && e->valid != 0 && e->transfer != 0;
}

}  // namespace

std::vector<int> ParaBase::GetListedParameters() const {
    uint16_t code = 0;
    StoredDeviceCode(&code);
    if (code / kDeviceClassDivisor != kListedDeviceClass) return {};
    return std::vector<int>(std::begin(kListedParametersOfClass4), std::end(kListedParametersOfClass4));
}

int ParaBase::CopyListedFromFile(const char* path, bool markBOnly) {
    ParaBase file;
    file.InitFile(path);
    // The file base's message names the file that failed.
    if (const int r = file.ReadFileBase()) {
        std::memcpy(MessageBuffer, file.MessageBuffer, sizeof MessageBuffer);
        return r;
    }
    const std::vector<int> listed = GetListedParameters();

    for (int b : listed) {
        const ParameterEntry* here = GetEntry(b);
        const ParameterEntry* there = file.GetEntry(b);
        if (!IsTransferable(here) || !IsTransferable(there) || !IsWriteAllowed(b, kSetterWriteLevel)) continue;
        bool match = here->type == there->type;
        if (match && here->SCGroup != 0) {
            const bool arrayHere = (here->flags & kFlagArray) != 0;
            const bool arrayThere = (there->flags & kFlagArray) != 0;
            match = arrayHere == arrayThere && (!arrayHere || GetValueCount(b) == file.GetValueCount(b));
        }
        if (!match) return SetMessage(kParaSetMismatch, {b, file.EntryName(b), file.GetPath(kDFilePath)});
    }

    for (int e : listed) {
        const ParameterEntry* here = GetEntry(e);
        if (!IsTransferable(here) || (markBOnly && here->markB == 0) || !IsTransferable(file.GetEntry(e))) continue;
        if (here->type == kTypeString) {
            dstring text;
            if (file.GetValueString(e, text) == kParaOk) SetValueString(e, text);
            continue;
        }
        const int count = GetValueCount(e);
        for (int element = 0; element < count; ++element) {
            int32_t raw = 0;
            if (file.GetRawValue(e, &raw, element) == kParaOk) SetRawValue(e, raw, element);
        }
    }
    return kParaOk;
}

int ParaBase::WriteListedToDevice(bool markBOnly) {
    if (TableLoaded == 0) return SetMessage(kParaNoValidBase);
    for (int b : GetListedParameters()) {
        ReportProgress(b);
        const ParameterEntry* e = GetEntry(b);
        if (!IsTransferable(e) || (markBOnly && e->markB == 0)) continue;
        int r = kParaOk;
        if (e->flags & kFlagArray) {
            r = WriteBusParameter(b, 0, GetValueCount(b));
        } else if (e->type == kTypeString) {
            dstring text;
            r = GetValueString(b, text);
            if (r == kParaOk) r = WriteValueString(b, text);
        } else {
            int32_t raw = 0;
            r = GetRawValue(b, &raw);
            if (r == kParaOk) r = WriteRawValue(b, raw);
        }
        if (r != kParaOk) return r;
    }
    ReportProgress(kListedWriteDoneProgress);
    return kParaOk;
}
