// The user-unit tables, the unit texts composed from them and the reduced
// fraction of the factor calculation.
#include "families/copen_units.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(CopenTablesTest, UnitListInOrderAndRowsByCode) {
    std::vector<std::string> texts;
    for (const CopenUnit& unit : CopenUnitTable) texts.push_back(unit.Text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"-", "m", "rev", "rad", "sec", "min", "degree", "steps", "incr", "user"}));
    EXPECT_EQ(CopenUnitRowOf(65), 6);
    EXPECT_STREQ(CopenUnitTable[6].Dimension, "Angle");
    EXPECT_EQ(CopenUnitRowOf(255), 9);
    EXPECT_EQ(CopenUnitRowOf(99), 0);
}

TEST(CopenTablesTest, ExponentListFromPlusToMinusEighteen) {
    EXPECT_STREQ(CopenExponentTable[0].Text, "E+18");
    EXPECT_STREQ(CopenExponentTable[18].Text, "E0");
    EXPECT_STREQ(CopenExponentTable[20].Text, "E-2 ");
    EXPECT_STREQ(CopenExponentTable[36].Text, "E-18");
    for (int row = 0; row < kCopenExponentRows; ++row) EXPECT_EQ(CopenExponentTable[row].Exponent, 18 - row);
    EXPECT_EQ(CopenExponentRowOf(-3), 21);
    EXPECT_STREQ(CopenExponentTable[21].Name, "milli");
    EXPECT_STREQ(CopenExponentTable[CopenExponentRowOf(0)].Name, "");
    EXPECT_EQ(CopenExponentRowOf(19), 0);
    EXPECT_EQ(CopenExponentRowOf(-19), 0);
}

struct TextCase {
    int UnitRow;
    int Position;
    int Velocity;
    const char* Texts[3];
};

TEST(CopenUnitTextTest, ComposedFromListRows) {
    const TextCase cases[] = {
        {1, -3, -3, {"mm", "mm/s", "mm/s2"}},
        {1, 0, 0, {" m", " m/s", " m/s2"}},
        {2, 2, 2, {"E+2rev", "E+2rev/s", "E+2rev/s2"}},
        {1, 0, -3, {" m", "mm/s", "mm/s2"}},
        {0, -3, -3, {"", "", ""}},
        {9, -3, 2, {"", "", ""}},
        {6, -2, -1, {"cdegree", "ddegree/s", "ddegree/s2"}},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.UnitRow << " " << c.Position << " " << c.Velocity);
        const int position = CopenExponentRowOf(c.Position);
        const int velocity = CopenExponentRowOf(c.Velocity);
        EXPECT_EQ(ComposeCopenUnitText(c.UnitRow, position, CopenQuantity::Position), c.Texts[0]);
        EXPECT_EQ(ComposeCopenUnitText(c.UnitRow, velocity, CopenQuantity::Velocity), c.Texts[1]);
        EXPECT_EQ(ComposeCopenUnitText(c.UnitRow, velocity, CopenQuantity::Acceleration), c.Texts[2]);
    }
}

TEST(CopenUnitTextTest, FromStoredCodesUnknownPartsStayEmpty) {
    EXPECT_EQ(CopenUnitTextFromCodes(1, -1, CopenQuantity::Position), "dm");
    EXPECT_EQ(CopenUnitTextFromCodes(1, 0, CopenQuantity::Velocity), " m/s");
    EXPECT_EQ(CopenUnitTextFromCodes(180, 2, CopenQuantity::Acceleration), "E+2rev/s2");
    EXPECT_EQ(CopenUnitTextFromCodes(99, -3, CopenQuantity::Velocity), "m/s");
    EXPECT_EQ(CopenUnitTextFromCodes(1, 25, CopenQuantity::Position), "m");
    EXPECT_EQ(CopenUnitTextFromCodes(0, -3, CopenQuantity::Position), "");
}

TEST(CopenExponentTest, NextFinerNamedExponent) {
    const std::pair<int, std::optional<int>> cases[] = {
        {3, -1}, {-3, -6}, {0, -1}, {-1, -2}, {-15, -18}, {-18, std::nullopt}, {18, 15}};
    for (auto [from, expected] : cases) {
        SCOPED_TRACE(from);
        EXPECT_EQ(NextFinerCopenExponent(from), expected);
    }
}

struct FractionCase {
    double A;
    int Pa;
    double B;
    int Pb;
    std::optional<ReducedFraction> Expected;
};

TEST(ReduceFractionTest, LowestTermsWithPowersOfTen) {
    const FractionCase cases[] = {
        {4096, 0, 10, 0, ReducedFraction{2048, 5}},
        {65535, 0, 1, 0, ReducedFraction{65535, 1}},
        {-6, 0, 4, 0, ReducedFraction{3, 2}},
        {1, -3, 1, 0, ReducedFraction{1, 1000}},
        {3, 2, 6, 0, ReducedFraction{50, 1}},
        {7.9, 0, 2, 0, ReducedFraction{7, 2}},
        {0, 0, 5, 0, std::nullopt},
        {5, 0, 0.5, 0, std::nullopt},
        // 2^63 and more are not truncated to 64 bits: they stay as they are.
        {1, 19, 3, 0, ReducedFraction{1e19, 3}},
        {9223372036854775808.0, 0, 2, 0, ReducedFraction{9223372036854775808.0, 2}},
    };
    for (const FractionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.A << "e" << c.Pa << " / " << c.B << "e" << c.Pb);
        const std::optional<ReducedFraction> result = ReduceFraction(c.A, c.Pa, c.B, c.Pb);
        ASSERT_EQ(result.has_value(), c.Expected.has_value());
        if (!result) continue;
        EXPECT_EQ(result->Numerator, c.Expected->Numerator);
        EXPECT_EQ(result->Denominator, c.Expected->Denominator);
    }
}

}  // namespace
