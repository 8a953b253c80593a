// Print formats: the "UserDefined" format a new profile gets, the format
// names by language, selecting and saving a format.
#include <gtest/gtest.h>

#include "app/services/user_level.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/tests/paratools_fixture.h"

namespace paratoolstest {
namespace {

class PrintSettingsTest : public ParaToolsTest {};

std::string DefaultFormatFile(int userLevel) {
    std::string s = "[UserDefined]\r\n049=Benutzerdefiniert\r\nUserLevel=" + std::to_string(userLevel) +
                    "\r\nEditableOnly=1\r\nChangedOnly=0\r\nSortByName=0\r\nClusterByGroup=1\r\nMarkChanged=1\r\n"
                    "PaperFormat=0\r\nFontSize=0\r\n";
    for (int i = 0; i < 21; ++i) s += "PProp" + std::to_string(i) + "=1\r\n";
    for (int g = 0; g < 128; ++g) s += "Group" + std::to_string(g) + "=1\r\n";
    return s;
}

TEST_F(PrintSettingsTest, AProfileWithoutFormatGetsTheUserDefinedFormatAtOnce) {
    EXPECT_EQ(DeviceClassPrintProfile(4120), "PPrn_4.ini");
    SetUserLevel(5);
    ParaPrintSettings fresh("PPrn_4.ini");
    EXPECT_TRUE(fresh.IsValid());
    EXPECT_EQ(ReadTreeFile("bin/PPrn_4.ini"), DefaultFormatFile(5));

    WriteTreeFile("bin/PPrn_5.ini", "; formats of class 5\r\n");
    ParaPrintSettings headOnly("PPrn_5.ini");
    EXPECT_EQ(ReadTreeFile("bin/PPrn_5.ini"), "; formats of class 5\r\n\r\n" + DefaultFormatFile(5));

    ParaPrintSettings notOpened("..\\missing\\PPrn_4.ini");
    EXPECT_FALSE(notOpened.IsValid());
    EXPECT_EQ(notOpened.FirstFormatName(), "");
    EXPECT_FALSE(notOpened.SelectFormat(""));
}

TEST_F(PrintSettingsTest, ProgramWideSettingsGetTheSameFormatAtStart) {
    OpenProgramPrintSettings();
    ASSERT_NE(ProgramPrintSettings(), nullptr);
    EXPECT_EQ(ReadTreeFile("bin/ParaPrint.INi"), DefaultFormatFile(4));
    CloseProgramPrintSettings();
    EXPECT_EQ(ProgramPrintSettings(), nullptr);
}

TEST_F(PrintSettingsTest, FormatNamesComeInSectionOrderInTheCurrentLanguageOrAnother) {
    WriteTreeFile("bin/PPrn_4.ini",
                  "[Short]\r\n049=Kurz\r\n044=Short\r\n[Long]\r\n049=Lang\r\n[Nameless]\r\nUserLevel=3\r\n"
                  "[Empty]\r\n044=\r\n033=Vide\r\n");
    ParaPrintSettings german("PPrn_4.ini");
    EXPECT_EQ(german.FirstFormatName(), "Kurz");
    EXPECT_EQ(german.NextFormatName(), "Lang");
    EXPECT_EQ(german.NextFormatName(), "Nameless") << "no name at all: the section's";
    EXPECT_EQ(german.NextFormatName(), "Vide");
    EXPECT_EQ(german.NextFormatName(), "");
    EXPECT_EQ(german.NextFormatName(), "");

    // A format without an English name shows its name in a language that
    // has one, and is selected by it.
    UseLanguage(44);
    ParaPrintSettings english("PPrn_4.ini");
    EXPECT_EQ(english.FirstFormatName(), "Short");
    EXPECT_EQ(english.NextFormatName(), "Lang");
    ASSERT_TRUE(english.SelectFormat("Lang"));
    EXPECT_EQ(english.SectionName, "Long");
    ASSERT_TRUE(english.SelectFormat("Nameless"));
    EXPECT_EQ(english.UserLevel, 3);
    EXPECT_FALSE(english.SelectFormat("")) << "no format and not the head has an empty name";
}

TEST_F(PrintSettingsTest, TheDefaultFormatOfANewFileIsListedUnderAnotherLanguage) {
    UseLanguage(44);
    WriteTreeFile("bin/PPrn_4.ini", "; head\r\n");
    ParaPrintSettings settings("PPrn_4.ini");
    EXPECT_EQ(settings.FirstFormatName(), "Benutzerdefiniert");
    EXPECT_EQ(settings.NextFormatName(), "");
    ASSERT_TRUE(settings.SelectFormat("Benutzerdefiniert"));
    EXPECT_EQ(settings.SectionName, "UserDefined");
    EXPECT_EQ(settings.PProp[20], 1);
    EXPECT_EQ(settings.Group[127], 1);
    EXPECT_EQ(settings.ClusterByGroup, 1);
}

TEST_F(PrintSettingsTest, SelectedUserLevelFitsTheCurrentLevel) {
    struct Case {
        int stored, current, expected;
    };
    const Case cases[] = {{5, 6, 6}, {5, 5, 5}, {6, 4, 4}, {3, 4, 3}, {5, 3, 3}};
    for (const Case& c : cases) {
        WriteTreeFile("bin/PPrn_4.ini", "[F]\r\n049=F\r\nUserLevel=" + std::to_string(c.stored) + "\r\n");
        SetUserLevel(static_cast<uint16_t>(c.current));
        ParaPrintSettings settings("PPrn_4.ini");
        ASSERT_TRUE(settings.SelectFormat("F"));
        EXPECT_EQ(settings.UserLevel, c.expected) << c.stored << " at " << c.current;
    }
}

TEST_F(PrintSettingsTest, SaveFormatWritesTheKeysBack) {
    {
        ParaPrintSettings settings("PPrn_4.ini");
        ASSERT_TRUE(settings.SelectFormat("Benutzerdefiniert"));
        settings.SortByName = 1;
        settings.FontSize = 2;
        settings.PProp[3] = 0;
        settings.Group[127] = 0;
        ASSERT_TRUE(settings.SaveFormat());
    }
    ParaPrintSettings again("PPrn_4.ini");
    ASSERT_TRUE(again.SelectFormat("Benutzerdefiniert"));
    EXPECT_EQ(again.SortByName, 1);
    EXPECT_EQ(again.FontSize, 2);
    EXPECT_EQ(again.PProp[3], 0);
    EXPECT_EQ(again.PProp[4], 1);
    EXPECT_EQ(again.Group[127], 0);
    again.SectionName = "Gone";
    EXPECT_FALSE(again.SaveFormat());
}

}  // namespace
}  // namespace paratoolstest
