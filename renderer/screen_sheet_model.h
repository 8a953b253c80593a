// A spreadsheet's cells as a Qt item model. Cells are read from the sheet
// when a view asks; the sheet's change records tell the view what changed
// (a cell set, rows or columns added or taken away at the end), so the view
// keeps its current cell and scroll position. Title rows and columns show
// on the button colour.
#pragma once

#include <QAbstractTableModel>

#include "toolkit/core/gw_ref.h"

class GwSpreadSheet;
struct GwContentChange;

namespace screen {

class SheetModel : public QAbstractTableModel {
public:
    SheetModel(GwSpreadSheet* sheet, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // One change record of the sheet; a record that does not fit reads the
    // sheet anew.
    void Apply(const GwContentChange& change);
    void Reload();

private:
    void Resize(int rows, int columns);

    GwRef<GwSpreadSheet> sheet_;
    int rows_ = 0;
    int columns_ = 0;
};

}  // namespace screen
