// Docking frames: attached ones lie in the docking areas along the edges of
// their docking container (the main window's work area), each with a caption
// row; a floating one is a tool window of the main window. The container's
// other children keep the middle.
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "renderer/screen_renderer.h"
#include "renderer/screen_text.h"
#include "renderer/screen_views.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"

namespace screen {
namespace {

constexpr int kCaptionHeight = 18;

GwCore* ContainerOf(GwCore* dockingFrame) {
    GwCore* region = dockingFrame->parent();
    if (region != nullptr && region->is_class(GwDOCKINGREGION_CLASS)) return region->parent();
    return region;
}

int RegionOf(GwCore* dockingFrame) {
    auto* region = dynamic_cast<GwDockingRegion*>(dockingFrame->parent());
    return region != nullptr ? region->number() : GwDOCK_LEFT;
}

// What the pane shows as its caption: its text, else its title.
QString Caption(const GwCore* widget) { return ToScreen(!widget->text().empty() ? widget->text() : widget->title()); }

}  // namespace

QWidget* Screen::CreateDockingFrame(GwCore* widget) {
    GwCore* container = ContainerOf(widget);
    const Shown* host = container != nullptr ? Find(container) : nullptr;
    auto* frame = new FrameWindow(widget, host != nullptr ? host->widget.data() : nullptr);
    frame->setWindowFlags(Qt::Widget);
    // Opaque, with a frame line, so a pane never lets the work area show
    // through (nor lies unseen over it).
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    frame->setAutoFillBackground(true);
    auto* caption = new QLabel(frame);
    caption->setObjectName("caption");
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Mid);
    caption->setIndent(4);
    auto* floatButton = new QToolButton(frame);
    floatButton->setObjectName("float");
    floatButton->setAutoRaise(true);
    auto* closeButton = new QToolButton(frame);
    closeButton->setObjectName("close");
    closeButton->setAutoRaise(true);
    closeButton->setText(QString::fromUtf8("\u00d7"));
    auto* client = new QWidget(frame);
    client->setObjectName("client");
    return frame;
}

void Screen::SyncDockingFrame(GwCore* widget, QWidget* q) {
    auto* frame = static_cast<GwDockingFrame*>(widget);
    const bool floating = !frame->is_attached();
    GwCore* container = ContainerOf(widget);
    if (floating) {
        // A window of its own above the main window.
        GwCore* owner = container != nullptr ? container->frame() : nullptr;
        const Shown* ownerShown = owner != nullptr ? Find(owner) : nullptr;
        QWidget* parent = ownerShown != nullptr ? ownerShown->widget.data() : nullptr;
        if (!q->isWindow() || q->parentWidget() != parent) q->setParent(parent, Qt::Tool);
        const QRect r = QRect(frame->standalone_rect().x,
                              frame->standalone_rect().y,
                              std::max(frame->standalone_rect().width, 40),
                              std::max(frame->standalone_rect().height, 40));
        if (q->geometry() != r) q->setGeometry(r);
    } else {
        const Shown* host = container != nullptr ? Find(container) : nullptr;
        QWidget* parent = host != nullptr ? host->widget.data() : nullptr;
        if (q->isWindow() || q->parentWidget() != parent) q->setParent(parent, Qt::Widget);
    }
    q->setWindowTitle(Caption(widget));
    q->setEnabled(widget->is_enabled());
    if (auto* caption = q->findChild<QLabel*>("caption", Qt::FindDirectChildrenOnly)) {
        caption->setText(Caption(widget));
        caption->setVisible(!floating);
    }
    if (auto* dock = q->findChild<QToolButton*>("float", Qt::FindDirectChildrenOnly)) {
        dock->setText(QString::fromUtf8(floating ? "\u25bc" : "\u25b2"));
        dock->setToolTip(floating ? "Dock" : "Float");
        dock->setVisible(!floating);
    }
    if (auto* close = q->findChild<QToolButton*>("close", Qt::FindDirectChildrenOnly)) close->setVisible(!floating);
    if (q->isVisible() != widget->is_shown()) q->setVisible(widget->is_shown());
    if (container != nullptr) LayoutDockingAreas(container);
    if (floating) PlaceDockingContent(widget);
}

void Screen::PlaceDockingContent(GwCore* widget) {
    const Shown* shown = Find(widget);
    if (shown == nullptr || !shown->widget) return;
    QWidget* q = shown->widget;
    const bool floating = q->isWindow();
    const int top = floating ? 0 : kCaptionHeight;
    const int width = q->width();
    if (auto* caption = q->findChild<QLabel*>("caption", Qt::FindDirectChildrenOnly))
        caption->setGeometry(0, 0, width, kCaptionHeight);
    if (auto* dock = q->findChild<QToolButton*>("float", Qt::FindDirectChildrenOnly)) {
        dock->setGeometry(width - 2 * kCaptionHeight, 0, kCaptionHeight, kCaptionHeight);
        dock->raise();
    }
    if (auto* close = q->findChild<QToolButton*>("close", Qt::FindDirectChildrenOnly)) {
        close->setGeometry(width - kCaptionHeight, 0, kCaptionHeight, kCaptionHeight);
        close->raise();
    }
    if (shown->inner) shown->inner->setGeometry(0, top, width, std::max(q->height() - top, 0));
}

