// Menus on the screen: a menu and its items are entries (actions) of the
// menu bar or menu above them, a popup is a menu of its own. Choosing an
// item is the model's choose; opening a menu lets the program fill it first.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "renderer/screen_act.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/menus/gw_menu_item.h"

namespace screen {

bool Screen::IsMenuEntry(const GwCore* w) {
    return (w->is_class(GwMENU_CLASS) && !w->is_class(GwPOPUP_CLASS)) || w->is_class(GwMENUITEM_CLASS);
}

void Screen::CreateMenuEntry(GwCore* widget) {
    Shown shown;
    GwCore* parent = widget->parent();
    const Shown* parentShown = parent != nullptr ? Find(parent) : nullptr;
    QMenu* parentMenu = parentShown != nullptr ? parentShown->menu.data() : nullptr;
    auto* bar = parentShown != nullptr ? qobject_cast<QMenuBar*>(parentShown->widget.data()) : nullptr;
    if (parentMenu == nullptr && bar == nullptr) {
        shown_[widget] = shown;
        return;
    }
    if (widget->is_class(GwMENU_CLASS)) {
        auto* menu = new QMenu(bar != nullptr ? static_cast<QWidget*>(bar) : parentMenu);
        shown.menu = menu;
        shown.action = bar != nullptr ? bar->addMenu(menu) : parentMenu->addMenu(menu);
    } else if (static_cast<GwMenuItem*>(widget)->is_separator()) {
        shown.action = parentMenu != nullptr ? parentMenu->addSeparator() : bar->addSeparator();
    } else {
        shown.action = new QAction(parentMenu != nullptr ? static_cast<QObject*>(parentMenu) : bar);
        if (parentMenu != nullptr)
            parentMenu->addAction(shown.action);
        else
            bar->addAction(shown.action);
    }
    shown_[widget] = shown;
    ConnectMenuEntry(widget, shown_[widget]);
    Sync(widget);
    // The bar is as high as its titles need.
    if (bar != nullptr) Sync(parent);
}

void Screen::CreatePopup(GwCore* popup) {
    Shown shown;
    auto* menu = new QMenu();
    shown.menu = menu;
    shown.widget = menu;
    models_[menu] = popup;
    shown_[popup] = shown;
    ConnectMenuEntry(popup, shown_[popup]);
}

void Screen::ConnectMenuEntry(GwCore* widget, const Shown& shown) {
    if (auto* item = dynamic_cast<GwMenuItem*>(widget);
        shown.action && item != nullptr && !widget->is_class(GwMENU_CLASS)) {
        QObject::connect(
            shown.action, &QAction::triggered, [item = GwRef(item)] { Act(item, [&] { item->choose(); }); });
    }
    if (shown.menu) {
        // Opening a menu lets the program fill it first (a window list).
        QObject::connect(shown.menu, &QMenu::aboutToShow, [this, widget = GwRef(widget)] {
            if (widget == nullptr || Syncing()) return;
            {
                OpeningPopup opening;
                widget->open_menu();
            }
            GwAnnounceCreatedWidgets();
        });
    }
}

void Screen::SyncMenuEntry(GwCore* widget, const Shown& shown) {
    QAction* action = shown.action;
    if (!widget->name().empty()) action->setText(ToScreen(widget->text()));
    action->setVisible(widget->is_shown());
    action->setEnabled(widget->is_enabled());
    if (auto* toggle = dynamic_cast<GwToggleItem*>(widget)) {
        action->setCheckable(true);
        action->setChecked(toggle->value() != 0);
    }
    if (!widget->tip_text().empty()) action->setToolTip(ToScreen(widget->tip_text()));
}

}  // namespace screen
