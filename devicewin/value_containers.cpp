#include "devicewin/value_containers.h"

#include <string>
#include <vector>

#include "app/services/device_error.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_tokens.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kLastRadioButton = 254;

// The base and the present parameter bound to the widget, when the widget is
// of the class T.
template <typename T>
struct Bound {
    ParaBase* Base = nullptr;
    T* Widget = nullptr;
    int Number = 0;
    explicit operator bool() const { return Widget != nullptr; }
};

template <typename T>
Bound<T> BoundWidget(GwCore* widget) {
    Bound<T> bound;
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* typed = dynamic_cast<T*>(widget);
    if (context == nullptr || typed == nullptr) return bound;
    ParaBase* base = context->Base.get();
    const int n = ParameterFromWidgetName(base, widget->name());
    if (n == 0 || !base->IsPresent(n)) return bound;
    bound.Base = base;
    bound.Widget = typed;
    bound.Number = n;
    return bound;
}

// Minimum and maximum of the parameter as whole numbers; false when the
// range is empty.
bool IntegerRange(ParaBase* base, int n, int* minimum, int* maximum) {
    double low = 0.0;
    double high = 0.0;
    base->GetMinimumAsDouble(n, &low);
    base->GetMaximumAsDouble(n, &high);
    *minimum = TruncatedValue(low);
    *maximum = TruncatedValue(high);
    return *maximum >= *minimum;
}

// The widget of value v: the parameter's name as the base gives it (padding
// included), "_" and the value's text.
std::string ValueWidgetName(ParaBase* base, int n, double v) {
    return std::string(base->GetParameterName(n)) + "_" + base->FormatDoubleValue(n, v, false);
}

// Shows the widget of the value `shown` and hides those of every other value
// of the parameter's range.
void ShowOnlyValueWidget(ParaBase* base, GwCore* widget, int n, int shown) {
    int minimum = 0;
    int maximum = 0;
    if (!IntegerRange(base, n, &minimum, &maximum)) return;
    for (long long v = minimum; v <= maximum; ++v) {
        GwCore* dependent = widget->frame_child(ValueWidgetName(base, n, static_cast<double>(v)));
        if (dependent == nullptr) continue;
        if (v == shown) {
            dependent->show();
        } else {
            dependent->hide();
        }
    }
}

void ShowContainer(GwCore* container, bool shown) {
    if (shown) {
        container->show();
        container->walk_through_children(EnableBoundChild, GwUD());
    } else {
        container->hide();
        container->walk_through_children(DisableBoundChild, GwUD());
    }
}

}  // namespace

int CB_DvFctShowToggleContainer(GwCore* widget, GwEvent*, GwUD userData) {
    Bound<GwRadioGroup> group = BoundWidget<GwRadioGroup>(widget);
    if (!group || userData.string().empty()) return 1;
    ShowWidgetValue(group.Base, widget);
    const std::vector<std::string> names = GwSplitTokens(userData.string());
    size_t next = 0;
    for (int i = 0; i <= kLastRadioButton && next < names.size(); ++i) {
        auto* button = dynamic_cast<GwToggle*>(widget->child(std::to_string(i)));
        if (button == nullptr || button->parent() != widget) continue;
        GwCore* container = widget->frame_child(names[next++]);
        if (container != nullptr) ShowContainer(container, button->is_checked());
    }
    return 1;
}

int CB_DvFctShowSwitch(GwCore* widget, GwEvent*, GwUD userData) {
    Bound<GwToggle> box = BoundWidget<GwToggle>(widget);
    if (!box || userData.string().empty()) return 1;
    ShowWidgetValue(box.Base, widget);
    GwCore* container = widget->frame_child(userData.string());
    if (container == nullptr) return 1;
    if (box.Widget->is_checked()) {
        container->enable();
        container->show();
    } else {
        container->disable();
        container->hide();
    }
    return 1;
}

int CB_DvFctShowComboboxContainer(GwCore* widget, GwEvent*, GwUD) {
    Bound<GwCombo> combo = BoundWidget<GwCombo>(widget);
    if (!combo) return 1;
    ShowWidgetValue(combo.Base, widget);
    double value = 0.0;
    if (ReadShownValue(combo.Base, combo.Number, &value) != 0) {
        ShowDeviceError(kDeviceErrorMessage, combo.Base, widget->frame());
        return 1;
    }
    ShowOnlyValueWidget(combo.Base, widget, combo.Number, TruncatedValue(value));
    return 1;
}

int CB_DvFctParaChangeComboboxContainer(GwCore* widget, GwEvent* event, GwUD userData) {
    Bound<GwCombo> combo = BoundWidget<GwCombo>(widget);
    if (!combo) return 1;
    CB_DvFctParaChange(widget, event, userData);
    int minimum = 0;
    int maximum = 0;
    IntegerRange(combo.Base, combo.Number, &minimum, &maximum);
    ShowOnlyValueWidget(combo.Base, widget, combo.Number, minimum + combo.Widget->first_selected());
    return 1;
}

int CB_DvFctShowComboboxPicture(GwCore* widget, GwEvent*, GwUD userData) {
    Bound<GwCombo> combo = BoundWidget<GwCombo>(widget);
    if (!combo || userData.string().empty()) return 1;
    ShowWidgetValue(combo.Base, widget);
    auto* picture = widget->frame_child<GwPicture>(userData.string());
    if (picture == nullptr) return 1;
    const std::string name = combo.Base->GetParameterName(combo.Number);
    picture->set_bitmap(name + "_" + combo.Base->FormatStoredValue(combo.Number, 0, false));
    // Hidden and shown again, so that it redraws with the new bitmap.
    picture->hide();
    picture->show();
    return 1;
}

int CB_DvFctShowComboboxContainerAndPicture(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctShowComboboxContainer(widget, event, userData);
    return CB_DvFctShowComboboxPicture(widget, event, userData);
}

int CB_DvFctParaChangeComboboxContainerAndPicture(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctParaChangeComboboxContainer(widget, event, userData);
    return CB_DvFctParaChange(widget, event, userData);
}
