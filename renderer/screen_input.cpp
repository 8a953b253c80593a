// Screen to model: what the user does on a Qt widget becomes the model's own
// event, through the entry points the toolkit offers for the user's input.
// No Qt widget changes the model in any other way; the model's answer comes
// back through the observer.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/core/gw_scrolled_container.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_toggle_list.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/docking/gw_tab_book.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"
#include "toolkit/tree/gw_tree.h"

namespace screen {

double FromSteps(const GwSlider* s, int steps);

namespace {

// The user acts only when the renderer is not applying the model.
bool UserActs() { return Screen::Instance() != nullptr && !Screen::Instance()->Syncing(); }

// Runs `action` on the model widget when it still lives, then lets the
// screen catch up with whatever the model did not announce.
template <typename Fn>
void Act(GwCore* widget, Fn action) {
    if (!UserActs() || !GwRcMgr::is_valid_child(widget)) return;
    action();
    GwAnnounceCreatedWidgets();
}

GwTreeEntry* EntryOf(QTreeWidgetItem* item) {
    return item != nullptr ? reinterpret_cast<GwTreeEntry*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

int KeyCode(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return GwKEY_RETURN;
        case Qt::Key_Escape:
            return GwKEY_ESCAPE;
        case Qt::Key_Backspace:
            return GwKEY_BACKSPACE;
        case Qt::Key_Delete:
            return GwKEY_DELETE;
        case Qt::Key_F1:
            return GwKEY_F1;
        case Qt::Key_Clear:
            return GwKEY_CLEAR;
        default:
            return 0;
    }
}

}  // namespace

InputFilter* TheInputFilter() {
    static auto* filter = new InputFilter();
    return filter;
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* q = qobject_cast<QWidget*>(watched);
    Screen* screen = Screen::Instance();
    if (q == nullptr || screen == nullptr) return false;
    GwCore* widget = screen->ModelOf(q);
    if (widget == nullptr) return false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            const int code = KeyCode(key);
            const bool edit = dynamic_cast<GwEdit*>(widget) != nullptr;
            // A line edit edits on its own (caret, selection, Home, End,
            // copy and paste) and hands its text to the model; the model
            // hears the keys that are not editing.
            const bool lineEdit = edit && qobject_cast<QLineEdit*>(q) != nullptr;
            if (lineEdit && (code == 0 || code == GwKEY_BACKSPACE || code == GwKEY_DELETE)) return false;
            if (code != 0) {
                // A spreadsheet's cell editor confirms and cancels for its sheet.
                if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget->parent());
                    sheet != nullptr && edit && widget->name() == kGwSheetEditorName &&
                    (code == GwKEY_RETURN || code == GwKEY_ESCAPE)) {
                    Act(sheet, [&] { code == GwKEY_RETURN ? sheet->user_confirm() : sheet->user_cancel(); });
                    return true;
                }
                bool taken = false;
                Act(widget, [&] { taken = widget->press_key(code); });
                return edit || taken;
            }
            const QByteArray bytes = key->text().toUtf8();
            if (!bytes.isEmpty() && static_cast<unsigned char>(bytes[0]) >= 0x20 &&
                (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
                // Typed text reaches the model byte by byte; a formatted edit
                // takes only what its format accepts.
                bool taken = false;
                for (char c : bytes) {
                    if (!GwRcMgr::is_valid_child(widget)) break;
                    Act(widget, [&] { taken = widget->press_key(static_cast<unsigned char>(c)) || taken; });
                }
                return edit || taken;
            }
            return false;
        }
        case QEvent::FocusIn:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason)
                Act(widget, [&] {
                    if (!widget->has_focus()) widget->set_focus();
                });
            return false;
        case QEvent::FocusOut:
            if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget->parent());
                sheet != nullptr && widget->name() == kGwSheetEditorName &&
                static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason)
                Act(sheet, [&] { sheet->user_focus_out(); });
            // Left for another program's window, which the model never sees.
            else if (auto* edit = dynamic_cast<GwEdit*>(widget);
                     edit != nullptr && static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason)
                Act(edit, [&] { edit->user_focus_out(); });
            return false;
        case QEvent::MouseButtonRelease:
            // A click on a widget without a click of its own is its activate event.
            if ((widget->is_class(GwLABEL_CLASS) || widget->is_class(GwPICTURE_CLASS) ||
                 widget->is_class(GwCONTAINER_CLASS) || widget->kind() == GwGENERIC_CLASS) &&
                widget->has_binding(GwCB_ACTIVATE))
                Act(widget, [&] {
                    if (widget->is_sensitive() && widget->is_visible()) {
                        GwEvent ev;
                        widget->fire(GwCB_ACTIVATE, ev);
                    }
                });
            return false;
        default:
            return false;
    }
}

