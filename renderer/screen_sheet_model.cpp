#include "renderer/screen_sheet_model.h"

#include <QApplication>
#include <QPalette>

#include "renderer/screen_text.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace screen {

SheetModel::SheetModel(GwSpreadSheet* sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(sheet) {
    rows_ = sheet_->row_count();
    columns_ = sheet_->column_count();
}

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int SheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || sheet_ == nullptr) return QVariant();
    if (role == Qt::DisplayRole) return ToScreen(sheet_->contents(index.row(), index.column()));
    if (role == Qt::BackgroundRole) {
        const bool title = index.row() < sheet_->title_rows() || index.column() < sheet_->title_columns();
        return title ? QApplication::palette().button() : QVariant();
    }
    return QVariant();
}

void SheetModel::Resize(int rows, int columns) {
    // Cells that stay keep their texts: rows and columns come and go at the end.
    if (columns < columns_) {
        beginRemoveColumns(QModelIndex(), columns, columns_ - 1);
        columns_ = columns;
        endRemoveColumns();
    }
    if (rows < rows_) {
        beginRemoveRows(QModelIndex(), rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (columns > columns_) {
        beginInsertColumns(QModelIndex(), columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    }
    if (rows > rows_) {
        beginInsertRows(QModelIndex(), rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
}

void SheetModel::Apply(const GwContentChange& change) {
    if (sheet_ == nullptr) return;
    const int rows = sheet_->row_count();
    const int columns = sheet_->column_count();
    switch (change.kind) {
        case GwContentKind::kCellSet:
            if (rows != rows_ || columns != columns_ || change.index < 0 || change.index >= rows_ ||
                change.column < 0 || change.column >= columns_)
                break;
            emit dataChanged(index(change.index, change.column), index(change.index, change.column));
            return;
        case GwContentKind::kTableResized:
            Resize(rows, columns);
            return;
        default:
            break;
    }
    Reload();
}

void SheetModel::Reload() {
    beginResetModel();
    rows_ = sheet_ != nullptr ? sheet_->row_count() : 0;
    columns_ = sheet_ != nullptr ? sheet_->column_count() : 0;
    endResetModel();
}

}  // namespace screen
