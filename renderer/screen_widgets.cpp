// Model to screen: a Qt widget for every model widget, made and kept up to
// date by the adapter of its kind; what all child widgets share (place,
// font, colours, enabled, shown, focus) is applied here.
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>

#include "renderer/screen_adapter.h"
#include "renderer/screen_drawing.h"
#include "renderer/screen_fonts.h"
#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/docking/gw_tab_book.h"

namespace screen {

QWidget* Screen::ParentWidgetFor(GwCore* widget) {
    GwCore* parent = widget->parent();
    if (parent == nullptr) return nullptr;
    if (widget->is_frame()) {
        // A frame owned by another stays above its owner's window.
        GwCore* owner = parent->frame();
        const Shown* shown = owner != nullptr ? Find(owner) : nullptr;
        return shown != nullptr ? shown->widget.data() : nullptr;
    }
    const Shown* shown = Find(parent);
    if (shown == nullptr) return nullptr;
    return shown->inner ? shown->inner.data() : shown->widget.data();
}

void Screen::Create(GwCore* widget) {
    if (shown_.count(widget) != 0) return;
    GwCore* parent = widget->parent();
    if (IsMenuEntry(widget)) {
        CreateMenuEntry(widget);
    } else if (parent != nullptr && parent->is_class(GwTOGGLELIST_CLASS)) {
        // The rows of a toggle list are items of its list.
        shown_[widget] = Shown();
        Sync(parent);
    } else if (widget->is_class(GwPOPUP_CLASS)) {
        CreatePopup(widget);
    } else {
        CreateWidget(widget);
    }
}

void Screen::CreateWidget(GwCore* widget) {
    const Adapter& adapter = AdapterFor(widget);
    QWidget* q = adapter.Create(widget, ParentWidgetFor(widget));
    Shown shown;
    shown.widget = q;
    shown.inner = adapter.Inner(q);
    shown.adapter = &adapter;
    models_[q] = widget;
    q->installEventFilter(TheInputFilter());
    shown_[widget] = shown;
    adapter.Connect(widget, q);
    Sync(widget);
    {
        Applying applying;
        adapter.Content(widget, q, nullptr);
        adapter.Scrolled(widget, q);
    }
    GwCore* parent = widget->parent();
    if (parent == nullptr) return;
    if (parent->is_class(GwTOOLBAR_CLASS) || parent->is_class(GwTABBOOK_CLASS)) Sync(parent);
    // Menu bars and toolbars stay above a work area that the program lays
    // over the whole client area.
    for (GwCore* sibling : parent->children()) {
        const Shown* other =
            (sibling->is_class(GwMENUBAR_CLASS) || sibling->is_class(GwTOOLBAR_CLASS)) ? Find(sibling) : nullptr;
        if (other != nullptr && other->widget) other->widget->raise();
    }
}

void Screen::Sync(GwCore* widget) {
    auto it = shown_.find(widget);
    if (it == shown_.end()) return;
    Applying applying;
    const Shown& shown = it->second;
    if (shown.action) {
        SyncMenuEntry(widget, shown);
    } else if (widget->parent() != nullptr && widget->parent()->is_class(GwTOGGLELIST_CLASS)) {
        Sync(widget->parent());
    } else if (shown.widget && shown.adapter != nullptr) {
        QWidget* q = shown.widget;
        shown.adapter->Sync(widget, q);
        if (shown.adapter->PlacedInParent()) SyncCommon(widget, q);
        shown.adapter->Arrange(widget, q);
    }
}

void Screen::SyncCommon(GwCore* widget, QWidget* q) {
    // Moved under another parent (set_parent): the Qt widget follows.
    QWidget* parent = ParentWidgetFor(widget);
    if (parent != nullptr && parent != q->parentWidget()) q->setParent(parent, Qt::Widget);
    q->setFont(FontOf(widget));
    if (!(widget->parent() != nullptr && widget->parent()->is_class(GwTOOLBAR_CLASS) &&
          widget->is_class(GwTOOL_CLASS))) {
        const QRect r = Place(widget, q);
        if (q->geometry() != r) q->setGeometry(r);
    }
    q->setEnabled(widget->is_enabled());
    q->setToolTip(ToScreen(widget->tip_text()));
    // "default" leaves the desktop's own colours.
    QPalette palette = q->palette();
    const QColor fg = widget->foreground() == "default" ? QColor() : ColourOf(widget->foreground(), QColor());
    const QColor bg = widget->background() == "default" ? QColor() : ColourOf(widget->background(), QColor());
    if (fg.isValid()) palette.setColor(QPalette::WindowText, fg), palette.setColor(QPalette::Text, fg);
    if (bg.isValid()) {
        palette.setColor(QPalette::Window, bg);
        palette.setColor(QPalette::Base, bg);
        q->setAutoFillBackground(true);
    }
    q->setPalette(palette);
    bool visible = widget->is_shown();
    if (widget->parent() != nullptr && widget->parent()->is_class(GwTABBOOK_CLASS)) {
        visible = visible && static_cast<GwTabBook*>(widget->parent())->active_page() == widget;
    }
    if (q->isVisibleTo(q->parentWidget()) != visible || q->isHidden() == visible) q->setVisible(visible);
    if (widget->has_focus() && !q->hasFocus() && q->isVisible()) q->setFocus();
}

QRect Screen::Place(GwCore* widget, QWidget* q) const {
    QRect r = ToQRect(widget->rect());
    GwCore* parent = widget->parent();
    if (parent != nullptr && parent->is_class(GwTABBOOK_CLASS)) r.translate(0, kTabRowHeight);
    if (parent != nullptr && parent->is_class(GwDOCKINGCONTAINER_CLASS)) r.translate(Middle(parent));
    if (widget->is_class(GwMENUBAR_CLASS)) {
        // A menu bar spans its window and is as high as its titles need.
        const QWidget* host = q->parentWidget();
        if (host != nullptr) r.setWidth(std::max(r.width(), host->width() - r.x()));
        r.setHeight(std::max(r.height(), q->sizeHint().height()));
    } else if (widget->is_class(GwLABEL_CLASS) || widget->is_class(GwCHECK_CLASS) || widget->is_class(GwRADIO_CLASS) ||
               widget->is_class(GwTOGGLE_CLASS) || widget->is_class(GwPUSHBUTTON_CLASS) ||
               widget->is_class(GwCOMBO_CLASS)) {
        // A one-line text wider than its place on this screen's font gets
        // the width it needs.
        const auto* label = qobject_cast<const QLabel*>(q);
        const bool oneLine = r.height() < 2 * q->fontMetrics().lineSpacing();
        if (label == nullptr || (oneLine && label->pixmap().isNull()))
            r.setWidth(std::max(r.width(), q->sizeHint().width()));
        // A drop-down box's height in the definitions includes its open
        // list; closed, it is one line high.
        if (qobject_cast<const QComboBox*>(q) != nullptr) r.setHeight(std::min(r.height(), q->sizeHint().height()));
    }
    return r;
}

}  // namespace screen
