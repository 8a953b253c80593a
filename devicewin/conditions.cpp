#include "devicewin/conditions.h"

#include <cstdlib>
#include <sstream>

#include "app/main/main_object.h"
#include "app/services/user_level.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/docking/gw_tab_book.h"

namespace {

// An operator applied to a value: its text for "==" and "!=", its number for
// the orderings; any other operator holds.
bool Compare(const std::string& op, const std::string& text, double value, const std::string& literal) {
    if (op == "==") return text == literal;
    if (op == "!=") return text != literal;
    const double number = std::atof(literal.c_str());
    if (op == "<") return value < number;
    if (op == "<=") return value <= number;
    if (op == ">") return value > number;
    if (op == ">=") return value >= number;
    return true;
}

// The text up to the first blank from `from`, and where the next field
// starts (npos when no blank follows).
std::string Field(const std::string& text, size_t from, size_t* next) {
    const size_t blank = text.find(' ', from);
    *next = blank == std::string::npos ? std::string::npos : blank + 1;
    return text.substr(from, blank == std::string::npos ? std::string::npos : blank - from);
}

ParaBase* BaseOf(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    return context != nullptr ? context->Base.get() : nullptr;
}

// Element k of n as text and number, from the device when the base is
// online. False when a read fails.
bool ReadCompared(ParaBase* base, int n, int k, std::string* text, double* value) {
    if (base->GetEntry(n)->type == kTypeString) {
        dstring stored;
        const int failed = base->IsOnline() ? base->ReadValueString(n, stored, k) : base->GetValueString(n, stored, k);
        if (failed != 0) return false;
        *text = stored.Text();
        *value = std::atof(stored.Text());
        return true;
    }
    const int failed = base->IsOnline() ? base->ReadValueDouble(n, value, k) : base->GetValueDouble(n, value, k);
    if (failed != 0) return false;
    *text = base->FormatStoredValue(n, k, false);
    return true;
}

// The parameter number of an availability callback's user data; 0 when the
// text is empty or the window has no context.
bool Available(GwCore* widget, const GwUD& userData, bool* available) {
    ParaBase* base = BaseOf(widget);
    if (base == nullptr || userData.string().empty()) return false;
    *available = base->IsPresent(LeadingNumber(userData.string()));
    return true;
}

// The level of a non-empty text; false for an empty one.
bool LevelOf(const std::string& text, int* level) {
    if (text.empty()) return false;
    *level = std::atoi(text.c_str());
    return true;
}

int ShowOrHide(GwCore* widget, bool shown) {
    if (shown) {
        if (!widget->is_visible()) widget->show();
    } else {
        widget->hide();
    }
    return 1;
}

}  // namespace

bool EvaluateCondition(GwCore* widget, const std::string& condition) {
    ParaBase* base = BaseOf(widget);
    if (base == nullptr || condition.empty()) return true;
    size_t next = 0;
    const std::string operand = Field(condition, 0, &next);
    if (next == std::string::npos) return true;
    const std::string op = Field(condition, next, &next);
    if (next == std::string::npos) return true;
    const std::string literal = condition.substr(next);
    const int n = LeadingNumber(operand);
    const size_t bracket = operand.find('[');
    const int k = bracket == std::string::npos ? 0 : LeadingNumber(operand, bracket + 1);
    if (!base->IsPresent(n)) return true;
    std::string text;
    double value = 0.0;
    if (!ReadCompared(base, n, k, &text, &value)) return true;
    return Compare(op, text, value, literal);
}

bool EvaluateSelectionCondition(GwCore* widget, const std::string& condition) {
    ParaBase* base = BaseOf(widget);
    if (base == nullptr || condition.empty()) return true;
    size_t next = 0;
    const std::string op = Field(condition, 0, &next);
    if (next == std::string::npos) return true;
    const std::string literal = condition.substr(next);
    const int n = ParameterFromWidgetName(base, widget->name());
    if (!base->IsPresent(n)) return true;
    auto* list = dynamic_cast<GwItemList*>(widget);
    if (list == nullptr || list->first_selected() < 0) return false;
    const double selected = static_cast<double>(static_cast<int64_t>(base->GetMinimum(n)) + list->first_selected());
    return Compare(op, base->FormatDoubleValue(n, selected, false), selected, literal);
}

int CB_ShowIf(GwCore* widget, GwEvent*, GwUD userData) {
    return ShowOrHide(widget, EvaluateCondition(widget, userData.string()));
}

int CB_ShowIfViaTimer(GwCore* widget, GwEvent* event, GwUD userData) {
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    return CB_ShowIf(widget, event, userData);
}

int CB_EnableIf(GwCore* widget, GwEvent*, GwUD userData) {
    widget->set_sensitive(EvaluateCondition(widget, userData.string()));
    return 1;
}

int CB_ComboBoxEnableOtherObjectIf(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget->aux_text().empty()) return 1;
    if (GwCore* target = widget->frame_child(widget->aux_text()))
        target->set_sensitive(EvaluateSelectionCondition(widget, userData.string()));
    return CB_DvFctParaChange(widget, event, GwUD());
}

int CB_ShowIfParaAvailable(GwCore* widget, GwEvent*, GwUD userData) {
    bool available = false;
    if (Available(widget, userData, &available)) widget->set_considered(available);
    return 1;
}

int CB_HideIfParaAvailable(GwCore* widget, GwEvent*, GwUD userData) {
    bool available = false;
    if (Available(widget, userData, &available)) widget->set_considered(!available);
    return 1;
}

int CB_HideIfNotParaAvailable(GwCore* widget, GwEvent* event, GwUD userData) {
    return CB_ShowIfParaAvailable(widget, event, userData);
}

int CB_DisableIfNotParaAvailable(GwCore* widget, GwEvent*, GwUD userData) {
    bool available = false;
    if (Available(widget, userData, &available)) widget->set_sensitive(available);
    return 1;
}

int CB_ShowIfUserLevelEGT(GwCore* widget, GwEvent*, GwUD userData) {
    int level = 0;
    const bool allowed = LevelOf(userData.string(), &level) && level <= GetUserLevel();
    widget->set_sensitive(allowed);
    widget->set_considered(allowed);
    return 1;
}

int CB_ShowTabPageIfUserLevelEGT(GwCore* widget, GwEvent*, GwUD userData) {
    std::istringstream words(userData.string());
    std::string pageName;
    int level = 0;
    if (!(words >> pageName >> level)) return 1;
    GwCore* page = widget->child(pageName);
    auto* book = page != nullptr ? dynamic_cast<GwTabBook*>(page->parent()) : nullptr;
    if (book != nullptr) book->include_page(page, GetUserLevel() >= level);
    return 1;
}

int CheckGlobalUserLevel_Show(GwCore* widget, GwEvent*, GwUD) {
    int level = 0;
    if (LevelOf(widget->aux_text(), &level)) widget->set_considered(GetUserLevel() >= level);
    return 1;
}

int CheckGlobalUserLevel_Enable(GwCore* widget, GwEvent*, GwUD) {
    int level = 0;
    if (LevelOf(widget->aux_text(), &level)) widget->set_sensitive(GetUserLevel() >= level);
    return 1;
}
