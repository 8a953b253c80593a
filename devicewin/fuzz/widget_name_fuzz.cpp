// The widget-name grammar over arbitrary names: the binding, the offset
// binding through parameter 300, the element index and the markers of user
// data and aux text never crash and keep their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "devicewin/widget_name.h"
#include "parameters/parabase/para_base.h"

namespace {

ParaBase& GroupBase() {
    static ParaBase base;
    ParameterEntry* e = base.GetEntry(kGroupIndexParameter);
    e->number = kGroupIndexParameter;
    e->type = kTypeUsign16;
    e->maximum = 9;
    e->value = 2;
    e->valid = 1;
    return base;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    ParaBase& base = GroupBase();
    const int n = ParameterFromWidgetName(&base, name);
    const int k = FieldIndexFromWidgetName(name);
    if (name.size() > kMaxBindingNameLength || name.find(kBindingMarker) == std::string::npos) {
        Require(n == 0);
        Require(k == -1);
    }
    if (name.find('[') == std::string::npos) Require(k == -1);
    Require(IsOffsetWidgetName(name) == (name.find(kOffsetBindingMarker) != std::string::npos));
    NumberAfterPrefix(name, "_P_HIDE_");
    NumberAfterPrefix(name, name.substr(0, size / 2));
    HasNamesakeInGroup(&base, n);
    CompanionFromUserData(name);
    const int unit = UnitParameterFromAuxText(name);
    Require(unit >= -99 && unit <= 999);
    return 0;
}
