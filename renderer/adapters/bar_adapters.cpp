// The menu bar, toolbars and their tools. A tool shows its picture at the
// size its definition declares, with its text as tooltip; a tool without a
// picture shows its whole text. The toolbar lays its shown tools out in a
// row, each as wide as it needs.
#include <QIcon>
#include <QMenuBar>
#include <QToolButton>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "renderer/screen_pictures.h"
#include "renderer/screen_text.h"
#include "toolkit/menus/gw_menu_item.h"

namespace screen {
namespace {

constexpr int kToolWidth = 28;

class MenuBarAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        // The bar keeps the model's height: its titles sit tight.
        auto* bar = new QMenuBar(parent);
        bar->setStyleSheet("QMenuBar { padding: 0px; } QMenuBar::item { padding: 1px 6px; }");
        return bar;
    }
};

class ToolBarAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override { return new QWidget(parent); }
    void Sync(GwCore* toolbar, QWidget*) const override {
        int x = 0;
        for (GwCore* child : toolbar->children()) {
            const Shown* shown = Screen::Instance()->Find(child);
            if (shown == nullptr || !shown->widget || !child->is_class(GwTOOL_CLASS) || !child->is_shown()) continue;
            const int width = std::max(kToolWidth - 2, shown->widget->sizeHint().width());
            shown->widget->setGeometry(x, 2, width, std::max(toolbar->height() - 4, 8));
            x += width + 2;
        }
    }
};

class ToolAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* tool = new QToolButton(parent);
        tool->setAutoRaise(true);
        return tool;
    }
    void Connect(GwCore* widget, QWidget* q) const override {
        QObject::connect(static_cast<QToolButton*>(q),
                         &QToolButton::clicked,
                         [tool = GwRef(static_cast<GwMenuItem*>(widget))] { Act(tool, [&] { tool->choose(); }); });
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* tool = static_cast<QToolButton*>(q);
        const QPixmap icon = BitmapImage(widget->icon().empty() ? widget->name() : widget->icon());
        const std::string caption = !widget->text().empty() ? widget->text() : widget->tip_text();
        if (!icon.isNull()) {
            tool->setIcon(QIcon(icon));
            tool->setIconSize(icon.size());
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            tool->setText(ToScreen(caption));
            tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        tool->setToolTip(ToScreen(!widget->tip_text().empty() ? widget->tip_text() : caption));
    }
};

}  // namespace

const Adapter& MenuBarAdapter() { return AdapterInstance<MenuBarAdapterImpl>(); }

const Adapter& ToolBarAdapter() { return AdapterInstance<ToolBarAdapterImpl>(); }

const Adapter& ToolAdapter() { return AdapterInstance<ToolAdapterImpl>(); }

}  // namespace screen
