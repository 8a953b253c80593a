// A multi-column list: a tree view over the list's item model
// (renderer/screen_list_model.h), fed by the list's change records. A click
// sets only the view's selection, so the second click of a double click
// lands on the same row.
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_list_model.h"
#include "toolkit/core/gw_multi_list.h"

namespace screen {
namespace {

class MultiListAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        auto* list = static_cast<GwMultiList*>(widget);
        auto* view = new QTreeView(parent);
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setAllColumnsShowFocus(true);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setModel(new ListModel(list, view));
        view->setHeaderHidden(list->column_count() == 0);
        for (int c = 0; c < list->column_count(); ++c) view->setColumnWidth(c, list->column_width(c));
        if (list->sort_column() >= 0) {
            view->header()->setSortIndicatorShown(true);
            view->header()->setSortIndicator(list->sort_column(), Qt::AscendingOrder);
        }
        return view;
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QTreeView*>(q);
        auto* list = static_cast<GwMultiList*>(widget);
        QObject::connect(view, &QTreeView::clicked, [this, view, list = GwRef(list)](const QModelIndex& index) {
            Act(list, [&] { list->user_select(index.row()); });
            if (list != nullptr) Sync(list, view);
        });
        QObject::connect(view, &QTreeView::doubleClicked, [list = GwRef(list)](const QModelIndex& index) {
            Act(list, [&] { list->user_activate(index.row()); });
        });
        QObject::connect(view->verticalScrollBar(), &QScrollBar::actionTriggered, [view, list = GwRef(list)](int) {
            // The bar has moved once the action is done.
            QTimer::singleShot(0, view, [view, list = GwRef(list)] {
                const QModelIndex top = view->indexAt(QPoint(2, 2));
                const int first = top.isValid() ? top.row() : 0;
                Act(list, [&] {
                    if (first == list->first_visible()) return;
                    list->set_first_visible(first);
                    GwEvent ev;
                    ev.value = list->first_visible();
                    list->fire(GwCB_SCROLL, ev);
                });
            });
        });
    }

    // Selection, focus or state: the rows stay as they are.
    void Sync(GwCore* widget, QWidget* q) const override {
        Screen::Applying applying;
        auto* list = static_cast<GwMultiList*>(widget);
        auto* view = static_cast<QTreeView*>(q);
        view->setSelectionMode(list->multiple_selection() ? QAbstractItemView::MultiSelection
                                                          : QAbstractItemView::SingleSelection);
        QItemSelectionModel* selection = view->selectionModel();
        const int rows = std::min(view->model()->rowCount(), list->row_count());
        for (int r = 0; r < rows; ++r) {
            const bool wanted = list->is_selected(r);
            if (selection->isRowSelected(r, QModelIndex()) == wanted) continue;
            selection->select(
                view->model()->index(r, 0),
                (wanted ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
        }
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange* change) const override {
        auto* model = static_cast<ListModel*>(static_cast<QTreeView*>(q)->model());
        if (change != nullptr)
            model->Apply(*change);
        else
            model->Reload();
        Sync(widget, q);
    }

    void Scrolled(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QTreeView*>(q);
        const int first = static_cast<GwMultiList*>(widget)->first_visible();
        if (first >= 0 && first < view->model()->rowCount())
            view->scrollTo(view->model()->index(first, 0), QAbstractItemView::PositionAtTop);
    }
};

}  // namespace

const Adapter& MultiListAdapter() { return AdapterInstance<MultiListAdapterImpl>(); }

}  // namespace screen
