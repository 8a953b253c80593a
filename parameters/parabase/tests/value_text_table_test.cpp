#include "parameters/parabase/value_text_table.h"

#include <gtest/gtest.h>

#include <string>

#include "parameters/parabase/tests/parabase_fixture.h"
#include "testsupport/test_env.h"

namespace {

using parabasetest::ParaBaseTest;

class ValueTextTableTest : public ParaBaseTest {
protected:
    // Writes a T file into TMP/ and returns its path in the program's form.
    static std::string TFile(const std::string& bytes) {
        testsupport::WriteFile(testsupport::RuntimePath("TMP/base.00T"), bytes);
        return "..\\TMP\\base.00T";
    }
};

TEST_F(ValueTextTableTest, LineWithThreeTextsReadsBackAsThreeTexts) {
    ValueTextTable table;
    ASSERT_TRUE(table.ReadFile(TFile("  12 OFF ON ----- \r\n 403 E_NONE E_OVERV \n").c_str()));
    EXPECT_STREQ(table.GetValueText(12, 0), "OFF");
    EXPECT_STREQ(table.GetValueText(12, 1), "ON");
    EXPECT_STREQ(table.GetValueText(12, 2), " ");  // "-----" stands for an empty text
    EXPECT_EQ(table.GetValueText(12, 3), nullptr);
    EXPECT_STREQ(table.GetValueText(403, 1), "E_OVERV");
    EXPECT_EQ(table.GetValueText(13, 0), nullptr);
    EXPECT_EQ(table.GetCount(), 5);
}

TEST_F(ValueTextTableTest, ShortFirstLineStopsReadingWithTheLoggedLine) {
    ValueTextTable table;
    const std::string path = TFile("abc\n  12 OFF ON \n");
    EXPECT_FALSE(table.ReadFile(path.c_str()));
    EXPECT_NE(ProgramLog().find("Syntax error in Line 1in File ..\\TMP\\base.00T"), std::string::npos) << ProgramLog();
    EXPECT_EQ(table.GetValueText(12, 0), nullptr);
}

TEST_F(ValueTextTableTest, LineWithoutNumberIsLoggedAndSkipped) {
    ValueTextTable table;
    ASSERT_TRUE(table.ReadFile(TFile("xy   A B \n   0 C \n   7 D \n").c_str()));
    EXPECT_NE(ProgramLog().find("Syntax error in Line xy  in File "), std::string::npos) << ProgramLog();
    EXPECT_NE(ProgramLog().find("Syntax error in Line    0in File "), std::string::npos);
    EXPECT_STREQ(table.GetValueText(7, 0), "D");
    EXPECT_EQ(table.GetCount(), 1);
}

TEST_F(ValueTextTableTest, MissingFileIsRefused) {
    ValueTextTable table;
    EXPECT_FALSE(table.ReadFile("..\\TMP\\none.00T"));
    EXPECT_FALSE(table.ReadFile(nullptr));
}

TEST_F(ValueTextTableTest, WriteGivesOneCrLfLinePerParameterInNumberOrder) {
    ValueTextTable table;
    ASSERT_TRUE(table.AddFirstText(403, "E_NONE"));
    ASSERT_TRUE(table.AddFirstText(12, "OFF"));
    ASSERT_TRUE(table.AddNextText(12, "ON"));
    ASSERT_TRUE(table.AddNextText(12, "-----"));
    const std::string path = TFile("");
    ASSERT_TRUE(table.WriteFile(path.c_str()));
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/base.00T")),
              "  12 OFF ON ----- \r\n 403 E_NONE \r\n");

    ValueTextTable back;
    ASSERT_TRUE(back.ReadFile(path.c_str()));
    EXPECT_STREQ(back.GetValueText(12, 1), "ON");
    EXPECT_STREQ(back.GetValueText(403, 0), "E_NONE");
}

