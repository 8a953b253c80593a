#include "parameters/parabase/para_description_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "testsupport/test_env.h"

namespace {

constexpr char kPath[] = "..\\TMP\\5_003_60.PIT";

constexpr char kProfile[] =
    "[parameterdescription]\n"
    "P403=Device state\n"
    "[ParaMenu]\n"
    "Motor=Motor data\n"
    "[ScopeEntryIntroduction]\n"
    "Speed=Speed of the motor\n"
    "[ValueTextDispatcher]\n"
    "5_MODE=ModeTexts5\n"
    "MODE=ModeTexts\n"
    "STAT=StatTexts\n"
    "[ModeTexts5]\n"
    "SPEED=Speed control (5)\n"
    "[ModeTexts]\n"
    "SPEED=Speed control\n"
    "TORQUE=Torque control\n"
    "[RunModeA-ModeTexts5]\n"
    "SPEED=Speed control (A)\n"
    "[MAIN-BIT-EXPLORER]\n"
    "5_STAT-0=StatBits5\n"
    "STAT-1=StatBits\n"
    "CTRL-0=CtrlBits\n"
    "[StatBits5]\n"
    "4=Ready\n"
    "[StatBits]\n"
    "4=Ready (any device)\n"
    "[CtrlBits]\n"
    "EXPLORER-PARA=404\n"
    "[5-STAT=RUN-Bit-Explorer]\n"
    "STAT-0=RunBits\n"
    "[RunBits]\n"
    "2=Running\n";

class DescriptionFileTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::WriteFile(testsupport::RuntimePath("TMP/5_003_60.PIT"), kProfile); }
};

TEST_F(DescriptionFileTest, OpenOnlyWithTheDescriptionSection) {
    EXPECT_TRUE(ParaDescriptionFile(kPath).IsOpen());
    testsupport::WriteFile(testsupport::RuntimePath("TMP/other.PIT"), "[ParaMenu]\nA=B\n");
    EXPECT_FALSE(ParaDescriptionFile("..\\TMP\\other.PIT").IsOpen());
    EXPECT_FALSE(ParaDescriptionFile("..\\TMP\\missing.PIT").IsOpen());
    EXPECT_FALSE(ParaDescriptionFile(nullptr).IsOpen());
}

TEST_F(DescriptionFileTest, TextLookupsFallBackToNullOrTheKey) {
    ParaDescriptionFile file(kPath);
    EXPECT_STREQ(file.GetDescription("P403"), "Device state");
    EXPECT_EQ(file.GetDescription("P404"), nullptr);
    EXPECT_STREQ(file.GetParaMenuText("Motor"), "Motor data");
    EXPECT_STREQ(file.GetParaMenuText("Scope"), "Scope");
    EXPECT_STREQ(file.GetScopeEntryIntroduction("Speed"), "Speed of the motor");
    EXPECT_STREQ(file.GetScopeEntryIntroduction("Torque"), "Torque");

    ParaDescriptionFile missing("..\\TMP\\missing.PIT");
    EXPECT_EQ(missing.GetDescription("P403"), nullptr);
    EXPECT_STREQ(missing.GetParaMenuText("Motor"), "Motor");
}

TEST_F(DescriptionFileTest, ValueTextsAreTranslatedByDeviceClassAndOption) {
    ParaDescriptionFile file(kPath);
    struct Case {
        const char* name;
        const char* text;
        char option;
        int runMode;
        const char* want;
    };
    const Case cases[] = {
        {"MODE ", "SPEED", 0, 5, "Speed control (5)"},      // device class key first
        {"MODE ", " SPEED ", 'A', 5, "Speed control (A)"},  // option section, blanks removed
        {"MODE ", "SPEED", 'B', 5, "Speed control (5)"},    // no section for option B
        {"MODE ", "SPEED", 0, 3, "Speed control"},          // the plain name's section
        {"MODE ", "TORQUE", 0, 3, "Torque control"},
        {"MODE ", "OFF", 0, 3, "OFF"},  // no translation
        {"STAT ", "RUN", 0, 3, "RUN"},  // dispatcher section is missing
        {"SPEED", "ON", 0, 3, "ON"},    // no dispatcher entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.text);
        EXPECT_STREQ(file.TranslateValueText(c.name, c.text, c.option, c.runMode), c.want);
    }
    const char* text = "unchanged text";
    EXPECT_EQ(ParaDescriptionFile("..\\TMP\\missing.PIT").TranslateValueText("MODE", text, 0, 5), text);
}

TEST_F(DescriptionFileTest, BitExplorerFindsTextsParametersAndFallbacks) {
    ParaDescriptionFile file(kPath);
    int explaining = -1;
    EXPECT_STREQ(file.GetBitExplorerText(403, " STAT ", 4, &explaining, 0, 5), "Ready");
    EXPECT_EQ(explaining, 0);
    EXPECT_STREQ(file.GetBitExplorerText(403, "STAT", 4, &explaining, 1, 3), "Ready (any device)");
    EXPECT_STREQ(file.GetBitExplorerText(403, "STAT", 4, &explaining, 0, 3), "403-STAT[0] Bit 4");
    EXPECT_STREQ(file.GetBitExplorerText(403, "STAT", 5, &explaining, 0, 5), "403-STAT[0] Bit 5");
    EXPECT_EQ(file.GetBitExplorerText(405, "CTRL", 1, &explaining, 0, 5), nullptr);
    EXPECT_EQ(explaining, 404);
    EXPECT_EQ(file.FindBitExplorerText("STAT", 5, 0, 5), nullptr);
    EXPECT_STREQ(file.FindBitExplorerText("STAT", 4, 0, 5), "Ready");
}

TEST_F(DescriptionFileTest, BitExplorerForAShownValue) {
    ParaDescriptionFile file(kPath);
    EXPECT_STREQ(file.GetBitExplorerTextForValue(5, "STAT ", "RUN", 403, "STAT", 2, 0), "Running");
    EXPECT_STREQ(file.GetBitExplorerTextForValue(5, "STAT", "STOP", 403, "STAT", 2, 0), "403-STAT[0] Bit 2");
    EXPECT_STREQ(file.GetBitExplorerTextForValue(5, "STAT", "RUN", 403, "STAT", 3, 0), "403-STAT[0] Bit 3");
}

TEST(DescriptionFileText, RemoveWhiteSpaceRemovesEveryKind) {
    char text[] = " a\tb \nc\r d ";
    EXPECT_STREQ(ParaDescriptionFile::RemoveWhiteSpace(text), "abcd");
}

}  // namespace
