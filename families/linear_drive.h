// The linear-drive calculation of the Ruvex (family 4) and Pesco (family 5)
// motor windows: a linear motor's data sheet, typed into twelve fields,
// becomes the rotary motor parameters of the drive. The results go into the
// window's parameter fields, marked changed; the window's take-over writes
// them.
#pragma once

#include <array>

class GwCore;
class GwUD;
struct GwEvent;

// The input fields, in the order of the formulas' input vector.
inline constexpr int kLinearInputCount = 12;
inline constexpr std::array<const char*, kLinearInputCount> kLinearInputNames = {
    "MagnetPitch",
    "MaxSpeed",
    "ContCurrent",
    "ContForce",
    "MaxCurrent",
    "MaxForce",
    "WeightCoil",
    "BackEMF",
    "ResistancePerPhase",
    "InductancePerPhase",
    "PeriodEncoder",
    "OneMagnetPitch",
};

// Computes the rotary parameters from the inputs and shows them in the
// window's "_PN_" fields, marked changed. Message 22 for a missing field,
// 154 for an empty input or one that would divide by zero. Returns 1.
int CB4_CalcLinDrive(GwCore* widget, GwEvent* event, GwUD userData);
int CB5_CalcLinDrive(GwCore* widget, GwEvent* event, GwUD userData);
