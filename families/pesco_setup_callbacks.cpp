#include "families/pesco_setup_callbacks.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_display.h"
#include "families/setup_context.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"

int CB_5_PORTA_Changed(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    auto* portA = widget->frame()->frame_child<GwItemList>(kPortAName);
    const int selected = portA != nullptr ? portA->first_selected() : -1;
    if (selected < 0) return 1;
    double minimum = 0.0;
    context->Base->GetMinimumAsDouble(kPortAParameter, &minimum);
    const double value = selected + std::trunc(minimum);
    const bool on = std::string(context->Base->FormatDoubleValue(kPortAParameter, value, false)) == kPortAOnText;
    for (const char* name : kPortANames) {
        if (GwCore* target = widget->frame()->frame_child(name)) target->set_sensitive(on);
    }
    if (widget == portA) return CB_DvFctParaChange(widget, event, userData);
    return 1;
}

int CB_DvFctTakeItPST(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctTakeIt(widget, event, userData);
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (GwCore* table = frame != nullptr ? frame->frame_child(kPositionSequenceTableName) : nullptr) {
        table->hide();
        table->show();
    }
    return 1;
}

namespace {

constexpr char kElementIndexName[] = "Index";
constexpr int kEnableTargets[] = {762, 764, 765, 763, 272};
constexpr size_t kMostConditions = 10;

// The condition numbers of a target's user data; nothing when the list holds
// 0 or a word that is no number (that ends the whole callback).
std::optional<std::vector<int>> ConditionList(const std::string& text) {
    std::vector<int> conditions;
    size_t start = 0;
    while (start <= text.size() && conditions.size() < kMostConditions) {
        const size_t end = text.find_first_of(",\r\n", start);
        const std::string word = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!word.empty()) {
            char* rest = nullptr;
            const long number = std::strtol(word.c_str(), &rest, 10);
            if (rest == word.c_str() || number == 0) return std::nullopt;
            conditions.push_back(static_cast<int>(number));
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return conditions;
}

// The value selected in the source widget of parameter `source` at element
// `n`: its first selected index plus the parameter's lower limit. Nothing
// when the widget is missing or has nothing selected.
std::optional<int> SourceValue(GwCore* frame, DeviceSetupContext* context, int source, int n) {
    auto* widget = frame->frame_child<GwItemList>(platform::Format("_PN_%d[%d]", source, n));
    if (widget == nullptr) return std::nullopt;
    if (IsWidgetChanged(widget)) ShowWidgetValue(context->Base.get(), widget);
    const int selected = widget->first_selected();
    if (selected < 0) return std::nullopt;
    double minimum = 0.0;
    context->Base->GetMinimumAsDouble(source, &minimum);
    return selected + static_cast<int>(std::trunc(minimum));
}

// Whether condition `k` holds; a condition whose source has no value holds.
bool ConditionHolds(int k, GwCore* frame, DeviceSetupContext* context, int n) {
    auto value = [&](int source) { return SourceValue(frame, context, source, n); };
    switch (k) {
        case 1: {
            const std::optional<int> type = value(274);
            return !type || *type == 1;
        }
        case 2: {
            const std::optional<int> from = value(761);
            const std::optional<int> level = value(762);
            return !from || !level || !(*from == -1 && *level == 0);
        }
        case 3: {
            const std::optional<int> condition = value(764);
            return !condition || *condition == 0 || *condition == 2;
        }
        case 4: {
            const std::optional<int> condition = value(764);
            return !condition || *condition == 1 || *condition == 2;
        }
        case 5: {
            const std::optional<int> type = value(274);
            return !type || *type != 2;
        }
        default:
            return true;
    }
}

}  // namespace

int CB_5_SelectAndEnableIf(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    const bool combo = dynamic_cast<GwCombo*>(widget) != nullptr;
    const bool container = widget->kind() == GwCONTAINER_CLASS;
    if (!combo && !container) return 1;
    if (container) {
        CB_DvFctShowObject(widget, event, userData);
    } else {
        CB_DvFctParaChange(widget, event, userData);
    }
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* holder = container ? widget : widget->parent();
    GwCore* index = holder != nullptr ? holder->child(kElementIndexName) : nullptr;
    if (index == nullptr || index->text().empty()) return 1;
    const int n = std::atoi(index->text().c_str());
    GwCore* frame = widget->frame();
    for (int target : kEnableTargets) {
        GwCore* element = frame->frame_child(platform::Format("_PN_%d[%d]", target, n));
        if (element == nullptr || !element->user_data().is_text()) continue;
        const std::optional<std::vector<int>> conditions = ConditionList(element->user_data().string());
        if (!conditions) return 1;
        bool enabled = true;
        for (int k : *conditions) enabled = ConditionHolds(k, frame, context, n) && enabled;
        element->set_sensitive(enabled);
    }
    return 1;
}
