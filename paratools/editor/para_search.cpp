// The search mask "ParaSearch" of the parameter editor.
#include <cctype>
#include <cstdio>
#include <string>

#include "app/services/message_box.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/editor/parameter_editor_state.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kNameLength = 5;
constexpr int kNumberLength = 3;

struct SearchChildren {
    GwRef<GwEdit> Name;
    GwRef<GwEdit> Number;
    GwRef<GwCombo> KPGroup;
    GwRef<GwCombo> SCGroup;
    GwRef<GwToggle> IsName;
    GwRef<GwToggle> IsNumber;
    GwRef<GwToggle> IsKPGroup;
    GwRef<GwToggle> IsSCGroup;
};

bool FindSearchChildren(GwCore* window, SearchChildren* c) {
    c->Name = dynamic_cast<GwEdit*>(window->child("Name"));
    c->Number = dynamic_cast<GwEdit*>(window->child("Number"));
    c->KPGroup = dynamic_cast<GwCombo*>(window->child("KPGroup"));
    c->SCGroup = dynamic_cast<GwCombo*>(window->child("SCGroup"));
    c->IsName = dynamic_cast<GwToggle*>(window->child("IsName"));
    c->IsNumber = dynamic_cast<GwToggle*>(window->child("IsNumber"));
    c->IsKPGroup = dynamic_cast<GwToggle*>(window->child("IsKPGroup"));
    c->IsSCGroup = dynamic_cast<GwToggle*>(window->child("IsSCGroup"));
    if (c->Name && c->Number && c->KPGroup && c->SCGroup && c->IsName && c->IsNumber && c->IsKPGroup && c->IsSCGroup) {
        return true;
    }
    ShowErrorMessage(7, window);
    return false;
}

GwCore* FrameOf(GwCore* widget) { return widget->frame() != nullptr ? widget->frame() : widget; }

}  // namespace

int DlgPSearch_Show(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Base == nullptr) return 1;
    GwCore* window = FrameOf(widget);
    s->SearchWindow = window;
    SearchChildren c;
    if (!FindSearchChildren(window, &c)) return 1;
    c.Name->set_max_length(kNameLength);
    c.Number->set_max_length(kNumberLength);
    if (s->FirstSearchShow) {
        if (!s->SearchListUsed) {
            s->Base->DeselectAll(false);
            s->SearchListUsed = true;
        }
        s->FirstSearchShow = false;
        c.Name->set_text(s->SearchName);
        c.Number->set_text(s->SearchNumber);
        c.IsNumber->set_value(s->IsNumberState);
        c.IsName->set_value(s->IsNameState);
        c.IsKPGroup->set_value(s->IsKPGroupState);
        c.IsSCGroup->set_value(s->IsSCGroupState);
    }
    c.SCGroup->clear();
    for (int g = 0; g < s->Base->GetSCGroupCount(); ++g) c.SCGroup->append(s->Base->GetSCGroupName(g));
    if (s->SearchSCGroup >= 0) c.SCGroup->select_item(s->SearchSCGroup);
    c.KPGroup->clear();
    for (int g = 0; g < s->GroupCount && g < kMaxKeypadGroupRecords; ++g) c.KPGroup->append(s->Groups[g].MenuText);
    if (s->SearchKPGroup >= 0) c.KPGroup->select_item(s->SearchKPGroup);
    return 1;
}

int DlgPSearch_Key_OK(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    GwCore* window = FrameOf(widget);
    SearchChildren c;
    if (!FindSearchChildren(window, &c)) return 1;
    s->SearchName[0] = '\0';
    s->SearchNumber[0] = '\0';
    s->SearchSCGroup = -1;
    s->SearchKPGroup = -1;
    s->IsNameState = c.IsName->value();
    if (s->IsNameState != 0 && !c.Name->text().empty()) {
        std::string upper = c.Name->text().substr(0, kNameLength);
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        std::snprintf(s->SearchName, sizeof s->SearchName, "%s", upper.c_str());
    }
    s->IsNumberState = c.IsNumber->value();
    if (s->IsNumberState != 0 && !c.Number->text().empty()) {
        std::snprintf(s->SearchNumber, sizeof s->SearchNumber, "%s", c.Number->text().substr(0, kNumberLength).c_str());
    }
    s->IsSCGroupState = c.IsSCGroup->value();
    if (s->IsSCGroupState != 0) s->SearchSCGroup = static_cast<int16_t>(c.SCGroup->first_selected());
    s->IsKPGroupState = c.IsKPGroup->value();
    if (s->IsKPGroupState != 0) s->SearchKPGroup = static_cast<int16_t>(c.KPGroup->first_selected());
    s->SearchConfirmed = true;
    window->hide();
    return 1;
}

int DlgPSearch_Key_Cancel(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s != nullptr) s->SearchConfirmed = false;
    FrameOf(widget)->hide();
    return 1;
}
