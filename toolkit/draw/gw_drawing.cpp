#include "toolkit/draw/gw_drawing.h"

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
    context_->set_size(dimension());
    return context_.get();
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
    if ((state() & GwSTATE_BIT_VISIBLE) != 0) expose();
}
