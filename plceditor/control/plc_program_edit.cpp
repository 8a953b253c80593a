// Renum and Insert Program: renumbering the labels and programs of the
// source, and putting a new program body where the caret stands.
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/control/plc_commands.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/translation_lines.h"
#include "plceditor/core/plc_messages.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

constexpr char kTextBlock[] = "%TEXT(NAME)\r\nEND\r\n";
// The ";TODO" line of a program body lies two lines below where it went in.
constexpr int kTodoLineOffset = 2;

}  // namespace

void PlcCommands::Renum() {
    if (!editor_.IsOpen()) return;
    if (editor_.Generator() == kGeneratorV110)
        RenumV110();
    else
        RunDriver(kDriverRenumber);
}

void PlcCommands::RenumV110() {
    if (!CheckV110()) return;
    plc::LineTable8& table = editor_.Generators().v110;
    int status = plc::msg::kNoError;
    if (!table.renumberLines(status)) {
        Box(MessageBody(status), BoxButtons::kOk, BoxIcon::kError);
        return;
    }
    editor_.ClearMessages();
    Append(HeadingLine(kGeneratorV110, ids::kTextCoding));
    Append("");
    int errors = 0;
    std::string text;
    int line = 0;
    while (table.nextListingLine(text, line, status)) {
        if (!editor_.ReplaceLine(line, text)) {
            Append(UnreplacedLine(line + 1));
            ++errors;
        }
        if (status != plc::msg::kNoError) {
            Append(ErrorLine(line + 1, status));
            ++errors;
        }
    }
    if (errors == 0) {
        Append(ids::kTextCodingDone);
        return;
    }
    const std::string count = CountLine(errors, ids::kTextCodingErrorCount);
    Append(count);
    Box(count, BoxButtons::kOk, BoxIcon::kError);
}

bool PlcCommands::CaretLineEmpty() const {
    const EditBuffer& buffer = Edit().Buffer();
    std::string line;
    editor_.GetLine(buffer.LineFromChar(buffer.SelStart()), &line);
    return !HasText(line);
}

bool PlcCommands::HasProgramText() const {
    const int lines = LineCount();
    for (int j = 0; j < lines; ++j) {
        std::string line;
        editor_.GetLine(j, &line);
        if (HasText(CutComment(line))) return true;
    }
    return false;
}

void PlcCommands::InsertAtCaretLine(const std::string& text) {
    const EditBuffer& buffer = Edit().Buffer();
    const int start = buffer.LineIndex(buffer.LineFromChar(buffer.SelStart()));
    Edit().SetSel(start, start);
    Edit().ReplaceSel(text, false);
}

void PlcCommands::InsertProgram() {
    if (!editor_.IsOpen() || editor_.Generator() == kGeneratorV110) return;
    const std::string body(LoadString(ids::kProgramBody));
    auto refuse = [this](int id) { Box(std::string(LoadString(id)), BoxButtons::kOk, BoxIcon::kError); };
    auto ask = [this](int id) {
        return Box(std::string(LoadString(id)), BoxButtons::kYesNo, BoxIcon::kQuestion) == GwRESULT_YES;
    };
    if (!CaretLineEmpty()) {
        refuse(ids::kBodyNeedsEmptyLine);
        return;
    }
    if (Edit().Buffer().Length() == 0) {
        if (ask(ids::kNoProgrammeCreateBody)) {
            Edit().set_text(DateStamp() + "\r\n\r\n" + kTextBlock + body);
            editor_.SetModified(true);
        }
        return;
    }
    if (!HasProgramText()) {
        if (!ask(ids::kNoProgrammeCreateBody)) return;
        if (!CaretLineEmpty()) {
            refuse(ids::kCannotCreateBody);
            return;
        }
        InsertAtCaretLine(kTextBlock + body);
        return;
    }

    const std::string previous = Edit().text();
    const bool was_modified = editor_.IsModified();
    const int caret_line = Edit().Buffer().LineFromChar(Edit().Buffer().SelStart());
    if (!RunDriver(kDriverTranslate)) return;
    // The decode moved the caret through the lines it rewrote.
    const int caret = Edit().Buffer().LineIndex(caret_line);
    Edit().SetSel(caret, caret);
    if (!ask(ids::kCreateProgramBodyHere)) return;
    if (!CaretLineEmpty()) {
        refuse(ids::kCannotCreateBody);
        return;
    }
    InsertAtCaretLine(body);
    if (RunDriver(kDriverInserted)) {
        const int todo = Edit().Buffer().LineIndex(caret_line + kTodoLineOffset);
        Edit().SetSel(todo, todo + Edit().Buffer().LineLength(todo));
        Edit().ScrollCaret();
        return;
    }
    refuse(ids::kBodyNotWithoutErrors);
    Edit().set_text(previous);
    editor_.SetModified(was_modified);
}

}  // namespace sindel
