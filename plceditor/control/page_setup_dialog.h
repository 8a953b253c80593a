// PageSetupDialog: the page margins and the editor font, kept in the
// profile. A modal window "PageSetupDialog" with the edits "Top" and "Left"
// (millimetres), the button "Font", the labels "FaceName" and "FontSize" and
// the buttons "OK" and "Cancel". OK refuses margins outside 0..100 mm and
// leaves the profile as it was until they are right.
#pragma once

#include <string>

#include "plceditor/adapter/log_font.h"
#include "plceditor/adapter/private_profile.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwEdit;

namespace sindel {

class PageSetupDialog {
public:
    static constexpr int kMaxMarginMm = 100;

    explicit PageSetupDialog(const PrivateProfile& profile) : profile_(profile) {}

    // Runs the dialog seeded with the edit control's font; true after OK,
    // when the profile holds the new values.
    bool Run(GwCore* owner, const LogFont& font);

private:
    static int OnFont(GwCore*, GwEvent*, GwUD);
    static int OnOk(GwCore*, GwEvent*, GwUD);
    void ShowFont();
    void ChooseFont();
    bool Accept();

    const PrivateProfile& profile_;
    GwRef<> window_;
    GwRef<GwEdit> top_edit_;
    GwRef<GwEdit> left_edit_;
    GwRef<> face_label_;
    GwRef<> size_label_;

    int left_ = 0;
    int top_ = 0;
    bool font_changed_ = false;
    int size_ = 0;  // tenths of a point
    int weight_ = 0;
    bool italic_ = false;
    bool underline_ = false;
    bool strike_out_ = false;
    std::string face_name_;
    LogFont log_font_;
};

}  // namespace sindel
