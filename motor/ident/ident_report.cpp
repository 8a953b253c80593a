#include "motor/ident/ident_report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_step.h"
#include "scope/recorder/scope_recorder.h"

void WriteIdentStartBox(DataLogger& log, const char* kindLine) {
    log.WriteText(DataLogger::GetTimeText());
    log.Put("\t\n\n");
    log.PutLine("+--------------------------------------------------------------+");
    log.PutLine("|                 Start der Motoridentifikation                |");
    log.PutLine(kindLine);
    log.PutLine("+--------------------------------------------------------------+");
}

void LogLine(DataLogger& log, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    log.WriteLine(text);
}

bool WriteChecked(IdentAccess& access, DataLogger& log, int role, double value, const char* name, int element,
                  bool withBox) {
    if (!std::isfinite(value)) {
        LogLine(log, "Abbruch: %s ist keine gültige Zahl", name);
        return false;
    }
    return withBox ? access.Write(role, value, element) : access.WriteQuiet(role, value, element);
}

bool NoResult(DataLogger& log, const char* routine) {
    LogLine(log, "Abbruch: %s liefert kein Ergebnis", routine);
    return false;
}

bool RatedValueInvalid(DataLogger& log, const char* name, double value) {
    LogLine(log, "Abbruch: ungültiger Wert %s = %g", name, value);
    return false;
}

namespace {

constexpr double kRadPerSecondPerRpm = 0.10471975803375244;

}  // namespace

bool ReadRatedPowerAndPolePairs(IdentAccess& access, DataLogger& log, bool ratedTorqueGiven, RatedMotorData* r) {
    if (!access.Read(kIdentRatedSpeed, &r->speed)) return false;
    if (!(r->speed > 1.0)) return RatedValueInvalid(log, "MOSNM", r->speed);
    if (ratedTorqueGiven) {
        if (!access.Read(kIdentRatedTorque, &r->torque)) return false;
        if (!(r->torque > 0.0)) return RatedValueInvalid(log, "MOMNM", r->torque);
        r->power = r->torque * r->speed * kRadPerSecondPerRpm;
        if (!WriteChecked(access, log, kIdentRatedPower, r->power * 0.001, "MOPNM")) return false;
    } else {
        double kw = 0.0;
        if (!access.Read(kIdentRatedPower, &kw)) return false;
        if (!(kw > 0.0)) return RatedValueInvalid(log, "MOPNM", kw);
        r->power = 1000.0 * kw;
        r->torque = r->power / (r->speed * kRadPerSecondPerRpm);
        if (!WriteChecked(access, log, kIdentRatedTorque, r->torque, "MOMNM")) return false;
    }
    if (!access.Read(kIdentRatedFrequency, &r->frequency)) return false;
    if (!(r->frequency > 0.0)) return RatedValueInvalid(log, "MOFN", r->frequency);
    r->polePairs = std::floor(r->frequency * 60.0 / (r->speed - 1.0));
    if (!(r->polePairs >= 1.0)) return RatedValueInvalid(log, "MONPP", r->polePairs);
    return WriteChecked(access, log, kIdentPolePairs, r->polePairs, "MONPP");
}

bool ReadRatedCurrent(IdentAccess& access, DataLogger& log, RatedMotorData* r) {
    double limit = 0.0;
    if (!access.Read(kIdentRatedCurrent, &r->ratedCurrent)) return false;
    if (!(r->ratedCurrent > 0.0)) return RatedValueInvalid(log, "MOCNM", r->ratedCurrent);
    if (!access.Read(kIdentDeviceCurrentLimit, &limit)) return false;
    r->peakCurrent = std::sqrt(2.0) * std::min(r->ratedCurrent, limit);
    if (!(r->peakCurrent > 0.0)) return RatedValueInvalid(log, "Ipeak", r->peakCurrent);
    return true;
}

double ExcitationDuration(double frequency) { return std::ceil(3.0 * frequency) / frequency; }

bool WriteExcitationLevels(IdentAccess& access, DataLogger& log, double peak) {
    return WriteChecked(access, log, kIdentExcitationTiming, 0.0, "Zeit", 0) &&
           WriteChecked(access, log, kIdentExcitationTiming, 0.5, "Zeit", 1) &&
           WriteChecked(access, log, kIdentExcitationCurrents, 0.2 * peak, "Strom", 0) &&
           WriteChecked(access, log, kIdentExcitationCurrents, 0.5 * peak, "Strom", 1) &&
           WriteChecked(access, log, kIdentExcitationCurrents, 0.5 * peak, "Strom", 2);
}

bool ReadIdentResponse(IdentAccess& access, std::array<double, 4>* e) {
    for (int i = 0; i < 4; ++i) {
        if (!access.Read(kIdentResponse, &(*e)[static_cast<size_t>(i)], i)) return false;
    }
    return true;
}

bool RunFirstStep(OnOffBase* base) {
    if (!RunIdentStep(TheMotorIdentState().IdentStartCommand, base)) return false;
    ScopeRecorder scope("");
    scope.ReadAndExport();
    return true;
}

bool ReportPreliminaryController(IdentAccess& access, DataLogger& log, const char* gainLine, const char* resetLine) {
    double gain = 0.0, reset = 0.0;
    if (!access.Read(kIdentCurrentGain, &gain) || !access.Read(kIdentCurrentResetTime, &reset)) return false;
    log.PutLine("Vorläufige Inbetriebnahme des Stromreglers");
    LogLine(log, gainLine, gain);
    LogLine(log, resetLine, reset);
    log.PutLine("");
    log.PutLine("");
    return true;
}

bool ReportFinalSettings(IdentAccess& access, DataLogger& log) {
    struct Line {
        int role;
        const char* format;
    };
    const Line inertia[] = {
        {kIdentMotorInertia, "Geschätzt: Motor-Trägheitsmoment        MOJNM = %g kgmm"},
        {kIdentTotalInertia, "Geschätzt: Gesamt-Trägheitsmoment       SCJ   = %g kgmm"},
    };
    const Line controllers[] = {
        {kIdentCurrentGain, "Berechnet: Stromregler Verstärkung      CCG   = %g V/A"},
        {kIdentCurrentResetTime, "Berechnet: Stromregler Nachstellzeit    CCTLG = %g ms"},
        {kIdentSpeedFilter, "Geschätzt: Drehzahl-Istwert-Filter      ECTF  = %g ms"},
        {kIdentSpeedGain, "Berechnet: Drehzahlregler Verstärkung   SCG   = %g Nm min"},
        {kIdentSpeedResetTime, "Berechnet: Drehzahlregler Nachstellzeit SCTLG = %g ms"},
        {kIdentPositionGain, "Berechnet: Positionsregler Verstärkung  PCG   = %g /min"},
    };
    for (const Line& line : inertia) {
        double value = 0.0;
        if (!access.ReadQuiet(line.role, &value)) return false;
        LogLine(log, line.format, value);
    }
    log.PutLine("\nEndgültige Regler-Einstellung");
    for (const Line& line : controllers) {
        double value = 0.0;
        if (!access.ReadQuiet(line.role, &value)) return false;
        LogLine(log, line.format, value);
    }
    return true;
}
