#include "plceditor/control/codegen_dialog.h"

#include <string>

#include "plceditor/adapter/message_box.h"
#include "plceditor/control/dialog_widgets.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

// List entries by generator index.
constexpr const char* kEntries[kGeneratorCount] = {
    "PLC V1.xx (Marlo, Vanta)",
    "PLC V2.xx (Zarek, Vanta in special projects)",
    "PLC V3.xx (Vanta, RCAM support)",
};

}  // namespace

bool CodeGeneratorDialog::Run(GwCore* owner, int index, int memory_size) {
    index_ = index;
    shown_ = memory_size;
    accepted_ = memory_size;
    window_ = new GwDialogFrame(kWindowName, owner, true, "Code generator setup");
    GwCore* group = new GwContainer("CompilerVersion", window_);
    group->set_text("Compiler version");
    list_ = new GwCombo("Version", group);
    for (const char* entry : kEntries) list_->append(entry);
    list_->select_item(index_);
    const GwUD self(static_cast<void*>(this));
    list_->set_callback(GwCB_SELECT, &CodeGeneratorDialog::OnSelect, self);
    memory_label_ = new GwLabel("MemoryLabel", group);
    memory_label_->set_text("Available memory (size of 32-Bit elements):");
    memory_edit_ = new GwEdit("MemorySize", group, GwFORMATEDIT_CLASS);
    memory_edit_->set_format_type(GwFORMAT_INTEGER);
    memory_edit_->set_text(std::to_string(shown_));
    AddButton(window_, "OK", "OK", &CodeGeneratorDialog::OnOk, self);
    AddButton(window_, "Cancel", "Cancel", GwRESULT_CANCEL);
    ShowMemoryControls();

    const bool accepted = window_->go() == GwRESULT_OK;
    window_->destroy();
    window_ = nullptr;
    return accepted;
}

void CodeGeneratorDialog::ShowMemoryControls() {
    const bool shown = list_->selected_index() != kGeneratorV110;
    for (GwCore* control : {memory_label_.get(), static_cast<GwCore*>(memory_edit_)}) {
        if (shown)
            control->show();
        else
            control->hide();
    }
}

int CodeGeneratorDialog::OnSelect(GwCore*, GwEvent*, GwUD ud) {
    ud.pointer_as<CodeGeneratorDialog>()->ShowMemoryControls();
    return 1;
}

int CodeGeneratorDialog::OnOk(GwCore*, GwEvent*, GwUD ud) {
    auto* self = ud.pointer_as<CodeGeneratorDialog>();
    if (self->Accept()) self->window_->end_modal(GwRESULT_OK);
    return 1;
}

bool CodeGeneratorDialog::Accept() {
    shown_ = GwAtoi(memory_edit_->text().c_str());
    const int selected = list_->selected_index();
    index_ = selected >= 0 && selected < kGeneratorCount ? selected : kGeneratorV110;
    if (index_ == kGeneratorV110) return true;
    // The stores would clamp a size outside 0..4096 and keep a memory that is
    // not the one written to the profile.
    if (shown_ < 0 || shown_ > kMaxMemoryWords) {
        ShowMessageBox(window_,
                       FormatString(ids::kMaximumMemory, std::to_string(kMaxMemoryWords)),
                       PlcEditorDialog::kBoxCaption,
                       BoxButtons::kOk,
                       BoxIcon::kError);
        return false;
    }
    accepted_ = shown_;
    return true;
}

}  // namespace sindel
