// The comparison of the model with the screen ("walk"): every visible model
// widget against its Qt widget (text, enabled, visible, rectangle), for the
// screen check. Also where a widget is on the screen, for synthetic input.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTreeView>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "renderer/screen_fonts.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"

namespace screen {
namespace {

// Widgets whose own text the screen shows as text.
bool ShowsText(const GwCore* w) {
    return w->is_class(GwLABEL_CLASS) || w->is_class(GwEDIT_CLASS) || w->is_class(GwFORMATEDIT_CLASS) ||
           w->is_class(GwTEXT_CLASS) || w->is_class(GwPUSHBUTTON_CLASS) || w->is_class(GwTOGGLE_CLASS) ||
           w->is_class(GwCHECK_CLASS) || w->is_class(GwRADIO_CLASS);
}

QString QtText(QWidget* q) {
    if (auto* label = qobject_cast<QLabel*>(q)) return label->text();
    if (auto* line = qobject_cast<QLineEdit*>(q)) return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(q)) return plain->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(q)) return button->text();
    if (q->isWindow()) return q->windowTitle();
    return QString();
}

// Whether the widget is meant to be seen: visible in the model and not on
// a tab page that is not the active one, nor a menu entry or tool (laid out
// by the renderer).
bool Compared(const GwCore* w, const Shown& shown) {
    if (!shown.widget || shown.action || !w->is_visible()) return false;
    if (w->is_class(GwTOOL_CLASS) || w->is_class(GwPOPUP_CLASS) || w->is_class(GwOLECONTROL_CLASS)) return false;
    for (const GwCore* p = w; p != nullptr && p->parent() != nullptr; p = p->parent()) {
        if (p->parent()->is_class(GwTABBOOK_CLASS) && p->parent()->frame() == w->frame()) {
            // Only the active page of a book shows.
            const Shown* pageShown = Screen::Instance()->Find(p);
            if (pageShown != nullptr && pageShown->widget && !pageShown->widget->isVisible()) return false;
        }
    }
    return true;
}

std::string RectText(const QRect& r) {
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", r.x(), r.y(), r.width(), r.height());
    return text;
}

}  // namespace

int Walk(const std::string& path) {
    Screen* screen = Screen::Instance();
    std::ofstream out(path, std::ios::trunc);
    int compared = 0;
    int differences = 0;
    const QFont& font = DefaultFont();
    out << "default font: " << FromScreen(font.family()) << " " << font.pointSize() << "\n";
    for (const auto& [widget, shown] : screen->All()) {
        if (!GwRcMgr::is_valid_child(widget) || !Compared(widget, shown)) continue;
        QWidget* q = shown.widget;
        ++compared;
        const std::string id = widget->identifier();
        std::vector<std::string> diffs;
        const QString expectedText = ToScreen(widget->is_frame() ? widget->title() : widget->text());
        const QString text = QtText(q);
        if ((ShowsText(widget) || q->isWindow()) && text != expectedText)
            diffs.push_back("text \"" + FromScreen(text) + "\" model \"" + FromScreen(expectedText) + "\"");
        if (q->isEnabled() !=
            (widget->is_sensitive() && !(widget->frame() != nullptr && widget->frame()->is_waiting())))
            diffs.push_back(std::string("enabled ") + (q->isEnabled() ? "yes" : "no"));
        if (!q->isVisible()) diffs.push_back("visible no");
        // Where the renderer places the widget after the model's rectangle
        // (a window's is the model's own).
        const QRect r = q->geometry();
        const GwRect m = widget->rect();
        const QRect placed = q->isWindow() ? QRect(m.x, m.y, m.width, m.height) : screen->Place(widget, q);
        const bool rectChecked = !widget->is_class(GwDOCKINGFRAME_CLASS) && !q->isMaximized();
        if (rectChecked && placed != r)
            diffs.push_back("rect " + RectText(r) + " model " + RectText(QRect(m.x, m.y, m.width, m.height)));
        const QRect global(q->mapToGlobal(QPoint(0, 0)), q->size());
        out << id << "\t" << GwKindName(widget->kind()) << "\ttext \"" << FromScreen(text) << "\"\tat "
            << RectText(global) << "\tfont " << FromScreen(q->font().family()) << " " << q->font().pointSize() << "\n";
        if (auto* list = dynamic_cast<GwMultiList*>(widget)) {
            if (auto* view = qobject_cast<QTreeView*>(q)) {
                const QAbstractItemModel* model = view->model();
                for (int i = 0; i < model->rowCount(); ++i) {
                    QStringList cells;
                    for (int c = 0; c < model->columnCount(); ++c) cells << model->index(i, c).data().toString();
                    const std::string row = FromScreen(cells.join('|'));
                    out << id << "\trow " << i << "\t" << row << "\n";
                    if (i >= list->row_count()) diffs.push_back("row " + std::to_string(i) + " extra");
                }
                if (model->rowCount() != list->row_count()) diffs.push_back("row count");
            }
        }
        for (const std::string& d : diffs) {
            out << "DIFF " << id << ": " << d << "\n";
            ++differences;
        }
    }
    // The renderer's own file dialogs: what they let the user do and their filters.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(top);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        const char* action = dialog->fileMode() == QFileDialog::Directory      ? "folder"
                             : dialog->acceptMode() == QFileDialog::AcceptSave ? "save"
                                                                               : "open";
        out << "filedialog\t" << action << "\t" << FromScreen(dialog->nameFilters().join(";;")) << "\t"
            << FromScreen(dialog->windowTitle()) << "\n";
    }
    out << "walk: " << compared << " widgets, " << differences << " differences\n";
    return differences;
}

