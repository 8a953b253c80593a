#include "motor/ident/ident_report.h"

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
