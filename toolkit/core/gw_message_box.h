// GwMessageBox: the toolkit's own message box, used where no box definition
// exists; and the plain system box. Both are recorded and answered by the
// installed interaction (the test's script).
#pragma once

#include <map>
#include <string>

#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_types.h"

class GwCore;

// Which button's text set_button_text changes.
constexpr int GwBUTTONBOX_OK_TEXT = 1;
constexpr int GwBUTTONBOX_CANCEL_TEXT = 2;
constexpr int GwBUTTONBOX_YES_TEXT = 3;
constexpr int GwBUTTONBOX_NO_TEXT = 4;

class GwMessageBox {
public:
    GwMessageBox(const std::string& caption, GwCore* parent = nullptr, GwPosition position = {});

    void set_modality(int modality) { modality_ = modality; }
    int modality() const { return modality_; }
    void set_buttons(int flags) { buttons_ = flags; }
    int buttons() const { return buttons_; }
    void set_button_text(int which, const std::string& text) { button_texts_[which] = text; }
    std::string button_text(int which) const;
    void set_bitmap(const std::string& name) { bitmap_ = name; }
    const std::string& bitmap() const { return bitmap_; }
    void set_text(const std::string& text) { text_ = text; }
    const std::string& text() const { return text_; }
    const std::string& caption() const { return caption_; }
    GwPosition position() const { return position_; }

    // Shows the box modally and returns the answer's result code.
    int go();
    int result() const { return result_; }
    // Takes the box off the screen; the object itself stays until deleted.
    void destroy() {}

private:
    std::string caption_;
    GwRef<> parent_;
    GwPosition position_;
    int modality_ = 0;
    int buttons_ = 0;
    std::map<int, std::string> button_texts_;
    std::string bitmap_;
    std::string text_;
    int result_ = 0;
};

// The operating system's plain message box (kind "system"); returns the
// answer's result code.
int GwSystemMessageBox(const std::string& text, const std::string& caption);
