// The permanent-magnet motor's identification (the stator impedance at a low
// frequency and at the rated frequency) and the final controller setting
// that both procedures end with.
#include <array>
#include <cmath>
#include <optional>

#include "motor/datalogger/data_logger.h"
#include "motor/ident/ident_access.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_procedures.h"
#include "motor/ident/ident_report.h"
#include "motor/ident/ident_step.h"
#include "motor/numerics/controller_settings.h"
#include "parameters/parabase/on_off_base.h"

namespace {

constexpr double kOneOverTwoPi = 0.15915493866300567;
constexpr double kLowFrequency = 0.5;
constexpr double kLowFrequencyDuration = 4.0;
constexpr double kSmallestStatorValue = 0.000001;
constexpr double kStiffnessFactor = 3.5;
constexpr double kSpeedFilterMs = 1.0;

// The magnitude of the impedance the last step measured.
bool MeasuredImpedance(IdentAccess& access, double* z) {
    std::array<double, 4> e{};
    if (!ReadIdentResponse(access, &e)) return false;
    *z = std::sqrt((e[1] * e[1] + e[0] * e[0]) / (e[3] * e[3] + e[2] * e[2]));
    return true;
}

bool RunSynchronous(OnOffBase* base, DataLogger& log, bool ratedTorqueGiven) {
    IdentAccess access(base);
    auto write = [&](int role, double value, const char* name, int element = 0, bool withBox = true) {
        return WriteChecked(access, log, role, value, name, element, withBox);
    };
    WriteIdentStartBox(log, "|                         Synchronmotor                        |");
    RatedMotorData r;
    if (!access.Read(kIdentRatedVoltage, &r.voltage)) return false;
    if (!(r.voltage > 0.0)) return RatedValueInvalid(log, "MOVNM", r.voltage);
    if (!ReadRatedPowerAndPolePairs(access, log, ratedTorqueGiven, &r) || !ReadRatedCurrent(access, log, &r))
        return false;

    log.PutLine("Eingabe:   Motorart                     CFMOT = SM");
    LogLine(log, "Eingabe:   Nennleistung                 MOPNM = %g W", r.power);
    LogLine(log, "Eingabe:   Nenndrehzahl                 MOSNM = %g /min", r.speed);
    LogLine(log, "Berechnet: Nennmoment                   MOMNM = %g Nm", r.torque);
    LogLine(log, "Eingabe:   Nennfrequenz                 MOFN  = %g Hz", r.frequency);
    LogLine(log, "Berechnet: Polpaarzahl                  MONPP = %g", r.polePairs);
    LogLine(log, "Eingabe:   Nennspannung                 MOVNM = %g V", r.voltage);
    LogLine(log, "Eingabe:   Nennstrom                    MOCNM = %g V", r.ratedCurrent);
    log.PutLine("");
    log.PutLine("");

    if (!RunFirstStep(base)) return false;
    if (!ReportPreliminaryController(access,
                                     log,
                                     "           Stromregler Verstärkung      CCG   = %g V/A",
                                     "           Stromregler Nachstellzeit    CCTLG = %g ms")) {
        return false;
    }

    // The resistance from the impedance at a low frequency.
    if (!WriteExcitationLevels(access, log, r.peakCurrent) ||
        !write(kIdentExcitationFrequency, kLowFrequency, "Frequenz") ||
        !write(kIdentExcitationTiming, kLowFrequencyDuration, "Zeit", 2)) {
        return false;
    }
    double rs = 0.0, z = 0.0;
    if (!RunIdentStep(kIdentMeasureCommand, base) || !MeasuredImpedance(access, &rs)) return false;

    // The inductance from the impedance at the rated frequency.
    double frequency = 0.0;
    if (!access.Read(kIdentRatedFrequency, &frequency)) return false;
    if (!write(kIdentExcitationTiming, ExcitationDuration(frequency), "Zeit", 2) ||
        !write(kIdentExcitationFrequency, frequency, "Frequenz")) {
        return false;
    }
    if (!RunIdentStep(kIdentMeasureCommand, base) || !MeasuredImpedance(access, &z)) return false;
    const double x = std::sqrt(z * z - rs * rs);
    const double ls = x / frequency * kOneOverTwoPi;

    const bool statorValid = rs > kSmallestStatorValue && x > kSmallestStatorValue;
    if (!write(kIdentLeakage, statorValid ? ls : 0.0, "MOL_S", 0, false) ||
        !write(kIdentStatorResistance, statorValid ? rs : 0.0, "MOR_S", 0, false)) {
        return false;
    }
    log.PutLine("Messung der Stator-Parameter");
    LogLine(log, "Gemessen:  Induktivität                 MOL_S = %g H", ls);
    LogLine(log, "Gemessen:  Widerstand                   MOR_S = %g Ohm", rs);
    log.PutLine("");
    log.PutLine("");

    const double flux = 2.0 / (std::sqrt(2.0) * r.polePairs * 3.0) * r.torque / r.ratedCurrent;
    if (!write(kIdentOperatingFlux, flux, "MOFNM", 0, false)) return false;
    LogLine(log, "Berechnet: Fluss                        MOFNM = %g Vs", flux);
    log.PutLine("");
    log.PutLine("");

    if (!SetFinalControllerSettings(base, statorValid, &log)) return false;
    if (!ReportFinalSettings(access, log)) return false;
    log.PutLine("");
    log.PutLine("");
    return access.WriteQuiet(kIdentCompleteMark, 1.0);
}

}  // namespace