// The global rectangle of a model widget by identifier, of an item of an
// open menu by the item's identifier, or of a renderer's own dialog button
// by object name.
bool Locate(const std::string& name, QRect* rect) {
    Screen* screen = Screen::Instance();
    // "ID#part": a part of the widget's own by its object name (a drawing's
    // "vertical" scroll bar).
    if (const size_t hash = name.find('#'); hash != std::string::npos && hash + 1 < name.size() &&
                                            std::isalpha(static_cast<unsigned char>(name[hash + 1]))) {
        const std::string owner = name.substr(0, hash);
        for (const auto& [widget, shown] : screen->All()) {
            if (!shown.widget || !GwRcMgr::is_valid_child(widget) || widget->identifier() != owner) continue;
            auto* part = shown.widget->findChild<QWidget*>(ToScreen(name.substr(hash + 1)));
            if (part == nullptr || !part->isVisible()) return false;
            *rect = QRect(part->mapToGlobal(QPoint(0, 0)), part->size());
            return true;
        }
        return false;
    }
    // "LIST#N": row N of a list.
    if (const size_t hash = name.find('#'); hash != std::string::npos) {
        QRect list;
        if (!Locate(name.substr(0, hash), &list)) return false;
        for (const auto& [widget, shown] : screen->All()) {
            auto* view = qobject_cast<QTreeView*>(shown.widget.data());
            if (view == nullptr || !GwRcMgr::is_valid_child(widget) || widget->identifier() != name.substr(0, hash))
                continue;
            const int row = std::atoi(name.c_str() + hash + 1);
            if (row < 0 || row >= view->model()->rowCount()) return false;
            const QRect r = view->visualRect(view->model()->index(row, 0));
            if (r.isEmpty()) return false;
            *rect = QRect(view->viewport()->mapToGlobal(r.topLeft()), r.size());
            return true;
        }
        return false;
    }
    for (const auto& [widget, shown] : screen->All()) {
        if (!GwRcMgr::is_valid_child(widget) || widget->identifier() != name) continue;
        if (shown.action) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* menu = qobject_cast<QMenu*>(top);
                if (menu != nullptr && menu->isVisible() && menu->actions().contains(shown.action)) {
                    const QRect r = menu->actionGeometry(shown.action);
                    *rect = QRect(menu->mapToGlobal(r.topLeft()), r.size());
                    return true;
                }
            }
            // A menu of the menu bar: its title.
            if (auto* bar = qobject_cast<QMenuBar*>(
                    shown.action->parent() != nullptr ? qobject_cast<QWidget*>(shown.action->parent()) : nullptr)) {
                const QRect r = bar->actionGeometry(shown.action);
                *rect = QRect(bar->mapToGlobal(r.topLeft()), r.size());
                return true;
            }
            for (QWidget* top : QApplication::allWidgets()) {
                auto* bar = qobject_cast<QMenuBar*>(top);
                if (bar != nullptr && bar->actions().contains(shown.action)) {
                    const QRect r = bar->actionGeometry(shown.action);
                    *rect = QRect(bar->mapToGlobal(r.topLeft()), r.size());
                    return true;
                }
            }
            return false;
        }
        if (!shown.widget || !shown.widget->isVisible()) return false;
        *rect = QRect(shown.widget->mapToGlobal(QPoint(0, 0)), shown.widget->size());
        return true;
    }
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == ToScreen(name) && w->isVisible()) {
            *rect = QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
            return true;
        }
    }
    return false;
}

// The text the screen shows for a model widget.
bool ShownText(const std::string& identifier, std::string* text) {
    for (const auto& [widget, shown] : Screen::Instance()->All()) {
        if (GwRcMgr::is_valid_child(widget) && widget->identifier() == identifier && shown.widget) {
            *text = FromScreen(QtText(shown.widget));
            return true;
        }
    }
    return false;
}

}  // namespace screen