FrameWindow::FrameWindow(GwCore* model, QWidget* parent)
    : QFrame(parent, parent != nullptr ? Qt::Window | Qt::Dialog : Qt::Window), model_(model) {}

void FrameWindow::closeEvent(QCloseEvent* event) {
    // The model decides: a close callback may refuse, the close mode hides
    // or destroys, and the screen follows.
    event->ignore();
    Act(model_, [&] { model_->close(); });
}

void FrameWindow::moveEvent(QMoveEvent* event) {
    QFrame::moveEvent(event);
    if (!isWindow() || !event->spontaneous()) return;
    Act(model_, [&] {
        const QRect g = geometry();
        if (auto* dock = dynamic_cast<GwDockingFrame*>(model_.get())) {
            const GwRect r = dock->standalone_rect();
            if (r.x != g.x() || r.y != g.y()) dock->set_standalone_rect({g.x(), g.y(), r.width, r.height});
        } else if (model_->position() != GwPosition{g.x(), g.y()}) {
            model_->set_position({g.x(), g.y()});
        }
    });
}

void FrameWindow::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // Its menu bar spans it.
    if (Screen* screen = Screen::Instance(); screen != nullptr && model_ != nullptr) {
        for (GwCore* child : model_->children()) {
            if (child->is_class(GwMENUBAR_CLASS)) screen->Sync(child);
        }
    }
    if (!isWindow() || !event->spontaneous()) return;
    Act(model_, [&] {
        const QRect g = geometry();
        if (auto* dock = dynamic_cast<GwDockingFrame*>(model_.get())) {
            const GwRect r = dock->standalone_rect();
            if (r.width != g.width() || r.height != g.height())
                dock->set_standalone_rect({r.x, r.y, g.width(), g.height()});
        } else {
            GwUserResizeWindow(model_, {g.width(), g.height()});
        }
    });
}

void FrameWindow::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isWindow()) {
        Act(model_, [&] {
            if (GwActiveWindow() != model_ && model_->is_visible()) model_->raise();
        });
    }
}

