// The rows of a model list as a Qt item model. Cells are read from the list
// when a view asks; the model's change records (rows added or removed at an
// index, a cell set, the rows rewritten) tell the view what changed, so a
// change touches only what changed and the view keeps its selection, scroll
// position and the item under the pointer.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>

#include "toolkit/core/gw_ref.h"

class GwMultiList;
struct GwContentChange;

namespace screen {

class ListModel : public QAbstractTableModel {
public:
    ListModel(GwMultiList* list, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // One change record of the list.
    void Apply(const GwContentChange& change);
    // Reads the rows and columns anew (a record that does not fit).
    void Reload();

private:
    bool Live() const;
    void CellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn);

    GwRef<GwMultiList> list_;
    int rows_ = 0;
    int columns_ = 1;
    mutable QHash<QString, QPixmap> pictures_;
};

}  // namespace screen
