// Sliders, gauges and progress bars: the model's value between its start
// and end as steps of a Qt slider or bar; a move of the slider is the
// model's move.
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <cmath>

#include "renderer/adapters/adapters.h"
#include "renderer/screen_act.h"
#include "toolkit/core/gw_slider.h"

namespace screen {
namespace {

constexpr int kSliderSteps = 1000;

int ToSteps(const GwSlider* s, double value) {
    const double span = s->end() - s->start();
    if (span == 0) return 0;
    return static_cast<int>(std::lround((value - s->start()) / span * kSliderSteps));
}

double FromSteps(const GwSlider* s, int steps) { return s->start() + (s->end() - s->start()) * steps / kSliderSteps; }

class SliderAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore* widget, QWidget* parent) const override {
        auto* slider = new QSlider(widget->width() >= widget->height() ? Qt::Horizontal : Qt::Vertical, parent);
        slider->setRange(0, kSliderSteps);
        return slider;
    }
    void Connect(GwCore* widget, QWidget* q) const override {
        auto* s = static_cast<QSlider*>(q);
        auto* slider = static_cast<GwSlider*>(widget);
        QObject::connect(s, &QSlider::sliderMoved, [slider = GwRef(slider)](int steps) {
            Act(slider, [&] { slider->move_to(FromSteps(slider, steps)); });
        });
        QObject::connect(s, &QSlider::actionTriggered, [s, slider = GwRef(slider)](int action) {
            if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
            // The slider's value is its new one once the action is done.
            QTimer::singleShot(0, s, [s, slider = GwRef(slider)] {
                Act(slider, [&] { slider->move_to(FromSteps(slider, s->value())); });
                if (slider != nullptr) Screen::Instance()->Sync(slider);
            });
        });
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        auto* slider = static_cast<GwSlider*>(widget);
        static_cast<QSlider*>(q)->setValue(ToSteps(slider, slider->value()));
    }
};

class GaugeAdapterImpl : public Adapter {
public:
    QWidget* Create(GwCore*, QWidget* parent) const override {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, kSliderSteps);
        bar->setTextVisible(false);
        return bar;
    }
    void Sync(GwCore* widget, QWidget* q) const override {
        if (auto* slider = dynamic_cast<GwSlider*>(widget))
            static_cast<QProgressBar*>(q)->setValue(ToSteps(slider, slider->value()));
    }
};

}  // namespace

const Adapter& SliderAdapter() { return AdapterInstance<SliderAdapterImpl>(); }

const Adapter& GaugeAdapter() { return AdapterInstance<GaugeAdapterImpl>(); }

}  // namespace screen
