#include "families/copen_units.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

const CopenUnit CopenUnitTable[kCopenUnitRows] = {
    {"None", "-", 0},
    {"Way", "m", 1},
    {"Revolution", "rev", 180},
    {"Angle", "rad", 16},
    {"Angle", "sec", 67},
    {"Angle", "min", 66},
    {"Angle", "degree", 65},
    {"Steps", "steps", 172},
    {"Way", "incr", 254},
    {"User_defined", "user", kCopenUserUnitCode},
};

const CopenExponent CopenExponentTable[kCopenExponentRows] = {
    {"exa", "E+18", "E", 18},   {"", "E+17", "", 17},        {"", "E+16", "", 16},       {"peta", "E+15", "P", 15},
    {"", "E+14", "", 14},       {"", "E+13", "", 13},        {"terra", "E+12", "T", 12}, {"", "E+11", "", 11},
    {"", "E+10", "", 10},       {"giga", "E+9", "G", 9},     {"", "E+8", "", 8},         {"", "E+7", "", 7},
    {"mega", "E+6", "M", 6},    {"", "E+5", "", 5},          {"", "E+4", "", 4},         {"kilo", "E+3", "k", 3},
    {"", "E+2", "", 2},         {"", "E+1", "", 1},          {"", "E0", " ", 0},         {"deci", "E-1", "d", -1},
    {"centi", "E-2 ", "c", -2}, {"milli", "E-3", "m", -3},   {"", "E-4", "", -4},        {"", "E-5", "", -5},
    {"micro", "E-6", "u", -6},  {"", "E-7", "", -7},         {"", "E-8", "", -8},        {"nano", "E-9", "n", -9},
    {"", "E-10", "", -10},      {"", "E-11", "", -11},       {"pico", "E-12", "p", -12}, {"", "E-13", "", -13},
    {"", "E-14", "", -14},      {"femto", "E-15", "f", -15}, {"", "E-16", "", -16},      {"", "E-17", "", -17},
    {"atto", "E-18", "a", -18},
};

int CopenUnitRowOf(int code) {
    int found = 0;
    for (int row = 0; row < kCopenUnitRows; ++row) {
        if (CopenUnitTable[row].Code == code) found = row;
    }
    return found;
}

namespace {

bool IsExponentInRange(int exponent) { return exponent >= -18 && exponent <= 18; }

std::string ExponentPrefix(int exponentRow) {
    const CopenExponent& row = CopenExponentTable[exponentRow];
    return *row.Letter != '\0' ? row.Letter : row.Text;
}

const char* QuantitySuffix(CopenQuantity quantity) {
    switch (quantity) {
        case CopenQuantity::Velocity:
            return "/s";
        case CopenQuantity::Acceleration:
            return "/s2";
        case CopenQuantity::Position:
            break;
    }
    return "";
}

std::string ComposeText(const std::string& prefix, const std::string& unit, CopenQuantity quantity) {
    if (unit == "-") return "";
    return prefix + unit + QuantitySuffix(quantity);
}

}  // namespace

int CopenExponentRowOf(int exponent) { return IsExponentInRange(exponent) ? 18 - exponent : 0; }

std::string ComposeCopenUnitText(int unitRow, int exponentRow, CopenQuantity quantity) {
    if (unitRow < 0 || unitRow >= kCopenUnitRows || unitRow == kCopenUserUnitRow) return "";
    if (exponentRow < 0 || exponentRow >= kCopenExponentRows) exponentRow = 0;
    return ComposeText(ExponentPrefix(exponentRow), CopenUnitTable[unitRow].Text, quantity);
}

std::string CopenUnitTextFromCodes(int unitCode, int exponent, CopenQuantity quantity) {
    std::string unit;
    for (const CopenUnit& row : CopenUnitTable) {
        if (row.Code == unitCode) unit = row.Text;
    }
    const std::string prefix = IsExponentInRange(exponent) ? ExponentPrefix(CopenExponentRowOf(exponent)) : "";
    return ComposeText(prefix, unit, quantity);
}

std::optional<int> NextFinerCopenExponent(int exponent) {
    for (int row = std::abs(exponent - 18) + 1; row < kCopenExponentRows; ++row) {
        if (*CopenExponentTable[row].Name != '\0') return CopenExponentTable[row].Exponent;
    }
    return std::nullopt;
}

std::optional<ReducedFraction> ReduceFraction(double a, int pa, double b, int pb) {
    const int p = pa - pb;
    if (p < 0) b *= std::pow(10.0, -p);
    if (p > 0) a *= std::pow(10.0, p);
    a = std::trunc(std::fabs(a));
    b = std::trunc(std::fabs(b));
    if (!(a >= 1.0) || !(b >= 1.0)) return std::nullopt;
    constexpr double kBeyond64Bits = 9223372036854775808.0;  // 2^63
    if (a >= kBeyond64Bits || b >= kBeyond64Bits) return ReducedFraction{a, b};
    uint64_t x = static_cast<uint64_t>(a);
    uint64_t y = static_cast<uint64_t>(b);
    uint64_t larger = x > y ? x : y;
    uint64_t smaller = x > y ? y : x;
    while (smaller != 0) {
        const uint64_t rest = larger % smaller;
        larger = smaller;
        smaller = rest;
    }
    return ReducedFraction{static_cast<double>(x / larger), static_cast<double>(y / larger)};
}
