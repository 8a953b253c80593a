#include "service/download/firmld_progress.h"

#include "app/services/message_box.h"
#include "platform/base/reset_hooks.h"
#include "service/firmware/loader_console.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_slider.h"

namespace {

struct ProgressState {
    bool Finished = true;
};

ProgressState& State() {
    static ProgressState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

}  // namespace

bool FirmwareDownloadFinished() { return State().Finished; }

void SetFirmwareDownloadFinished(bool finished) { State().Finished = finished; }

int CB_ShowFirmldProgress(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame == nullptr) return 1;
    LoaderControls controls;
    controls.window = frame;
    controls.show = frame->child("Show");
    controls.state = frame->child("State");
    controls.slider = frame->child("Slider");
    if (controls.show != nullptr) controls.show->set_text("");
    if (controls.state != nullptr) controls.state->set_text("");
    if (auto* slider = dynamic_cast<GwSlider*>(controls.slider.get())) slider->set_value(0);
    TheLoaderConsole().SetControls(controls);
    return 1;
}

int CB_CloseFirmldProgress(GwCore* widget, GwEvent*, GwUD) {
    if (State().Finished) return 1;
    ShowInfoText(kDownloadNotInterruptibleText, widget != nullptr ? widget->frame() : nullptr);
    return 0;
}
