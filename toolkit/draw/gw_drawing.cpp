#include "toolkit/draw/gw_drawing.h"

#include "toolkit/core/gw_kind.h"

namespace {

const bool g_registered = [] {
    GwSetKindFactory(GwDRAWING_CLASS, [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwDrawing(n, p); });
    return true;
}();

}  // namespace

GwDrawing::GwDrawing(const std::string& name, GwCore* parent)
    : GwCore(GwDRAWING_CLASS, name, parent), context_(std::make_unique<GwDeviceContext>(kGwScreenDpi, dimension())) {}

GwDeviceContext* GwDrawing::device_context() {
    context_->set_size(dimension());
    return context_.get();
}
