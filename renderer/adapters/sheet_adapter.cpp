// A spreadsheet: a table view over the sheet's item model
// (renderer/screen_sheet_model.h), fed by the sheet's change records. The
// current cell and the first visible row are put on the view alone. A
// click makes a selectable cell current; a double click edits an editable
// cell, else it is the sheet's default action. The cell editor is the
// sheet's edit child, shown where the model places it.
#include <QHeaderView>
#include <QTableView>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_sheet_model.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace screen {
namespace {

SheetModel* ModelOf(QTableView* view) { return static_cast<SheetModel*>(view->model()); }

void ShowColumnWidths(GwSpreadSheet* sheet, QTableView* view) {
    for (int c = 0; c < sheet->column_count(); ++c) {
        if (view->columnWidth(c) != sheet->column_width(c)) view->setColumnWidth(c, sheet->column_width(c));
    }
}

class SheetAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        auto* view = new QTableView(parent);
        view->horizontalHeader()->hide();
        view->verticalHeader()->hide();
        view->verticalHeader()->setMinimumSectionSize(1);
        view->verticalHeader()->setDefaultSectionSize(kGwSheetRowHeight);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setModel(new SheetModel(static_cast<GwSpreadSheet*>(widget), view));
        return view;
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QTableView*>(q);
        auto* sheet = static_cast<GwSpreadSheet*>(widget);
        QObject::connect(view, &QTableView::doubleClicked, [sheet = GwRef(sheet)](const QModelIndex& index) {
            Act(sheet, [&] {
                if (!sheet->user_edit(index.row(), index.column())) sheet->user_default(index.row(), index.column());
            });
        });
        QObject::connect(view, &QTableView::clicked, [this, view, sheet = GwRef(sheet)](const QModelIndex& index) {
            Act(sheet, [&] {
                if (sheet->is_cell_selectable(index.row(), index.column()))
                    sheet->set_current_cell(index.row(), index.column());
            });
            // The model decides which cell is current.
            if (sheet != nullptr) Sync(sheet, view);
        });
    }

    // The current cell; the cells stay as they are.
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* sheet = static_cast<GwSpreadSheet*>(widget);
        auto* view = static_cast<QTableView*>(q);
        Screen::Applying applying;
        int row = -1, column = -1;
        if (sheet->current_cell(&row, &column)) {
            const QModelIndex current = view->model()->index(row, column);
            if (view->currentIndex() != current)
                view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
        } else if (view->currentIndex().isValid()) {
            view->selectionModel()->clear();
        }
        ShowColumnWidths(sheet, view);
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange* change) const override {
        auto* sheet = static_cast<GwSpreadSheet*>(widget);
        auto* view = static_cast<QTableView*>(q);
        if (change != nullptr)
            ModelOf(view)->Apply(*change);
        else
            ModelOf(view)->Reload();
        if (change == nullptr || change->kind != GwContentKind::kCellSet) {
            ShowColumnWidths(sheet, view);
            Scrolled(widget, q);
        }
    }

    void Scrolled(GwCore* widget, QWidget* q) const override {
        auto* sheet = static_cast<GwSpreadSheet*>(widget);
        auto* view = static_cast<QTableView*>(q);
        // The title row stays above the first body row in view.
        const int top = sheet->first_visible_row() - sheet->title_rows();
        if (top >= 0 && top < view->model()->rowCount())
            view->scrollTo(view->model()->index(top, 0), QAbstractItemView::PositionAtTop);
    }
};

}  // namespace

const Adapter& SheetAdapter() { return AdapterInstance<SheetAdapterImpl>(); }

}  // namespace screen
