// The multi-column list: rows written as "a|b|c", cells, columns with
// titles, widths and a sorting type, a sorting column, a picture column
// (cells holding icon names). Rows keep their insertion index when sorted.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "toolkit/core/gw_item_list.h"

// Sorting types of a column.
constexpr int GwSORT_NONE = 0;         // insertion order
constexpr int GwSORT_TEXT = 1;         // byte order of the text
constexpr int GwSORT_TEXT_NOCASE = 2;  // text without regard to ASCII case
constexpr int GwSORT_NUMBER = 3;       // numeric value of the text

struct GwListColumn {
    std::string title;
    int width = 80;
    int sorting = GwSORT_NONE;
};

class GwMultiList : public GwItemList {
public:
    GwMultiList(const std::string& name, GwCore* parent) : GwItemList(GwMULTILIST_CLASS, name, parent) {}

    // Adds a row "a|b|c" (in sorted position when the list sorts); returns
    // its display index.
    int add_row(const std::string& row);
    int insert_row(int index, const std::string& row);
    void delete_row(int index);
    int row_count() const { return count(); }
    std::string row_text(int index) const;
    // The cell's text; with a max_length, at most max_length - 1 bytes (as
    // into a buffer of that size). Empty out of range.
    std::string cell(int row, int column, size_t max_length = 0) const;
    void set_cell(int row, int column, const std::string& text);
    // The order in which the row was added, -1 out of range.
    int row_insertion_index(int index) const;

    int column_count() const { return static_cast<int>(columns_.size()); }
    std::string column_title(int column) const;
    int column_width(int column) const;
    void set_column_width(int column, int width);
    int sorting_type(int column) const;
    void set_sorting_type(int column, int type);
    int sort_column() const { return sort_column_; }
    // Sorts the rows by that column's sorting type (stable, by insertion).
    void set_sort_column(int column);
    int picture_column() const { return picture_column_; }
    void set_picture_column(int column) { picture_column_ = column; }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwMultiList() override = default;
    void copy_state_to(GwCore* copy) const override;
    int SortedPosition(const std::vector<std::string>& cells) const override;

private:
    bool ColumnValid(int row, int column) const;
    bool Before(const std::vector<std::string>& a, int a_insertion, const std::vector<std::string>& b,
                int b_insertion) const;
    void Resort();
    std::vector<GwListColumn> columns_;
    int sort_column_ = -1;
    int picture_column_ = -1;
};

// Splits "a|b|c" into its cells.
std::vector<std::string> GwSplitRow(const std::string& row);
