#include "scope/varlist/scope_variable_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "testsupport/test_env.h"

using namespace std::string_literals;

namespace {

// The list files are written on disk as another program wrote them: lower-case
// extension, read back through the program's "..\FIRMDATA\...MCW" path.
constexpr char kListPath[] = "..\\FIRMDATA\\4_005_20.MCW";

void WriteListFile(const std::string& text) {
    testsupport::WriteFile(testsupport::RuntimePath("FIRMDATA/4_005_20.mcw"), text);
}

std::string Names(const ScopeVariableList& list) {
    std::string names;
    for (const ScopeVariable& v : list.Entries()) names += (names.empty() ? "" : " ") + v.name;
    return names;
}

std::string ManyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "V" + std::to_string(i) + ", A, 0, 1.0, 1, 1\n";
    return text;
}

TEST(ScopeVariableList, ReadsEveryFieldAndCountsIndexesPerWidthKind) {
    WriteListFile(
        "  SpeedActual, 1/min, 4, 1.000000, 1, 1\n"
        "PositionActual Incr 0 2.5 2 3\r\n"
        "CurrentActual,A,12,-1,1,5\n"
        "StatusWord, NONE, 0, 1.000000, 3, 7\n"
        "Torque,\tNoNe , 8, 5e-1, 1, 2 trailing words\n"
        "Power, nones, 0, 1, 2, 0");  // last line without line feed
    ScopeVariableList list;
    ASSERT_TRUE(list.ReadListFile(kListPath));
    EXPECT_TRUE(list.IsValid());
    EXPECT_EQ(kListPath, list.Path());

    struct Expected {
        const char* name;
        const char* unit;
        int fraction_bits;
        double factor;
        int width_kind;
        int index_within_kind;
        int level;
    };
    const Expected expected[] = {
        {"SpeedActual", "1/min", 4, 1.0, 1, 0, 1},
        {"PositionActual", "Incr", 0, 2.5, 2, 0, 3},
        {"CurrentActual", "A", 12, -1.0, 1, 1, 5},
        {"StatusWord", "", 0, 1.0, 3, 1, 7},
        {"Torque", "", 8, 0.5, 1, 2, 2},
        {"Power", "nones", 0, 1.0, 2, 2, 0},
    };
    ASSERT_EQ(std::size(expected), list.Entries().size());
    for (size_t i = 0; i < std::size(expected); ++i) {
        const ScopeVariable& v = list.Entries()[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.name, v.name);
        EXPECT_EQ(e.unit, v.unit);
        EXPECT_EQ(e.fraction_bits, v.fraction_bits);
        EXPECT_EQ(e.factor, v.factor);
        EXPECT_EQ(e.width_kind, v.width_kind);
        EXPECT_EQ(e.index_within_kind, v.index_within_kind);
        EXPECT_EQ(e.level, v.level);
    }
}

