#include "families/ruvex_scaling_windows.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/wait.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_name.h"
#include "devicewin/widget_take.h"
#include "families/ratio_scaling.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_ud.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kMissingWindowMessage = 7;
constexpr int kDeviationMessage = 111;
constexpr int kFineVelocityFactorMessage = 112;
constexpr int kFinePositionFactorMessage = 113;
constexpr int kInvalidUnitKindMessage = 118;
constexpr double kDeviationLimitPercent = 1e-6;
constexpr double kSmallestFactor = 1.52587890625e-05;  // 2^-16

const platform::ResetHook kResetRuvexNaState([] { TheRuvexNaState() = RuvexNaState{}; });

GwCore* FrameOf(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

// The remembered NA1 caller while the window list still holds it; a caller
// that is gone is forgotten.
GwCore* ListedNa1Caller() {
    RuvexNaState& state = TheRuvexNaState();
    GwCore* caller = state.Na1Caller.get();
    if (caller == nullptr || TheWindowHandler().IndexOf(caller) < 0) {
        state.Na1Caller.reset();
        return nullptr;
    }
    return caller;
}

}  // namespace

RuvexNaState& TheRuvexNaState() {
    static RuvexNaState state;
    return state;
}

int CB4_Show_SCDSC(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* field = widget->frame_child(kScdscFieldName);
    auto* slider = widget->frame_child<GwSlider>(kScdscSliderName);
    if (field == nullptr || slider == nullptr) return 1;
    ParaBase* base = context->Base.get();
    double value = 0.0;
    if (context->ReadDouble(kScdscParameter, &value) != kParaOk) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, FrameOf(widget));
        return 1;
    }
    field->set_text(base->FormatValue(kScdscParameter, value));
    slider->set_start(base->GetMinimum(kScdscParameter));
    slider->set_end(base->GetMaximum(kScdscParameter));
    slider->set_value(value);
    if (GwCore* start = widget->frame_child(kStartSetupName)) start->disable();
    return 1;
}

int CB4_NewScdscSliderValue(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (auto* slider = dynamic_cast<GwSlider*>(widget)) {
        if (GwCore* field = FrameOf(widget)->frame_child(kScdscFieldName)) {
            field->set_text(context->Base->FormatValue(kScdscParameter, slider->value()));
        }
    } else if (widget->name() != kScdscFieldName) {
        return 1;
    }
    // A value typed into the field is written by the start key as well; the
    // field keeps what was typed.
    if (GwCore* start = FrameOf(widget)->frame_child(kStartSetupName)) start->enable();
    return 1;
}

int CB4_WriteScdsc(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (TakeItForControl(widget, event, userData) == 0) return 1;
    // Held across the wait: the value typed is written all the same, but a
    // window closed meanwhile is not touched again.
    const GwRef<> self(widget);
    const GwRef<> frame(FrameOf(widget));
    auto* slider = frame->frame_child<GwSlider>(kScdscSliderName);
    GwCore* field = frame->frame_child(kScdscFieldName);
    if (slider == nullptr || field == nullptr || field->text().empty()) return 1;
    const double value = std::atof(field->text().c_str());
    slider->set_value(value);
    ActivMessage activity(kScdscActivityMessage);
    WaitMilliseconds(kScdscWriteWaitMs);
    if (context->StoreDouble(kScdscParameter, value) != kParaOk) {
        ShowErrorMessageFor(kDeviceErrorMessage, context->Base.get(), frame);
        return 1;
    }
    if (GwCore* profi = TheWindowHandler().FindByName(kControlProfiWindowName)) {
        return CB_DvFctShowStandard(profi, event, userData);
    }
    if (self) self->disable();
    return 1;
}

