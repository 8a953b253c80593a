// The text model of the editor's multi-line edit control: lines separated by
// CR LF, one selection, a single level of undo, a text limit that stops typed
// and inserted text, and the line arithmetic the editor's commands use. No
// widget; EditControl puts it on screen.
#pragma once

#include <string>
#include <string_view>

namespace sindel {

// What a change did, for the control's notifications.
struct EditResult {
    bool changed = false;    // the text changed (change notification)
    bool max_text = false;   // inserted text was cut or refused at the limit
    bool no_memory = false;  // the text could not grow
};

class EditBuffer {
public:
    // Characters the text holds before any limit is set.
    static constexpr int kDefaultLimit = 30000;

    const std::string& Text() const { return text_; }
    int Length() const { return static_cast<int>(text_.size()); }

    // Replaces the whole text as the program sets it: no limit applies, the
    // selection goes to the start and nothing can be undone afterwards.
    void SetText(std::string_view text);

    // The most characters typing and ReplaceSel may make; below 1 it is 1.
    void SetLimit(int chars);
    int Limit() const { return limit_; }

    // Selection as character positions, start <= end.
    int SelStart() const { return sel_start_; }
    int SelEnd() const { return sel_end_; }
    // Selects [start, end): the two are ordered and clamped to the text; an
    // end of -1 means the end of the text; a start of -1 removes the
    // selection and leaves the caret where it is.
    void SetSel(int start, int end);
    std::string SelectedText() const;

    // Replaces the selection by `text` (cut to what the limit allows); the
    // caret goes behind it. With can_undo the change can be undone, else the
    // undo buffer is emptied.
    EditResult ReplaceSel(std::string_view text, bool can_undo);
    // Keys as the user types them. A run of typed characters is one undo step.
    EditResult TypeChar(char c);
    EditResult TypeReturn();  // inserts CR LF
    EditResult Backspace();
    EditResult Delete();

    bool CanUndo() const { return can_undo_; }
    // Swaps the text with the one before the last undoable change; a second
    // undo brings the change back.
    EditResult Undo();
    void EmptyUndoBuffer();

    // Lines are separated by CR LF; an empty text has one line, and a text
    // that ends in CR LF has an empty last line.
    int LineCount() const;
    // Position of the first character of a line; -1 for the caret's line;
    // -1 (returned) for a line that does not exist.
    int LineIndex(int line) const;
    // The line holding a position (the last line beyond the end); -1 for the
    // line of the selection start.
    int LineFromChar(int pos) const;
    // Length of the line that holds a position, without its line end.
    int LineLength(int pos) const;
    // The text of a line without its line end; false and empty when the line
    // does not exist.
    bool GetLine(int line, std::string* out) const;

private:
    EditResult Insert(std::string_view text, bool can_undo, bool typing);
    void SaveUndo();
    int LineEndAt(int start) const;

    std::string text_;
    int sel_start_ = 0;
    int sel_end_ = 0;
    int limit_ = kDefaultLimit;
    bool can_undo_ = false;
    std::string undo_text_;
    int undo_start_ = 0;
    int undo_end_ = 0;
    // Caret position at the end of the current run of typed characters;
    // -1 when no run is open.
    int typing_caret_ = -1;
};

}  // namespace sindel
