// The test driver for menus, trees, spreadsheets, docking frames, printing,
// drawings and DDE: tests act as the user on these kinds, answer print
// dialogs, read recorded drawings and printed pages, and stand in for a
// program that serves DDE. Unscripted print dialogs fail the test unless a
// default answer is set. Everything resets between tests.
#pragma once

#include <string>
#include <vector>

#include "toolkit/draw/gw_device_context.h"
#include "toolkit/draw/gw_printer.h"
#include "toolkit/hosting/gw_dde_client.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/tree/gw_tree.h"

namespace gwtest {

// Answers print dialogs from the script and records printed pages; the
// driver's load calls it, so every test that links the driver has them.
void InstallKindScripts();

// --- menus and tools -----------------------------------------------------------
// Chooses a menu item, toggle item or tool as the user; false (and the test
// failed) when it cannot be chosen.
bool ChooseMenuItem(const Target& item);

// --- trees -----------------------------------------------------------------------
// The entry of that id in the tree (depth first); null, test failed, when none.
GwTreeEntry* FindTreeEntry(const Target& tree, const std::string& id);
// Selects the entry as the user (select callback).
bool SelectTreeEntry(const Target& tree, const std::string& id);
// The user asks for the entry's popup: selected first, then its popup opens.
bool OpenEntryPopup(const Target& tree, const std::string& id);
// The user clicks the entry with mouse state bits (GwMOUSE_DOUBLE...).
bool ClickTreeEntry(const Target& tree, const std::string& id, int state = GwMOUSE_BUTTON1);
// Shows the entry open or closed as the user.
bool ExpandTreeEntry(const Target& tree, const std::string& id, bool open = true);
// The displayed rows as drawn (GwTree::row_texts).
std::vector<std::string> TreeRows(const Target& tree);

// --- spreadsheets ------------------------------------------------------------------
// Edits a cell as the user: starts the edit, replaces the editor's text and
// presses Return. True when the text went into the cell.
bool EditCell(const Target& sheet, int row, int column, const std::string& text);
// Starts an edit, types the text, and presses Escape.
bool CancelCell(const Target& sheet, int row, int column, const std::string& text);
// Starts an edit and types the text, leaving the edit open.
bool TypeInCell(const Target& sheet, int row, int column, const std::string& text);
// The focus leaves the sheet.
bool LeaveSheet(const Target& sheet);
// Double click on a cell (the default action).
bool DoubleClickCell(const Target& sheet, int row, int column);
std::string Cell(const Target& sheet, int row, int column);

// --- docking frames ----------------------------------------------------------------
// Shows a docking frame as the user does from its menu toggle.
bool ShowDockingFrame(const Target& frame);
// Closes a docking frame with its close button.
bool HideDockingFrame(const Target& frame);

// --- printing and drawing ---------------------------------------------------------------
// The next print dialog's answer.
void AnswerPrintDialog(bool ok, int copies = 1, bool collate = false);
void SetDefaultPrintDialogAnswer(bool ok, int copies = 1, bool collate = false);
int UnusedPrintAnswers();
const std::vector<GwPrintDocument>& PrintedDocuments();
// The primitives of a printed page (page counts from 0), one line each.
std::vector<std::string> PageDrawing(const GwPrintDocument& document, int page);
// The primitives a drawing widget's context or a context recorded.
std::vector<std::string> Drawing(const Target& drawing);
std::vector<std::string> Drawing(const GwDeviceContext& context);

// --- DDE ------------------------------------------------------------------------------------
// A program serving one service and topic; it records the commands it gets
// and answers them with `execute_result`.
class FakeDdeServer : public GwDdeServer {
public:
    bool Connect(const std::string& service, const std::string& topic) override;
    bool Execute(const std::string& command) override;
    void Disconnect() override { ++disconnects; }

    std::string service;
    std::string topic = "System";
    bool execute_result = true;
    std::vector<std::string> connects;  // "service|topic" of every attempt
    std::vector<std::string> commands;
    int disconnects = 0;
};
// Installs a fresh fake server for the current test and returns it.
FakeDdeServer& StartDdeServer(const std::string& service, const std::string& topic = "System",
                              bool execute_result = true);

}  // namespace gwtest
