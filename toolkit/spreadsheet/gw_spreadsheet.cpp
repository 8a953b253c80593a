#include "toolkit/spreadsheet/gw_spreadsheet.h"

#include <algorithm>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

const bool g_registered = [] {
    GwSetKindFactory(GwSPREADSHEET_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwSpreadSheet(n, p); });
    return true;
}();

bool InRange(int index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }

}  // namespace

GwSpreadSheet::GwSpreadSheet(const std::string& name, GwCore* parent) : GwCore(GwSPREADSHEET_CLASS, name, parent) {
    GwEdit* edit = new GwEdit(kGwSheetEditorName, this);
    edit->hide();
}

// --- size ------------------------------------------------------------------------

void GwSpreadSheet::set_row_count(int rows) {
    size_t n = static_cast<size_t>(std::clamp(rows, 0, kGwMaxSheetRows));
    cells_.resize(n, std::vector<std::string>(static_cast<size_t>(columns_)));
    row_ids_.resize(n);
    row_attributes_.resize(n);
    if (current_row_ >= static_cast<int>(n)) clear_selection();
    set_first_visible_row(first_visible_);
    Resized();
}

void GwSpreadSheet::Resized() {
    GwContentChange change;
    change.kind = GwContentKind::kTableResized;
    notify_content(change);
}

void GwSpreadSheet::set_column_count(int columns) {
    columns_ = std::clamp(columns, 0, kGwMaxSheetColumns);
    size_t n = static_cast<size_t>(columns_);
    for (auto& row : cells_) row.resize(n);
    column_ids_.resize(n);
    column_attributes_.resize(n);
    column_widths_.resize(n, kGwDefaultColumnWidth);
    if (current_column_ >= columns_) clear_selection();
    Resized();
}

// --- texts ---------------------------------------------------------------------------

bool GwSpreadSheet::Valid(int row, int column) const {
    return is_alive() && InRange(row, cells_.size()) && InRange(column, static_cast<size_t>(columns_));
}

std::string GwSpreadSheet::contents(int row, int column) const {
    return Valid(row, column) ? cells_[row][column] : std::string();
}

bool GwSpreadSheet::set_contents(int row, int column, const std::string& text) {
    if (!Valid(row, column)) return false;
    cells_[row][column] = text;
    GwContentChange change;
    change.kind = GwContentKind::kCellSet;
    change.index = row;
    change.column = column;
    change.count = 1;
    notify_content(change);
    return true;
}

std::string GwSpreadSheet::row_id(int row) const {
    return InRange(row, row_ids_.size()) ? row_ids_[row] : std::string();
}

bool GwSpreadSheet::set_row_id(int row, const std::string& id) {
    if (!InRange(row, row_ids_.size())) return false;
    row_ids_[row] = id;
    return true;
}

std::string GwSpreadSheet::column_id(int column) const {
    return InRange(column, column_ids_.size()) ? column_ids_[column] : std::string();
}

bool GwSpreadSheet::set_column_id(int column, const std::string& id) {
    if (!InRange(column, column_ids_.size())) return false;
    column_ids_[column] = id;
    return true;
}

// --- attributes ------------------------------------------------------------------------

GwCellAttribute* GwSpreadSheet::row_attribute(int row) {
    return InRange(row, row_attributes_.size()) ? &row_attributes_[row] : nullptr;
}

GwCellAttribute* GwSpreadSheet::column_attribute(int column) {
    return InRange(column, column_attributes_.size()) ? &column_attributes_[column] : nullptr;
}

bool GwSpreadSheet::is_cell_selectable(int row, int column) const {
    return Valid(row, column) && row_attributes_[row].selectable && column_attributes_[column].selectable;
}

bool GwSpreadSheet::is_cell_editable(int row, int column) const {
    return is_cell_selectable(row, column) && row_attributes_[row].editable && column_attributes_[column].editable;
}

int GwSpreadSheet::column_width(int column) const {
    return InRange(column, column_widths_.size()) ? column_widths_[column] : 0;
}

bool GwSpreadSheet::set_column_width(int column, int width) {
    if (!InRange(column, column_widths_.size()) || width < 0) return false;
    column_widths_[column] = width;
    return true;
}

// --- current cell and view ------------------------------------------------------------------

bool GwSpreadSheet::current_cell(int* row, int* column) const {
    if (!Valid(current_row_, current_column_)) return false;
    if (row != nullptr) *row = current_row_;
    if (column != nullptr) *column = current_column_;
    return true;
}

bool GwSpreadSheet::set_current_cell(int row, int column) {
    if (!is_cell_selectable(row, column)) return false;
    current_row_ = row;
    current_column_ = column;
    notify(GwProperty::kSelection);
    return true;
}

void GwSpreadSheet::clear_selection() {
    current_row_ = current_column_ = -1;
    notify(GwProperty::kSelection);
    if (GwEdit* edit = editor(); edit != nullptr && edit->is_shown()) edit->hide();
}

GwEdit* GwSpreadSheet::editor() const { return dynamic_cast<GwEdit*>(child(kGwSheetEditorName)); }

bool GwSpreadSheet::cell_has_focus() const {
    GwEdit* edit = editor();
    return edit != nullptr && edit->is_shown() && current_cell(nullptr, nullptr);
}

