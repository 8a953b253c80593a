#include "scope/plot/zoom_dialog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "scope/plot/main_message.h"
#include "scope/plot/plot_state.h"
#include "scope/plot/plot_view.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_label.h"

namespace {

enum : int {
    kXAxisCaption = 2700,
    kLeftAxisCaption = 2701,
    kRightAxisCaption = 2702,
    kCancelCaption = 2703,
    kResetCaption = 2704,
    kMinimumCaption = 2705,
    kMaximumCaption = 2706,
};

// A range narrower than this share of the auto-scale span is widened.
constexpr double kLeastZoomShare = 0.05;
constexpr int kGroupHeight = 105;

std::string FieldText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%lf", value);
    return text;
}

GwPushButton* Button(GwCore* parent, const char* name, const std::string& text, GwRect rect,
                     std::function<int()> handler) {
    auto* button = new GwPushButton(name, parent);
    button->set_text(text);
    button->set_rect(rect);
    button->bind(GwCB_ACTIVATE, [handler = std::move(handler)](GwCore*, GwEvent*) { return handler(); });
    return button;
}

}  // namespace

MainContainer::MainContainer(GwCore* parent, PlotData* plot, PlotView* view)
    : GwContainer("ZoomMainContainer", parent, GwRect{0, 0, 400, 384}), plot_(plot), view_(view) {
    set_border(false);
    set_shadow(false);
}

void MainContainer::AxisGroup(const char* name, int caption, int top, const char* minName, const char* maxName,
                              int (MainContainer::*autoScale)()) {
    auto* group = new GwContainer(name, this, GwRect{10, top, 380, kGroupHeight - 10});
    auto* title = new GwLabel(std::string(name) + "Caption", group);
    title->set_text(MainMessageCaption(caption));
    title->set_rect({10, 5, 360, 20});
    auto* minLabel = new GwLabel(std::string(minName) + "Label", group);
    minLabel->set_text(MainMessageCaption(kMinimumCaption));
    minLabel->set_rect({10, 30, 80, 20});
    auto* maxLabel = new GwLabel(std::string(maxName) + "Label", group);
    maxLabel->set_text(MainMessageCaption(kMaximumCaption));
    maxLabel->set_rect({10, 60, 80, 20});
    for (const char* field : {minName, maxName}) {
        auto* edit = new GwFormatEdit(field, group);
        edit->set_format_type(GwFORMAT_DECIMAL);
        edit->set_rect({100, field == minName ? 30 : 60, 150, 22});
    }
    Button(group, "Auto&scale", "Auto&scale", {270, 45, 100, 25}, [this, autoScale] { return (this->*autoScale)(); });
}

void MainContainer::OnCreate() {
    AxisGroup("PWZoomXAxis", kXAxisCaption, 10, "PWZxMin", "PWZxMax", &MainContainer::AutoScaleX);
    AxisGroup(
        "PWZoomLyAxis", kLeftAxisCaption, 10 + kGroupHeight, "PWZlyMin", "PWZlyMax", &MainContainer::AutoScaleLeft);
    AxisGroup("PWZoomRyAxis",
              kRightAxisCaption,
              10 + 2 * kGroupHeight,
              "PWZryMin",
              "PWZryMax",
              &MainContainer::AutoScaleRight);
    const int buttons = 10 + 3 * kGroupHeight + 10;
    Button(this, "&Ok", "&Ok", {10, buttons, 120, 28}, [this] { return Apply(); });
    Button(
        this, "PWZoomCancel", MainMessageCaption(kCancelCaption), {140, buttons, 120, 28}, [this] { return Cancel(); });
    Button(
        this, "PWZoomReset", MainMessageCaption(kResetCaption), {270, buttons, 120, 28}, [this] { return ResetAll(); });
    FillFields();
}

void MainContainer::SetField(const char* name, const std::string& text) {
    if (GwCore* field = child(name)) field->set_text(text);
}

