// The variable chooser "ChooseScopeEntry": one row per variable offered at
// the user level, the channel's variable focused, and the choice assigned to
// the channel.
#include "app/services/message_box.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "platform/base/format.h"
#include "scope/varlist/scope_variable_list.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// Columns of a row "display text|unit|name|level".
constexpr int kTextColumn = 0;
constexpr int kNameColumn = 2;

GwMultiList* ListOf(GwCore* widget) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    return frame != nullptr ? frame->child<GwMultiList>(kScopeVariableListName) : nullptr;
}

// Focuses the row of the chosen name (else the first) and scrolls it to the
// middle: the first visible row is half the visible rows above it, or half
// its index when that would lie before the first row.
void FocusChosenRow(GwMultiList& list) {
    const std::string& chosen = TheScopeWindowState().ChosenName;
    int focused = 0;
    for (int i = 0; i < list.row_count(); ++i) {
        if (list.cell(i, kNameColumn) == chosen) {
            focused = i;
            break;
        }
    }
    list.set_focused_row(focused);
    int first = focused - list.visible_count() / 2;
    if (first < 0) first = focused / 2;
    list.set_first_visible(first);
}

// The chooser of the window, made anew when the user level or the engine
// changed since it was made.
GwCore* Chooser(GwCore* window) {
    ScopeWindowState& state = TheScopeWindowState();
    GwCore* chooser = state.Chooser.get();
    if (chooser != nullptr &&
        (state.ChooserUserLevel != GetUserLevel() || state.ChooserEngineSerial != state.EngineSerial)) {
        TheWindowHandler().DeleteWindow(chooser);
        chooser->destroy();
        chooser = nullptr;
    }
    if (chooser == nullptr) {
        chooser = GwRcMgr::load(window, kScopeChooserWindowName, 1);
        state.Chooser = chooser;
        state.ChooserUserLevel = GetUserLevel();
        state.ChooserEngineSerial = state.EngineSerial;
    }
    return chooser;
}

}  // namespace

int CB_ChVal(GwCore*, GwEvent*, GwUD userData) {
    ScopeRecorder* engine = ScopeEngine();
    GwCore* window = TheScopeWindowState().Window.get();
    if (engine == nullptr || window == nullptr) return 1;
    const int channel = static_cast<int>(userData.integer());
    ScopeWindowState& state = TheScopeWindowState();
    const std::string current = engine->GetChannelVariableName(channel);
    state.ChosenName = current;
    state.ChosenText = ScopeVariableText(current);
    GwCore* chooser = Chooser(window);
    if (chooser == nullptr) {
        ShowErrorMessage(kScopeWindowMissingMessage, window);
        return 1;
    }
    TheWindowHandler().Add(chooser, 0);
    chooser->go();
    // The run let events through: the window may be closed or its engine new.
    if ((engine = ScopeEngine()) == nullptr || state.ChosenName == current) return 1;
    if (engine->SetChannelVariable(channel, state.ChosenName.c_str())) {
        SetScopeText(static_cast<ScopeWidget>(kChVal0 + channel), state.ChosenText);
        SetScopeText(static_cast<ScopeWidget>(kChAct0 + channel), engine->GetChannelUnit(channel));
        if (engine->GetTriggerChannel() == channel) ShowScopeTriggerLevel();
    }
    ApplyScopeFixedTime();
    return 1;
}

int CB_CreateScopeVariableList(GwCore* widget, GwEvent*, GwUD) {
    GwMultiList* list = ListOf(widget);
    if (list == nullptr) {
        ShowErrorMessage(kScopeWindowMissingMessage, widget != nullptr ? widget->frame() : nullptr);
        return 1;
    }
    list->clear();
    ScopeRecorder* engine = ScopeEngine();
    ScopeVariableList* variables = engine != nullptr ? engine->GetVariableList() : nullptr;
    if (variables == nullptr) return 1;
    engine->RestartVariables();
    while (const char* name = engine->NextVisibleVariable()) {
        const std::string shown = name;
        const ScopeVariable* variable = variables->SelectByName(shown) ? variables->Current() : nullptr;
        if (variable == nullptr) continue;
        list->add_row(platform::Format("%s|%s|%s|%d",
                                       ScopeVariableText(shown).c_str(),
                                       variable->unit.c_str(),
                                       shown.c_str(),
                                       static_cast<int>(variable->level)));
    }
    FocusChosenRow(*list);
    return 1;
}

int CB_ShowScopeVariableList(GwCore* widget, GwEvent*, GwUD) {
    if (GwMultiList* list = ListOf(widget)) FocusChosenRow(*list);
    return 1;
}

int CB_ScopeListDefault(GwCore* widget, GwEvent*, GwUD) {
    ScopeWindowState& state = TheScopeWindowState();
    GwMultiList* list = ListOf(widget);
    if (list == nullptr) {
        ShowErrorMessage(kScopeWindowMissingMessage, widget != nullptr ? widget->frame() : nullptr);
        state.ChosenName.clear();
        state.ChosenText.clear();
        return 1;
    }
    const int row = list->focused_row();
    if (row >= 0 && row < list->row_count()) {
        state.ChosenName = list->cell(row, kNameColumn);
        state.ChosenText = list->cell(row, kTextColumn);
    }
    if (GwCore* frame = widget->frame()) frame->hide();
    return 1;
}
