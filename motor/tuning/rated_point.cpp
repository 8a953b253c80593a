#include "motor/tuning/rated_point.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/device_window_frame.h"
#include "families/setup_context.h"
#include "motor/ident/ident_parameters.h"
#include "motor/tuning/rated_operating_point.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
// Nm per (W / (1/min)): 2 pi / 60 in single precision.
constexpr double kRadPerSecondPerRpm = 0.10471975803375244;
constexpr double kWattsPerKilowatt = 1000.0;
constexpr double kPercent = 100.0;

// The online flag cleared for a scope, as it was afterwards.
class StoredValuesOnly {
public:
    explicit StoredValuesOnly(OnOffBase* base) : base_(base), online_(base->IsOnline()) { base_->SetOnline(false); }
    ~StoredValuesOnly() { base_->SetOnline(online_); }
    StoredValuesOnly(const StoredValuesOnly&) = delete;
    StoredValuesOnly& operator=(const StoredValuesOnly&) = delete;

private:
    OnOffBase* base_;
    bool online_;
};

// The number in a field; none when the field is missing or its text is not
// a finite number above 0.
std::optional<double> PositiveField(GwCore* widget, const char* name) {
    GwCore* field = widget->frame_child(name);
    if (field == nullptr) return std::nullopt;
    const std::string text = field->text();
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value) || !(value > 0.0)) return std::nullopt;
    return value;
}

// Reads the motor model; error 5 on the first failed read.
bool ReadMotor(OnOffBase* base, RatedPointMotor& motor) {
    struct Read {
        int role;
        double* into;
    } const reads[] = {
        {kIdentPolePairs, &motor.polePairs},
        {kIdentLeakage, &motor.leakageInductance},
        {kIdentStatorResistance, &motor.statorResistance},
        {kIdentRotorResistance, &motor.rotorResistance},
        {kIdentFluxCoefficient0, &motor.inductanceOverFlux[0]},
        {kIdentFluxCoefficient0 + 1, &motor.inductanceOverFlux[1]},
        {kIdentFluxCoefficient0 + 2, &motor.inductanceOverFlux[2]},
        {kIdentFluxCoefficient0 + 3, &motor.inductanceOverFlux[3]},
        {kIdentFluxCoefficient0 + 4, &motor.inductanceOverFlux[4]},
    };
    for (const Read& read : reads) {
        if (base->ReadValue(IdentParameter(read.role), read.into) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, nullptr);
            return false;
        }
    }
    return true;
}

}  // namespace

bool CalcRatedPoint(OnOffBase* base, double voltage, double current, double power, double speed) {
    double torque = power * kWattsPerKilowatt / (speed * kRadPerSecondPerRpm);
    double limit = 0.0;
    if (base->ReadValue(IdentParameter(kIdentDeviceCurrentLimit), &limit) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, nullptr);
        return false;
    }
    if (limit < current) current = limit;
    RatedPointMotor motor;
    if (!ReadMotor(base, motor)) return false;
    // Without a pole pair the model has no operating point.
    if (!(motor.polePairs >= 1.0)) return false;

    // From here on only the stored values: the calculation never writes the
    // device.
    const StoredValuesOnly storedOnly(base);
    const RatedOperatingPoint point = CalcOperatingPoint(voltage, current, speed, torque, motor);
    if (point.status == OperatingPointStatus::kTorqueReduced) {
        torque = point.reducedTorque;
        speed = point.reducedSpeed;
    }
    struct Set {
        int role;
        double value;
    } const sets[] = {
        {kIdentOperatingFlux, point.flux},
        {kIdentRatedVoltage, voltage},
        {kIdentRatedCurrent, current},
        {kIdentRatedPower, power},
        {kIdentRatedSpeed, speed},
        {kIdentRatedTorque, torque},
    };
    // Nothing that is not a finite number reaches the rated data.
    for (const Set& set : sets) {
        if (!std::isfinite(set.value)) return false;
    }
    if (point.status == OperatingPointStatus::kTorqueReduced) {
        ShowInfoText(kTorqueReducedText);
    } else if (point.status == OperatingPointStatus::kVoltageReserve) {
        char text[256];
        std::snprintf(text,
                      sizeof text,
                      kVoltageReserveFormat,
                      static_cast<int>((1.0 - point.neededLineVoltage / voltage) * kPercent));
        ShowInfoText(text);
    }
    for (const Set& set : sets) {
        if (base->WriteValue(IdentParameter(set.role), set.value) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, nullptr);
            return false;
        }
    }
    return true;
}

int CB5_CalcRatedPoint(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) {
        CB_CloseDeviceWindow(widget, event, userData);
        return 1;
    }
    const std::optional<double> voltage = PositiveField(widget, kRatedVoltageFieldName);
    const std::optional<double> current = PositiveField(widget, kRatedCurrentFieldName);
    const std::optional<double> power = PositiveField(widget, kRatedPowerFieldName);
    const std::optional<double> speed = PositiveField(widget, kRatedSpeedFieldName);
    if (!voltage || !current || !power || !speed) return 0;

    // Held across the wait: a window closed meanwhile gets no result window.
    const GwRef<> self(widget);
    GwCore* frame = widget->frame();
    frame->hide();
    std::optional<ActivMessage> activity(std::in_place, kRatedPointActivityText, frame);
    WaitMilliseconds(kRatedPointWaitMs);
    OnOffBase* base = context->Base.get();
    CalcRatedPoint(base, *voltage, *current, *power, *speed);
    if (self) {
        // The result window shows the stored values and reads nothing.
        const StoredValuesOnly storedOnly(base);
        CB_CallDeviceWindow(self, event, GwUD(kRatedPointWindowName));
    }
    activity.reset();
    return 1;
}