void Screen::LayoutDockingAreas(GwCore* container) {
    const Shown* host = Find(container);
    if (host == nullptr || !host->widget) return;
    // The shown, attached panes of each region, in the order of their
    // attached rectangles along the edge.
    std::map<int, std::vector<GwDockingFrame*>> regions;
    for (GwCore* region : container->children()) {
        if (!region->is_class(GwDOCKINGREGION_CLASS)) continue;
        for (GwCore* child : region->children()) {
            auto* frame = dynamic_cast<GwDockingFrame*>(child);
            if (frame != nullptr && frame->is_alive() && frame->is_shown() && frame->is_attached())
                regions[RegionOf(frame)].push_back(frame);
        }
    }
    // The areas start below the menu bar and toolbars that the frame lays
    // over the top of its work area.
    QRect free(QPoint(0, 0), host->widget->size());
    const QRect hostRect = host->widget->geometry();
    if (GwCore* parent = container->parent()) {
        for (GwCore* sibling : parent->children()) {
            if (!sibling->is_shown() || !(sibling->is_class(GwMENUBAR_CLASS) || sibling->is_class(GwTOOLBAR_CLASS)))
                continue;
            const Shown* bar = Find(sibling);
            if (bar == nullptr || !bar->widget) continue;
            const QRect r = bar->widget->geometry();
            if (r.intersects(hostRect)) free.setTop(std::max(free.top(), r.bottom() + 1 - hostRect.top()));
        }
    }
    // Top and bottom areas span the container; left and right take what stays.
    for (int number : {GwDOCK_TOP, GwDOCK_BOTTOM, GwDOCK_LEFT, GwDOCK_RIGHT}) {
        std::vector<GwDockingFrame*>& frames = regions[number];
        if (frames.empty()) continue;
        const bool vertical = number == GwDOCK_LEFT || number == GwDOCK_RIGHT;
        std::stable_sort(frames.begin(), frames.end(), [vertical](GwDockingFrame* a, GwDockingFrame* b) {
            return vertical ? a->attached_rect().y < b->attached_rect().y : a->attached_rect().x < b->attached_rect().x;
        });
        // The area is as thick as its thickest pane; its panes share its
        // length after their sizes.
        int thickness = 0;
        int wanted = 0;
        for (GwDockingFrame* f : frames) {
            const GwRect r = f->attached_rect();
            thickness = std::max(thickness, vertical ? r.width : r.height + kCaptionHeight);
            wanted += std::max(vertical ? r.height + kCaptionHeight : r.width, 1);
        }
        const int length = vertical ? free.height() : free.width();
        thickness = std::min(thickness, (vertical ? free.width() : free.height()) / 2);
        int at = 0;
        for (size_t i = 0; i < frames.size(); ++i) {
            const GwRect r = frames[i]->attached_rect();
            const int own = std::max(vertical ? r.height + kCaptionHeight : r.width, 1);
            const int size =
                i + 1 == frames.size() ? length - at : static_cast<int>(static_cast<long long>(own) * length / wanted);
            QRect place;
            if (number == GwDOCK_LEFT) place = QRect(free.left(), free.top() + at, thickness, size);
            if (number == GwDOCK_RIGHT) place = QRect(free.right() + 1 - thickness, free.top() + at, thickness, size);
            if (number == GwDOCK_TOP) place = QRect(free.left() + at, free.top(), size, thickness);
            if (number == GwDOCK_BOTTOM)
                place = QRect(free.left() + at, free.bottom() + 1 - thickness, size, thickness);
            at += size;
            const Shown* shown = Find(frames[i]);
            if (shown == nullptr || !shown->widget) continue;
            if (shown->widget->geometry() != place) shown->widget->setGeometry(place);
            shown->widget->raise();
            PlaceDockingContent(frames[i]);
        }
        if (number == GwDOCK_TOP) free.setTop(free.top() + thickness);
        if (number == GwDOCK_BOTTOM) free.setBottom(free.bottom() - thickness);
        if (number == GwDOCK_LEFT) free.setLeft(free.left() + thickness);
        if (number == GwDOCK_RIGHT) free.setRight(free.right() - thickness);
    }
    // The container's own children lie in the middle.
    const QPoint middle = free.topLeft();
    if (middles_[container] != middle) {
        middles_[container] = middle;
        for (GwCore* child : container->children()) Sync(child);
    }
}

QPoint Screen::Middle(const GwCore* container) const {
    auto it = middles_.find(const_cast<GwCore*>(container));
    return it != middles_.end() ? it->second : QPoint();
}

}  // namespace screen