TEST_F(ValueTextTableTest, TextsThatAreNoPlainTokensAreQuotedAndReadBackUnchanged) {
    ValueTextTable table;
    ASSERT_TRUE(table.AddFirstText(7, "Speed control"));
    ASSERT_TRUE(table.AddNextText(7, ""));
    ASSERT_TRUE(table.AddNextText(7, "say \"yes\""));
    ASSERT_TRUE(table.AddNextText(7, " lead"));
    ASSERT_TRUE(table.AddFirstText(12, "OFF"));
    ASSERT_TRUE(table.AddNextText(12, "\"ON\""));
    const std::string path = TFile("");
    ASSERT_TRUE(table.WriteFile(path.c_str()));
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/base.00T")),
              "   7=\"Speed control\" \"\" \"say \"\"yes\"\"\" \" lead\" \r\n  12 OFF \"ON\" \r\n");

    ValueTextTable back;
    ASSERT_TRUE(back.ReadFile(path.c_str()));
    for (int number : {7, 12}) {
        for (int value = 0; value < 5; ++value) {
            const char* want = table.GetValueText(number, value);
            const char* got = back.GetValueText(number, value);
            ASSERT_EQ(want == nullptr, got == nullptr) << number << "/" << value;
            if (want != nullptr) {
                EXPECT_STREQ(got, want) << number << "/" << value;
            }
        }
    }
}

TEST_F(ValueTextTableTest, TextEndsAtAZeroByteAndAnEmptyTextStaysEmpty) {
    // A zero byte inside a token, as a fuzzed file had it.
    ValueTextTable table;
    ASSERT_TRUE(table.ReadFile(TFile(std::string("  12 A \0B C\n", 12)).c_str()));
    EXPECT_STREQ(table.GetValueText(12, 1), "");
    EXPECT_STREQ(table.GetValueText(12, 2), "C");
    ASSERT_TRUE(table.WriteFile(TFile("").c_str()));
    ValueTextTable back;
    ASSERT_TRUE(back.ReadFile("..\\TMP\\base.00T"));
    EXPECT_STREQ(back.GetValueText(12, 0), "A");
    EXPECT_STREQ(back.GetValueText(12, 1), "");
    EXPECT_STREQ(back.GetValueText(12, 2), "C");
}

TEST_F(ValueTextTableTest, QuotedLineWithoutItsClosingQuoteKeepsTheRestAsOneText) {
    ValueTextTable table;
    ASSERT_TRUE(table.ReadFile(TFile("   5=\"A B\" word \"open end \r\n").c_str()));
    EXPECT_STREQ(table.GetValueText(5, 0), "A B");
    EXPECT_STREQ(table.GetValueText(5, 1), "word");
    EXPECT_STREQ(table.GetValueText(5, 2), "open end ");
    EXPECT_EQ(table.GetValueText(5, 3), nullptr);
}

TEST_F(ValueTextTableTest, TextsAreCutTo32Characters) {
    ValueTextTable table;
    ASSERT_TRUE(table.AddFirstText(5, std::string(40, 'x').c_str()));
    EXPECT_EQ(std::string(table.GetValueText(5, 0)), std::string(32, 'x'));
}

TEST_F(ValueTextTableTest, KeypadGroupParameterAnswersThreeValuesPastItsTexts) {
    ValueTextTable table;
    table.AddFirstText(8, "G0");
    for (int i = 1; i <= 5; ++i) table.AddNextText(8, ("G" + std::to_string(i)).c_str());
    EXPECT_STREQ(table.GetValueText(8, 5), "G5");
    EXPECT_EQ(table.GetValueText(8, 6), nullptr);
    EXPECT_EQ(table.GetValueText(8, 7), nullptr);
    EXPECT_STREQ(table.GetValueText(8, 8), "_VAL ");
    EXPECT_EQ(table.GetValueText(8, 9), nullptr);
    // The value is taken as a byte.
    EXPECT_STREQ(table.GetValueText(8, 256 + 2), "G2");
}

TEST_F(ValueTextTableTest, RefusesNumbersOutsideTheTableAndTextsBeyondTheLimit) {
    ValueTextTable table;
    EXPECT_FALSE(table.AddFirstText(1000, "A"));
    EXPECT_FALSE(table.AddFirstText(-1, "A"));
    EXPECT_FALSE(table.AddNextText(17, "A"));  // no first text of 17
    EXPECT_EQ(table.GetValueText(1000, 0), nullptr);
    EXPECT_EQ(table.GetValueText(-5, 0), nullptr);

    ASSERT_TRUE(table.AddFirstText(1, "T"));
    while (table.GetCount() < ValueTextTable::kMaxTexts) ASSERT_TRUE(table.AddNextText(1, "T"));
    EXPECT_FALSE(table.AddNextText(1, "T"));
    EXPECT_FALSE(table.AddFirstText(2, "T"));

    table.Clear();
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_EQ(table.GetValueText(1, 0), nullptr);
    EXPECT_TRUE(table.AddFirstText(2, "T"));
}

}  // namespace
