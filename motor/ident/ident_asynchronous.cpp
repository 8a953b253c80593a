// The induction motor's identification: rated data, the drive's first step,
// the admittance sweep and its fit to the equivalent circuit, the magnetising
// measurement with its two exponential models and the flux polynomial, the
// operating point and the final controller setting, all reported line by
// line in the identification log.
#include <array>
#include <cmath>
#include <optional>

#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "motor/datalogger/data_logger.h"
#include "motor/ident/ident_access.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_procedures.h"
#include "motor/ident/ident_report.h"
#include "motor/ident/ident_step.h"
#include "motor/numerics/cholesky.h"
#include "motor/numerics/column_table.h"
#include "motor/numerics/controller_settings.h"
#include "motor/numerics/inductance_fit.h"
#include "motor/numerics/inductance_model.h"
#include "motor/numerics/magnetising.h"
#include "motor/numerics/operating_point.h"
#include "parameters/parabase/on_off_base.h"

namespace {

constexpr int kSweepPoints = 20;
constexpr int kMinFittedPoints = 14;
constexpr int kFitPasses = 10;
constexpr int kLhPoints = 20;
constexpr int kLhModelPoints = 21;
constexpr double kTwoPiSingle = 6.2831854820251465;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kOneOverTwoPi = 0.15915493866300567;
constexpr double kFirstSweepFrequency = 0.10000000149011612;
constexpr double kSweepFactor = 1.43;
constexpr double kFittedResistanceFactor = 3.5;
constexpr double kInitialLeakageFactor = 15.0;
constexpr double kAfterTransferFunctionValue = 100.0;
constexpr double kPeakCapFactor = 0.8;
constexpr int kPeakCapElement = 1;
constexpr double kCheckTableMinInductance = 0.00001;
constexpr double kOneNineteenth = 0.05263157894736842;
constexpr unsigned kStartWaitMs = 1000;
constexpr unsigned kEndWaitMs = 2000;
constexpr double kProgressDone = 100.0;
constexpr char kNoResponseLine[] = "Abbruch: MSM reagiert nicht!";

using Matrix = std::array<double, kIdentMatrixStride * kIdentMatrixStride>;

double& At(Matrix& m, int row, int column) { return m[static_cast<size_t>(row * kIdentMatrixStride + column)]; }

class AsynchronousRun {
public:
    AsynchronousRun(OnOffBase* base, DataLogger& log) : base_(base), access_(base), log_(log) {}

    bool Run(bool ratedTorqueGiven);

private:
    bool ReadRatedData(bool ratedTorqueGiven);
    void ReportRatedData();
    bool Sweep();
    void FitAdmittance();
    void ReportFit();
    bool SetEquivalentCircuit();
    bool MeasureMagnetising();
    bool FitMagnetisingModels();
    bool FitFluxPolynomial();
    void ReportCheckTable();
    bool SetOperatingPoint();

    // One measurement step and the drive's response to it; a drive that does
    // not finish the step ends the run with the log's line.
    bool Measure(std::array<double, 4>* e) {
        if (!RunIdentStep(kIdentMeasureCommand, base_)) {
            log_.PutLine(kNoResponseLine);
            return false;
        }
        return ReadIdentResponse(access_, e);
    }
    bool Write(int role, double value, const char* name, int element = 0, bool withBox = true) {
        return WriteChecked(access_, log_, role, value, name, element, withBox);
    }

    OnOffBase* base_;
    IdentAccess access_;
    DataLogger& log_;
    std::optional<ProgressMessage> progress_;
    RatedMotorData rated_;

    std::array<double, kSweepPoints> f_{}, T_{}, G_{}, B_{};
    int fitted_ = 0;
    double a0_ = 1.0, a1_ = 0.0, a2_ = 0.0, b1_ = 0.0;
    double rs_ = 0.0, rr_ = 0.0, ls_ = 0.0;

