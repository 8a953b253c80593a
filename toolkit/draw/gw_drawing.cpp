#include "toolkit/draw/gw_drawing.h"

#include <algorithm>

#include "toolkit/core/gw_kind.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

const bool g_registered = [] {
    GwSetKindFactory(GwDRAWING_CLASS,
                     [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwDrawing(n, p); });
    return true;
}();

}  // namespace

GwDrawing::GwDrawing(const std::string& name, GwCore* parent)
    : GwCore(GwDRAWING_CLASS, name, parent), context_(std::make_unique<GwDeviceContext>(kGwScreenDpi, dimension())) {
    // A bracket drawn inside an expose belongs to the expose's picture.
    context_->set_picture_listener([this] {
        if (!in_expose_) GwNotifyDrawing(this);
    });
}

GwDeviceContext* GwDrawing::device_context() {
    context_->set_size(picture_size());
    return context_.get();
}

void GwDrawing::set_picture_size(GwDimension size) {
    const GwDimension before = picture_;
    picture_ = {std::max(size.width, 0), std::max(size.height, 0)};
    if (picture_.width == 0 || picture_.height == 0) picture_ = {0, 0};
    context_->set_size(picture_size());
    ClampScroll();
    if (!(before == picture_)) notify(GwProperty::kRange);
}

GwDimension GwDrawing::picture_size() const {
    return picture_.width > 0 && picture_.height > 0 ? picture_ : dimension();
}

GwDimension GwDrawing::scroll_range() const {
    const GwDimension picture = picture_size();
    const GwDimension shown = dimension();
    return {std::max(picture.width - shown.width, 0), std::max(picture.height - shown.height, 0)};
}

void GwDrawing::ClampScroll() {
    const GwDimension range = scroll_range();
    scroll_ = {std::clamp(scroll_.x, 0, range.width), std::clamp(scroll_.y, 0, range.height)};
}

bool GwDrawing::user_scroll(GwPosition at) {
    if (!is_alive() || (state() & GwSTATE_BIT_VISIBLE) == 0 || !is_enabled()) return false;
    const GwPosition before = scroll_;
    scroll_ = at;
    ClampScroll();
    if (!(before == scroll_)) notify(GwProperty::kFirstVisible);
    return true;
}

void GwDrawing::expose() {
    if (!is_alive() || in_expose_) return;
    GwDispatchGuard guard;
    device_context()->clear();
    ++exposes_;
    in_expose_ = true;
    GwEvent ev;
    fire(GwCB_EXPOSE, ev);
    in_expose_ = false;
    if (is_alive()) GwNotifyDrawing(this);
}

void GwDrawing::invalidate() {
    if ((state() & GwSTATE_BIT_VISIBLE) != 0) expose();
}

void GwDrawing::OnResized() {
    ClampScroll();
    if ((state() & GwSTATE_BIT_VISIBLE) != 0) expose();
}
