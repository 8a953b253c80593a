#include "toolkit/docking/gw_docking.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

constexpr int kRegionNumbers[] = {GwDOCK_TOP, GwDOCK_BOTTOM, GwDOCK_LEFT, GwDOCK_RIGHT};

const bool g_registered = [] {
    GwSetKindFactory(GwDOCKINGCONTAINER_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwDockingContainer(n, p); });
    GwSetKindFactory(GwDOCKINGFRAME_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwDockingFrame(n, p); });
    return true;
}();

}  // namespace

std::string GwDockingRegionName(int number) { return "GwDockingRegion" + std::to_string(number); }

GwDockingRegion::GwDockingRegion(int number, GwCore* container)
    : GwContainer(GwDockingRegionName(number), container, GwRect{0, 0, 10, 10}, GwDOCKINGREGION_CLASS),
      number_(number) {
    set_border(false);
}

bool GwDockingContainer::is_region_number(int number) {
    for (int n : kRegionNumbers)
        if (n == number) return true;
    return false;
}

GwDockingContainer::GwDockingContainer(const std::string& name, GwCore* parent, const GwRect& rect)
    : GwContainer(name, parent, rect, GwDOCKINGCONTAINER_CLASS) {
    for (int n : kRegionNumbers) new GwDockingRegion(n, this);
}

GwDockingRegion* GwDockingContainer::region(int number) const {
    if (!is_region_number(number)) return nullptr;
    for (GwCore* c : children()) {
        auto* r = dynamic_cast<GwDockingRegion*>(c);
        if (r != nullptr && r->is_alive() && r->number() == number) return r;
    }
    return nullptr;
}

GwDockingFrame::GwDockingFrame(GwCore* region, const std::string& name, const GwRect& rect)
    : GwCore(GwDOCKINGFRAME_CLASS, name, region), attached_rect_(rect), standalone_rect_(rect) {
    if (auto* r = dynamic_cast<GwDockingRegion*>(parent())) placement_ = r->number();
    hide();
    set_rect(rect);
}

GwDockingFrame::GwDockingFrame(const std::string& name, GwCore* parent) : GwCore(GwDOCKINGFRAME_CLASS, name, parent) {
    if (auto* r = dynamic_cast<GwDockingRegion*>(this->parent())) placement_ = r->number();
}

GwCore* GwDockingFrame::copy(const GwCore* content) {
    if (content == nullptr || !is_alive()) return nullptr;
    return content->copy_to(this);
}

void GwDockingFrame::FollowState() { set_rect(attached_ ? attached_rect_ : standalone_rect_); }

void GwDockingFrame::set_placement(int placement) {
    if (!is_alive()) return;
    placement_ = placement;
    // A region number docks the frame in that region of its container.
    auto* region = dynamic_cast<GwDockingRegion*>(parent());
    auto* container = region != nullptr ? dynamic_cast<GwDockingContainer*>(region->parent()) : nullptr;
    GwDockingRegion* target = container != nullptr ? container->region(placement) : nullptr;
    if (target != nullptr && target != region) {
        auto& store = GwWidgetStore::Get();
        store.Detach(this);
        store.Adopt(this, target);
    }
    notify(GwProperty::kPlacement);
    record("placement", std::to_string(placement));
}

void GwDockingFrame::set_attached_rect(const GwRect& rect) {
    attached_rect_ = rect;
    if (attached_) FollowState();
}

void GwDockingFrame::set_standalone_rect(const GwRect& rect) {
    standalone_rect_ = rect;
    if (!attached_) FollowState();
}

void GwDockingFrame::set_attached(bool attached) {
    attached_ = attached;
    FollowState();
}

void GwDockingFrame::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    splitter_ = def.flag("splitter", language, splitter_);
    attached_rect_ = standalone_rect_ = rect();
}

void GwDockingFrame::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* f = dynamic_cast<GwDockingFrame*>(copy)) {
        f->splitter_ = splitter_;
        f->placement_ = placement_;
        f->attached_rect_ = attached_rect_;
        f->standalone_rect_ = standalone_rect_;
        f->alignment_ = alignment_;
        f->attached_ = attached_;
    }
}
