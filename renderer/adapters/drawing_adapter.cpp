// A drawing widget (renderer/screen_drawing.h): its pictures come through
// the observer's drawing notice; the picture's size (the model's range
// notice) and the scroll position (its first-visible notice) set the scroll
// bars and the part shown.
#include "renderer/adapters/adapters.h"
#include "renderer/screen_drawing.h"
#include "toolkit/draw/gw_drawing.h"

namespace screen {
namespace {

class DrawingAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        return new DrawingView(static_cast<GwDrawing*>(widget), parent);
    }
    void Sync(GwCore*, QWidget* q) const override { static_cast<DrawingView*>(q)->FollowScroll(); }
    void Scrolled(GwCore*, QWidget* q) const override { static_cast<DrawingView*>(q)->FollowScroll(); }
};

}  // namespace

const Adapter& DrawingAdapter() { return AdapterInstance<DrawingAdapterImpl>(); }

}  // namespace screen
