// Pieces the identification procedures share: the report's start box, the
// checks that keep values that are not finite or not sensible away from the
// drive, and the drive's first step with its recording.
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
