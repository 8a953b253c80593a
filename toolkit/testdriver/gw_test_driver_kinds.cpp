#include "toolkit/testdriver/gw_test_driver_kinds.h"

#include <deque>
#include <memory>
#include <optional>

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace gwtest {

namespace {

struct KindsScript {
    std::deque<GwPrintDialogAnswer> print_answers;
    std::optional<GwPrintDialogAnswer> default_print_answer;
    std::unique_ptr<FakeDdeServer> dde;
};

KindsScript& K() {
    static KindsScript script;
    return script;
}

GwPrintDialogAnswer AnswerDialog(const GwPrintDialogRequest& request) {
    auto& k = K();
    if (!k.print_answers.empty()) {
        GwPrintDialogAnswer answer = k.print_answers.front();
        k.print_answers.pop_front();
        return answer;
    }
    if (k.default_print_answer) return *k.default_print_answer;
    Fail("unscripted print dialog" + (request.parent.empty() ? std::string() : " of \"" + request.parent + "\""));
    return GwPrintDialogAnswer{};
}

void Install() {
    GwSetDdeServer(nullptr);
    K().print_answers.clear();
    K().default_print_answer.reset();
    K().dde.reset();
    SetPrintDialogScript(AnswerDialog);
}

platform::ResetHook ResetState([] { Install(); });

GwTreeEntry* FindById(GwTreeEntry* entry, const std::string& id) {
    if (entry == nullptr) return nullptr;
    if (entry->id() == id) return entry;
    for (GwTreeEntry* c : entry->children())
        if (GwTreeEntry* found = FindById(c, id)) return found;
    return nullptr;
}

std::string CellName(int row, int column) { return "cell " + std::to_string(row) + "," + std::to_string(column); }

// Starts the edit of a cell and replaces the editor's text.
GwSpreadSheet* StartEdit(const Target& sheet, int row, int column, const std::string& text) {
    auto* s = As<GwSpreadSheet>(sheet, "a spreadsheet");
    if (s == nullptr) return nullptr;
    if (!s->user_edit(row, column)) {
        Refused(sheet, "editing " + CellName(row, column));
        return nullptr;
    }
    if (!Replace(static_cast<GwCore*>(s->editor()), text)) return nullptr;
    return s;
}

}  // namespace

void InstallKindScripts() {
    SetPrintDialogScript(AnswerDialog);
    AddRecordingObserver(GwPrintLog());
}

// --- menus ---------------------------------------------------------------------------

bool ChooseMenuItem(const Target& item) {
    auto* i = As<GwMenuItem>(item, "a menu item");
    return i != nullptr && (i->choose() || Refused(item, "being chosen"));
}

// --- trees -----------------------------------------------------------------------------

GwTreeEntry* FindTreeEntry(const Target& tree, const std::string& id) {
    auto* t = As<GwTree>(tree, "a tree");
    if (t == nullptr) return nullptr;
    GwTreeEntry* entry = FindById(t->entries(), id);
    if (entry == nullptr) Fail(tree.Describe() + " has no entry \"" + id + "\"");
    return entry;
}

bool SelectTreeEntry(const Target& tree, const std::string& id) {
    GwTreeEntry* entry = FindTreeEntry(tree, id);
    return entry != nullptr && (entry->tree()->user_select(entry) || Refused(tree, "selecting \"" + id + "\""));
}

bool OpenEntryPopup(const Target& tree, const std::string& id) {
    GwTreeEntry* entry = FindTreeEntry(tree, id);
    return entry != nullptr && (entry->tree()->user_context_menu(entry) || Refused(tree, "a popup on \"" + id + "\""));
}

bool ClickTreeEntry(const Target& tree, const std::string& id, int state) {
    GwTreeEntry* entry = FindTreeEntry(tree, id);
    return entry != nullptr && (entry->tree()->user_click(entry, state) || Refused(tree, "a click on \"" + id + "\""));
}

bool ExpandTreeEntry(const Target& tree, const std::string& id, bool open) {
    GwTreeEntry* entry = FindTreeEntry(tree, id);
    return entry != nullptr && entry->tree()->expand_entry(entry, open);
}

std::vector<std::string> TreeRows(const Target& tree) {
    auto* t = As<GwTree>(tree, "a tree");
    return t != nullptr ? t->row_texts() : std::vector<std::string>();
}

// --- spreadsheets -------------------------------------------------------------------------

bool EditCell(const Target& sheet, int row, int column, const std::string& text) {
    GwSpreadSheet* s = StartEdit(sheet, row, column, text);
    return s != nullptr && s->user_confirm();
}

bool CancelCell(const Target& sheet, int row, int column, const std::string& text) {
    GwSpreadSheet* s = StartEdit(sheet, row, column, text);
    return s != nullptr && s->user_cancel();
}

bool TypeInCell(const Target& sheet, int row, int column, const std::string& text) {
    return StartEdit(sheet, row, column, text) != nullptr;
}

bool LeaveSheet(const Target& sheet) {
    auto* s = As<GwSpreadSheet>(sheet, "a spreadsheet");
    return s != nullptr && s->user_focus_out();
}

bool DoubleClickCell(const Target& sheet, int row, int column) {
    auto* s = As<GwSpreadSheet>(sheet, "a spreadsheet");
    return s != nullptr &&
           (s->user_default(row, column) || Refused(sheet, "a double click on " + CellName(row, column)));
}

std::string Cell(const Target& sheet, int row, int column) {
    auto* s = As<GwSpreadSheet>(sheet, "a spreadsheet");
    return s != nullptr ? s->contents(row, column) : std::string();
}

// --- docking ---------------------------------------------------------------------------------

bool ShowDockingFrame(const Target& frame) {
    auto* f = As<GwDockingFrame>(frame, "a docking frame");
    if (f == nullptr) return false;
    f->show();
    return true;
}

bool HideDockingFrame(const Target& frame) {
    auto* f = As<GwDockingFrame>(frame, "a docking frame");
    return f != nullptr && f->close();
}

// --- printing and drawing ------------------------------------------------------------------------

void AnswerPrintDialog(bool ok, int copies, bool collate) { K().print_answers.push_back({ok, copies, collate}); }

void SetDefaultPrintDialogAnswer(bool ok, int copies, bool collate) {
    K().default_print_answer = GwPrintDialogAnswer{ok, copies, collate};
}

int UnusedPrintAnswers() { return static_cast<int>(K().print_answers.size()); }

const std::vector<GwPrintDocument>& PrintedDocuments() { return GwPrintedDocuments(); }

std::vector<std::string> PageDrawing(const GwPrintDocument& document, int page) {
    std::vector<std::string> out;
    if (page < 0 || static_cast<size_t>(page) >= document.pages.size()) {
        Fail("the document \"" + document.name + "\" has no page " + std::to_string(page));
        return out;
    }
    for (const auto& op : document.pages[page].operations) out.push_back(op.describe());
    return out;
}

std::vector<std::string> Drawing(const Target& drawing) {
    auto* d = As<GwDrawing>(drawing, "a drawing");
    return d != nullptr ? d->device_context()->operation_texts() : std::vector<std::string>();
}

std::vector<std::string> Drawing(const GwDeviceContext& context) { return context.operation_texts(); }

// --- DDE ---------------------------------------------------------------------------------------------

bool FakeDdeServer::Connect(const std::string& s, const std::string& t) {
    connects.push_back(s + "|" + t);
    return s == service && t == topic;
}

bool FakeDdeServer::Execute(const std::string& command) {
    commands.push_back(command);
    return execute_result;
}

FakeDdeServer& StartDdeServer(const std::string& service, const std::string& topic, bool execute_result) {
    auto& k = K();
    k.dde = std::make_unique<FakeDdeServer>();
    k.dde->service = service;
    k.dde->topic = topic;
    k.dde->execute_result = execute_result;
    GwSetDdeServer(k.dde.get());
    return *k.dde;
}

}  // namespace gwtest
