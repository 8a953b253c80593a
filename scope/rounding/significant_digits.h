// Rounding of a number to a count of significant digits, as the oscilloscope
// shows its times and the parameter layer rounds values for display.
#pragma once

// Rounds `x` to `digits` significant digits, counted from the decimal exponent
// of |x| truncated toward zero (so a number below 1 keeps one digit less than
// asked: 0.123456 to 5 digits is 0.1235). Halves go toward plus infinity.
// With `correct` set, one more step is added when the rounded value still lies
// more than half a step below `x`. 0, infinities and NaN come back unchanged,
// as does a value whose step or result is not representable.
double RoundToSignificantDigits(double x, int digits, bool correct = false);
