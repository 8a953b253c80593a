// The user units of the family-5 drives: the unit and power-of-ten tables of
// the norm windows, the unit texts composed from them, and the reduced
// fraction of the factor calculation.
#pragma once

#include <optional>
#include <string>

struct CopenUnit {
    const char* Dimension;  // key in the message file's "CopenUnitDimensions"
    const char* Text;
    int Code;
};
inline constexpr int kCopenUnitRows = 10;
inline constexpr int kCopenUserUnitRow = 9;
inline constexpr int kCopenUserUnitCode = 255;
extern const CopenUnit CopenUnitTable[kCopenUnitRows];

struct CopenExponent {
    const char* Name;    // prefix name, empty for most rows
    const char* Text;    // "E+18" .. "E-18"
    const char* Letter;  // prefix letter, empty for most rows
    int Exponent;        // 18 - row
};
inline constexpr int kCopenExponentRows = 37;
extern const CopenExponent CopenExponentTable[kCopenExponentRows];

// The row of a unit code (the last with that code), or of an exponent; 0
// when none has it.
int CopenUnitRowOf(int code);
int CopenExponentRowOf(int exponent);

// What a unit text is made of: position, velocity ("/s") or acceleration
// ("/s2").
enum class CopenQuantity { Position, Velocity, Acceleration };
// The text of a unit row and an exponent row: the exponent's letter (its
// text when it has none), the unit's text and the quantity's suffix; empty
// for the unit "-" and for the user unit.
std::string ComposeCopenUnitText(int unitRow, int exponentRow, CopenQuantity quantity);
// The same from stored values: an unknown unit code gives an empty unit, an
// exponent outside -18..18 an empty prefix.
std::string CopenUnitTextFromCodes(int unitCode, int exponent, CopenQuantity quantity);

// The first exponent below `exponent` whose row has a name; nothing when
// none is left.
std::optional<int> NextFinerCopenExponent(int exponent);

// a * 10^pa / (b * 10^pb) in lowest terms, both as magnitudes. Nothing when
// either operand is zero (no reduced fraction). An operand of 2^63 or more
// after scaling is not reduced: it comes back as it is, which is far above
// any 32-bit factor.
struct ReducedFraction {
    double Numerator = 0.0;
    double Denominator = 0.0;
};
std::optional<ReducedFraction> ReduceFraction(double a, int pa, double b, int pb);