TEST(ScopeVariableList, ReadingStopsAtTheFirstBadLineAndKeepsWhatCameBefore) {
    struct Case {
        const char* what;
        std::string text;
        bool ok;
        std::string names;
    };
    const std::string line_254 = "L, A, 0, 1, 1, 1" + std::string(254 - 16, ' ');
    const Case cases[] = {
        {"empty file", "", true, ""},
        {"missing field", "A, V, 0, 1, 1, 1\nB, V, 0, 1, 1\nC, V, 0, 1, 1, 1\n", false, "A"},
        {"word for a number", "A, V, 0, 1, 1, 1\nB, V, x, 1, 1, 1\n", false, "A"},
        {"empty line", "A, V, 0, 1, 1, 1\n\nC, V, 0, 1, 1, 1\n", false, "A"},
        {"line of 254 bytes", line_254 + "\n", true, "L"},
        {"line of 255 bytes", line_254 + " \n", false, ""},
        {"NUL ends a line", "A, V, 0, 1, 1, 1\nB, V\0, 0, 1, 1, 1\n"s, false, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteListFile(c.text);
        ScopeVariableList list;
        EXPECT_EQ(c.ok, list.ReadListFile(kListPath));
        EXPECT_EQ(c.ok, list.IsValid());
        EXPECT_EQ(c.names, Names(list));
    }
}

TEST(ScopeVariableList, KeepsAtMost256EntriesButReadsOnToTheEnd) {
    ScopeVariableList list;
    EXPECT_TRUE(list.ReadListText(ManyLines(300)));
    ASSERT_EQ(256u, list.Entries().size());
    EXPECT_EQ("V255", list.Entries().back().name);
    EXPECT_EQ(255, list.Entries().back().index_within_kind);

    // A bad line after the 256th entry still fails the read.
    EXPECT_FALSE(list.ReadListText(ManyLines(257) + "Broken, A\n"));
    EXPECT_EQ(256u, list.Entries().size());
}

TEST(ScopeVariableList, CutsNamesAndUnitsToTheirMaximum) {
    ScopeVariableList list;
    const std::string name(60, 'n');
    const std::string unit(25, 'u');
    ASSERT_TRUE(list.ReadListText(name + ", " + unit + ", 99999999999, 1.0, -7, 300\n"));
    const ScopeVariable& v = list.Entries().at(0);
    EXPECT_EQ(name.substr(0, 50), v.name);
    EXPECT_EQ(unit.substr(0, 20), v.unit);
    EXPECT_EQ(255, v.fraction_bits);  // saturated to INT32_MAX, then the byte
    EXPECT_EQ(-7, v.width_kind);
    EXPECT_EQ(300 % 256, v.level);
}

TEST(ScopeVariableList, FieldsWrittenForTheFileReadBackUnchanged) {
    const std::vector<std::string> names = {
        "", "A,B", "two words", "tab\there", "\"q\"", "x\"y", "plain", std::string(60, ',')};
    std::string text;
    for (const std::string& name : names) text += ScopeVariableList::FileField(name, 50) + ", V, 0, 1.0, 1, 1\n";
    EXPECT_EQ(text.substr(0, text.find('\n', text.find('\n') + 1)), "\"\", V, 0, 1.0, 1, 1\n\"A,B\", V, 0, 1.0, 1, 1");
    ScopeVariableList list;
    ASSERT_TRUE(list.ReadListText(text));
    ASSERT_EQ(list.Entries().size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(list.Entries()[i].name, names[i].substr(0, 50)) << i;
    // A quoted field without its closing quote runs to the end of the line.
    ASSERT_FALSE(list.ReadListText("\"open, A, 0, 1.0, 1, 1\n"));
}

TEST(ScopeVariableList, MissingFileGivesAnEmptyListThatKeepsThePath) {
    ScopeVariableList list;
    ASSERT_TRUE(list.ReadListText("A, V, 0, 1, 1, 1\nB, V, 0, 1, 2, 1\n"));
    ASSERT_TRUE(list.SelectByName("b"));
    EXPECT_FALSE(list.ReadListFile("..\\FIRMDATA\\9_999_99.MCW"));
    EXPECT_FALSE(list.IsValid());
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(nullptr, list.Current());
    EXPECT_EQ(0, list.CurrentIndex());
    EXPECT_EQ("..\\FIRMDATA\\9_999_99.MCW", list.Path());
}

TEST(ScopeVariableList, TimeBaseGivesOnePowerOfTwoFactor) {
    WriteListFile("A, V, 0, 0, 1, 1\n");
    struct Case {
        double time;
        double factor;
    };
    const Case cases[] = {
        {0.0001, 1.0},                        // below 2^0
        {1.0, 2.0},                           // 1.414 -> 2
        {2.0 / std::sqrt(2.0), 2.0},          // exactly a power of two
        {16384.0 / std::sqrt(2.0), 16384.0},  // the largest power
        {20000.0, 20000.0 * std::sqrt(2.0)},  // beyond it, the product itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        ScopeVariableList list;
        list.InitWithTimeBase(kListPath, c.time);
        EXPECT_TRUE(list.IsValid());
        ASSERT_EQ(1u, list.FactorTable().size());
        EXPECT_DOUBLE_EQ(c.factor, list.FactorTable()[0]);
        EXPECT_DOUBLE_EQ(c.factor, list.GetCurrentFactor());  // the entry's factor 0 selects it
    }
    ScopeVariableList missing;
    missing.InitWithTimeBase("..\\FIRMDATA\\none.MCW", 1.0);
    EXPECT_FALSE(missing.IsValid());
}

TEST(ScopeVariableList, CurrentFactorIsOwnFactorOrFactorTableEntry) {
    WriteListFile(
        "Own, V, 0, 2.5, 1, 1\n"
        "Zero, V, 0, 0, 1, 1\n"
        "Minus2, V, 0, -2, 1, 1\n"
        "Half, V, 0, -1.5, 1, 1\n"
        "Beyond, V, 0, -3, 1, 1\n"
        "Huge, V, 0, -1e300, 1, 1\n"
        "NaN, V, 0, nan, 1, 1\n");
    const double factors[] = {10.0, 20.0, 30.0};
    ScopeVariableList list;
    list.InitWithFactorTable(kListPath, factors);
    EXPECT_TRUE(list.IsValid());
    const std::pair<const char*, double> cases[] = {
        {"Own", 2.5},
        {"Zero", 10.0},
        {"Minus2", 30.0},
        {"Half", 20.0},
        {"Beyond", 0.0},
        {"Huge", 0.0},
        {"NaN", 0.0},
    };
    for (const auto& [name, factor] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(list.SelectByName(name));
        EXPECT_EQ(factor, list.GetCurrentFactor());
    }
    list.SetFactorTable({});
    ASSERT_TRUE(list.SelectByName("Zero"));
    EXPECT_EQ(0.0, list.GetCurrentFactor());
    EXPECT_EQ(0.0, ScopeVariableList().GetCurrentFactor());
}

TEST(ScopeVariableList, SelectsByKindAndIndexOrByNameWithoutCase) {
    ScopeVariableList list;
    ASSERT_TRUE(
        list.ReadListText("A16, V, 0, 1, 1, 1\n"
                          "A32, V, 0, 1, 2, 1\n"
                          "B16, V, 0, 1, 1, 1\n"
                          "B32, V, 0, 1, 2, 1\n"
                          "Same, V, 0, 1, 1, 1\n"
                          "SAME, V, 0, 1, 1, 1\n"));
    ASSERT_TRUE(list.SelectByKindIndex(1, 2));
    EXPECT_EQ("B32", list.Current()->name);
    ASSERT_TRUE(list.SelectByKindIndex(1, 1));
    EXPECT_EQ("B16", list.Current()->name);
    EXPECT_FALSE(list.SelectByKindIndex(2, 2));
    EXPECT_FALSE(list.SelectByKindIndex(0, 3));
    EXPECT_EQ("B16", list.Current()->name);  // a failed selection keeps the current entry

    ASSERT_TRUE(list.SelectByName("same"));
    EXPECT_EQ(4, list.CurrentIndex());
    ASSERT_TRUE(list.SelectByName("a32"));
    EXPECT_EQ("A32", list.Current()->name);
    EXPECT_FALSE(list.SelectByName("A3"));
    EXPECT_EQ("A32", list.Current()->name);
}

}  // namespace
