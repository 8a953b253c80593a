// A scrolled container: its items scroll under a vertical bar that shows
// when there are more items than fit; a move of the bar is the model's
// scroll.
#include <QScrollBar>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "toolkit/core/gw_scrolled_container.h"

namespace screen {
namespace {

QScrollBar* BarOf(QWidget* q) { return q->findChild<QScrollBar*>("scroll", Qt::FindDirectChildrenOnly); }

class ScrolledContainerAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* box = new QWidget(parent);
        auto* bar = new QScrollBar(Qt::Vertical, box);
        bar->setObjectName("scroll");
        return box;
    }

    void Connect(GwCore* widget, QWidget* q) const override {
        QObject::connect(BarOf(q),
                         &QScrollBar::valueChanged,
                         [scrolled = GwRef(static_cast<GwScrolledContainer*>(widget))](int first) {
                             Act(scrolled, [&] { scrolled->user_scroll(first); });
                             if (scrolled != nullptr) Screen::Instance()->Sync(scrolled);
                         });
    }

    void Sync(GwCore* widget, QWidget* q) const override {
        auto* scrolled = static_cast<GwScrolledContainer*>(widget);
        QScrollBar* bar = BarOf(q);
        Screen::Applying applying;
        const int range = std::max(scrolled->item_count() - scrolled->visible_count(), 0);
        bar->setRange(0, range);
        bar->setPageStep(std::max(scrolled->visible_count(), 1));
        bar->setValue(scrolled->first_visible());
        bar->setGeometry(widget->width() - 16, 0, 16, widget->height());
        bar->setVisible(range > 0);
        bar->raise();
    }

    void Content(GwCore* widget, QWidget* q, const GwContentChange*) const override { Sync(widget, q); }
    void Scrolled(GwCore* widget, QWidget* q) const override { Sync(widget, q); }
};

}  // namespace

const Adapter& ScrolledContainerAdapter() { return AdapterInstance<ScrolledContainerAdapterImpl>(); }

}  // namespace screen
