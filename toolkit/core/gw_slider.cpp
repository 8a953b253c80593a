#include "toolkit/core/gw_slider.h"

#include <algorithm>
#include <cmath>

#include "platform/base/format.h"
#include "toolkit/core/gw_definition.h"

double GwSlider::Clamp(double v) const {
    if (std::isnan(v)) return std::min(start_, end_);
    return std::clamp(v, std::min(start_, end_), std::max(start_, end_));
}

void GwSlider::set_start(double v) {
    start_ = v;
    value_ = Clamp(value_);
    notify(GwProperty::kRange);
}

void GwSlider::set_end(double v) {
    end_ = v;
    value_ = Clamp(value_);
    notify(GwProperty::kRange);
}

void GwSlider::set_value(double v) {
    if (!is_alive()) return;
    value_ = Clamp(v);
    notify(GwProperty::kValue);
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
    start_ = def.real("start", language, start_);
    end_ = def.real("end", language, end_);
    increment_ = def.real("increment", language, increment_);
    value_ = Clamp(def.real("value", language, start_));
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