void Screen::Connect(GwCore* widget, const Shown& shown) {
    if (shown.action) {
        if (auto* item = dynamic_cast<GwMenuItem*>(widget); item != nullptr && !widget->is_class(GwMENU_CLASS)) {
            QObject::connect(
                shown.action, &QAction::triggered, [item = GwRef(item)] { Act(item, [&] { item->choose(); }); });
        }
    }
    if (shown.menu) {
        // Opening a menu lets the program fill it first (a window list).
        QMenu* menu = shown.menu;
        QObject::connect(menu, &QMenu::aboutToShow, [this, widget = GwRef(widget)] {
            if (widget == nullptr || Syncing()) return;
            openingPopup_ = true;
            widget->open_menu();
            openingPopup_ = false;
            GwAnnounceCreatedWidgets();
        });
    }
    QWidget* q = shown.widget;
    if (q == nullptr) return;
    if (auto* edit = dynamic_cast<GwEdit*>(widget); edit != nullptr && qobject_cast<QLineEdit*>(q) != nullptr) {
        auto* line = static_cast<QLineEdit*>(q);
        QObject::connect(line, &QLineEdit::textEdited, [this, line, edit = GwRef(edit)](const QString& text) {
            Act(edit, [&] { edit->user_edit(FromScreen(text), static_cast<int>(line->cursorPosition())); });
            // What the model refused or put in its own form shows as the model has it.
            if (edit != nullptr && line->text() != ToScreen(edit->text())) {
                ++syncing_;
                line->setText(ToScreen(edit->text()));
                line->setCursorPosition(edit->cursor_position());
                --syncing_;
            }
        });
    } else if (auto* button = dynamic_cast<GwPushButton*>(widget)) {
        QObject::connect(static_cast<QAbstractButton*>(q), &QAbstractButton::clicked, [button = GwRef(button)] {
            Act(button, [&] { button->click(); });
        });
    } else if (auto* toggle = dynamic_cast<GwToggle*>(widget)) {
        QObject::connect(static_cast<QAbstractButton*>(q), &QAbstractButton::clicked, [this, toggle = GwRef(toggle)] {
            Act(toggle, [&] { toggle->click(); });
            // The model decides the state, also when it refused the click.
            if (toggle != nullptr) Sync(toggle);
        });
    } else if (auto* slider = dynamic_cast<GwSlider*>(widget)) {
        if (auto* s = qobject_cast<QSlider*>(q)) {
            QObject::connect(s, &QSlider::sliderMoved, [slider = GwRef(slider)](int steps) {
                Act(slider, [&] { slider->move_to(FromSteps(slider, steps)); });
            });
            QObject::connect(s, &QSlider::actionTriggered, [this, s, slider = GwRef(slider)](int action) {
                if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
                QTimer::singleShot(0, s, [this, s, slider = GwRef(slider)] {
                    Act(slider, [&] { slider->move_to(FromSteps(slider, s->value())); });
                    if (slider != nullptr) Sync(slider);
                });
            });
        }
    } else if (widget->is_class(GwTOOL_CLASS)) {
        auto* tool = static_cast<GwMenuItem*>(widget);
        QObject::connect(static_cast<QToolButton*>(q), &QToolButton::clicked, [tool = GwRef(tool)] {
            Act(tool, [&] { tool->choose(); });
        });
    } else if (auto* list = dynamic_cast<GwItemList*>(widget)) {
        if (auto* view = qobject_cast<QTreeView*>(q)) {
            // The rows stay while the model answers a click, so the second
            // click of a double click lands on the same row.
            QObject::connect(view, &QTreeView::clicked, [this, list = GwRef(list)](const QModelIndex& index) {
                Act(list, [&] { list->user_select(index.row()); });
                if (list != nullptr) SyncSelection(list, *Find(list));
            });
            QObject::connect(view, &QTreeView::doubleClicked, [list = GwRef(list)](const QModelIndex& index) {
                Act(list, [&] { list->user_activate(index.row()); });
            });
            QObject::connect(view->verticalScrollBar(), &QScrollBar::actionTriggered, [view, list = GwRef(list)](int) {
                QTimer::singleShot(0, view, [view, list = GwRef(list)] {
                    const QModelIndex top = view->indexAt(QPoint(2, 2));
                    const int first = top.isValid() ? top.row() : 0;
                    Act(list, [&] {
                        if (first != list->first_visible()) {
                            list->set_first_visible(first);
                            GwEvent ev;
                            ev.value = list->first_visible();
                            list->fire(GwCB_SCROLL, ev);
                        }
                    });
                });
            });
        } else if (auto* box = qobject_cast<QComboBox*>(q)) {
            QObject::connect(box, &QComboBox::activated, [this, list = GwRef(list)](int index) {
                Act(list, [&] { list->user_select(index); });
                if (list != nullptr) SyncSelection(list, *Find(list));
            });
        } else if (auto* view = qobject_cast<QListWidget*>(q)) {
            QObject::connect(view, &QListWidget::itemClicked, [this, view, list = GwRef(list)](QListWidgetItem* item) {
                const int row = view->row(item);
                Act(list, [&] { list->user_select(row); });
                if (list != nullptr) SyncSelection(list, *Find(list));
            });
            QObject::connect(view, &QListWidget::itemDoubleClicked, [view, list = GwRef(list)](QListWidgetItem* item) {
                const int row = view->row(item);
                Act(list, [&] { list->user_activate(row); });
            });
        }
    } else if (auto* rows = dynamic_cast<GwToggleList*>(widget)) {
        auto* view = static_cast<QListWidget*>(q);
        QObject::connect(view, &QListWidget::itemChanged, [this, view, rows = GwRef(rows)](QListWidgetItem* item) {
            if (Syncing()) return;
            const int row = view->row(item);
            QTimer::singleShot(0, view, [this, rows = GwRef(rows), row] {
                Act(rows, [&] {
                    if (GwToggle* toggle = rows->row(row)) toggle->click();
                });
                if (rows != nullptr) Sync(rows);
            });
        });
    } else if (auto* tree = dynamic_cast<GwTree*>(widget)) {
        auto* view = static_cast<QTreeWidget*>(q);
        QObject::connect(view, &QTreeWidget::itemClicked, [tree = GwRef(tree)](QTreeWidgetItem* item) {
            GwTreeEntry* entry = EntryOf(item);
            Act(tree, [&] { tree->user_click(entry, GwMOUSE_BUTTON1); });
            Act(tree, [&] { tree->user_select(entry); });
        });
        QObject::connect(view, &QTreeWidget::itemDoubleClicked, [tree = GwRef(tree)](QTreeWidgetItem* item) {
            GwTreeEntry* entry = EntryOf(item);
            Act(tree, [&] { tree->user_click(entry, GwMOUSE_BUTTON1 | GwMOUSE_DOUBLE); });
        });
        QObject::connect(view, &QTreeWidget::itemExpanded, [tree = GwRef(tree)](QTreeWidgetItem* item) {
            GwTreeEntry* entry = EntryOf(item);
            Act(tree, [&] { tree->expand_entry(entry, true); });
        });
        QObject::connect(view, &QTreeWidget::itemCollapsed, [tree = GwRef(tree)](QTreeWidgetItem* item) {
            GwTreeEntry* entry = EntryOf(item);
            Act(tree, [&] { tree->expand_entry(entry, false); });
        });
        QObject::connect(
            view, &QTreeWidget::customContextMenuRequested, [this, view, tree = GwRef(tree)](const QPoint& at) {
                GwTreeEntry* entry = EntryOf(view->itemAt(at));
                if (entry == nullptr) return;
                bool opened = false;
                openingPopup_ = true;
                Act(tree, [&] { opened = tree->user_context_menu(entry); });
                openingPopup_ = false;
                if (!opened || tree == nullptr || entry->popup() == nullptr) return;
                const Shown* popup = Find(entry->popup());
                if (popup != nullptr && popup->menu) popup->menu->popup(view->viewport()->mapToGlobal(at));
            });
    } else if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        auto* table = static_cast<QTableWidget*>(q);
        QObject::connect(table, &QTableWidget::cellDoubleClicked, [sheet = GwRef(sheet)](int row, int column) {
            Act(sheet, [&] {
                if (!sheet->user_edit(row, column)) sheet->user_default(row, column);
            });
        });
        QObject::connect(table, &QTableWidget::cellClicked, [sheet = GwRef(sheet)](int row, int column) {
            Act(sheet, [&] {
                if (sheet->is_cell_selectable(row, column)) sheet->set_current_cell(row, column);
            });
        });
    } else if (auto* book = dynamic_cast<GwTabBook*>(widget)) {
        auto* bar = q->findChild<QTabBar*>("tabs", Qt::FindDirectChildrenOnly);
        QObject::connect(bar, &QTabBar::tabBarClicked, [this, bar, book](int index) {
            if (index < 0) return;
            auto* page = reinterpret_cast<GwCore*>(bar->tabData(index).value<quintptr>());
            Act(book, [&] { book->user_select_page(page); });
            if (book != nullptr) Sync(book);
        });
    } else if (auto* scrolled = dynamic_cast<GwScrolledContainer*>(widget)) {
        auto* bar = q->findChild<QScrollBar*>("scroll", Qt::FindDirectChildrenOnly);
        QObject::connect(bar, &QScrollBar::valueChanged, [this, scrolled](int first) {
            Act(scrolled, [&] { scrolled->user_scroll(first); });
            if (scrolled != nullptr) Sync(scrolled);
        });
    } else if (auto* dock = dynamic_cast<GwDockingFrame*>(widget)) {
        if (auto* floatButton = q->findChild<QToolButton*>("float", Qt::FindDirectChildrenOnly)) {
            QObject::connect(floatButton, &QToolButton::clicked, [dock = GwRef(dock)] {
                Act(dock, [&] { dock->set_attached(!dock->is_attached()); });
            });
        }
        if (auto* closeButton = q->findChild<QToolButton*>("close", Qt::FindDirectChildrenOnly)) {
            QObject::connect(
                closeButton, &QToolButton::clicked, [dock = GwRef(dock)] { Act(dock, [&] { dock->close(); }); });
        }
    }
}

}  // namespace screen
