#include "scope/plot/print_dialog.h"

#include "scope/plot/main_message.h"
#include "scope/plot/plot_view.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_label.h"
#include "toolkit/core/gw_toggle.h"

namespace {

enum : int {
    kTakeCaption = 2720,
    kCancelCaption = 2721,
    kFormatCaption = 2722,
    kPortraitCaption = 2723,
    kLandscapeCaption = 2724,
    kLabelCaption = 2725,
};

GwToggle* Toggle(GwCore* container, const char* name) { return container->child<GwToggle>(name); }

}  // namespace

PrintContainer::PrintContainer(GwCore* parent, PlotView* view)
    : GwContainer("PrintMainContainer", parent, GwRect{0, 0, 260, 160}), view_(view) {}

void PrintContainer::OnCreate() {
    auto* group = new GwContainer("PDFormat", this, GwRect{10, 10, 240, 80});
    group->set_text(MainMessageCaption(kFormatCaption));
    auto* portrait = new GwToggle("PDPortraitToggle", group);
    portrait->set_text(MainMessageCaption(kPortraitCaption));
    portrait->set_rect({10, 20, 220, 20});
    auto* landscape = new GwToggle("PDLandscapeToggle", group);
    landscape->set_text(MainMessageCaption(kLandscapeCaption));
    landscape->set_rect({10, 45, 220, 20});
    auto* label = new GwLabel("PDLabel", this);
    label->set_text(MainMessageCaption(kLabelCaption));
    label->set_rect({10, 95, 240, 20});
    auto* take = new GwPushButton("PDTake", this);
    take->set_text(MainMessageCaption(kTakeCaption));
    take->set_rect({10, 125, 110, 25});
    take->bind(GwCB_ACTIVATE, [this](GwCore*, GwEvent*) { return Take(); });
    auto* cancel = new GwPushButton("PDCancel", this);
    cancel->set_text(MainMessageCaption(kCancelCaption));
    cancel->set_rect({140, 125, 110, 25});
    cancel->bind(GwCB_ACTIVATE, [this](GwCore*, GwEvent*) { return Cancel(); });
    OnCreateHandler();
}

int PrintContainer::OnCreateHandler() {
    if (view_->Portrait == 1) {
        Toggle(this, "PDPortraitToggle")->set_checked(true);
    } else if (view_->Landscape == 1) {
        Toggle(this, "PDLandscapeToggle")->set_checked(true);
    }
    return 1;
}

int PrintContainer::Take() {
    if (Toggle(this, "PDPortraitToggle")->value() == 1) {
        view_->Portrait = 1;
        view_->Landscape = 0;
    } else if (Toggle(this, "PDLandscapeToggle")->value() == 1) {
        view_->Portrait = 0;
        view_->Landscape = 1;
    }
    frame()->end_modal(GwRESULT_OK);
    frame()->hide();
    return 1;
}

int PrintContainer::Cancel() {
    frame()->end_modal(GwRESULT_CANCEL);
    frame()->hide();
    return 1;
}

PrintDialog::PrintDialog(GwCore* parent, PlotView* view) : GwDialogFrame("Print", parent, true, "Print") {
    new PrintContainer(this, view);
}
