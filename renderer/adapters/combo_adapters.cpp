// Combo boxes and selection lists: their items are refilled on a content
// record of the model only; a selection by the user is the model's, and
// the model's selection is put on the items that are there.
#include <QComboBox>
#include <QListWidget>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_combo.h"

namespace screen {
namespace {

class ComboAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QComboBox(parent); }

    void Connect(GwCore* widget, QWidget* q) const override {
        QObject::connect(static_cast<QComboBox*>(q),
                         &QComboBox::activated,
                         [this, q, combo = GwRef(static_cast<GwCombo*>(widget))](int index) {
                             Act(combo, [&] { combo->user_select(index); });
                             if (combo != nullptr) Sync(combo, q);
                         });
    }

    void Sync(GwCore* widget, QWidget* q) const override {
        auto* combo = static_cast<GwCombo*>(widget);
        auto* box = static_cast<QComboBox*>(q);
        Screen::Applying applying;
        if (box->count() != combo->count())
            Content(widget, q, nullptr);
        else if (box->currentIndex() != combo->first_selected())
            box->setCurrentIndex(combo->first_selected());
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange*) const override {
        auto* combo = static_cast<GwCombo*>(widget);
        auto* box = static_cast<QComboBox*>(q);
        Screen::Applying applying;
        box->clear();
        for (int i = 0; i < combo->count(); ++i) box->addItem(ToScreen(combo->item_text(i)));
        box->setCurrentIndex(combo->first_selected());
        box->setMaxVisibleItems(std::max(combo->visible_items(), 1));
        if (combo->first_selected() < 0 && !combo->text().empty()) {
            box->setEditable(true);
            box->setEditText(ToScreen(combo->text()));
        }
    }
};

class SelectionListAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QListWidget(parent); }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QListWidget*>(q);
        auto* list = static_cast<GwCombo*>(widget);
        QObject::connect(view, &QListWidget::itemClicked, [this, view, list = GwRef(list)](QListWidgetItem* item) {
            const int row = view->row(item);
            Act(list, [&] { list->user_select(row); });
            if (list != nullptr) Sync(list, view);
        });
        QObject::connect(view, &QListWidget::itemDoubleClicked, [view, list = GwRef(list)](QListWidgetItem* item) {
            const int row = view->row(item);
            Act(list, [&] { list->user_activate(row); });
        });
    }

    void Sync(GwCore* widget, QWidget* q) const override {
        auto* list = static_cast<GwCombo*>(widget);
        auto* view = static_cast<QListWidget*>(q);
        Screen::Applying applying;
        if (view->count() != list->count()) {
            Content(widget, q, nullptr);
            return;
        }
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = view->item(i);
            if (item->isSelected() != list->is_selected(i)) item->setSelected(list->is_selected(i));
        }
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange*) const override {
        auto* list = static_cast<GwCombo*>(widget);
        auto* view = static_cast<QListWidget*>(q);
        Screen::Applying applying;
        view->clear();
        view->setSelectionMode(list->multiple_selection() ? QAbstractItemView::MultiSelection
                                                          : QAbstractItemView::SingleSelection);
        for (int i = 0; i < list->count(); ++i) {
            auto* item = new QListWidgetItem(ToScreen(list->item_text(i)), view);
            item->setSelected(list->is_selected(i));
        }
    }
};

}  // namespace

const Adapter& ComboAdapter() { return AdapterInstance<ComboAdapterImpl>(); }

const Adapter& SelectionListAdapter() { return AdapterInstance<SelectionListAdapterImpl>(); }

}  // namespace screen