int CB4_ShowSCJ(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || ParameterFromWidgetName(context->Base.get(), widget->name()) == 0) return 1;
    double value = 0.0;
    if (context->ReadDouble(kScjParameter, &value) != kParaOk) {
        ShowDeviceError(kDeviceErrorMessage, context->Base.get(), FrameOf(widget));
        return 1;
    }
    auto* yes = widget->frame_child<GwToggle>(kScjYesName);
    auto* no = widget->frame_child<GwToggle>(kScjNoName);
    const bool entered = value != 0.0;
    if (!entered) widget->hide();
    if (yes != nullptr) yes->set_checked(entered);
    if (no != nullptr) no->set_checked(!entered);
    return 1;
}

int CB4_Control_Moment_yes(GwCore* widget, GwEvent*, GwUD) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    GwCore* field = widget != nullptr ? widget->frame_child(kScjFieldName) : nullptr;
    if (toggle == nullptr || field == nullptr) return 1;
    if (toggle->is_checked()) {
        field->show();
    } else {
        field->hide();
    }
    return 1;
}

int CB4_Control_Moment_no(GwCore* widget, GwEvent*, GwUD) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    GwCore* field = widget != nullptr ? widget->frame_child(kScjFieldName) : nullptr;
    if (toggle == nullptr || field == nullptr) return 1;
    if (!toggle->is_checked()) {
        field->show();
        return 1;
    }
    field->set_text("0");
    SetWidgetChanged(field, true);
    if (DeviceSetupContext* context = DeviceContextOf(widget)) TakeWidgetValue(context->Base.get(), field, false);
    field->hide();
    return 1;
}

bool OpenNAWindow(GwCore* widget, const std::string& name) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    GwCore* frame = FrameOf(widget);
    if (context == nullptr || frame == nullptr) return false;
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(name.c_str())) windows.Close(listed);
    GwCore* window = GwRcMgr::load(frame->parent(), name.c_str());
    if (window == nullptr) return false;
    window->set_user_data(GwUD(static_cast<void*>(context)));
    window->set_modality(1);
    window->set_close_mode(2);
    windows.Add(window, context->Base->IsOnline() ? 1 : 0);
    window->show();
    return true;
}

int CB_CallNA1(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    TheRuvexNaState().Na1Caller = FrameOf(widget);
    OpenNAWindow(widget, kNaMainWindowName);
    return CB_DvFctTakeIt(widget, event, userData);
}

int CB_CallNA1AndCloseThis(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    GwRef<> frame = FrameOf(widget);
    OpenNAWindow(widget, kNaMainWindowName);
    CB_DvFctTakeIt(widget, event, userData);
    if (frame) frame->hide();
    return 1;
}

int CB_CallNA2(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwRef<> frame = FrameOf(widget);
    CB_DvFctTakeIt(widget, event, userData);
    if (!frame) return 1;
    const std::string kind = context->Base->FormatStoredValue(kNaUnitKindParameter, 0, false);
    // Without a window for the unit kind the calling window stays, so the
    // user is not left with nothing.
    if (!OpenNAWindow(frame, kNaWindowPrefix + kind)) {
        ShowErrorMessage(kMissingWindowMessage, frame);
        return 1;
    }
    if (frame) frame->hide();
    return 1;
}

namespace {

// The stored values an NA2 check works with.
struct NaInputs {
    double UnitKind = 0;       // 819
    double NumeratorMode = 0;  // 827
    double Length = 0;         // 829
    double LengthDivisor = 0;  // 855
    double Denominator = 0;    // 826
    double Numerator = 0;      // 825
    double LengthFactor = 0;   // 858
    double PositionUnit = 0;   // 823
    double VelocityUnit = 0;   // 824
    double Revolutions = 0;    // 828
    double WithLength = 0;     // 763
};

NaInputs StoredNaInputs(ParaBase* base) {
    NaInputs in;
    const std::pair<int, double*> fields[] = {
        {819, &in.UnitKind},
        {827, &in.NumeratorMode},
        {829, &in.Length},
        {855, &in.LengthDivisor},
        {826, &in.Denominator},
        {825, &in.Numerator},
        {858, &in.LengthFactor},
        {823, &in.PositionUnit},
        {824, &in.VelocityUnit},
        {828, &in.Revolutions},
        {763, &in.WithLength},
    };
    for (auto [number, out] : fields) base->GetValueDouble(number, out);
    return in;
}

bool IsPositiveNumber(double v) { return std::isfinite(v) && v > 0.0; }

// The deviation warning: main message 111 as the format of one double.
void ShowDeviationWarning(double deviation, GwCore* parent) {
    char format[kMessageTextSize] = {};
    const std::string key = platform::Format("MN_%05d", kDeviationMessage);
    GetMessageText(format, "Main-Messages", key.c_str(), kMessageTextSize);
    ShowWarningText(platform::FormatChecked(format, {platform::FormatArg(deviation)}).text.c_str(), parent);
}

}  // namespace

