#include "families/linear_drive.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_changes.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kMissingWidgetMessage = 22;
constexpr int kEmptyInputMessage = 154;
constexpr int kDeviceErrorMessage = 5;
constexpr int kControlTypeParameter = 430;
constexpr int kControlTypeSourceParameter = 431;

enum InputIndex {
    kMagnetPitch,
    kMaxSpeed,
    kContCurrent,
    kContForce,
    kMaxCurrent,
    kMaxForce,
    kWeightCoil,
    kBackEmf,
    kResistancePerPhase,
    kInductancePerPhase,
    kPeriodEncoder,
    kOneMagnetPitch,
};
using Inputs = std::array<double, kLinearInputCount>;

// The inputs that divide in the formulas; 0 there would put infinite or
// undefined values into fields that a take-over writes to the drive.
constexpr InputIndex kDivisors[] = {kMagnetPitch, kOneMagnetPitch, kPeriodEncoder, kMaxSpeed};

// What the formulas derive from the inputs before the rows.
struct Derived {
    double Speed = 0.0;    // N, revolutions per minute
    double BackEmf = 0.0;  // K, rotary back-EMF constant
    double Inertia = 0.0;  // J
    double Sqrt2 = 0.0;
};

Derived Derive(const Inputs& in) {
    constexpr double kTwoPi = 6.283185307179586;
    constexpr double kRadiansPerSecondPerRpm = 0.10471975511965977;
    Derived d;
    d.Speed = in[kMaxSpeed] * 1000.0 / (in[kMagnetPitch] * in[kOneMagnetPitch]) * 60.0;
    d.BackEmf = in[kBackEmf] / ((1000.0 / in[kMagnetPitch]) * kTwoPi);
    const double omega = d.Speed * kRadiansPerSecondPerRpm;
    const double ratio = in[kMaxSpeed] / omega;
    d.Inertia = ratio * ratio * in[kWeightCoil];
    d.Sqrt2 = std::sqrt(2.0);
    return d;
}

struct OutputRow {
    int Parameter;
    double (*Value)(const Inputs& in, const Derived& d);
};

double Speed(const Inputs&, const Derived& d) { return d.Speed; }
double ContCurrent(const Inputs& in, const Derived&) { return in[kContCurrent]; }
double PeakOfContCurrent(const Inputs& in, const Derived& d) {
    return d.Sqrt2 * in[kContCurrent] * in[kOneMagnetPitch] * d.BackEmf;
}
double PeakOfMaxCurrent(const Inputs& in, const Derived& d) {
    return d.Sqrt2 * in[kMaxCurrent] * in[kOneMagnetPitch] * d.BackEmf;
}
double Inertia(const Inputs&, const Derived& d) { return d.Inertia; }
double TwiceInertia(const Inputs&, const Derived& d) { return 2.0 * d.Inertia; }
double BackEmf(const Inputs&, const Derived& d) { return d.BackEmf; }
double Resistance(const Inputs& in, const Derived&) { return in[kResistancePerPhase]; }
double Inductance(const Inputs& in, const Derived&) { return in[kInductancePerPhase] * 0.001; }
double EncoderLines(const Inputs& in, const Derived&) {
    return in[kMagnetPitch] * in[kOneMagnetPitch] * 1000.0 / in[kPeriodEncoder];
}
double PolePairs(const Inputs& in, const Derived&) { return in[kOneMagnetPitch]; }
double Zero(const Inputs&, const Derived&) { return 0.0; }
double Four(const Inputs&, const Derived&) { return 4.0; }
double Hundred(const Inputs&, const Derived&) { return 100.0; }
double Sqrt2TimesHundred(const Inputs&, const Derived& d) { return d.Sqrt2 * 100.0; }

struct LinearFamily {
    std::vector<OutputRow> Shown;
    // Read before the calculation with the shown rows, not shown.
    std::vector<int> AlsoRead;
    // Whether a changed "_PN_431" resets the selection of "_PN_430".
    bool ResetsControlType;
};

const LinearFamily& Ruvex() {
    static const LinearFamily family{{{813, Speed},
                                      {157, Speed},
                                      {856, Speed},
                                      {158, ContCurrent},
                                      {852, PeakOfContCurrent},
                                      {853, PeakOfMaxCurrent},
                                      {803, PeakOfContCurrent},
                                      {160, Inertia},
                                      {817, TwiceInertia},
                                      {840, BackEmf},
                                      {842, Resistance},
                                      {851, Inductance},
                                      {432, EncoderLines},
                                      {kControlTypeParameter, Zero},
                                      {844, PolePairs}},
                                     {153, 155, 154, 156, 800, 802},
                                     true};
    return family;
}

