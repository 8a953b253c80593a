// The identification procedures the PC computes: the induction motor (which
// hands a permanent-magnet motor over to its own procedure) and the common
// final setting of the current, speed and position controllers. Each writes
// its report to the identification log.
#pragma once

class DataLogger;
class OnOffBase;

// Main message of a motor type that neither procedure knows.
inline constexpr int kUnknownMotorTypeMessage = 128;
// Activity messages of the induction motor's run.
inline constexpr int kIdentRunActivity = 31;
inline constexpr int kIdentFirstStepActivity = 32;
inline constexpr int kIdentSweepActivity = 33;
inline constexpr int kIdentMagnetisingActivity = 34;
inline constexpr int kIdentOperatingPointActivity = 35;

inline constexpr int kAsynchronousMotor = 0;
inline constexpr int kSynchronousMotor = 1;

// True when the run completed; every result is then in the device.
bool IdentifyAsynchronousMotor(OnOffBase* base, bool ratedTorqueGiven);
bool IdentifySynchronousMotor(OnOffBase* base, bool ratedTorqueGiven);
// Sets the current controller (when asked and the motor type has one) from
// the identified motor data and the speed and position controllers from the
// inertia. `log`, when given, is told why a run ends over a value that is
// not a number.
bool SetFinalControllerSettings(OnOffBase* base, bool setCurrentController, DataLogger* log = nullptr);
