#include "plceditor/adapter/edit_control.h"

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

std::string& ClipboardText() {
    static std::string text;
    return text;
}

platform::ResetHook g_reset_clipboard([] { ClipboardText().clear(); });

constexpr int kFirstPrintable = 0x20;
constexpr int kLastAscii = 0x7E;
constexpr int kFirstHighByte = 0x80;
constexpr int kLastHighByte = 0xFF;

bool IsTextKey(int key) {
    return (key >= kFirstPrintable && key <= kLastAscii) || (key >= kFirstHighByte && key <= kLastHighByte);
}

}  // namespace

std::string FontText(const LogFont& font) {
    return font.face_name + "," + std::to_string(font.height) + "," + std::to_string(font.weight) + "," +
           (font.italic ? "1" : "0") + "," + (font.underline ? "1" : "0") + "," + (font.strike_out ? "1" : "0");
}

EditControl::EditControl(const std::string& name, GwCore* parent) : GwEdit(name, parent, GwTEXT_CLASS) {
    set_callback(GwCB_KEY, &EditControl::OnKey, GwUD(static_cast<void*>(this)));
    set_callback(GwCB_CHANGE, &EditControl::OnBaseChange, GwUD(static_cast<void*>(this)));
}

const std::string& EditControl::Clipboard() { return ClipboardText(); }
void EditControl::SetClipboard(const std::string& text) { ClipboardText() = text; }

void EditControl::Show() {
    GwEdit::set_text(buffer_.Text());
    set_cursor_position(buffer_.SelEnd());
}

void EditControl::set_text(const std::string& text) {
    buffer_.SetText(text);
    Show();
}

void EditControl::SetSel(int start, int end) {
    buffer_.SetSel(start, end);
    set_cursor_position(buffer_.SelEnd());
}

void EditControl::Apply(const EditResult& result) {
    if (result.changed && is_alive()) Show();
    if (!notify_) return;
    if (result.no_memory) notify_(EditNotification::kErrSpace);
    if (result.max_text) notify_(EditNotification::kMaxText);
    if (result.changed) notify_(EditNotification::kChange);
}

void EditControl::ReplaceSel(const std::string& text, bool can_undo) { Apply(buffer_.ReplaceSel(text, can_undo)); }

void EditControl::Undo() { Apply(buffer_.Undo()); }

void EditControl::Copy() {
    if (buffer_.SelStart() != buffer_.SelEnd()) SetClipboard(buffer_.SelectedText());
}

void EditControl::Cut() {
    if (buffer_.SelStart() == buffer_.SelEnd()) return;
    Copy();
    Apply(buffer_.ReplaceSel({}, true));
}

void EditControl::Paste() {
    if (!Clipboard().empty()) Apply(buffer_.ReplaceSel(Clipboard(), true));
}

void EditControl::ScrollCaret() { record("scroll caret", std::to_string(buffer_.SelStart())); }

void EditControl::SetLogFont(const LogFont& font) {
    font_ = font;
    set_font(FontText(font));
    record("font", FontText(font));
}

int EditControl::OnKey(GwCore*, GwEvent* event, GwUD ud) {
    auto* self = ud.pointer_as<EditControl>();
    return self != nullptr && event != nullptr && self->HandleKey(event->key) ? 1 : 0;
}

int EditControl::OnBaseChange(GwCore*, GwEvent*, GwUD ud) {
    auto* self = ud.pointer_as<EditControl>();
    if (self != nullptr) self->TakeBaseEdit();
    return 1;
}

bool EditControl::BaseEditsAlike(int key) const {
    if (all_selected()) return true;  // both replace or clear the whole text
    const int caret = buffer_.SelStart();
    if (caret != buffer_.SelEnd() || caret != cursor_position()) return false;
    const std::string& text = buffer_.Text();
    if (IsTextKey(key)) return buffer_.Length() < buffer_.Limit();
    if (key == GwKEY_BACKSPACE) return caret > 0 && !(caret >= 2 && text.compare(caret - 2, 2, "\r\n") == 0);
    if (key == GwKEY_DELETE) return caret < buffer_.Length() && text.compare(caret, 2, "\r\n") != 0;
    return false;
}

// The base field has done a key exactly as the buffer does it; the buffer
// follows, and the notifications go out.
void EditControl::TakeBaseEdit() {
    const int key = pending_key_;
    pending_key_ = -1;
    EditResult result;
    if (IsTextKey(key))
        result = buffer_.TypeChar(static_cast<char>(key));
    else if (key == GwKEY_BACKSPACE)
        result = buffer_.Backspace();
    else if (key == GwKEY_DELETE)
        result = buffer_.Delete();
    else
        return;
    if (text() != buffer_.Text()) Show();
    result.changed = false;  // shown already
    Apply(result);
    if (notify_) notify_(EditNotification::kChange);
}

// Returns whether the base text field may go on with the key. Keys it edits
// the same way as the buffer it does itself (so typing through it reports
// the key as taken); the others are done here and stopped.
bool EditControl::HandleKey(int key) {
    if (all_selected()) buffer_.SetSel(0, -1);
    if (IsTextKey(key) || key == GwKEY_BACKSPACE || key == GwKEY_DELETE) {
        if (BaseEditsAlike(key)) {
            pending_key_ = key;
            return true;
        }
        if (IsTextKey(key))
            Apply(buffer_.TypeChar(static_cast<char>(key)));
        else
            Apply(key == GwKEY_BACKSPACE ? buffer_.Backspace() : buffer_.Delete());
        return false;
    }
    switch (key) {
        case GwKEY_RETURN:
            Apply(buffer_.TypeReturn());
            return true;  // the base field only fires its (unbound) activate
        case GwKEY_TAB:
            return true;
        case CtrlKey('Z'):
            Undo();
            return true;
        case CtrlKey('X'):
            Cut();
            return true;
        case CtrlKey('C'):
            Copy();
            return true;
        case CtrlKey('V'):
            Paste();
            return true;
        default:
            if (key_handler_) key_handler_(key);
            return true;
    }
}

}  // namespace sindel