void GwSpreadSheet::set_first_visible_row(int row) {
    int last = std::max(title_rows_, row_count() - 1);
    first_visible_ = std::clamp(row, title_rows_, last);
    notify(GwProperty::kFirstVisible);
}

bool GwSpreadSheet::scroll_to(int row, int column) {
    if (!Valid(row, column)) return false;
    if (row < first_visible_) {
        set_first_visible_row(row);
    } else if (visible_rows_ > 0 && row >= first_visible_ + visible_rows_) {
        set_first_visible_row(row - visible_rows_ + 1);
    }
    record("scroll", std::to_string(first_visible_));
    return true;
}

void GwSpreadSheet::redraw() {
    if (is_visible() && (state() & GwSTATE_BIT_VISIBLE) != 0) record("redraw", std::to_string(row_count()));
}

// --- the user ---------------------------------------------------------------------------------

int GwSpreadSheet::FireCell(int reason, int if_unbound) {
    GwEvent ev;
    ev.reason = reason;
    ev.row = current_row_;
    ev.column = current_column_;
    return fire(GwCB_SPREADSHEET, ev, if_unbound);
}

bool GwSpreadSheet::user_edit(int row, int column) {
    if (!is_sensitive() || !is_visible() || !is_cell_editable(row, column)) return false;
    GwDispatchGuard guard;
    // Another sheet that is editing loses the focus first.
    if (auto* other = dynamic_cast<GwSpreadSheet*>(GwCore::focus_widget()); other != nullptr && other != this)
        other->user_focus_out();
    if (!is_alive()) return false;
    set_focus();
    if (!is_alive() || !set_current_cell(row, column)) return false;
    GwEdit* edit = editor();
    if (edit == nullptr) return false;
    edit->set_text(cells_[row][column]);
    edit->show();
    return true;
}

bool GwSpreadSheet::user_confirm() {
    if (!cell_has_focus()) return false;
    GwDispatchGuard guard;
    if (FireCell(GwSS_ACTIVATE) == 0 || !cell_has_focus()) return false;
    if (FireCell(GwSS_CONFIRM) == 0 || !cell_has_focus()) return false;
    GwEdit* edit = editor();
    cells_[current_row_][current_column_] = edit->text();
    record("cell", std::to_string(current_row_) + "," + std::to_string(current_column_) + " " + edit->text());
    edit->hide();
    return true;
}

bool GwSpreadSheet::user_cancel() {
    if (!cell_has_focus()) return false;
    GwDispatchGuard guard;
    FireCell(GwSS_CANCEL);
    if (GwEdit* edit = editor(); edit != nullptr && is_alive()) edit->hide();
    return true;
}

bool GwSpreadSheet::user_focus_out() {
    if (!is_alive()) return false;
    if (!cell_has_focus()) return true;
    GwDispatchGuard guard;
    FireCell(GwSS_FOCUS_OUT);
    return true;
}

bool GwSpreadSheet::user_default(int row, int column) {
    if (!is_sensitive() || !is_visible() || !set_current_cell(row, column)) return false;
    GwDispatchGuard guard;
    GwEvent ev;
    ev.row = row;
    ev.column = column;
    fire(GwCB_DEFAULT, ev);
    return true;
}

// --- definition -------------------------------------------------------------------------------

void GwSpreadSheet::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    title_rows_ = def.flag("title_row", language, false) ? 1 : 0;
    title_columns_ = def.flag("title_column", language, false) ? 1 : 0;
    set_column_count(def.number("columns", language, 0));
    set_row_count(def.number("rows", language, 0));
    visible_rows_ = std::max(0, def.number("visible_rows", language, height() / kGwSheetRowHeight - title_rows_));
    auto each = [&](const char* attr, auto&& apply) {
        if (const GwAttribute* a = def.find(attr, language))
            for (size_t i = 0; i < a->values.size(); ++i) apply(static_cast<int>(i), a->values[i]);
    };
    each("column_widths",
         [&](int c, const std::string& v) { set_column_width(c, GwDefinitionNumber(v, kGwDefaultColumnWidth)); });
    each("column_ids", [&](int c, const std::string& v) { set_column_id(c, v); });
    each("row_ids", [&](int r, const std::string& v) { set_row_id(r, v); });
    set_first_visible_row(title_rows_);
}

void GwSpreadSheet::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    auto* s = dynamic_cast<GwSpreadSheet*>(copy);
    if (s == nullptr) return;
    s->columns_ = columns_;
    s->cells_ = cells_;
    s->row_ids_ = row_ids_;
    s->column_ids_ = column_ids_;
    s->row_attributes_ = row_attributes_;
    s->column_attributes_ = column_attributes_;
    s->column_widths_ = column_widths_;
    s->title_rows_ = title_rows_;
    s->title_columns_ = title_columns_;
    s->visible_rows_ = visible_rows_;
    s->first_visible_ = first_visible_;
}

void GwSpreadSheet::on_destroyed() {
    columns_ = 0;
    cells_ = {};
    row_ids_ = {};
    column_ids_ = {};
    row_attributes_ = {};
    column_attributes_ = {};
    column_widths_ = {};
    title_rows_ = title_columns_ = 0;
    current_row_ = current_column_ = -1;
    visible_rows_ = first_visible_ = 0;
}
