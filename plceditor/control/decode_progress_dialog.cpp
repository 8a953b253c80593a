#include "plceditor/control/decode_progress_dialog.h"

#include <string>

#include "plceditor/control/sindel_strings.h"
#include "plceditor/control/translation_lines.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

void DecodeProgressDialog::Run(GwCore* owner, std::function<int()> prepare, std::function<bool()> step) {
    prepare_ = std::move(prepare);
    step_ = std::move(step);
    done_ = false;
    window_ = new GwDialogFrame(kWindowName, owner, true);
    (new GwLabel("Text", window_))->set_text(std::string(LoadString(ids::kDecodeProgress)));
    bar_ = new GwSlider("Progress", window_, GwPROGRESS_CLASS);
    window_->set_callback(GwCB_TIMER, &DecodeProgressDialog::OnTimer, GwUD(static_cast<void*>(this)));
    window_->start_timer(kStartDelayMs);
    window_->go();
    window_->destroy();
    window_ = nullptr;
    bar_ = nullptr;
    if (!done_) Work();
}

int DecodeProgressDialog::OnTimer(GwCore*, GwEvent*, GwUD ud) {
    auto* self = ud.pointer_as<DecodeProgressDialog>();
    self->window_->stop_timer();
    self->Work();
    self->window_->end_modal(GwRESULT_OK);
    return 1;
}

void DecodeProgressDialog::Work() {
    done_ = true;
    const int steps = prepare_();
    if (bar_ != nullptr) {
        bar_->set_start(0);
        bar_->set_end(steps);
        bar_->reset();
    }
    while (step_()) {
        if (bar_ != nullptr) bar_->set_value(bar_->value() + 1);
    }
}

}  // namespace sindel
