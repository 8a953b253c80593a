#include "devicewin/scrolled_fields.h"

#include <string>

#include "devicewin/device_context.h"
#include "devicewin/widget_name.h"
#include "devicewin/widget_take.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/core/gw_timers.h"

namespace {

// The number after the first comma of the text; 0 without one.
int OffsetAfterComma(const std::string& text) {
    const size_t comma = text.find(',');
    return comma == std::string::npos ? 0 : LeadingNumber(text, comma + 1);
}

// Calls `visit` for every widget below `row`.
template <typename Visit>
void ForEachInRow(GwCore* row, const Visit& visit) {
    for (GwCore* child : row->children()) {
        visit(child);
        ForEachInRow(child, visit);
    }
}

}  // namespace

int CB_ShowScrolledFieldPara(GwCore* widget, GwEvent*, GwUD userData) {
    auto* field = dynamic_cast<GwScrolledContainer*>(widget);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (field == nullptr || context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const std::string& text = userData.string();
    const int n = LeadingNumber(text);
    if (!base->IsPresent(n) || (base->GetEntry(n)->flags & kFlagArray) == 0) return 1;
    field->set_item_count(base->GetValueCount(n) - OffsetAfterComma(text));
    return 1;
}

int CB_HandleScrolledFieldPara(GwCore* widget, GwEvent*, GwUD userData) {
    auto* field = dynamic_cast<GwScrolledContainer*>(widget);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (field == nullptr || context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    // An edit in progress is finished before its row is bound elsewhere.
    if (GwCore* button = widget->frame()->default_button()) {
        button->set_focus();
        GwProcessPendingEvents();
    }
    const int visible = field->visible_count();
    for (int i = 0; i < visible; ++i) {
        GwCore* row = field->row(i);
        if (row == nullptr) break;
        ForEachInRow(row, [base](GwCore* child) { TakeWidgetValue(base, child, false); });
    }
    const int first = field->first_visible() + LeadingNumber(userData.string());
    for (int i = 0; i < visible; ++i) {
        GwCore* row = field->row(i);
        if (row == nullptr) return 0;
        if (GwCore* index = row->child(kRowIndexName)) index->set_text(std::to_string(first + i));
        ForEachInRow(row, [first, i](GwCore* child) { RebindRowWidget(child, first + i); });
    }
    field->hide();
    field->show();
    return 1;
}

void RebindRowWidget(GwCore* widget, int element) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return;
    const std::string& name = widget->name();
    const int n = ParameterFromWidgetName(context->Base.get(), name);
    if (n == 0 || FieldIndexFromWidgetName(name) < 0) return;
    widget->set_name(kBindingMarker + std::to_string(n) + "[" + std::to_string(element) + "]");
}
