#include "toolkit/core/gw_multi_list.h"

#include <algorithm>
#include <cstdlib>

#include "platform/files/paths.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

std::vector<std::string> GwSplitRow(const std::string& row) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (true) {
        size_t bar = row.find('|', start);
        cells.push_back(row.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return cells;
}

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool GwMultiList::Before(const std::vector<std::string>& a, int a_insertion, const std::vector<std::string>& b,
                         int b_insertion) const {
    int type = sorting_type(sort_column_);
    if (type != GwSORT_NONE) {
        size_t c = static_cast<size_t>(sort_column_);
        const std::string& x = c < a.size() ? a[c] : std::string();
        const std::string& y = c < b.size() ? b[c] : std::string();
        int cmp = 0;
        if (type == GwSORT_NUMBER) {
            double dx = std::strtod(x.c_str(), nullptr);
            double dy = std::strtod(y.c_str(), nullptr);
            cmp = dx < dy ? -1 : dx > dy ? 1 : 0;
        } else if (type == GwSORT_TEXT_NOCASE) {
            cmp = CompareNoCase(x, y);
        } else {
            cmp = x.compare(y) < 0 ? -1 : x.compare(y) > 0 ? 1 : 0;
        }
        if (cmp != 0) return cmp < 0;
    }
    return a_insertion < b_insertion;
}

int GwMultiList::SortedPosition(const std::vector<std::string>& cells) const {
    if (sorting_type(sort_column_) == GwSORT_NONE) return count();
    // A new row comes after every row it does not sort before.
    int pos = 0;
    while (pos < count() && !Before(cells, INT32_MAX, rows_[pos].cells, rows_[pos].insertion)) ++pos;
    return pos;
}

void GwMultiList::Resort() {
    if (sorting_type(sort_column_) == GwSORT_NONE) {
        std::stable_sort(
            rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.insertion < b.insertion; });
    } else {
        std::stable_sort(rows_.begin(), rows_.end(), [this](const Row& a, const Row& b) {
            return Before(a.cells, a.insertion, b.cells, b.insertion);
        });
    }
    Changed(GwContentKind::kRowsChanged);
}

int GwMultiList::add_row(const std::string& row) {
    if (!is_alive()) return -1;
    auto cells = GwSplitRow(row);
    int pos = SortedPosition(cells);
    return InsertRow(pos, std::move(cells));
}

int GwMultiList::insert_row(int index, const std::string& row) {
    if (!is_alive()) return -1;
    return InsertRow(index, GwSplitRow(row));
}

void GwMultiList::delete_row(int index) { RemoveRow(index); }

std::string GwMultiList::row_text(int index) const {
    if (!Valid(index)) return std::string();
    std::string out;
    const auto& cells = rows_[index].cells;
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? "|" : "") + cells[i];
    return out;
}

bool GwMultiList::ColumnValid(int row, int column) const {
    if (!Valid(row) || column < 0) return false;
    if (!columns_.empty()) return column < column_count();
    return column < static_cast<int>(rows_[row].cells.size());
}

std::string GwMultiList::cell(int row, int column, size_t max_length) const {
    if (!ColumnValid(row, column)) return std::string();
    const auto& cells = rows_[row].cells;
    std::string text = static_cast<size_t>(column) < cells.size() ? cells[column] : std::string();
    if (max_length > 0 && text.size() > max_length - 1) text.resize(max_length - 1);
    return text;
}

void GwMultiList::set_cell(int row, int column, const std::string& text) {
    if (!ColumnValid(row, column)) return;
    auto& cells = rows_[row].cells;
    if (static_cast<size_t>(column) >= cells.size()) cells.resize(column + 1);
    cells[column] = text;
    Changed(GwContentKind::kCellSet, row, column);
}

int GwMultiList::row_insertion_index(int index) const { return Valid(index) ? rows_[index].insertion : -1; }

std::string GwMultiList::column_title(int column) const {
    return column >= 0 && column < column_count() ? columns_[column].title : std::string();
}

int GwMultiList::column_width(int column) const {
    return column >= 0 && column < column_count() ? columns_[column].width : 0;
}

void GwMultiList::set_column_width(int column, int width) {
    if (column >= 0 && column < column_count()) columns_[column].width = width;
}

int GwMultiList::sorting_type(int column) const {
    return column >= 0 && column < column_count() ? columns_[column].sorting : GwSORT_NONE;
}

void GwMultiList::set_sorting_type(int column, int type) {
    if (column < 0 || column >= column_count()) return;
    columns_[column].sorting = type;
    if (column == sort_column_) Resort();
}

void GwMultiList::set_sort_column(int column) {
    sort_column_ = column >= 0 && column < column_count() ? column : -1;
    Resort();
}

void GwMultiList::apply_definition(const GwDefinition& def, int language) {
    GwItemList::apply_definition(def, language);
    for (const GwAttribute* a : def.find_all("column")) {
        GwListColumn col;
        col.title = a->values[0];
        if (a->values.size() > 1) col.width = static_cast<int>(GwDefinitionNumber(a->values[1], col.width));
        if (a->values.size() > 2) col.sorting = static_cast<int>(GwDefinitionNumber(a->values[2], col.sorting));
        columns_.push_back(col);
    }
    picture_column_ = def.number("picture_column", language, -1);
    sort_column_ = def.number("sort_column", language, -1);
    if (const GwAttribute* a = def.find("rows", language))
        for (const auto& row : a->values) add_row(row);
}

void GwMultiList::copy_state_to(GwCore* copy) const {
    GwItemList::copy_state_to(copy);
    if (auto* l = dynamic_cast<GwMultiList*>(copy)) {
        l->columns_ = columns_;
        l->sort_column_ = sort_column_;
        l->picture_column_ = picture_column_;
    }
}
