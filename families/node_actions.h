// The node-action editors of the Ruvex (family 4) and Pesco (family 5) setup
// windows: a cell of the node-action table holds a 32-bit action word as
// "%08XH"; its editor shows the word as sixteen switches and two numbers and
// writes it back into the cell on take-over.
#pragma once

#include <cstdint>
#include <string>

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kNodeActionSheetName[] = "_ParaSpreadSheet_0";
inline constexpr char kNodeIdName[] = "NodeID";
inline constexpr char kNodeActionContainerName[] = "CACTN";
inline constexpr int kNodeActionColumn = 3;
inline constexpr int kNodeActionParameter = 750;
// A number byte that means "not used".
inline constexpr int kNodeNumberUnused = 100;

// The cell being edited, per family.
struct NodeActionState {
    int Row = 0;
    int Column = 0;
};

// The state of family 4 or 5; null for another family.
NodeActionState* TheNodeActionState(int family);

// The word of a cell: hexadecimal digits followed by "H"; any other text
// reads as 0.
uint32_t ParseNodeActionCell(const std::string& text);
// The cell text of a word ("%08XH").
std::string FormatNodeActionCell(uint32_t word);

// Action callback of the node-action table: opens the editor named by the
// user data for the cell of column 3. 0 when the editor opened, else 1
// (family 5: other columns go to the ordinary cell change).
int CB_CallNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_CallNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
// Take-over of the editor: the word back into the cell. Returns 1.
int CB_SetNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_SetNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
// Show callback of the editor: the cell's word into its widgets. Returns 1.
int CB_ShowNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_ShowNodeAktion(GwCore* widget, GwEvent* event, GwUD userData);