    std::array<double, kLhModelPoints> current_{}, frequency_{}, resistance_{}, reactance_{};
    std::array<double, kLhModelPoints> lh_{}, im_{}, weight_{};
    std::array<double, kLhPoints> lhMeasured_{};
    ExpInductanceModel differential_;
    Polynomial4 flux_{};
};

bool AsynchronousRun::ReadRatedData(bool ratedTorqueGiven) {
    RatedMotorData& r = rated_;
    if (!ReadRatedPowerAndPolePairs(access_, log_, ratedTorqueGiven, &r)) return false;
    if (!access_.Read(kIdentRatedVoltage, &r.voltage)) return false;
    if (!(r.voltage > 0.0)) return RatedValueInvalid(log_, "MOVNM", r.voltage);
    if (!ReadRatedCurrent(access_, log_, &r)) return false;
    double peakLimit = 0.0;
    if (IdentParameter(kIdentPeakCurrentLimit) != kNoIdentParameter &&
        access_.ReadQuiet(kIdentPeakCurrentLimit, &peakLimit, kPeakCapElement) &&
        kPeakCapFactor * peakLimit < r.peakCurrent) {
        r.peakCurrent = kPeakCapFactor * peakLimit;
    }
    if (!(r.peakCurrent > 0.0)) return RatedValueInvalid(log_, "Ipeak", r.peakCurrent);
    return true;
}

void AsynchronousRun::ReportRatedData() {
    const RatedMotorData& r = rated_;
    log_.PutLine("Eingabe:   Motorart                  CFMOT = AS");
    LogLine(log_, "Eingabe:   Nennleistung              MOPNM = %g W", r.power);
    LogLine(log_, "Eingabe:   Nenndrehzahl              MOSNM = %g /min", r.speed);
    LogLine(log_, "Berechnet: Nennmoment                MOMNM = %g Nm", r.torque);
    LogLine(log_, "Eingabe:   Nennfrequenz              MOFN  = %g Hz", r.frequency);
    LogLine(log_, "Berechnet: Polpaarzahl               MONPP = %g", r.polePairs);
    LogLine(log_, "Eingabe:   Nennspannung              MOVNM = %g V", r.voltage);
    LogLine(log_, "Eingabe:   Nennstrom                 MOCNM = %g A", r.peakCurrent / std::sqrt(2.0));
    log_.PutLine("");
    log_.PutLine("");
}

bool AsynchronousRun::Sweep() {
    f_[0] = kFirstSweepFrequency;
    for (int k = 0; k + 1 < kSweepPoints; ++k) f_[k + 1] = kSweepFactor * f_[k];
    for (int k = 0; k < kSweepPoints; ++k) T_[k] = ExcitationDuration(f_[k]);
    if (!WriteExcitationLevels(access_, log_, rated_.peakCurrent)) return false;
    progress_->ShowMessage(kIdentSweepActivity);
    for (int k = 0; k < kSweepPoints; ++k) {
        if (!Write(kIdentExcitationTiming, T_[k], "Zeit", 2) || !Write(kIdentExcitationFrequency, f_[k], "Frequenz"))
            return false;
        std::array<double, 4> e{};
        if (!Measure(&e)) return false;
        const double d = e[1] * e[1] + e[0] * e[0];
        G_[k] = (e[3] * e[1] + e[2] * e[0]) / d;
        B_[k] = (e[2] * e[1] - e[3] * e[0]) / d;
        progress_->SetValue(static_cast<double>(k + 1));
    }
    log_.PutLine("Messung der Übertragungsfunktion: Daten zur Reproduktion:");
    LogColumnTable(log_, 2, kSweepPoints, f_, {G_, B_, {}, {}}, {"sc_frequency =", "sc_real =", "sc_imag =", "", ""});
    return true;
}

void AsynchronousRun::FitAdmittance() {
    const double rlim = kFittedResistanceFactor * G_[0] / (B_[0] * B_[0] + G_[0] * G_[0]);
    int n = kMinFittedPoints;
    while (n < kSweepPoints && G_[n] / (G_[n] * G_[n] + B_[n] * B_[n]) < rlim) ++n;
    fitted_ = n;
    a0_ = 1.0, a1_ = 0.0, a2_ = 0.0;
    for (int pass = 0; pass < kFitPasses; ++pass) {
        Matrix m{};
        std::array<double, kIdentMatrixStride> r{};
        for (int k = 0; k < n; ++k) {
            const double w = kTwoPiSingle * f_[k];
            const double w2 = w * w;
            const double g = G_[k], b = B_[k];
            const double y2 = g * g + b * b;
            const double c = a0_ - w2 * a2_;
            const double v = 1.0 / (w2 * a1_ * a1_ + c * c);
            At(m, 0, 0) += v * y2;
            At(m, 0, 2) -= v * w2 * y2;
            At(m, 0, 3) -= v * w * b;
            At(m, 1, 1) += v * w2 * y2;
            At(m, 1, 3) -= v * w2 * g;
            At(m, 2, 2) += v * w2 * w2 * y2;
            At(m, 2, 3) += v * w2 * w * b;
            At(m, 3, 3) += v * w2;
            r[0] += v * g;
            r[1] -= v * w * b;
            r[2] -= v * w2 * g;
        }
        CholeskyDecompose(kIdentMatrixStride, 4, m);
        CholeskySolve(kIdentMatrixStride, 4, m, std::span<double>(r.data(), 4));
        a0_ = r[0], a1_ = r[1], a2_ = r[2], b1_ = r[3];
    }
}

void AsynchronousRun::ReportFit() {
    std::array<double, kSweepPoints> zr{}, zi{}, mr{}, mi{};
    for (int k = 0; k < fitted_; ++k) {
        const double w = kTwoPi * f_[k];
        const double y2 = G_[k] * G_[k] + B_[k] * B_[k];
        zr[k] = G_[k] / y2;
        zi[k] = -B_[k] / y2;
        const double q = w * b1_, c = a0_ - w * w * a2_, m = w * a1_;
        mr[k] = (m * q + c) / (1.0 + q * q);
        mi[k] = (m - c * q) / (1.0 + q * q);
    }
    log_.PutLine("Messung der Übertragungsfunktion");
    LogLine(log_, "                              1+jw * %g", b1_);
    log_.PutLine("\tY(w) = --------------------------------------------------");
    LogLine(log_, "               %g + jw * %g + (jw)^2 * %g", a0_, a1_, a2_);
    log_.PutLine("");
    log_.PutLine("");
    LogColumnTable(log_,
                   4,
                   fitted_,
                   f_,
                   {zr, zi, mr, mi},
                   {"frequency [Hz]", "real_meas [Ohm]", "imag_meas [Ohm]", "real_para [Ohm]", "imag_para [Ohm]"});
}

bool AsynchronousRun::SetEquivalentCircuit() {
    if (a0_ < 0 || a1_ < 0 || a2_ < 0 || b1_ < 0)
        log_.PutLine("Plausibiltaetsfehler: Übertragungsfunktion ist instabil!");
    rs_ = a0_;
    rr_ = a1_ / b1_ - a0_;
    LogLine(log_, "Berechnet: Ständerwiderstand           MOR_S = %g Ohm", rs_);
    LogLine(log_, "Berechnet: Rotorwiderstand             MOR_R = %g Ohm", rr_);
    if (!(rr_ >= 0)) log_.PutLine("Plausibiltaetsfehler: MOR_R < 0 !");
    const double t = rr_ * b1_;
    if (!(t >= 0)) log_.PutLine("Plausibiltaetsfehler: MOR_R * b1 < 0 !");
    const double d = t * t - rr_ * a2_;
    if (!(d >= 0)) log_.PutLine("Plausibiltaetsfehler: tmp1*tmp1-sc_vector[2]*sc_rr < 0 !");
    // Without a real root the leakage is taken as t.
    ls_ = t - (d >= 0 ? std::sqrt(d) : 0.0);
    LogLine(log_, "Berechnet: Streuinduktivitaet         MOL_S = %g H", ls_);
    if (!(ls_ >= 0)) log_.PutLine("Plausibiltaetsfehler: MOL_S < 0 !");

    double ts = 0.0;
    if (!access_.Read(kIdentSamplingPeriod, &ts)) return false;
    const std::optional<CurrentControllerSettings> cc = CalcIdentCurrentController(2.0 * ls_, rs_ + rr_, ts);
    if (!cc) return NoResult(log_, "CalcIdentCurrentController");
    if (!Write(kIdentCurrentGain, cc->gain, "CCG") || !Write(kIdentCurrentResetTime, cc->resetTime * 1000.0, "CCTLG") ||
        !Write(kIdentLeakage, ls_, "MOL_S") || !Write(kIdentStatorResistance, rs_, "MOR_S") ||
        !Write(kIdentRotorResistance, rr_, "MOR_R") ||
        !Write(kIdentFluxCoefficient0, kInitialLeakageFactor * ls_, "MOMC0")) {
        return false;
    }
    for (int role = kIdentFluxCoefficient0 + 1; role <= kIdentFluxCoefficient0 + 4; ++role) {
        if (!access_.Write(role, 0.0)) return false;
    }
    if (!access_.Write(kIdentAfterTransferFunction, kAfterTransferFunctionValue)) return false;
    double fluxDefault = 0.0;
    if (base_->GetDefaultAsDouble(IdentParameter(kIdentOperatingFlux), &fluxDefault) != 0)
        return access_.ShowAccessError();
    if (!Write(kIdentOperatingFlux, fluxDefault, "MOFNM")) return false;
    LogLine(log_, "Berechnet: Stromregler Verstärkung     CCG   = %g V/A", cc->gain);
    LogLine(log_, "Berechnet: Stromregler Nachstellzeit   CCTLG = %g ms", cc->resetTime * 1000.0);
    log_.PutLine("");
    log_.PutLine("");
    return true;
}

bool AsynchronousRun::MeasureMagnetising() {
    const double ipeak = rated_.peakCurrent;
    current_[kLhPoints - 1] = ipeak;
    for (int k = kLhPoints - 1; k > 0; --k) current_[k - 1] = current_[k] - ipeak / 21.0;
    if (!Write(kIdentExcitationTiming, 0.0, "Zeit", 0) || !Write(kIdentExcitationTiming, 0.5, "Zeit", 1) ||
        !Write(kIdentExcitationCurrents, 0.0, "Strom", 1) || !Write(kIdentExcitationCurrents, 0.0, "Strom", 2)) {
        return false;
    }
    progress_->ShowMessage(kIdentMagnetisingActivity);
    progress_->SetValue(0.0);
    double lt = 20.0 * ls_;
    int done = 0;
    for (int k = kLhPoints - 1; k >= 0; --k) {
        const std::optional<double> omega = LhExcitationFrequency(rr_, ls_, lt);
        if (!omega) return NoResult(log_, "LhExcitationFrequency");
        const double frequency = *omega * kOneOverTwoPi;
        frequency_[k] = frequency;
        if (!Write(kIdentExcitationTiming, ExcitationDuration(frequency), "Zeit", 2) ||
            !Write(kIdentExcitationCurrents, current_[k], "Strom", 0) ||
            !Write(kIdentExcitationFrequency, frequency, "Frequenz")) {
            return false;
        }
        std::array<double, 4> e{};
        if (!Measure(&e)) return false;
        const double d = e[3] * e[3] + e[2] * e[2];
        resistance_[k] = (e[1] * e[3] + e[0] * e[2]) / d;
        reactance_[k] = (e[0] * e[3] - e[1] * e[2]) / d;
        const double wk = frequency * kTwoPiSingle;
        const std::optional<double> lh = MagnetisingInductanceFromReactance(wk, rr_, ls_, reactance_[k], lt);
        if (!lh) return NoResult(log_, "MagnetisingInductanceFromReactance");
        lh_[k] = *lh;
        lt = *lh + ls_;
        const std::optional<double> im = MagnetisingCurrentAmplitude(wk, current_[k], rr_, lt, ls_);
        if (!im) return NoResult(log_, "MagnetisingCurrentAmplitude");
        im_[k] = *im;
        progress_->SetValue(static_cast<double>(++done));
    }
    std::copy_n(lh_.begin(), kLhPoints, lhMeasured_.begin());
    log_.PutLine("Lh-Messung: Daten zur Reproduktion:");
    LogColumnTable(log_,
                   3,
                   kLhPoints,
                   current_,
                   {frequency_, resistance_, reactance_, {}},
                   {"sc_x =", "sc_frequency =", "sc_real =", "sc_imag =", ""});
    return true;
}

bool AsynchronousRun::FitMagnetisingModels() {
    const double ipeak = rated_.peakCurrent;
    lh_[0] = (lh_[1] + lh_[2]) / 3.0;
    im_[kLhModelPoints - 1] = 0.0;
    lh_[kLhModelPoints - 1] = (lh_[1] + lh_[2]) / 6.0;
    for (int m = 0; m < kLhModelPoints; ++m) weight_[m] = (0.2 * ipeak + im_[m]) * (0.2 * ipeak + im_[m]);
    const double start = -1.0 / ipeak;
    const std::optional<ExpInductanceModel> amplitude = FitExponentialInductance(im_, lh_, weight_, start);
    if (!amplitude) return NoResult(log_, "FitExponentialInductance");
    log_.PutLine("1. exponentielle Näherung der Amplituden-Hauptinduktivität:");
    LogLine(log_,
            "Lh,ampl(Imu) = %g\n             +  %g * Imu * exp(%g * Imu) \n             + %g * Imu * exp(%g * Imu)",
            amplitude->A,
            amplitude->B,
            amplitude->c1,
            amplitude->C,
            amplitude->c2);
    log_.PutLine("");
    const Polynomial8 polynomial = ExpTermsToPolynomial(ipeak, *amplitude);
    for (int m = 0; m < kLhModelPoints; ++m) lh_[m] = EvalPolynomial8(im_[m], polynomial);
    const std::optional<ExpInductanceModel> differential = FitExponentialInductance(im_, lh_, weight_, start);
    if (!differential) return NoResult(log_, "FitExponentialInductance");
    differential_ = *differential;
    log_.PutLine("2. exponentielle Näherung der differenziellen Hauptinduktivität:");
    LogLine(log_,
            "Lh,diff(Imu) = %g  \n             +  %g * Imu * exp(%g * Imu) \n             + %g * Imu * exp(%g * Imu)",
            differential_.A,
            differential_.B,
            differential_.c1,
            differential_.C,
            differential_.c2);
    log_.PutLine("");
    return true;
}

bool AsynchronousRun::FitFluxPolynomial() {
    Matrix m{};
    std::array<double, kIdentMatrixStride> r{};
    for (int i = 0; i < kLhModelPoints; ++i) {
        const double psi = im_[i] * lh_[i];
        std::array<double, 9> powers{};
        powers[0] = 1.0;
        for (size_t j = 1; j < powers.size(); ++j) powers[j] = powers[j - 1] * psi;
        for (int row = 0; row < 5; ++row) {
            for (int column = row; column < 5; ++column)
                At(m, row, column) += powers[static_cast<size_t>(row + column)];
            r[static_cast<size_t>(row)] += powers[static_cast<size_t>(row)] * lh_[i];
        }
    }
    CholeskyDecompose(kIdentMatrixStride, 5, m);
    CholeskySolve(kIdentMatrixStride, 5, m, std::span<double>(r.data(), 5));
    std::copy_n(r.begin(), 5, flux_.begin());
    static const char* const kNames[] = {"MOMC0", "MOMC1", "MOMC2", "MOMC3", "MOMC4"};
    for (int i = 0; i < 5; ++i) {
        // The last three end the run without a box when they fail.
        if (!Write(kIdentFluxCoefficient0 + i, flux_[static_cast<size_t>(i)], kNames[i], 0, i < 2)) return false;
    }
    log_.PutLine("Endgültiges Polynom für differenzielle Hauptinduktivität");
    for (int i = 0; i < 5; ++i) LogLine(log_, "Berechnet:      MOMC%d = %g", i, flux_[static_cast<size_t>(i)]);
    log_.PutLine("");
    return true;
}

void AsynchronousRun::ReportCheckTable() {
    std::array<double, kLhPoints> i2{}, l{};
    const double psiMax = lhMeasured_[kLhPoints - 1] * im_[kLhPoints - 1];
    for (int k = 0; k < kLhPoints; ++k) {
        const double psi = k * psiMax * kOneNineteenth;
        const double value = EvalPolynomial4(psi, flux_);
        if (value < kCheckTableMinInductance) break;
        const double current = psi / value;
        if (current > 2.0 * im_[kLhPoints - 1]) break;
        i2[k] = current;
        l[k] = value;
    }
    LogColumnTable(log_,
                   4,
                   kLhPoints,
                   std::span<const double>(im_.data(), kLhPoints),
                   {lhMeasured_, std::span<const double>(frequency_.data(), kLhPoints), i2, l},
                   {"Isd(1) [Apeak]", "Lmag_sin_meas [H]", "Freq_meas [Hz]", "Isd(2) [Apeak]", "Lmag_ampl_poly [H]"});
}

bool AsynchronousRun::SetOperatingPoint() {
    progress_->ShowMessage(kIdentOperatingPointActivity);
    progress_->SetValue(0.0);
    WaitMilliseconds(kStartWaitMs);
    const RatedMotorData& r = rated_;
    const OperatingPointInput input{r.voltage, r.peakCurrent, r.speed, r.torque, r.polePairs, ls_, rs_, rr_};
    const std::optional<OperatingPoint> found = OperatingPointFromExpModel(input, differential_);
    if (!found) return NoResult(log_, "OperatingPointFromExpModel");
    OperatingPoint op = *found;
    if (!(op.flux >= 0) || !(op.inductance >= 0)) {
        op.flux = r.voltage / std::sqrt(3.0) / (kTwoPiSingle * r.frequency);
        op.inductance = op.flux / (0.6 * std::sqrt(2.0) * r.peakCurrent);
        log_.PutLine("Arbeitspunktberechnung gescheitert, verwende Standard-Einstellung");
        if (!Write(kIdentFluxCoefficient0, op.inductance, "MOMC0", 0, false)) return false;
        for (int role = kIdentFluxCoefficient0 + 1; role <= kIdentFluxCoefficient0 + 4; ++role) {
            if (!access_.WriteQuiet(role, 0.0)) return false;
        }
    }
    if (!Write(kIdentOperatingFlux, op.flux, "MOFNM", 0, false)) return false;
    const std::optional<OperatingPoint> second = OperatingPointFromPolynomial(input, flux_);
    if (!second) return NoResult(log_, "OperatingPointFromPolynomial");
    log_.PutLine("Arbeitspunktberechnung");
    LogLine(log_, "Berechnet: Arbeitspunkt Fluss          MOFNM = %g Vs", op.flux);
    LogLine(log_, "Berechnet: Arbeitspunkt Lh,diff              = %g H", op.inductance);
    LogLine(log_, "2. Rechnung: Arbeitspunkt Fluss        MOFNM = %g Vs", second->flux);
    LogLine(log_, "2. Rechnung: Arbeitspunkt Lh,diff            = %g H", second->inductance);
    log_.PutLine("");
    return true;
}

bool AsynchronousRun::Run(bool ratedTorqueGiven) {
    WriteIdentStartBox(log_, "|                         Asynchronmotor                       |");
    double version = 0.0, subVersion = 0.0;
    if (!access_.Read(kIdentFirmwareVersion, &version) || !access_.Read(kIdentFirmwareSubVersion, &subVersion))
        return false;
    log_.PutLine("");
    LogLine(log_, "Firmware Version %1.2f-%2.0f", version, subVersion);
    log_.PutLine("");
    progress_.emplace(kIdentRunActivity, static_cast<double>(kSweepPoints));
    WaitMilliseconds(kStartWaitMs);

    if (!ReadRatedData(ratedTorqueGiven)) return false;
    ReportRatedData();

    progress_->ShowMessage(kIdentFirstStepActivity);
    if (!RunFirstStep(base_)) return false;
    if (!ReportPreliminaryController(access_,
                                     log_,
                                     "           Stromregler Verstärkung   CCG   = %g V/A",
                                     "           Stromregler Nachstellzeit CCTLG = %g ms")) {
        return false;
    }
    if (!Sweep()) return false;
    FitAdmittance();
    ReportFit();
    if (!SetEquivalentCircuit() || !MeasureMagnetising() || !FitMagnetisingModels() || !FitFluxPolynomial())
        return false;
    ReportCheckTable();
    if (!SetOperatingPoint()) return false;
    if (!SetFinalControllerSettings(base_, true, &log_)) return false;
    if (!ReportFinalSettings(access_, log_)) return false;
    log_.PutLine("");
    if (!access_.Write(kIdentCompleteMark, 1.0)) return false;
    progress_->SetValue(kProgressDone);
    WaitMilliseconds(kEndWaitMs);
    log_.PutLine("\n\nIdentifikation erfolgreich beendet");
    progress_.reset();
    return true;
}

}  // namespace

bool IdentifyAsynchronousMotor(OnOffBase* base, bool ratedTorqueGiven) {
    IdentAccess access(base);
    double type = 0.0;
    if (!access.Read(kIdentMotorType, &type)) return false;
    const int motorType = static_cast<int>(type);
    if (motorType == kSynchronousMotor) return IdentifySynchronousMotor(base, ratedTorqueGiven);
    if (motorType != kAsynchronousMotor) {
        ShowErrorMessage(kUnknownMotorTypeMessage);
        return false;
    }
    DataLogger log(kIdentLogPath);
    AsynchronousRun run(base, log);
    return run.Run(ratedTorqueGiven);
}
