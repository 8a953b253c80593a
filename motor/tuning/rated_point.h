// The rated-point calculation of the Pesco motor-data window: from a desired
// rated point (voltage, current, power, speed) and the identified motor
// model, the operating point the motor reaches, set as the drive's rated
// data in the stored values, and the result window that shows them.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;
class OnOffBase;

// Fields of the motor-data window: U, I, P (kW) and n (1/min).
inline constexpr char kRatedVoltageFieldName[] = "_PN_155";
inline constexpr char kRatedCurrentFieldName[] = "_PN_158";
inline constexpr char kRatedPowerFieldName[] = "_PN_852";
inline constexpr char kRatedSpeedFieldName[] = "_PN_157";
inline constexpr char kRatedPointWindowName[] = "1_CalcRatedPoint";
inline constexpr char kRatedPointActivityText[] = "Berechne Nenndaten";
inline constexpr unsigned kRatedPointWaitMs = 2000;
inline constexpr char kTorqueReducedText[] =
    "Der geforderte Arbeitspunkt konnte nicht eingestellt werden.\nDas Drehmoment wurde reduziert. Sie können "
    "die Nenndrehzahl reduzieren, um das Drehmoment zu behalten\n";
inline constexpr char kVoltageReserveFormat[] =
    "Der gewählte Arbeitspunkt hat eine Spannungsreserve von %i %%.\nSie können Drehzahl und/oder "
    "Drehmoment erhöhen.";

// Computes the operating point of the rated point (U in V, I in A, P in kW,
// n in 1/min) on the motor data of `base` and sets the rated data in its
// stored values. False after a failed access (error 5 shown) or when the
// motor data give no usable result; the online flag is as before.
bool CalcRatedPoint(OnOffBase* base, double voltage, double current, double power, double speed);

int CB5_CalcRatedPoint(GwCore* widget, GwEvent* event, GwUD userData);