int CB_NA2_TakeAndCheck(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwRef<> frame = FrameOf(widget);
    CB_DvFctTakeIt(widget, event, userData);
    ParaBase* base = context->Base.get();
    const NaInputs in = StoredNaInputs(base);

    double numerator = in.Numerator;
    const int mode = static_cast<int>(in.NumeratorMode);
    if (mode == 1) {
        numerator = in.Revolutions * 65536;
    } else if (mode == 2) {
        numerator = in.Revolutions * in.Length * 65536 / in.LengthDivisor;
    } else if (mode != 0 || in.NumeratorMode != 0.0) {
        ShowErrorMessage(kInvalidUnitKindMessage, frame);
        return 1;
    }
    if (!IsPositiveNumber(numerator) || !IsPositiveNumber(in.Denominator)) {
        ShowErrorMessage(kInvalidUnitKindMessage, frame);
        return 1;
    }

    int z = 0;
    int m = 0;
    const double deviation = ApproximateRatio(numerator, in.Denominator, &z, &m);
    if (std::fabs(deviation) > kDeviationLimitPercent) ShowDeviationWarning(deviation, frame);
    if (z > kLargestRatioTerm || m > kLargestRatioTerm) {
        ShowErrorText("Internal error in procedure CB_NA2_TakeAndCheck!", frame);
    }

    auto storeFailed = [&](int result) {
        if (result == kParaOk) return false;
        ShowDeviceError(kDeviceErrorMessage, base, frame);
        return true;
    };
    for (auto [target, source] : {std::pair{766, 819}, std::pair{767, 823}, std::pair{768, 824}}) {
        const dstring text(base->GetDispatchedValueText(source, 0));
        if (storeFailed(context->StoreString(target, text))) return 1;
    }
    if (storeFailed(context->StoreDouble(700, z)) || storeFailed(context->StoreDouble(701, m))) return 1;

    const ScalingFactorResult factors = ScalingFactorsFor(
        static_cast<int>(in.UnitKind), static_cast<int>(in.PositionUnit), static_cast<int>(in.VelocityUnit), z, m);
    if (factors.Error != ScalingSelectionError::None) {
        ShowErrorMessage(static_cast<int>(factors.Error), frame);
        return 1;
    }
    if (storeFailed(context->StoreDouble(711, factors.Factors.Position)) ||
        storeFailed(context->StoreDouble(712, factors.Factors.Velocity))) {
        return 1;
    }
    if (in.WithLength != 0.0 &&
        storeFailed(context->StoreDouble(764, in.Length / in.LengthDivisor * in.LengthFactor))) {
        return 1;
    }
    if (GwCore* caller = ListedNa1Caller()) {
        caller->hide();
        caller->show();
    }
    if (factors.Factors.Velocity < kSmallestFactor) {
        ShowWarningMessage(kFineVelocityFactorMessage, frame);
    } else if (factors.Factors.Position < kSmallestFactor) {
        ShowWarningMessage(kFinePositionFactorMessage, frame);
    } else {
        TheRuvexNaState().Na1Caller.reset();
        if (frame) frame->hide();
    }
    return 1;
}
