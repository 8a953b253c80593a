// The spreadsheet widget: rows and columns of cell texts with an optional
// title row and title column, row and column ids, per-row and per-column
// attributes (selectable, editable, display length and precision), column
// widths, a current cell, a view of visible rows that scrolls, and the cell
// editor child "GwINTERNAL_EDITBUTTON". The user edits a cell in the editor;
// Return fires the spreadsheet callback with the reasons activate and then
// confirm (either may refuse with 0), after which the editor's text becomes
// the cell's; Escape fires cancel; leaving the sheet while editing fires
// focus out. The program's own changes fire nothing.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"

class GwEdit;

// Reasons of GwCB_SPREADSHEET events; row and column name the cell.
constexpr int GwSS_ACTIVATE = 1;
constexpr int GwSS_CONFIRM = 2;
constexpr int GwSS_CANCEL = 3;
constexpr int GwSS_FOCUS_OUT = 4;

// Name of the cell editor child.
constexpr const char* kGwSheetEditorName = "GwINTERNAL_EDITBUTTON";
// Largest sheet a program or definition can ask for (row counts may come
// from a drive's parameter value).
constexpr int kGwMaxSheetRows = 10000;
constexpr int kGwMaxSheetColumns = 64;
constexpr int kGwSheetRowHeight = 16;
constexpr int kGwDefaultColumnWidth = 80;

// Display and input attributes of a row or column.
struct GwCellAttribute {
    int length = 0;     // display length in characters; 0 = free
    int precision = 0;  // decimals shown
    bool selectable = true;
    bool editable = true;
};

class GwSpreadSheet : public GwCore {
public:
    GwSpreadSheet(const std::string& name, GwCore* parent);

    // --- size ----------------------------------------------------------------
    int row_count() const { return static_cast<int>(cells_.size()); }
    int column_count() const { return columns_; }
    // Cells that stay keep their texts; counts are clamped to 0..the maximum.
    void set_row_count(int rows);
    void set_column_count(int columns);
    int title_rows() const { return title_rows_; }
    int title_columns() const { return title_columns_; }
    void set_title_rows(int n) { title_rows_ = n > 0 ? 1 : 0; }
    void set_title_columns(int n) { title_columns_ = n > 0 ? 1 : 0; }

    // --- texts -----------------------------------------------------------------
    // Empty out of range.
    std::string contents(int row, int column) const;
    // False, nothing changed, out of range.
    bool set_contents(int row, int column, const std::string& text);
    std::string row_id(int row) const;
    bool set_row_id(int row, const std::string& id);
    std::string column_id(int column) const;
    bool set_column_id(int column, const std::string& id);

    // --- attributes and widths ---------------------------------------------------
    // The record of a row or column (null out of range); changes through the
    // pointer take effect at once.
    GwCellAttribute* row_attribute(int row);
    GwCellAttribute* column_attribute(int column);
    // A cell is selectable or editable when its row and its column are.
    bool is_cell_selectable(int row, int column) const;
    bool is_cell_editable(int row, int column) const;
    int column_width(int column) const;
    bool set_column_width(int column, int width);

    // --- current cell and view ----------------------------------------------------
    // False when no cell is current.
    bool current_cell(int* row, int* column) const;
    // A selectable cell becomes current; false otherwise.
    bool set_current_cell(int row, int column);
    // No current cell; a pending edit is dropped.
    void clear_selection();
    // Whether a cell is being edited (its editor shown).
    bool cell_has_focus() const;
    int visible_rows() const { return visible_rows_; }
    void set_visible_rows(int rows) { visible_rows_ = rows < 0 ? 0 : rows; }
    // The first body row in view (a sheet row index).
    int first_visible_row() const { return first_visible_; }
    void set_first_visible_row(int row);
    // Scrolls so the cell's row is in view; false out of range.
    bool scroll_to(int row, int column);
    // Draws again when the sheet is realised (recorded as "redraw").
    void redraw();

    GwEdit* editor() const;

    // --- the user ------------------------------------------------------------------------
    // Starts editing an editable cell: it becomes current and the editor
    // shows its text.
    bool user_edit(int row, int column);
    // Return in the editor; true when the text was taken into the cell.
    bool user_confirm();
    // Escape in the editor.
    bool user_cancel();
    // The focus leaves the sheet (while editing: focus-out event).
    bool user_focus_out();
    // Double click on a cell: the default action with the cell.
    bool user_default(int row, int column);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwSpreadSheet() override = default;
    // A destroyed sheet is kept as an empty shell: its cells go at once.
    void on_destroyed() override;
    void copy_state_to(GwCore* copy) const override;

private:
    bool Valid(int row, int column) const;
    int FireCell(int reason, int if_unbound = 1);
    void Resized();

    int columns_ = 0;
    std::vector<std::vector<std::string>> cells_;
    std::vector<std::string> row_ids_;
    std::vector<std::string> column_ids_;
    std::vector<GwCellAttribute> row_attributes_;
    std::vector<GwCellAttribute> column_attributes_;
    std::vector<int> column_widths_;
    int title_rows_ = 0;
    int title_columns_ = 0;
    int current_row_ = -1;
    int current_column_ = -1;
    int visible_rows_ = 0;
    int first_visible_ = 0;
};
