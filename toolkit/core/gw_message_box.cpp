#include "toolkit/core/gw_message_box.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

int AskAndRecord(GwBoxRecord box) {
    box.answer = GwGetInteraction().AnswerBox(box);
    GwRecorder::RecordBox(box);
    return box.answer;
}

}  // namespace

GwMessageBox::GwMessageBox(const std::string& caption, GwCore* parent, GwPosition position)
    : caption_(caption), parent_(parent), position_(position) {}

std::string GwMessageBox::button_text(int which) const {
    auto it = button_texts_.find(which);
    return it != button_texts_.end() ? it->second : std::string();
}

int GwMessageBox::go() {
    GwBoxRecord box;
    box.kind = "message";
    box.caption = caption_;
    box.text = text_;
    // The parent may be gone by now; only a live one is named.
    box.parent = parent_ != nullptr ? parent_->identifier() : std::string();
    result_ = AskAndRecord(box);
    return result_;
}

int GwSystemMessageBox(const std::string& text, const std::string& caption) {
    GwBoxRecord box;
    box.kind = "system";
    box.caption = caption;
    box.text = text;
    return AskAndRecord(box);
}
