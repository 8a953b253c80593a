#include "devicewin/local_parameter_list.h"

#include <string>

#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr char kNotMemberFormat[] =
    "Parameter %d.%d is not member of local parameter list!\n Please contact your manufactor.";

}  // namespace

LocalParameterList::LocalParameterList(ParaBase* base, const LocalParameter* entries, int count)
    : count_(entries != nullptr && count > 0 ? count : 0),
      entries_(entries),
      values_(static_cast<size_t>(count_), 0.0),
      base_(base) {
    ReadAll();
}

bool LocalParameterList::ReadEntry(int index) {
    if (base_ == nullptr) return false;
    const LocalParameter& entry = entries_[index];
    double& value = values_[static_cast<size_t>(index)];
    const int result = base_->IsOnline() ? base_->ReadValueDouble(entry.Number, &value, entry.Element)
                                         : base_->GetValueDouble(entry.Number, &value, entry.Element);
    return result == 0;
}

void LocalParameterList::Fail() {
    ShowDeviceError(kDeviceErrorMessage, base_);
    count_ = 0;
    entries_ = nullptr;
    values_.clear();
    base_ = nullptr;
}

bool LocalParameterList::ReadAll() {
    for (int i = 0; i < count_; ++i) {
        if (!ReadEntry(i)) {
            Fail();
            return false;
        }
    }
    return true;
}

bool LocalParameterList::ReadValue(int number, int element) {
    const int index = IndexOf(number, element);
    if (index < 0) return false;
    if (!ReadEntry(index)) {
        Fail();
        return false;
    }
    return true;
}

int LocalParameterList::IndexOf(int number, int element) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].Number == number && entries_[i].Element == element) return i;
    }
    ShowErrorTextBox(platform::Format(kNotMemberFormat, number, element).c_str());
    return -1;
}

double LocalParameterList::Value(int index) const {
    return index >= 0 && index < count_ ? values_[static_cast<size_t>(index)] : 0.0;
}
