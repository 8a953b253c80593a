#include "service/firmware/transfer_progress.h"

#include "service/firmware/loader_console.h"
#include "toolkit/core/gw_slider.h"

namespace {

// Share of the range by which the value must move before the slider is set.
constexpr double kUpdateShare = 0.005;

GwSlider* SliderOf(LoaderConsole& console) { return dynamic_cast<GwSlider*>(console.Slider()); }

}  // namespace

void TransferProgress::SetRange(uint32_t maximum) {
    maximum_ = maximum;
    step_ = maximum * kUpdateShare;
    lastStep_ = 0;
    if (GwSlider* slider = SliderOf(console_)) {
        slider->set_start(0);
        slider->set_end(maximum);
        slider->set_value(0);
    }
}

void TransferProgress::SetValue(uint32_t value) {
    GwSlider* slider = SliderOf(console_);
    if (slider == nullptr) return;
    // An empty file has no step; every change of the value then counts.
    const int64_t current = step_ > 0.0 ? static_cast<int64_t>(value / step_) : int64_t{value};
    if (current == lastStep_) return;
    lastStep_ = current;
    slider->set_value(value);
    console_.ProcessEvents();
}

void TransferProgress::Fill() {
    if (GwSlider* slider = SliderOf(console_)) slider->set_value(maximum_);
}
