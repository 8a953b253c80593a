#include "motor/tuning/controller_adjust.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "app/services/message_box.h"
#include "devicewin/conditions.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/parameter_properties.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_changes.h"
#include "families/setup_context.h"
#include "motor/numerics/controller_settings.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/base/gw_string.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_slider.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kMissingWidgetMessage = 7;
// Factor a = 6 - 0.025 x stiffness.
constexpr double kFactorAtZeroStiffness = 6.0;
constexpr double kFactorPerStiffness = 0.025;
// The total inertia of a drive that gives none: twice the motor's.
constexpr double kTotalPerMotorInertia = 2.0;

const platform::ResetHook kResetAdjustState([] { TheControllerAdjustState() = ControllerAdjustState{}; });

// Reads the six values into `data` in their order; the first failure shows
// error 5 and leaves the rest as they are.
bool ReadAdjustValues(ControllerAdjustData& data, GwCore* parent) {
    struct Read {
        int number;
        double* into;
    } const reads[] = {
        {kRatedPowerParameter, &data.RatedPower},
        {kPolePairsParameter, &data.PolePairs},
        {kMotorInertiaParameter, &data.MotorInertia},
        {kTotalInertiaParameter, &data.TotalInertia},
        {kSpeedLoopDelayParameter, &data.SpeedLoopDelay},
        {kPositionLoopDelayParameter, &data.PositionLoopDelay},
    };
    for (const Read& read : reads) {
        if (data.Base->ReadValue(read.number, read.into) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, data.Base, parent);
            return false;
        }
    }
    return true;
}

}  // namespace

ControllerAdjustState& TheControllerAdjustState() {
    static ControllerAdjustState state;
    return state;
}

void RecalcSpeedController(GwCore* window) {
    DeviceSetupContext* context = window != nullptr ? DeviceContextOf(window) : nullptr;
    const std::optional<ControllerAdjustData>& data = TheControllerAdjustState().Data;
    if (context == nullptr || !data) return;
    GwCore* frame = window->frame();
    GwCore* filter = frame->frame_child(kFilterFieldName);
    GwCore* speedGain = frame->frame_child(kSpeedGainShownName);
    GwCore* speedReset = frame->frame_child(kSpeedResetShownName);
    GwCore* positionGain = frame->frame_child(kPositionGainShownName);
    GwCore* stiffness = frame->frame_child(kStiffnessFieldName);
    if (filter == nullptr || speedGain == nullptr || speedReset == nullptr || positionGain == nullptr ||
        stiffness == nullptr) {
        ShowErrorMessage(kMissingWidgetMessage, frame);
        return;
    }
    if (stiffness->text().empty() || filter->text().empty()) return;
    const double s = std::atof(stiffness->text().c_str());
    const double filterMs = std::atof(filter->text().c_str());
    const double motorInertia =
        data->MotorInertia != 0.0 ? data->MotorInertia : EstimateMotorInertia(data->RatedPower, data->PolePairs);
    const double totalInertia = data->TotalInertia != 0.0 ? data->TotalInertia : kTotalPerMotorInertia * motorInertia;
    const double factor = kFactorAtZeroStiffness - kFactorPerStiffness * s;
    // The speed-loop delay stands in for the sampling period.
    const std::optional<SpeedPositionSettings> settings = CalcSpeedAndPositionController(
        factor, data->SpeedLoopDelay, data->SpeedLoopDelay, data->PositionLoopDelay, filterMs, totalInertia);
    if (!settings) return;
    OnOffBase* base = context->Base.get();
    speedGain->set_text(base->FormatDoubleValue(kSpeedGainParameter, settings->speedGain, false));
    speedReset->set_text(base->FormatDoubleValue(kSpeedResetTimeParameter, settings->speedResetTimeMs, false));
    positionGain->set_text(base->FormatDoubleValue(kPositionGainParameter, settings->positionGain, false));
    if (GwCore* take = frame->frame_child(kTakeCalculatedName)) take->enable();
}

int CB2_NewCtrlAdjustData(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    std::optional<ControllerAdjustData>& data = TheControllerAdjustState().Data;
    data.emplace();
    data->Base = context->Base.get();
    data->ContextLife = context->LifeToken();
    ReadAdjustValues(*data, widget->frame());
    CheckGlobalUserLevel_Enable(widget, event, userData);
    return 1;
}

int CB5_RefreshCtrlPara(GwCore* widget, GwEvent* event, GwUD userData) {
    std::optional<ControllerAdjustData>& data = TheControllerAdjustState().Data;
    if (!data || data->ContextLife.expired() || widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    ReadAdjustValues(*data, frame);
    RecalcSpeedController(frame->parent());
    CB_CloseDeviceWindow(widget, event, userData);
    return 1;
}

int CB2_NewScdscSliderValue(GwCore* widget, GwEvent*, GwUD) {
    auto* slider = dynamic_cast<GwSlider*>(widget);
    if (slider == nullptr) return 1;
    if (GwCore* field = widget->frame_child(kStiffnessFieldName)) {
        field->set_text(GwString::FromDouble(slider->value()).c_str());
    }
    RecalcSpeedController(widget->frame());
    return 1;
}

int CB2_NewScdscValue(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* field = widget->frame_child(kStiffnessFieldName);
    auto* slider = widget->frame_child<GwSlider>(kStiffnessSliderName);
    if (field == nullptr || slider == nullptr || field->text().empty()) return 1;
    double value = std::atof(field->text().c_str());
    if (value > slider->end() || value < slider->start()) {
        value = value > slider->end() ? slider->end() : slider->start();
        field->set_text(GwString::FromDouble(value).c_str());
    }
    slider->set_value(value);
    RecalcSpeedController(widget->frame());
    return 1;
}

int CB5_NewEctfValue(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget != nullptr) RecalcSpeedController(widget->frame());
    return CB_DvFctParaProperties(widget, event, userData);
}

int CB2_TakeCalculatedCtrlData(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    const char* const pairs[][2] = {
        {kSpeedGainShownName, kSpeedGainFieldName},
        {kSpeedResetShownName, kSpeedResetFieldName},
        {kPositionGainShownName, kPositionGainFieldName},
    };
    for (const auto& pair : pairs) {
        if (frame->frame_child(pair[0]) == nullptr || frame->frame_child(pair[1]) == nullptr) {
            ShowErrorMessage(kMissingWidgetMessage, frame);
            return 1;
        }
    }
    for (const auto& pair : pairs) {
        GwCore* field = frame->frame_child(pair[1]);
        field->set_text(frame->frame_child(pair[0])->text());
        SetWidgetChanged(field, true);
    }
    if (GwCore* take = frame->frame_child(kTakeCalculatedName)) take->disable();
    CB_DvFctTakeIt(widget, event, userData);
    return 1;
}

int CB2_CallTypedMotorData(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    if (DeviceContextOf(widget) == nullptr) {
        CB_CloseDeviceWindow(widget, event, userData);
        return 1;
    }
    CB_DvFctTakeIt(widget, event, userData);
    widget->frame()->hide();
    CB_CallDeviceWindow(widget, event, GwUD(kMotorIdentWindowName));
    return 1;
}