bool IdentifySynchronousMotor(OnOffBase* base, bool ratedTorqueGiven) {
    DataLogger log(kIdentLogPath);
    return RunSynchronous(base, log, ratedTorqueGiven);
}

bool SetFinalControllerSettings(OnOffBase* base, bool setCurrentController, DataLogger* log) {
    IdentAccess access(base);
    auto noNumber = [&](const char* what) {
        if (log != nullptr) NoResult(*log, what);
        return false;
    };
    auto write = [&](int role, double value, const char* name) {
        if (!std::isfinite(value)) return noNumber(name);
        return access.Write(role, value);
    };
    double type = 0.0, lm = 0.0, ls = 0.0, rs = 0.0, rr = 0.0, ts = 0.0, speedDelay = 0.0, positionDelay = 0.0;
    const std::pair<int, double*> reads[] = {
        {kIdentMotorType, &type},
        {kIdentFinalMagnetising, &lm},
        {kIdentLeakage, &ls},
        {kIdentStatorResistance, &rs},
        {kIdentRotorResistance, &rr},
        {kIdentSamplingPeriod, &ts},
        {kIdentSpeedLoopDelay, &speedDelay},
        {kIdentPositionLoopDelay, &positionDelay},
    };
    for (const auto& [role, out] : reads) {
        if (!access.Read(role, out)) return false;
    }
    const int motorType = static_cast<int>(type);
    if (setCurrentController && (motorType == kAsynchronousMotor || motorType == kSynchronousMotor)) {
        double l = ls, r = rs;
        if (motorType == kAsynchronousMotor) {
            const double lt = lm + ls;
            l = lt - lm * lm / lt;
            r = lm * lm * rr / (lt * lt) + rs;
        }
        const std::optional<CurrentControllerSettings> cc = CalcIdentCurrentController(l, r, ts);
        if (!cc) return noNumber("CalcIdentCurrentController");
        if (!write(kIdentCurrentGain, cc->gain, "CCG") ||
            !write(kIdentCurrentResetTime, cc->resetTime * 1000.0, "CCTLG")) {
            return false;
        }
    }
    double inertia = 0.0, polePairs = 0.0, power = 0.0, total = 0.0;
    if (!access.Read(kIdentMotorInertia, &inertia) || !access.Read(kIdentPolePairs, &polePairs) ||
        !access.Read(kIdentRatedPower, &power) || !access.Read(kIdentTotalInertia, &total)) {
        return false;
    }
    // Estimates are used for the calculation only.
    if (inertia == 0.0) inertia = EstimateMotorInertia(power, polePairs);
    if (total == 0.0) total = 2.0 * inertia;
    const std::optional<SpeedPositionSettings> sp =
        CalcSpeedAndPositionController(kStiffnessFactor, ts, speedDelay, positionDelay, kSpeedFilterMs, total);
    if (!sp) return noNumber("CalcSpeedAndPositionController");
    return write(kIdentSpeedFilter, kSpeedFilterMs, "ECTF") && write(kIdentSpeedGain, sp->speedGain, "SCG") &&
           write(kIdentSpeedResetTime, sp->speedResetTimeMs, "SCTLG") &&
           write(kIdentPositionGain, sp->positionGain, "PCG");
}
