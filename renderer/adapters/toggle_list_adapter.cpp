// A list of toggle rows: one checkable item per row; a click on an item's
// check is the row toggle's click, and the model decides the states.
#include <QListWidget>
#include <QTimer>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"

namespace screen {
namespace {

class ToggleListAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QListWidget(parent); }

    void Connect(GwCore* widget, QWidget* q) const override {
        auto* view = static_cast<QListWidget*>(q);
        auto* rows = static_cast<GwToggleList*>(widget);
        QObject::connect(view, &QListWidget::itemChanged, [view, rows = GwRef(rows)](QListWidgetItem* item) {
            if (!UserActs()) return;
            const int row = view->row(item);
            QTimer::singleShot(0, view, [rows = GwRef(rows), row] {
                Act(rows, [&] {
                    if (GwToggle* toggle = rows->row(row)) toggle->click();
                });
                if (rows != nullptr) Screen::Instance()->Sync(rows);
            });
        });
    }

    // The rows are the list's children: a change of any of them reaches
    // the list.
    void Sync(GwCore* widget, QWidget* q) const override { Content(widget, q, nullptr); }

    void Content(GwCore* widget, QWidget* q, const GwContentChange*) const override {
        auto* rows = static_cast<GwToggleList*>(widget);
        auto* view = static_cast<QListWidget*>(q);
        Screen::Applying applying;
        view->clear();
        for (int i = 0; i < rows->row_count(); ++i) {
            auto* item = new QListWidgetItem(ToScreen(rows->item_text(i)), view);
            item->setFlags(Qt::ItemIsUserCheckable | (rows->item_enabled(i) ? Qt::ItemIsEnabled : Qt::NoItemFlags));
            item->setCheckState(rows->item_on(i) ? Qt::Checked : Qt::Unchecked);
        }
    }
};

}  // namespace

const Adapter& ToggleListAdapter() { return AdapterInstance<ToggleListAdapterImpl>(); }

}  // namespace screen
