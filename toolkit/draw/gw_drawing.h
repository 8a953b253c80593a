// The drawing widget (a drawing button or the drawing area of a preview
// window): a widget with a recording device context at screen resolution,
// whose size follows the widget's.
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

protected:
    ~GwDrawing() override = default;

private:
    std::unique_ptr<GwDeviceContext> context_;
};
