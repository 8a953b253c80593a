#include "paratools/print/para_print_list.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "parameters/values/text_helpers.h"
#include "paratools/print/para_print_settings.h"
#include "platform/base/format.h"

namespace {

// Device kinds whose entries carry the two marks of columns 19 and 20.
constexpr int kMarkedDeviceKindFirst = 4;
constexpr int kMarkedDeviceKindLast = 7;

// The parameter base's type name; an unknown type prints as nothing.
std::string PrintTypeName(char type) { return type >= kTypeBegriff && type <= kTypeUsign32 ? TypeName(type) : ""; }

std::string PlainNumber(ParaBase& base, int number, int32_t raw) {
    dstring out;
    base.RawValueToString(out, number, raw);
    return out.Text();
}

std::string Mark(ParaBase& base, const ParameterEntry& e, uint16_t bit) {
    const int kind = base.GetDeviceKind();
    return kind >= kMarkedDeviceKindFirst && kind <= kMarkedDeviceKindLast && (e.flags & bit) ? "X" : "";
}

bool IsSelected(ParaBase& base, const ParaPrintSettings& s, int k) {
    const ParameterEntry* e = base.GetEntry(k);
    if (e->number == 0 || e->valid == 0 || e->transfer == 0) return false;
    if (!s.IsGroupSelected(e->KPGroup)) return false;
    if (s.EditableOnly ? !base.IsWriteAllowed(k, s.UserLevel) : !base.IsReadAllowed(k, s.UserLevel)) return false;
    if (s.ChangedOnly) {
        const std::string stored = base.FormatStoredValue(k, 0, false);
        if (stored == base.FormatRawValue(k, e->defaultValue, false)) return false;
    }
    return true;
}

}  // namespace

std::string TranslatedGroupName(ParaBase& base, int group) {
    const char* name = base.GetKPGroupName(group);
    if (name == nullptr) return {};
    const std::string own = name;
    ParaDescriptionFile* file = base.GetDescriptionFile();
    if (file == nullptr || !file->IsOpen()) return own;
    const char* translated = file->GetParaMenuText(own.c_str());
    return translated != nullptr ? translated : own;
}

std::string PrintCellText(ParaBase& base, int column, int number, int element) {
    const ParameterEntry& e = *base.GetEntry(number);
    int32_t raw = 0;
    switch (column) {
        case 0:
            return std::to_string(number);
        case 1:
            return std::to_string(element);
        case 2:
            return base.GetParameterName(number);
        case 3:
            return base.GetParameterUnit(number);
        case 4:
            return base.GetParameterDescription(number);
        case 5:
            return base.FormatStoredValue(number, element, true);
        case 6:
            return base.FormatRawValue(number, e.defaultValue, true);
        case 7:
            return base.FormatRawValue(number, e.minimum, true);
        case 8:
            return base.FormatRawValue(number, e.maximum, true);
        case 9:
            return TranslatedGroupName(base, e.KPGroup);
        case 10: {
            const char* sc = base.GetSCGroupName(e.SCGroup);
            return sc != nullptr ? sc : "";
        }
        case 11:
            return std::to_string(e.access & 0x0F);
        case 12:
            return std::to_string(e.access >> 4);
        case 13:
            return PrintTypeName(e.type);
        case 14:
            return KindName(e.kind);
        case 15:
            base.GetRawValue(number, &raw, element);
            return PlainNumber(base, number, raw);
        case 16:
            return PlainNumber(base, number, e.defaultValue);
        case 17:
            return PlainNumber(base, number, e.minimum);
        case 18:
            return PlainNumber(base, number, e.maximum);
        case 19:
            return Mark(base, e, 0x01);
        case 20:
            return Mark(base, e, 0x02);
        default:
            return {};
    }
}

int PrintRowCount(ParaBase& base, const ParaPrintSettings& settings, int number) {
    const ParameterEntry* e = base.GetEntry(number);
    if (settings.PProp[kElementColumn] && e != nullptr && (e->flags & kFlagArray)) return base.GetValueCount(number);
    return 1;
}

int CompareParameterNames(ParaBase& base, int a, int b) {
    const std::string nameA = base.GetParameterName(a);
    return CompareNoCase(nameA.c_str(), base.GetParameterName(b));
}

PrintList BuildPrintList(ParaBase& base, const ParaPrintSettings& settings) {
    std::vector<int> chosen;
    for (int k = 0; k < kPrintListSize; ++k)
        if (IsSelected(base, settings, k)) chosen.push_back(k);
    if (settings.SortByName)
        std::stable_sort(
            chosen.begin(), chosen.end(), [&](int a, int b) { return CompareParameterNames(base, a, b) < 0; });
    if (settings.ClusterByGroup) {
        std::vector<int> clustered;
        const int groups = std::min(base.GetKPGroupCount(), kPrintGroupCount);
        for (int g = 0; g < groups; ++g)
            for (int k : chosen)
                if (base.GetEntry(k)->KPGroup == g) clustered.push_back(k);
        chosen = std::move(clustered);
    }
    PrintList list{};
    std::copy(chosen.begin(), chosen.end(), list.begin());
    return list;
}
