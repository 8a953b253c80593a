// The AOP1 window of the Marlo firmware-200 line: seven values of parameters
// 971 to 977, each also shown scaled by parameters 960, 961 and 844.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kAop1Numerator = 960;
inline constexpr int kAop1Denominator = 961;
inline constexpr int kAop1Factor = 844;
inline constexpr int kAop1Values = 7;
// A scaled field whose scale cannot be had.
inline constexpr char kAop1Unknown[] = "???";

// The window's standard show, then each "_FM_97<i>" beside a "_PN_97<i>"
// gets that value x as x * 960 / 961 * 844 / 60 ("???" when a scale
// parameter cannot be read or 961 is 0). Returns 1.
int CB_3_200_DvFctShow_AOP1(GwCore* widget, GwEvent* event, GwUD userData);
// Takes the window's changed values over; when all were taken, shows the
// window again and marks the context modified. Returns 1.
int CB_3_200_DvFctTakeItWVA_AOP1(GwCore* widget, GwEvent* event, GwUD userData);
