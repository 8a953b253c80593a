#include "plceditor/adapter/edit_buffer.h"

#include <algorithm>
#include <new>

namespace sindel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

}  // namespace

void EditBuffer::SetText(std::string_view text) {
    text_.assign(text);
    sel_start_ = sel_end_ = 0;
    EmptyUndoBuffer();
}

void EditBuffer::SetLimit(int chars) { limit_ = std::max(chars, 1); }

void EditBuffer::SetSel(int start, int end) {
    typing_caret_ = -1;
    if (start == -1) {
        sel_start_ = sel_end_;
        return;
    }
    const int length = Length();
    if (end == -1) end = length;
    start = Clamp(start, 0, length);
    end = Clamp(end, 0, length);
    sel_start_ = std::min(start, end);
    sel_end_ = std::max(start, end);
}

std::string EditBuffer::SelectedText() const { return text_.substr(sel_start_, sel_end_ - sel_start_); }

void EditBuffer::SaveUndo() {
    undo_text_ = text_;
    undo_start_ = sel_start_;
    undo_end_ = sel_end_;
    can_undo_ = true;
}

void EditBuffer::EmptyUndoBuffer() {
    can_undo_ = false;
    undo_text_.clear();
    undo_start_ = undo_end_ = 0;
    typing_caret_ = -1;
}

EditResult EditBuffer::Insert(std::string_view text, bool can_undo, bool typing) {
    EditResult result;
    const int kept = Length() - (sel_end_ - sel_start_);
    const int room = std::max(limit_ - kept, 0);
    if (static_cast<int>(text.size()) > room) {
        text = text.substr(0, room);
        result.max_text = true;
    }
    if (text.empty() && sel_start_ == sel_end_) return result;
    const bool continues_run = typing && typing_caret_ == sel_start_ && sel_start_ == sel_end_;
    try {
        std::string changed = text_;
        changed.replace(sel_start_, sel_end_ - sel_start_, text);
        if (!can_undo)
            EmptyUndoBuffer();
        else if (!continues_run)
            SaveUndo();
        text_.swap(changed);
    } catch (const std::bad_alloc&) {
        result.no_memory = true;
        return result;
    }
    sel_start_ = sel_end_ = sel_start_ + static_cast<int>(text.size());
    typing_caret_ = typing && can_undo ? sel_start_ : -1;
    result.changed = true;
    return result;
}

EditResult EditBuffer::ReplaceSel(std::string_view text, bool can_undo) { return Insert(text, can_undo, false); }

EditResult EditBuffer::TypeChar(char c) { return Insert(std::string_view(&c, 1), true, true); }

EditResult EditBuffer::TypeReturn() { return Insert(kLineEnd, true, true); }

EditResult EditBuffer::Backspace() {
    if (sel_start_ == sel_end_) {
        if (sel_start_ == 0) return {};
        // A line end goes as a whole.
        const bool line_end = sel_start_ >= 2 && text_.compare(sel_start_ - 2, 2, kLineEnd) == 0;
        sel_start_ -= line_end ? 2 : 1;
    }
    return Insert({}, true, false);
}

EditResult EditBuffer::Delete() {
    if (sel_start_ == sel_end_) {
        if (sel_end_ >= Length()) return {};
        const bool line_end = text_.compare(sel_end_, 2, kLineEnd) == 0;
        sel_end_ += line_end ? 2 : 1;
    }
    return Insert({}, true, false);
}

EditResult EditBuffer::Undo() {
    if (!can_undo_) return {};
    std::swap(text_, undo_text_);
    std::swap(sel_start_, undo_start_);
    std::swap(sel_end_, undo_end_);
    typing_caret_ = -1;
    EditResult result;
    result.changed = true;
    return result;
}

int EditBuffer::LineEndAt(int start) const {
    size_t end = text_.find(kLineEnd, start);
    return end == std::string::npos ? Length() : static_cast<int>(end);
}

int EditBuffer::LineCount() const {
    int lines = 1;
    for (size_t pos = text_.find(kLineEnd); pos != std::string::npos; pos = text_.find(kLineEnd, pos + 2)) ++lines;
    return lines;
}

int EditBuffer::LineIndex(int line) const {
    if (line == -1) line = LineFromChar(-1);
    if (line < 0) return -1;
    int start = 0;
    for (int i = 0; i < line; ++i) {
        size_t end = text_.find(kLineEnd, start);
        if (end == std::string::npos) return -1;
        start = static_cast<int>(end) + 2;
    }
    return start;
}

int EditBuffer::LineFromChar(int pos) const {
    if (pos == -1) pos = sel_start_;
    pos = Clamp(pos, 0, Length());
    int line = 0;
    for (size_t end = text_.find(kLineEnd); end != std::string::npos && static_cast<int>(end) + 2 <= pos;
         end = text_.find(kLineEnd, end + 2))
        ++line;
    return line;
}

int EditBuffer::LineLength(int pos) const {
    const int start = LineIndex(LineFromChar(pos));
    return LineEndAt(start) - start;
}

bool EditBuffer::GetLine(int line, std::string* out) const {
    out->clear();
    if (line < 0) return false;
    const int start = LineIndex(line);
    if (start < 0) return false;
    out->assign(text_, start, LineEndAt(start) - start);
    return true;
}

}  // namespace sindel
