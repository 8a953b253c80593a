// A tree: a tree view over the tree's item model
// (renderer/screen_tree_model.h). Content records insert or remove only
// their rows; an entry opened or closed and the selected entry are put on
// the view alone. A click, a double click, opening or closing an entry and
// the context menu are the model's own entry points.
#include <QMenu>
#include <QTreeView>
#include <functional>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_tree_model.h"
#include "toolkit/core/gw_observer.h"
#include "toolkit/tree/gw_tree.h"

namespace screen {
namespace {

TreeModel* ModelOf(QTreeView* view) { return static_cast<TreeModel*>(view->model()); }

// Opens or closes the view's rows under `parent` (rows first..last) as
// their entries are.
void ShowExpansion(QTreeView* view, const QModelIndex& parent, int first, int last) {
    Screen::Applying applying;
    TreeModel* model = ModelOf(view);
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        GwTreeEntry* entry = model->EntryOf(index);
        if (entry == nullptr) continue;
        if (view->isExpanded(index) != entry->is_shown()) view->setExpanded(index, entry->is_shown());
        ShowExpansion(view, index, 0, model->rowCount(index) - 1);
    }
}

void ShowSelection(GwTree* tree, QTreeView* view) {
    Screen::Applying applying;
    const QModelIndex selected = ModelOf(view)->IndexOf(tree->selected_entry());
    QItemSelectionModel* selection = view->selectionModel();
    if (!selected.isValid()) {
        selection->clearSelection();
    } else if (!selection->isSelected(selected) || selection->selectedIndexes().size() != 1) {
        selection->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
    }
}

class TreeAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        auto* view = new QTreeView(parent);
        view->setHeaderHidden(true);
        view->setUniformRowHeights(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->setModel(new TreeModel(static_cast<GwTree*>(widget), view));
        return view;
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QTreeView*>(q);
        TreeModel* model = ModelOf(view);
        auto* tree = static_cast<GwTree*>(widget);
        // Rows the model inserted or read anew open as their entries are;
        // after a new reading the selection is the tree's again.
        QObject::connect(
            model, &QAbstractItemModel::rowsInserted, view, [view](const QModelIndex& parent, int first, int last) {
                ShowExpansion(view, parent, first, last);
            });
        QObject::connect(model, &QAbstractItemModel::modelReset, view, [view, tree = GwRef(tree)] {
            ShowExpansion(view, QModelIndex(), 0, ModelOf(view)->rowCount() - 1);
            if (tree != nullptr) ShowSelection(tree, view);
        });
        QObject::connect(view, &QTreeView::clicked, [model, tree = GwRef(tree)](const QModelIndex& index) {
            GwTreeEntry* entry = model->EntryOf(index);
            Act(tree, [&] { tree->user_click(entry, GwMOUSE_BUTTON1); });
        });
        QObject::connect(view, &QTreeView::doubleClicked, [model, tree = GwRef(tree)](const QModelIndex& index) {
            GwTreeEntry* entry = model->EntryOf(index);
            Act(tree, [&] { tree->user_click(entry, GwMOUSE_BUTTON1 | GwMOUSE_DOUBLE); });
        });
        QObject::connect(view, &QTreeView::expanded, [model, tree = GwRef(tree)](const QModelIndex& index) {
            GwTreeEntry* entry = model->EntryOf(index);
            Act(tree, [&] { tree->expand_entry(entry, true); });
        });
        QObject::connect(view, &QTreeView::collapsed, [model, tree = GwRef(tree)](const QModelIndex& index) {
            GwTreeEntry* entry = model->EntryOf(index);
            Act(tree, [&] { tree->expand_entry(entry, false); });
        });
        QObject::connect(
            view, &QTreeView::customContextMenuRequested, [view, model, tree = GwRef(tree)](const QPoint& at) {
                GwTreeEntry* entry = model->EntryOf(view->indexAt(at));
                if (entry == nullptr) return;
                bool opened = false;
                {
                    Screen::OpeningPopup opening;
                    Act(tree, [&] { opened = tree->user_context_menu(entry); });
                }
                if (!opened || tree == nullptr || model->EntryOf(view->indexAt(at)) != entry ||
                    entry->popup() == nullptr)
                    return;
                const Shown* popup = Screen::Instance()->Find(entry->popup());
                if (popup != nullptr && popup->menu) popup->menu->popup(view->viewport()->mapToGlobal(at));
            });
    }

    // Selection, focus or state: the rows stay as they are.
    void Sync(GwCore* widget, QWidget* q) const override {
        ShowSelection(static_cast<GwTree*>(widget), static_cast<QTreeView*>(q));
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange* change) const override {
        auto* view = static_cast<QTreeView*>(q);
        TreeModel* model = ModelOf(view);
        auto* tree = static_cast<GwTree*>(widget);
        if (change == nullptr) {
            model->Reload();
            return;
        }
        if (change->kind == GwContentKind::kEntryExpanded) {
            const QModelIndex index = model->IndexOf(change->entry);
            GwTreeEntry* entry = model->EntryOf(index);
            Screen::Applying applying;
            if (entry != nullptr && view->isExpanded(index) != entry->is_shown())
                view->setExpanded(index, entry->is_shown());
            return;
        }
        if (change->kind == GwContentKind::kEntrySelected) {
            ShowSelection(tree, view);
            return;
        }
        model->Apply(*change);
    }
};

}  // namespace

const Adapter& TreeAdapter() { return AdapterInstance<TreeAdapterImpl>(); }

}  // namespace screen
