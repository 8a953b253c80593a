#include "parameters/parabase/strings_profile.h"

#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kStringsSection[] = "ParaStrings";
constexpr char kFieldSectionFormat[] = "Field%d";
constexpr char kSizeKey[] = "Size";
// The size of an array whose section is missing.
constexpr int32_t kMissingFieldSize = 1;

std::string NumberKey(int number) { return platform::Format("%u", static_cast<unsigned>(number)); }

std::string FieldSection(int number) { return platform::Format(kFieldSectionFormat, number); }

}  // namespace

StringsProfile::StringsProfile(const char* path) { Open(path); }

StringsProfile::~StringsProfile() = default;

bool StringsProfile::Open(const char* path) {
    profile_.reset();
    path_ = path != nullptr ? path : "";
    profile_ = std::make_unique<GwProfile>(path_.c_str());
    if (!profile_->is_valid()) {
        profile_.reset();
        return false;
    }
    return true;
}

bool StringsProfile::IsValid() const { return profile_ != nullptr && profile_->is_valid(); }

bool StringsProfile::Close() {
    if (!IsValid()) return false;
    profile_.reset();
    return true;
}

bool StringsProfile::Save() { return IsValid() && profile_->save(path_.c_str()); }

void StringsProfile::Clear() {
    if (IsValid()) profile_->clear();
}

bool StringsProfile::WriteString(int number, const char* text) {
    if (!IsValid() || !profile_->select_section(kStringsSection, true)) return false;
    return profile_->write(NumberKey(number).c_str(), text);
}

bool StringsProfile::ReadString(int number, dstring& out) {
    const char* text = "";
    if (IsValid() && profile_->select_section(kStringsSection)) text = profile_->read(NumberKey(number).c_str());
    out.AssignText(text);
    return true;
}

int32_t StringsProfile::ReadArraySize(int number) {
    if (!IsValid() || !profile_->select_section(FieldSection(number).c_str())) return kMissingFieldSize;
    return GwAtol(profile_->read(kSizeKey));
}

bool StringsProfile::ReadArray(int number, darray& array) {
    if (ReadArraySize(number) != array.GetCount()) return false;
    if (!IsValid() || !profile_->select_section(FieldSection(number).c_str())) return false;
    for (int32_t i = 0; i < array.GetCount(); ++i) {
        const int32_t value = GwAtol(profile_->read(NumberKey(i).c_str()));
        // The element takes the low bytes of the number, as a value of its
        // own width.
        bool set = false;
        switch (array.GetElementSize()) {
            case 1: {
                const auto v = static_cast<uint8_t>(value);
                set = array.SetElement(&v, i);
                break;
            }
            case 2: {
                const auto v = static_cast<uint16_t>(value);
                set = array.SetElement(&v, i);
                break;
            }
            default:
                set = array.SetElement(&value, i);
                break;
        }
        if (!set) return false;
    }
    return true;
}

bool StringsProfile::WriteArray(int number, const darray& array) {
    if (!IsValid() || !profile_->select_section(FieldSection(number).c_str(), true)) return false;
    if (!profile_->write_int(kSizeKey, array.GetCount())) return false;
    for (int32_t i = 0; i < array.GetCount(); ++i) {
        int32_t value = 0;
        if (!array.GetElement(&value, i)) return false;
        if (!profile_->write(NumberKey(i).c_str(), platform::Format("%ld", value).c_str())) return false;
    }
    return true;
}