void MainContainer::FillFields() {
    if (!Refresh()) return;
    if (plot_->Mode <= 0) {
        plot_->HomeX = plot_->ViewX;
        plot_->HomeLeft = plot_->ViewLeft;
        if (plot_->HasRightChannels()) plot_->HomeRight = plot_->ViewRight;
    }
    SetField("PWZxMin", FieldText(plot_->ViewX.Min));
    SetField("PWZxMax", FieldText(plot_->ViewX.Max));
    SetField("PWZlyMin", FieldText(plot_->ViewLeft.Min));
    SetField("PWZlyMax", FieldText(plot_->ViewLeft.Max));
    const bool right = plot_->HasRightChannels();
    SetField("PWZryMin", right ? FieldText(plot_->ViewRight.Min) : "");
    SetField("PWZryMax", right ? FieldText(plot_->ViewRight.Max) : "");
}

bool MainContainer::TakeAxis(const char* minName, const char* maxName, AxisRange* view, const AxisRange& autoRange) {
    const double min = std::atof(child(minName)->text().c_str());
    double max = std::atof(child(maxName)->text().c_str());
    if (!std::isfinite(min) || !std::isfinite(max) || min >= max) return false;
    const double least = (autoRange.Max - autoRange.Min) * kLeastZoomShare;
    if (max - min < least) max = min + least;
    *view = {min, max};
    return true;
}

int MainContainer::Apply() {
    if (!Refresh()) return Cancel();
    if (!TakeAxis("PWZxMin", "PWZxMax", &plot_->ViewX, plot_->AutoX)) return 1;
    if (!TakeAxis("PWZlyMin", "PWZlyMax", &plot_->ViewLeft, plot_->AutoLeft)) return 1;
    if (plot_->HasRightChannels() && !TakeAxis("PWZryMin", "PWZryMax", &plot_->ViewRight, plot_->AutoRight)) {
        return 1;
    }
    plot_->Mode = AxisModeAfterZoom(plot_->Mode, IsZoomed());
    frame()->end_modal(GwRESULT_OK);
    frame()->hide();
    view_->FreeCurves();
    RedrawPlotWindow();
    return 1;
}

// A recording handed over while the dialog is open replaces the plot; the
// dialog then works on the new one (or closes when the window went).
bool MainContainer::Refresh() {
    plot_ = GetPlotData();
    view_ = GetPlotView();
    return plot_ != nullptr && view_ != nullptr;
}

int MainContainer::Cancel() {
    frame()->end_modal(GwRESULT_CANCEL);
    frame()->hide();
    return 1;
}

bool MainContainer::IsZoomed() const {
    return plot_->ViewX != plot_->HomeX || plot_->ViewLeft != plot_->HomeLeft ||
           (plot_->HasRightChannels() && plot_->ViewRight != plot_->HomeRight);
}

int MainContainer::ResetAll() {
    if (!Refresh()) return Cancel();
    plot_->ViewX = plot_->AutoX;
    plot_->ViewLeft = plot_->AutoLeft;
    if (plot_->HasRightChannels()) plot_->ViewRight = plot_->AutoRight;
    FillFields();
    view_->XDivisions = view_->YDivisions = 10;
    plot_->Mode = AxisModeAfterZoomReset(plot_->Mode);
    return 1;
}

int MainContainer::AutoScaleX() {
    if (!Refresh()) return Cancel();
    plot_->ViewX = plot_->AutoX;
    FillFields();
    return 1;
}

int MainContainer::AutoScaleLeft() {
    if (!Refresh()) return Cancel();
    plot_->ViewLeft = plot_->AutoLeft;
    FillFields();
    return 1;
}

int MainContainer::AutoScaleRight() {
    if (!Refresh()) return Cancel();
    plot_->ViewRight = plot_->AutoRight;
    FillFields();
    return 1;
}

Zoom::Zoom(GwCore* parent, PlotData* plot, PlotView* view) : GwDialogFrame("Zoom", parent, true, "Zoom") {
    new MainContainer(this, plot, view);
}
