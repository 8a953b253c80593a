// The drawing widget (a drawing button, the drawing area of a preview or
// plot window, the oscilloscope's screen): a widget with a recording device
// context at screen resolution, whose size follows the widget's. It draws by
// exposes: the toolkit exposes it at its first show, after every resize and
// on invalidate(); a renderer exposes it when its window needs painting. An
// expose empties the context and fires the expose binding, so the picture
// holds only what that callback drew; a lock and unlock bracket drawn
// outside an expose is a picture too. Each new picture is told to the
// observers.
#pragma once

#include <memory>

#include "toolkit/core/gw_core.h"
#include "toolkit/draw/gw_device_context.h"

class GwDrawing : public GwCore {
public:
    GwDrawing(const std::string& name, GwCore* parent);

    // The widget's context, sized like the widget; it lives as long as the
    // widget's memory.
    GwDeviceContext* device_context();

    // A fresh picture: the context is emptied, then the expose binding
    // draws. Nothing happens for a destroyed widget.
    void expose();
    // Asks for a fresh picture; a shown drawing exposes at once, a hidden
    // one at its next first show or resize.
    void invalidate();
    int expose_count() const { return exposes_; }

protected:
    ~GwDrawing() override = default;
    void OnFirstShown() override { expose(); }
    void OnResized() override;

private:
    std::unique_ptr<GwDeviceContext> context_;
    bool in_expose_ = false;
    int exposes_ = 0;
};
