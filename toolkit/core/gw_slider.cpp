#include "toolkit/core/gw_slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/format.h"
#include "toolkit/core/gw_definition.h"

double GwSlider::Clamp(double v) const {
    if (std::isnan(v)) return std::min(start_, end_);
    return std::clamp(v, std::min(start_, end_), std::max(start_, end_));
}

void GwSlider::set_start(double v) {
    start_ = v;
    value_ = Clamp(value_);
}

void GwSlider::set_end(double v) {
    end_ = v;
    value_ = Clamp(value_);
}

void GwSlider::set_value(double v) {
    if (!is_alive()) return;
    value_ = Clamp(v);
    record("value", platform::Format("%g", value_));
}

bool GwSlider::move_to(double v) {
    if (!is_alive() || is_read_only() || !is_sensitive() || !is_visible()) return false;
    set_value(v);
    GwEvent ev;
    ev.dvalue = value_;
    fire(GwCB_CHANGE, ev);
    return true;
}

void GwSlider::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    auto number = [&](const char* name, double if_missing) {
        const GwAttribute* a = def.find(name, language);
        if (a == nullptr) return if_missing;
        char* end = nullptr;
        double v = std::strtod(a->values.front().c_str(), &end);
        return end != nullptr && *end == '\0' && std::isfinite(v) ? v : if_missing;
    };
    start_ = number("start", start_);
    end_ = number("end", end_);
    increment_ = number("increment", increment_);
    value_ = Clamp(number("value", start_));
}

void GwSlider::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* s = dynamic_cast<GwSlider*>(copy)) {
        s->start_ = start_;
        s->end_ = end_;
        s->increment_ = increment_;
        s->value_ = value_;
    }
}
