// A tab book: a tab row over its pages; only the active page shows. A click
// on a tab is the model's page selection.
#include <QTabBar>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_text.h"
#include "toolkit/docking/gw_tab_book.h"

namespace screen {
namespace {

QTabBar* TabsOf(QWidget* q) { return q->findChild<QTabBar*>("tabs", Qt::FindDirectChildrenOnly); }

class TabBookAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* book = new QWidget(parent);
        auto* bar = new QTabBar(book);
        bar->setObjectName("tabs");
        return book;
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        QTabBar* bar = TabsOf(q);
        QObject::connect(bar, &QTabBar::tabBarClicked, [bar, book = GwRef(static_cast<GwTabBook*>(widget))](int index) {
            if (index < 0) return;
            auto* page = reinterpret_cast<GwCore*>(bar->tabData(index).value<quintptr>());
            Act(book, [&] { book->user_select_page(page); });
            if (book != nullptr) Screen::Instance()->Sync(book);
        });
    }

    // The pages included and the active one.
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* book = static_cast<GwTabBook*>(widget);
        QTabBar* bar = TabsOf(q);
        Screen::Applying applying;
        while (bar->count() > 0) bar->removeTab(0);
        int current = -1;
        for (GwCore* page : book->children()) {
            if (!book->is_page_included(page)) continue;
            const int index = bar->addTab(ToScreen(page->text()));
            bar->setTabData(index, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(page)));
            if (page == book->active_page()) current = index;
        }
        bar->setCurrentIndex(current);
        bar->setGeometry(0, 0, widget->width(), kTabRowHeight);
        for (GwCore* page : book->children()) {
            const Shown* pageShown = Screen::Instance()->Find(page);
            if (pageShown != nullptr && pageShown->widget)
                pageShown->widget->setVisible(page->is_shown() && page == book->active_page());
        }
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange*) const override { Sync(widget, q); }
};

}  // namespace

const Adapter& TabBookAdapter() { return AdapterInstance<TabBookAdapterImpl>(); }

}  // namespace screen
