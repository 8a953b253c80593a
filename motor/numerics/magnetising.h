// Formulas of the magnetising measurement of an asynchronous motor: the
// excitation frequency, the magnetising inductance from the measured
// reactance, and the magnetising current. Inductances in H, resistances in
// Ohm, angular frequencies in rad/s, currents in A peak.
// Each returns no value where a divisor is 0 or the result is not finite.
#pragma once

#include <optional>

// Lowest excitation frequency of the magnetising measurement, rad/s (0.02 Hz).
inline constexpr double kMinLhExcitationFrequency = 0.12566370964050294;

// Magnetising current of a measurement with the stator current amplitude
// `current` at `omega`: I * sqrt((Rr² + Ls²ω²) / (Rr² + Lt²ω²)).
std::optional<double> MagnetisingCurrentAmplitude(double omega, double current, double rr, double lt, double ls);

// Magnetising inductance Lh from the measured reactance `x` at `omega`; when
// the equation has no real root, lt - ls (the previous estimate).
std::optional<double> MagnetisingInductanceFromReactance(double omega, double rr, double ls, double x, double lt);

// Angular frequency at which the magnetising reactance shows best against
// the rotor resistance, never below kMinLhExcitationFrequency.
std::optional<double> LhExcitationFrequency(double rr, double ls, double lt);

// Magnetising current of the flux-producing current `id` at the total current
// `current`: sqrt(Id² + k² (I² - Id²)) with k = 1 - Lh / (Lh + Ls).
std::optional<double> MagnetisingCurrentFromTotal(double lh, double ls, double id, double current);