const LinearFamily& Pesco() {
    static const LinearFamily family{{{813, Hundred},
                                      {157, Speed},
                                      {158, ContCurrent},
                                      {852, PeakOfContCurrent},
                                      {803, Sqrt2TimesHundred},
                                      {160, Inertia},
                                      {817, TwiceInertia},
                                      {840, BackEmf},
                                      {842, Resistance},
                                      {841, Inductance},
                                      {432, EncoderLines},
                                      {kControlTypeParameter, Four},
                                      {844, PolePairs}},
                                     {153, 155, 154, 156, 800, 801},
                                     false};
    return family;
}

std::string FieldName(int parameter) { return "_PN_" + std::to_string(parameter); }

// A decimal text with a comma taken for the point (the first two commas);
// false for an empty text. Text that is no number reads as 0.
bool ParseInput(std::string text, double* value) {
    if (text.empty()) return false;
    for (int i = 0; i < 2; ++i) {
        const size_t comma = text.find(',');
        if (comma == std::string::npos) break;
        text[comma] = '.';
    }
    *value = std::atof(text.c_str());
    return true;
}

// Brings every parameter of the family's table up to date by the read rule;
// a failed read is reported and the next one goes on.
void ReadParameters(const LinearFamily& family, DeviceSetupContext* context, GwCore* frame) {
    auto read = [&](int parameter) {
        double value = 0.0;
        if (context->ReadDouble(parameter, &value) != kParaOk) {
            ShowErrorMessageFor(kDeviceErrorMessage, context->Base.get(), frame);
        }
    };
    for (const OutputRow& row : family.Shown) read(row.Parameter);
    for (int parameter : family.AlsoRead) read(parameter);
}

void ResetControlType(GwCore* frame) {
    GwCore* source = frame->child(FieldName(kControlTypeSourceParameter));
    GwCore* target = frame->child(FieldName(kControlTypeParameter));
    if (source == nullptr || target == nullptr || !IsWidgetChanged(source)) return;
    if (auto* combo = dynamic_cast<GwCombo*>(target)) {
        combo->select_item(0);
    } else if (auto* list = dynamic_cast<GwItemList*>(target)) {
        list->select(0);
    }
}

int CalcLinDrive(const LinearFamily& family, GwCore* widget) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    std::array<GwCore*, kLinearInputCount> inputs{};
    for (int i = 0; i < kLinearInputCount; ++i) {
        inputs[i] = frame->child(kLinearInputNames[i]);
        if (inputs[i] == nullptr) {
            ShowErrorMessage(kMissingWidgetMessage, frame);
            return 1;
        }
    }
    std::vector<GwCore*> outputs;
    for (const OutputRow& row : family.Shown) {
        outputs.push_back(frame->child(FieldName(row.Parameter)));
        if (outputs.back() == nullptr) {
            ShowErrorMessage(kMissingWidgetMessage, frame);
            return 1;
        }
    }
    Inputs values{};
    for (int i = 0; i < kLinearInputCount; ++i) {
        if (!ParseInput(inputs[i]->text(), &values[i])) {
            ShowErrorMessage(kEmptyInputMessage, frame);
            return 1;
        }
    }
    for (InputIndex divisor : kDivisors) {
        if (values[divisor] == 0.0) {
            ShowErrorMessage(kEmptyInputMessage, frame);
            return 1;
        }
    }
    const Derived derived = Derive(values);
    std::vector<double> results;
    for (const OutputRow& row : family.Shown) {
        results.push_back(row.Value(values, derived));
        // An input such as "inf" would carry an unusable value into the
        // fields as a zero divisor would.
        if (!std::isfinite(results.back())) {
            ShowErrorMessage(kEmptyInputMessage, frame);
            return 1;
        }
    }
    ReadParameters(family, context, frame);
    ParaBase* base = context->Base.get();
    for (size_t i = 0; i < outputs.size(); ++i) {
        outputs[i]->set_text(base->FormatDoubleValue(family.Shown[i].Parameter, results[i], false));
        SetWidgetChanged(outputs[i], true);
    }
    if (family.ResetsControlType) ResetControlType(frame);
    return 1;
}

}  // namespace

int CB4_CalcLinDrive(GwCore* widget, GwEvent*, GwUD) { return CalcLinDrive(Ruvex(), widget); }

int CB5_CalcLinDrive(GwCore* widget, GwEvent*, GwUD) { return CalcLinDrive(Pesco(), widget); }
