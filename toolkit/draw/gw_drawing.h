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

    // --- a picture larger than the widget ----------------------------------------
    // The size of the picture the expose draws (the device context's size);
    // empty (the default) = the widget's size. A picture wider or taller
    // than the widget scrolls: the widget shows the part from the scroll
    // position on, and a renderer gives it scroll bars.
    void set_picture_size(GwDimension size);
    GwDimension picture_size() const;
    // How far the picture can scroll: its size beyond the widget's (0, 0 when
    // it fits).
    GwDimension scroll_range() const;
    GwPosition scroll_position() const { return scroll_; }
    // The user scrolls the picture so that `at` comes to the widget's top
    // left corner (clamped to the range); observers are told of a move. False
    // when the widget cannot be used (hidden, disabled, destroyed).
    bool user_scroll(GwPosition at);

protected:
    ~GwDrawing() override = default;
    void OnFirstShown() override { expose(); }
    void OnResized() override;

private:
    void ClampScroll();

    std::unique_ptr<GwDeviceContext> context_;
    GwDimension picture_{0, 0};
    GwPosition scroll_{0, 0};
    bool in_expose_ = false;
    int exposes_ = 0;
};
