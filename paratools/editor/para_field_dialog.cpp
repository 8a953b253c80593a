#include <cstdlib>
#include <string>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/poll_timer.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

GwMultiList* FieldData(ParameterEditorState* s) {
    return s != nullptr && s->FieldDialog != nullptr ? dynamic_cast<GwMultiList*>(s->FieldDialog->child("FieldData"))
                                                     : nullptr;
}

}  // namespace

int CB_CreateFieldPara(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || s->Selected == nullptr) return 1;
    GwCore* window = widget->frame() != nullptr ? widget->frame() : widget;
    GwCore* name = window->child("FieldName");
    GwCore* size = window->child("FieldSize");
    GwCore* unit = window->child("FieldUnit");
    auto* data = dynamic_cast<GwMultiList*>(window->child("FieldData"));
    if (name == nullptr || size == nullptr || unit == nullptr || data == nullptr) {
        ShowErrorMessage(7, window);
        return 1;
    }
    ParaBase* base = s->Base;
    const int number = s->Selected->number;
    const int count = base->GetValueCount(number);
    size->set_text(platform::Format("%u", static_cast<unsigned>(count)));
    unit->set_text(base->GetParameterUnit(number));
    const std::string description = base->GetParameterDescription(number);
    name->set_text(description.empty() ? std::string(base->GetParameterName(number)) : description);
    data->clear();
    if (s->Mode == kEditorModeOnline && base->ReadBusParameter(number, 0, count) != 0) {
        ShowDeviceError(5, base, window);
    }
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (s->Context != nullptr) {
            dstring named;
            s->Context->GetValueText(named, number, i);
            text = named.Text();
            if (text == std::to_string(i)) text = " ";
        }
        data->add_row(platform::Format("%d|%s|%s", i, text.c_str(), base->FormatStoredValue(number, i, false)));
    }
    return 1;
}

int CB_ShowFieldPara(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* window = widget->frame() != nullptr ? widget->frame() : widget;
    if (s == nullptr || s->Selected == nullptr) {
        window->destroy();
        return 1;
    }
    s->FieldDialog = window;
    GwMultiList* data = FieldData(s);
    if (data == nullptr) return 1;
    if (data->first_selected() < 0) data->select(0);
    TheWindowHandler().Add(window, s->Mode == kEditorModeOnline ? 1 : 0);
    if (s->CyclicUpdate != 0) data->start_timer(kFirstTickMs);
    return 1;
}

int CB_TimerFieldData(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    Main* main = GetMain();
    if (s == nullptr || main == nullptr || s->Selected == nullptr) return 1;
    if (!main->CheckTimerIntegrity(widget, false)) return 1;
    widget->stop_timer();
    PollTimer poll{kFieldPollMaximumMs, kFieldPollWeightMs, kFieldPollMinimumMs, widget, 0};
    ParaBase* base = s->Base;
    const int number = s->Selected->number;
    const int count = base->GetValueCount(number);
    if (s->Mode == kEditorModeOnline && base->ReadBusParameter(number, 0, count) != 0) {
        if (!ShowDeviceError(5, base, s->FieldDialog)) return 0;
    }
    if (auto* data = dynamic_cast<GwMultiList*>(widget)) {
        const int end = std::min(data->row_count(), data->first_visible() + data->visible_count());
        for (int row = data->first_visible(); row < end; ++row) {
            const std::string index = data->cell(row, 0);
            if (index.empty()) continue;
            const int element = std::atoi(index.c_str());
            if (row >= count || element >= count) continue;
            const std::string value = base->FormatStoredValue(number, element, false);
            if (data->cell(row, 2) != value) {
                data->set_cell(row, 2, value);
                if (s->FieldDialog != nullptr) s->FieldDialog->peek_event();
            }
        }
    }
    poll.Restart();
    return 1;
}

int CB_EditField(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwMultiList* data = FieldData(s);
    if (data == nullptr || s->Selected == nullptr) return 1;
    const int row = data->first_selected();
    if (row < 0) return 1;
    const int number = s->Selected->number;
    s->SelectedElement = std::atoi(data->cell(row, 0).c_str());
    s->DialogEditable = s->Base->IsWriteAllowed(number, GetUserLevel());
    if (s->Mode == kEditorModeOnline && s->Base->ReadBusParameter(number, s->SelectedElement, 1) != 0) {
        ShowDeviceError(5, s->Base, s->FieldDialog);
    }
    GwCore* dialog = GwRcMgr::load(s->FieldDialog, s->DialogName.c_str(), 1);
    if (dialog == nullptr) {
        ShowErrorMessage(7, s->FieldDialog);
        return 1;
    }
    data->stop_timer();
    dialog->show();
    return 1;
}

int CB_CancelField(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* window = s != nullptr && s->FieldDialog != nullptr
                         ? s->FieldDialog.get()
                         : (widget->frame() != nullptr ? widget->frame() : widget);
    TheWindowHandler().DeleteWindow(window);
    if (GwMultiList* data = FieldData(s)) data->stop_timer();
    if (GwRcMgr::is_valid_child(window)) window->destroy();
    if (s != nullptr) s->FieldDialog.reset();
    return 1;
}

int CBP_ExpandFields(GwCore* widget, GwEvent* event, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    s->ExpandFields = toggle != nullptr ? toggle->value() : (event != nullptr ? event->value : 0);
    s->FillList();
    return 1;
}

int CB_InitTimerUpdateSelected(GwCore* widget, GwEvent*, GwUD) {
    widget->start_timer(1000);
    return 1;
}

int CB_UpdateSelectedParaIntern(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    Main* main = GetMain();
    if (s != nullptr && main != nullptr && main->CheckTimerIntegrity(widget, true)) s->RefreshVisibleValues();
    return 1;
}
