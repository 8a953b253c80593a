// The editor's multi-line edit control as a toolkit widget: an EditBuffer
// behind a text field, with the keys a multi-line edit handles itself
// (typing, Return, Backspace, Delete, Ctrl+Z/X/C/V), a shared clipboard, the
// change, limit and memory notifications, and the font it shows. Keys that
// the base text field would edit differently (a key over a selection,
// Backspace or Delete at a line end) are done here and reported to the
// typist as not taken by the base field; the text is right either way.
#pragma once

#include <functional>
#include <string>

#include "plceditor/adapter/edit_buffer.h"
#include "plceditor/adapter/log_font.h"
#include "toolkit/core/gw_edit.h"

namespace sindel {

// Notifications to the window that holds the control.
enum class EditNotification { kChange, kMaxText, kErrSpace };

// Control characters of the keys Ctrl+letter.
constexpr int CtrlKey(char letter) { return letter - 'A' + 1; }

class EditControl : public GwEdit {
public:
    EditControl(const std::string& name, GwCore* parent);

    EditBuffer& Buffer() { return buffer_; }
    const EditBuffer& Buffer() const { return buffer_; }

    // The program sets the whole text (no notification, no undo).
    void set_text(const std::string& text) override;
    void SetSel(int start, int end);
    // Replaces the selection as the user or the program edits.
    void ReplaceSel(const std::string& text, bool can_undo);
    void Undo();
    bool CanUndo() const { return buffer_.CanUndo(); }
    void Cut();
    void Copy();
    void Paste();
    void LimitText(int chars) { buffer_.SetLimit(chars); }
    // Brings the caret into view (recorded).
    void ScrollCaret();

    void SetLogFont(const LogFont& font);
    const LogFont& GetLogFont() const { return font_; }

    // Where the change, limit and memory notifications go.
    void SetNotify(std::function<void(EditNotification)> notify) { notify_ = std::move(notify); }
    // Keys the control does not handle itself (Escape, Ctrl+letters other
    // than Z, X, C, V) go here; the handler may destroy the control.
    void SetKeyHandler(std::function<void(int key)> handler) { key_handler_ = std::move(handler); }

    // The process's clipboard text.
    static const std::string& Clipboard();
    static void SetClipboard(const std::string& text);

protected:
    ~EditControl() override = default;

private:
    static int OnKey(GwCore* widget, GwEvent* event, GwUD ud);
    static int OnBaseChange(GwCore* widget, GwEvent* event, GwUD ud);
    bool HandleKey(int key);
    bool BaseEditsAlike(int key) const;
    void TakeBaseEdit();
    void Apply(const EditResult& result);
    void Show();

    EditBuffer buffer_;
    LogFont font_;
    std::function<void(EditNotification)> notify_;
    std::function<void(int)> key_handler_;
    int pending_key_ = -1;  // a key the base field is doing
};

}  // namespace sindel
