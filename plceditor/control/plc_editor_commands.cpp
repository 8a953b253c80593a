// The editor window's commands, keys and notifications, the line operations
// the translating commands use, commenting lines out and in, and the message
// list.
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/list_box.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/core/gw_recorder.h"

namespace sindel {

namespace {

constexpr char kCommentMark = ';';
constexpr char kCommentSeparator[] = "\t\t";
constexpr char kLineEnd[] = "\r\n";
constexpr char kHelpFile[] = "Sindel.chm";

}  // namespace

void PlcEditorDialog::OnCommand(int id) {
    if (!IsOpen()) return;
    using namespace ids;
    switch (id) {
        case kCmdNew:
            New();
            break;
        case kCmdOpen:
            OpenWithDialog();
            break;
        case kCmdSave:
            Save(false);
            break;
        case kCmdSaveAs:
            Save(true);
            break;
        case kCmdPageSetup:
            PageSetup();
            break;
        case kCmdPrint:
            Print();
            break;
        case kCmdRecentFile:
            OnRecentFile();
            break;
        case kCmdExit:
            window_->close();
            break;
        case kCmdUndo:
            if (edit_->CanUndo())
                edit_->Undo();
            else
                GwRecorder::Record("beep", window_->identifier(), "asterisk");
            break;
        case kCmdCut:
            edit_->Cut();
            break;
        case kCmdCopy:
            edit_->Copy();
            break;
        case kCmdPaste:
            edit_->Paste();
            break;
        case kCmdSelectAll:
            edit_->SetSel(0, -1);
            edit_->ScrollCaret();
            break;
        case kCmdCommentOut:
            CommentLines(true);
            break;
        case kCmdCommentIn:
            CommentLines(false);
            break;
        case kCmdHelp:
            GwRecorder::Record("html help", window_->identifier(), kHelpFile);
            break;
        case kCmdSearchReplace:
            extensions_->SearchReplace();
            break;
        case kCmdCodeGenerator:
            extensions_->CodeGenerator();
            break;
        case kCmdInfo:
            extensions_->Info();
            break;
        case kCmdCheckSyntax:
            extensions_->CheckSyntax();
            break;
        case kCmdRenum:
            extensions_->Renum();
            break;
        case kCmdInsertProgram:
            extensions_->InsertProgram();
            break;
        case kCmdReadFromFile:
            extensions_->ReadFromFile();
            break;
        case kCmdSaveInFile:
            extensions_->SaveInFile();
            break;
        case kCmdReadFromDevice:
            extensions_->ReadFromDevice();
            break;
        case kCmdSaveInDevice:
            extensions_->SaveInDevice();
            break;
        default:
            break;
    }
}

void PlcEditorDialog::OnEditKey(int key) {
    switch (key) {
        case CtrlKey('A'):
            OnCommand(ids::kCmdSelectAll);
            break;
        case CtrlKey('F'):
            OnCommand(ids::kCmdSearchReplace);
            break;
        case CtrlKey('N'):
            OnCommand(ids::kCmdNew);
            break;
        case CtrlKey('O'):
            OnCommand(ids::kCmdOpen);
            break;
        case CtrlKey('S'):
            OnCommand(ids::kCmdSave);
            break;
        case GwKEY_ESCAPE:
            if (IsOpen()) window_->close();
            break;
        default:
            break;
    }
}

void PlcEditorDialog::OnEditNotification(EditNotification notification) {
    switch (notification) {
        case EditNotification::kChange:
            modified_ = true;
            break;
        case EditNotification::kMaxText:
            ShowMessage(std::string(LoadString(ids::kMaxDocumentSize)), BoxButtons::kOk, BoxIcon::kWarning);
            break;
        case EditNotification::kErrSpace:
            ShowMessage(std::string(LoadString(ids::kNotEnoughMemory)), BoxButtons::kOk, BoxIcon::kError);
            break;
    }
}

bool PlcEditorDialog::GetLine(int line, std::string* text) const {
    text->clear();
    return IsOpen() && edit_->Buffer().GetLine(line, text);
}

bool PlcEditorDialog::ReplaceLine(int line, const std::string& text) {
    std::string old_line;
    if (!GetLine(line, &old_line)) return false;
    const size_t comment_start = old_line.find(kCommentMark);
    const std::string comment = comment_start == std::string::npos ? std::string() : old_line.substr(comment_start);
    const EditBuffer& buffer = edit_->Buffer();
    const bool last_line = line == buffer.LineCount() - 1;
    // Only the last line goes without the separator, and only without a comment.
    std::string replacement = last_line && comment.empty() ? text : text + kCommentSeparator + comment;
    if (last_line) replacement += kLineEnd;
    const int start = buffer.LineIndex(line);
    edit_->SetSel(start, start + static_cast<int>(old_line.size()));
    edit_->ReplaceSel(replacement, true);
    return true;
}

std::string PlcEditorDialog::SelectedText() const {
    if (!IsOpen()) return {};
    const EditBuffer& buffer = edit_->Buffer();
    if (buffer.LineFromChar(buffer.SelStart()) != buffer.LineFromChar(buffer.SelEnd())) return {};
    return buffer.SelectedText();
}

void PlcEditorDialog::AppendMessage(const std::string& line) {
    if (IsOpen()) list_->AddString(line);
}

void PlcEditorDialog::ClearMessages() {
    if (IsOpen()) list_->ResetContent();
}

void PlcEditorDialog::CommentLines(bool comment_out) {
    if (!IsOpen()) return;
    const EditBuffer& buffer = edit_->Buffer();
    const int first = buffer.LineFromChar(buffer.SelStart());
    const int last = buffer.LineFromChar(buffer.SelEnd());
    std::string built;
    for (int line = first; line <= last; ++line) {
        std::string text;
        buffer.GetLine(line, &text);
        if (comment_out)
            built += kCommentMark + text;
        else
            built += !text.empty() && text[0] == kCommentMark ? text.substr(1) : text;
        built += kLineEnd;
    }
    // Up to the start of the line after the last, or the end of the text
    // when the last line is the text's last.
    edit_->SetSel(buffer.LineIndex(first), buffer.LineIndex(last + 1));
    edit_->ReplaceSel(built, true);
}

void PlcEditorDialog::OnMessageDoubleClick(int row) {
    if (!IsOpen()) return;
    const std::string entry = list_->GetText(row);
    const size_t open = entry.find('(');
    const size_t close = entry.find(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return;
    const std::string inside = entry.substr(open + 1, close - open - 1);
    const EditBuffer& buffer = edit_->Buffer();
    const size_t comma = inside.find(',');
    // Only lines the text has: a message about a line the text no longer
    // has selects nothing.
    if (comma != std::string::npos) {
        const int line = GwAtoi(inside.substr(0, comma).c_str()) - 1;
        const int column = GwAtoi(inside.substr(comma + 1).c_str());
        if (line < 0 || line >= buffer.LineCount() || column < 0) return;
        const int line_start = buffer.LineIndex(line);
        if (column > buffer.LineLength(line_start)) return;
        const int start = line_start + column;
        edit_->SetSel(start, start + extensions_->SearchSelectionLength());
    } else {
        const int line = GwAtoi(inside.c_str()) - 1;
        if (line < 0 || line >= buffer.LineCount()) return;
        const int next = buffer.LineIndex(line + 1);
        edit_->SetSel(buffer.LineIndex(line), next < 0 ? -1 : next - 1);
    }
    edit_->ScrollCaret();
}

}  // namespace sindel
