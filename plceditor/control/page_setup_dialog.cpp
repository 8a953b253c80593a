#include "plceditor/control/page_setup_dialog.h"

#include "platform/base/format.h"
#include "plceditor/adapter/font_dialog.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/control/dialog_widgets.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"

namespace sindel {

namespace {

constexpr char kMarginUnit[] = "mm";

GwEdit* AddMarginEdit(GwCore* parent, const char* name, const char* prompt, int value) {
    auto* edit = new GwEdit(name, parent, GwFORMATEDIT_CLASS);
    edit->set_format_type(GwFORMAT_INTEGER);
    edit->set_prompt(prompt);
    edit->set_suffix(kMarginUnit);
    edit->set_text(std::to_string(value));
    return edit;
}

}  // namespace

bool PageSetupDialog::Run(GwCore* owner, const LogFont& font) {
    using namespace profile_keys;
    log_font_ = font;
    font_changed_ = false;
    face_name_ = profile_.GetString(kFont, kFaceName, kDefaultFaceName);
    size_ = profile_.GetInt(kFont, kSize, kDefaultFontSizeTenths);
    top_ = TopMarginMm(profile_);
    left_ = LeftMarginMm(profile_);

    window_ = new GwDialogFrame("PageSetupDialog", owner, true, "Page setup");
    GwCore* margins = new GwContainer("Margins", window_);
    margins->set_text("Margins");
    top_edit_ = AddMarginEdit(margins, "Top", "Top:", top_);
    left_edit_ = AddMarginEdit(margins, "Left", "Left:", left_);
    const GwUD self(static_cast<void*>(this));
    AddButton(window_, "Font", "Font...", &PageSetupDialog::OnFont, self);
    face_label_ = new GwLabel("FaceName", window_);
    size_label_ = new GwLabel("FontSize", window_);
    AddButton(window_, "OK", "OK", &PageSetupDialog::OnOk, self);
    AddButton(window_, "Cancel", "Cancel", GwRESULT_CANCEL);
    ShowFont();

    const bool accepted = window_->go() == GwRESULT_OK;
    window_->destroy();
    window_ = nullptr;
    return accepted;
}

void PageSetupDialog::ShowFont() {
    face_label_->set_text(face_name_);
    size_label_->set_text(platform::Format("%ld", static_cast<int32_t>(size_ / 10)));
}

int PageSetupDialog::OnFont(GwCore*, GwEvent*, GwUD ud) {
    ud.pointer_as<PageSetupDialog>()->ChooseFont();
    return 1;
}

void PageSetupDialog::ChooseFont() {
    std::optional<FontChoice> choice = sindel::ChooseFont(window_, log_font_);
    if (!choice) return;
    font_changed_ = true;
    log_font_ = choice->font;
    size_ = choice->point_size_tenths;
    weight_ = choice->font.weight;
    italic_ = choice->font.italic;
    underline_ = choice->font.underline;
    strike_out_ = choice->font.strike_out;
    face_name_ = choice->font.face_name;
    ShowFont();
}

int PageSetupDialog::OnOk(GwCore*, GwEvent*, GwUD ud) {
    auto* self = ud.pointer_as<PageSetupDialog>();
    if (self->Accept()) self->window_->end_modal(GwRESULT_OK);
    return 1;
}

bool PageSetupDialog::Accept() {
    using namespace profile_keys;
    top_ = GwAtoi(top_edit_->text().c_str());
    left_ = GwAtoi(left_edit_->text().c_str());
    // The message names the range 0..100; a negative margin is outside it too.
    auto outside = [](int mm) { return mm < 0 || mm > kMaxMarginMm; };
    if (outside(top_) || outside(left_)) {
        ShowMessageBox(window_,
                       std::string(LoadString(ids::kMarginsOutOfRange)),
                       PlcEditorDialog::kBoxCaption,
                       BoxButtons::kOk,
                       BoxIcon::kWarning);
        return false;
    }
    profile_.WriteInt(kPage, kTop, top_);
    profile_.WriteInt(kPage, kLeft, left_);
    if (font_changed_) {
        profile_.WriteInt(kFont, kSize, size_);
        profile_.WriteInt(kFont, kWeight, weight_);
        profile_.WriteInt(kFont, kIsItalic, italic_ ? 1 : 0);
        profile_.WriteInt(kFont, kIsUnderline, underline_ ? 1 : 0);
        profile_.WriteInt(kFont, kIsStrikeOut, strike_out_ ? 1 : 0);
        profile_.WriteString(kFont, kFaceName, face_name_);
    }
    return true;
}

}  // namespace sindel
