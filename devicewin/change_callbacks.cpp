#include "devicewin/change_callbacks.h"

#include <string>
#include <vector>

#include "devicewin/device_context.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_name.h"
#include "devicewin/widget_take.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/parameter_name.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_tokens.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

bool IsRadioButton(const GwToggle* toggle) { return toggle->indicator_type() == GwINDICATOR_RADIO; }

bool IsCellActivation(const GwEvent* event) {
    return event != nullptr && event->type == GwCB_SPREADSHEET && event->reason == GwSS_ACTIVATE;
}

// The cell the user is confirming, when its text is a new value of a present
// parameter.
struct CellChange {
    int Parameter = 0;
    int Element = 0;
    std::string Text;
};

bool ChangedCell(ParaBase* base, GwSpreadSheet* sheet, const GwEvent* event, CellChange* change) {
    const int n = ParameterFromWidgetName(base, sheet->column_id(event->column));
    if (n == 0 || !base->IsPresent(n)) return false;
    const std::string rowId = sheet->row_id(event->row);
    if (rowId.empty()) return false;
    const int element = LeadingNumber(rowId);
    GwEdit* editor = sheet->editor();
    const std::string text = editor != nullptr ? editor->text() : std::string();
    if (text.empty() || text == base->FormatStoredValue(n, element, false)) return false;
    *change = CellChange{n, element, text};
    return true;
}

int WalkBound(GwCore* below, int (*step)(GwCore*, GwUD)) { return below->walk_through_children(step, GwUD()); }

void SwitchRadioContainers(GwToggle* button, const std::string& names) {
    GwCore* group = button->parent();
    const std::vector<std::string> list = GwSplitTokens(names);
    for (size_t i = 0; i < list.size(); ++i) {
        auto* member = group != nullptr ? group->child<GwToggle>(std::to_string(i)) : nullptr;
        GwCore* container = button->frame_child(list[i]);
        if (member == nullptr || container == nullptr) continue;
        if (member->is_checked()) {
            container->show();
            WalkBound(container, EnableBoundChild);
        } else {
            container->hide();
            WalkBound(container, DisableBoundChild);
        }
    }
}

void SwitchCheckBoxWidget(GwToggle* box, const std::string& name) {
    GwCore* dependent = box->frame_child(name);
    if (dependent == nullptr) return;
    if (box->is_checked()) {
        dependent->enable();
        dependent->show();
    } else {
        dependent->disable();
        dependent->hide();
    }
}

void SwitchComboPicture(ParaBase* base, GwCombo* combo, const std::string& name) {
    auto* picture = dynamic_cast<GwPicture*>(combo->frame_child(name));
    const int n = ParameterFromWidgetName(base, combo->name());
    if (picture == nullptr || n == 0 || !base->IsPresent(n)) return;
    double minimum = 0.0;
    base->GetMinimumAsDouble(n, &minimum);
    const double value = static_cast<double>(static_cast<long long>(minimum)) + combo->first_selected();
    picture->set_bitmap(TrimmedParameterName(*base, n) + "_" + base->FormatDoubleValue(n, value, false));
}

void SwitchDependents(ParaBase* base, GwCore* widget, const std::string& names) {
    if (names.empty()) return;
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) {
        if (IsRadioButton(toggle)) {
            SwitchRadioContainers(toggle, names);
        } else {
            SwitchCheckBoxWidget(toggle, names);
        }
    } else if (auto* combo = dynamic_cast<GwCombo*>(widget)) {
        SwitchComboPicture(base, combo, names);
    }
}

int BoundParameter(GwCore* child, ParaBase** base) {
    DeviceSetupContext* context = DeviceContextOf(child);
    if (context == nullptr) return 0;
    *base = context->Base.get();
    return ParameterFromWidgetName(*base, child->name());
}

}  // namespace

int EnableBoundChild(GwCore* child, GwUD) {
    ParaBase* base = nullptr;
    const int n = BoundParameter(child, &base);
    if (n != 0) child->set_sensitive(base->IsPresent(n));
    return 1;
}

int DisableBoundChild(GwCore* child, GwUD) {
    ParaBase* base = nullptr;
    if (BoundParameter(child, &base) != 0) child->disable();
    return 1;
}

int CB_DvFctParaChange(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        CellChange change;
        if (IsCellActivation(event) && ChangedCell(base, sheet, event, &change)) SetWidgetChanged(sheet, true);
        return 1;
    }
    CheckWidgetChanged(base, widget, false);
    SwitchDependents(base, widget, userData.string());
    return 1;
}

int CB_DvFctParaChangeDirect(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    SetWidgetChanged(widget, false);
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        CellChange change;
        // Parsed as the column's parameter, as the sheet's take-over does.
        if (IsCellActivation(event) && ChangedCell(base, sheet, event, &change)) {
            StoreText(base, sheet, change.Parameter, change.Element, change.Text);
        }
        return 1;
    }
    SwitchDependents(base, widget, userData.string());
    GwCore* taken = widget;
    if (dynamic_cast<GwToggle*>(widget) != nullptr && widget->parent() != nullptr) taken = widget->parent();
    SetWidgetChanged(taken, true);
    TakeWidgetValue(base, taken, false);
    return 1;
}
