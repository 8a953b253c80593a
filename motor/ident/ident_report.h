// Pieces the identification procedures share: the report's start box, the
// checks that keep values that are not finite or not sensible away from the
// drive, the rated data, the excitation's levels, and the drive's first step
// with its recording.
#pragma once

#include <array>
#include <string>

#include "motor/datalogger/data_logger.h"
#include "motor/ident/ident_access.h"

// Time text, a tab, two line feeds, and the box naming the motor kind
// ("Asynchronmotor" or "Synchronmotor" in its padded line).
void WriteIdentStartBox(DataLogger& log, const char* kindLine);
// The line and a line feed, formatted.
void LogLine(DataLogger& log, const char* format, ...);

// Writes `value` for `role` when it is a finite number; else the log says
// which value it was and the run ends (false). `withBox` shows main error 5
// on a failed write.
bool WriteChecked(IdentAccess& access, DataLogger& log, int role, double value, const char* name, int element = 0,
                  bool withBox = true);
// For a numeric routine that gave no result: the log line, and false.
bool NoResult(DataLogger& log, const char* routine);
// For a rated value that is out of range: the log line, and false.
bool RatedValueInvalid(DataLogger& log, const char* name, double value);

// The rated data of a run, each checked as it is read.
struct RatedMotorData {
    double power = 0.0;      // W
    double speed = 0.0;      // 1/min
    double torque = 0.0;     // Nm
    double frequency = 0.0;  // Hz
    double polePairs = 0.0;
    double voltage = 0.0;       // V
    double ratedCurrent = 0.0;  // A rms
    double peakCurrent = 0.0;   // A peak
};

// Reads the rated speed and the rated torque (when given) or power, writes
// the other one of the two, reads the rated frequency and writes the pole
// pairs it gives. A value out of range ends the run with its log line.
bool ReadRatedPowerAndPolePairs(IdentAccess& access, DataLogger& log, bool ratedTorqueGiven, RatedMotorData* r);
// Reads the rated current and the device's current limit: the test current
// is the peak of the smaller of the two.
bool ReadRatedCurrent(IdentAccess& access, DataLogger& log, RatedMotorData* r);

// Whole periods of at least three for an excitation at `frequency`, s.
double ExcitationDuration(double frequency);
// The excitation's timing (0 and 0.5 s) and its currents (0.2, 0.5 and 0.5
// of `peak`).
bool WriteExcitationLevels(IdentAccess& access, DataLogger& log, double peak);

// The drive's response to the last step: the voltage as e1 + j e0, the
// current as e3 + j e2.
bool ReadIdentResponse(IdentAccess& access, std::array<double, 4>* e);

// The drive's own first step of the run, then the recording read and
// exported for the plot; false when the step failed.
bool RunFirstStep(OnOffBase* base);

// Current-controller values the drive set in its first step, reported.
bool ReportPreliminaryController(IdentAccess& access, DataLogger& log, const char* gainLine, const char* resetLine);
// The final settings read back and reported (quiet reads; false on a failed
// read).
bool ReportFinalSettings(IdentAccess& access, DataLogger& log);
