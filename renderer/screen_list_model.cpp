#include "renderer/screen_list_model.h"

#include <algorithm>

#include "renderer/screen_pictures.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/core/gw_rcmgr.h"

namespace screen {

ListModel::ListModel(GwMultiList* list, QObject* parent) : QAbstractTableModel(parent), list_(list) {
    rows_ = list_->row_count();
    columns_ = std::max(list_->column_count(), 1);
}

bool ListModel::Live() const { return list_ != nullptr; }

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !Live() || index.row() >= list_->row_count()) return QVariant();
    const bool picture = index.column() == list_->picture_column();
    if (role == Qt::DisplayRole || role == Qt::DecorationRole) {
        const std::string cell = list_->cell(index.row(), index.column());
        if (picture) {
            const QString key = ToScreen(cell);
            auto it = pictures_.find(key);
            if (it == pictures_.end()) it = pictures_.insert(key, BitmapImage(cell));
            // A cell that names no picture shows its text.
            if (!it->isNull()) return role == Qt::DecorationRole ? QVariant(*it) : QVariant();
        }
        return role == Qt::DisplayRole ? QVariant(ToScreen(cell)) : QVariant();
    }
    return QVariant();
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !Live()) return QVariant();
    return ToScreen(list_->column_title(section));
}

void ListModel::CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (firstRow > lastRow) return;
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn));
}

void ListModel::Apply(const GwContentChange& change) {
    if (!Live()) return;
    const int count = std::max(change.count, 1);
    const int now = list_->row_count();
    switch (change.kind) {
        case GwContentKind::kRowsAdded:
            if (change.index < 0 || change.index > rows_ || rows_ + count != now) break;
            beginInsertRows(QModelIndex(), change.index, change.index + count - 1);
            rows_ += count;
            endInsertRows();
            return;
        case GwContentKind::kRowsRemoved:
            if (change.index < 0 || change.index + count > rows_ || rows_ - count != now) break;
            beginRemoveRows(QModelIndex(), change.index, change.index + count - 1);
            rows_ -= count;
            endRemoveRows();
            return;
        case GwContentKind::kCellSet:
            if (rows_ != now || change.index < 0 || change.index >= rows_) break;
            if (change.column >= 0 && change.column < columns_)
                CellsChanged(change.index, change.index, change.column, change.column);
            else
                CellsChanged(change.index, change.index, 0, columns_ - 1);
            return;
        case GwContentKind::kRowsChanged:
            // Rewritten or sorted anew: the same rows show new cells.
            if (rows_ != now || columns_ != std::max(list_->column_count(), 1)) break;
            CellsChanged(0, rows_ - 1, 0, columns_ - 1);
            return;
        default:
            break;
    }
    Reload();
}

void ListModel::Reload() {
    beginResetModel();
    rows_ = Live() ? list_->row_count() : 0;
    columns_ = Live() ? std::max(list_->column_count(), 1) : 1;
    pictures_.clear();
    endResetModel();
}

}  // namespace screen
