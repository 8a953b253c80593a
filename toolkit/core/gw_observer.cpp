#include "toolkit/core/gw_observer.h"

#include <algorithm>
#include <vector>

#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

struct Observers {
    std::vector<GwObserver*> attached;
    // Made but not yet announced; notifications about these are dropped
    // because the announcement tells the whole state. Never stale: a widget
    // is announced (or the list emptied by the last detach) before its
    // destruction is told, so plain pointers serve.

    std::vector<GwCore*> pending;
};

Observers& O() {
    static Observers observers;
    return observers;
}

bool IsPending(const GwCore* widget) {
    const auto& p = O().pending;
    return std::find(p.begin(), p.end(), widget) != p.end();
}

// Observers may attach or detach others while being told: walk a copy.
template <typename Fn>
void Tell(Fn fn) {
    std::vector<GwObserver*> now = O().attached;
    for (GwObserver* o : now)
        if (std::find(O().attached.begin(), O().attached.end(), o) != O().attached.end()) fn(o);
}

// Announces what was made before telling anything about `about`.
bool Prepare(const GwCore* about) {
    if (O().attached.empty()) return false;
    if (about != nullptr && IsPending(about)) return false;
    GwAnnounceCreatedWidgets();
    return true;
}

}  // namespace

const char* GwPropertyName(GwProperty property) {
    switch (property) {
        case GwProperty::kText:
            return "text";
        case GwProperty::kShown:
            return "shown";
        case GwProperty::kEnabled:
            return "enabled";
        case GwProperty::kFocus:
            return "focus";
        case GwProperty::kRect:
            return "rect";
        case GwProperty::kChecked:
            return "checked";
        case GwProperty::kValue:
            return "value";
        case GwProperty::kRange:
            return "range";
        case GwProperty::kBitmap:
            return "bitmap";
        case GwProperty::kFont:
            return "font";
        case GwProperty::kColour:
            return "colour";
        case GwProperty::kReadOnly:
            return "read-only";
        case GwProperty::kToolTip:
            return "tool tip";
        case GwProperty::kTitle:
            return "title";
        case GwProperty::kSelection:
            return "selection";
        case GwProperty::kFrameState:
            return "frame state";
        case GwProperty::kIcon:
            return "icon";
        case GwProperty::kWaiting:
            return "waiting";
        case GwProperty::kPlacement:
            return "placement";
        case GwProperty::kFirstVisible:
            return "first visible";
        case GwProperty::kParent:
            return "parent";
        case GwProperty::kStacking:
            return "stacking";
        case GwProperty::kCursor:
            return "cursor";
        case GwProperty::kMedia:
            return "media";
        case GwProperty::kHelpText:
            return "help text";
    }
    return "?";
}

const char* GwContentKindName(GwContentKind kind) {
    switch (kind) {
        case GwContentKind::kRowsAdded:
            return "rows added";
        case GwContentKind::kRowsRemoved:
            return "rows removed";
        case GwContentKind::kRowsChanged:
            return "rows changed";
        case GwContentKind::kCleared:
            return "cleared";
        case GwContentKind::kCellSet:
            return "cell set";
        case GwContentKind::kTableResized:
            return "table resized";
        case GwContentKind::kEntryAdded:
            return "entry added";
        case GwContentKind::kEntryRemoved:
            return "entry removed";
        case GwContentKind::kEntryExpanded:
            return "entry expanded";
        case GwContentKind::kEntrySelected:
            return "entry selected";
        case GwContentKind::kEntriesReplaced:
            return "entries replaced";
        case GwContentKind::kPagesChanged:
            return "pages changed";
    }
    return "?";
}

void GwAttachObserver(GwObserver* observer) {
    auto& a = O().attached;
    if (observer != nullptr && std::find(a.begin(), a.end(), observer) == a.end()) a.push_back(observer);
}

void GwDetachObserver(GwObserver* observer) {
    auto& a = O().attached;
    a.erase(std::remove(a.begin(), a.end(), observer), a.end());
    if (a.empty()) O().pending.clear();
}

bool GwHasObservers() { return !O().attached.empty(); }

void GwNotifyCreated(GwCore* widget) {
    if (!O().attached.empty()) O().pending.push_back(widget);
}

void GwAnnounceCreatedWidgets() {
    auto& pending = O().pending;
    while (!pending.empty()) {
        GwCore* w = pending.front();
        pending.erase(pending.begin());
        if (GwWidgetStore::Get().IsLive(w)) Tell([w](GwObserver* o) { o->WidgetCreated(w); });
    }
}

void GwNotifyDestroyed(GwCore* widget) {
    if (O().attached.empty()) return;
    GwAnnounceCreatedWidgets();
    Tell([widget](GwObserver* o) { o->WidgetDestroyed(widget); });
}

void GwNotifyProperty(GwCore* widget, GwProperty property) {
    if (Prepare(widget)) Tell([&](GwObserver* o) { o->PropertyChanged(widget, property); });
}

void GwNotifyContent(GwCore* widget, const GwContentChange& change) {
    if (Prepare(widget)) Tell([&](GwObserver* o) { o->ContentChanged(widget, change); });
}

void GwNotifyDrawing(GwCore* widget) {
    if (Prepare(widget)) Tell([&](GwObserver* o) { o->DrawingChanged(widget); });
}

// Effect lines name widgets by identifier and may come from a constructor,
// so they announce nothing.
void GwNotifyEffect(const std::string& what, const std::string& widget, const std::string& value) {
    if (O().attached.empty()) return;
    GwEffect effect{what, widget, value};
    Tell([&](GwObserver* o) { o->EffectNoted(effect); });
}

void GwNotifyBox(const GwBoxRecord& box) {
    Tell([&](GwObserver* o) { o->BoxShown(box); });
}

void GwNotifyFileSelector(const GwFileRequest& request) {
    Tell([&](GwObserver* o) { o->FileSelectorShown(request); });
}

void GwNotifyDocument(const GwPrintDocument& document) {
    Tell([&](GwObserver* o) { o->DocumentPrinted(document); });
}
