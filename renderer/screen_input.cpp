// Screen to model: what the user does on a Qt widget becomes the model's own
// event, through the entry points the toolkit offers for the user's input.
// No Qt widget changes the model in any other way; the model's answer comes
// back through the observer.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "renderer/screen_act.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_screen.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace screen {

namespace {

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

}  // namespace screen
