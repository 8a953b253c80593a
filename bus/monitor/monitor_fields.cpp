#include "bus/monitor/monitor_fields.h"

#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"

namespace monitor {

void SetFieldText(GwCore* window, const std::string& name, const std::string& text) {
    if (window == nullptr || !GwRcMgr::is_valid_child(window)) return;
    if (GwCore* field = window->child(name)) field->set_text(text);
}

void SetFieldValue(GwCore* window, const std::string& name, double value) {
    if (window == nullptr || !GwRcMgr::is_valid_child(window)) return;
    if (auto* field = dynamic_cast<GwSlider*>(window->child(name))) field->set_value(value);
}

GwCore* WindowOf(GwCore* widget) {
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return nullptr;
    return widget->frame();
}

uint32_t NowTick() { return platform::TheClock().Tick(); }

uint32_t CountSince(uint32_t now, uint32_t before) { return now >= before ? now - before : now; }

double PerSecond(uint32_t events, uint32_t elapsedMs) { return elapsedMs > 0 ? events * 1000.0 / elapsedMs : 0.0; }

}  // namespace monitor
