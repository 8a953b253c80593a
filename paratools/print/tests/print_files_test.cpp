// The text and spreadsheet files of a parameter print, byte for byte, and
// opening them in the registered programs.
#include <gtest/gtest.h>

#include <cerrno>

#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "paratools/print/external_viewers.h"
#include "paratools/print/para_print_settings.h"
#include "paratools/print/tests/paratools_fixture.h"
#include "platform/files/registry_store.h"
#include "platform/system/program_start.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace paratoolstest {
namespace {

class PrintFilesTest : public ParaToolsTest {
protected:
    void SetUp() override {
        ParaToolsTest::SetUp();
        base.SetPath(kDFilePath, "..\\userdata\\set.00D");
        DefineIdentity(base);
        Define(base,
               {.number = 20,
                .name = "SPEED",
                .type = kTypeInt16,
                .value = 1500,
                .defaultValue = 1000,
                .maximum = 3000,
                .kpGroup = 1,
                .unit = "rpm"});
        Define(base, {.number = 21, .name = "ACCEL", .value = 7, .defaultValue = 7, .kpGroup = 0});
        Define(base,
               {.number = 30, .name = "TABLE", .type = kTypeUsign8, .maximum = 255, .kpGroup = 1, .flags = kFlagArray},
               3);
        settings.PProp = {};
        settings.PProp[0] = settings.PProp[1] = settings.PProp[2] = settings.PProp[5] = 1;
        settings.Group.fill(1);
        settings.UserLevel = 4;
    }
    ParaPrintJob Job() { return ParaPrintJob(&settings, &base, Properties(), Frame()); }

    ParaBase base;
    ParaPrintSettings settings{"PPrn_4.ini"};
};

TEST_F(PrintFilesTest, TextFileWithoutChecksumOrSerialNamesLeavesThoseParts) {
    settings.ClusterByGroup = 1;
    // Parameter 8 names the groups but is not printed itself.
    settings.Group[0] = 0;
    ParaPrintJob job = Job();
    ASSERT_TRUE(job.WriteTextFile("..\\userdata\\out.txt"));
    EXPECT_EQ(ReadTreeFile("userdata/out.txt"),
              "F0 01.01 2026 15:43\n"
              "F1   ..\\userdata\\set.00D\n"
              "F3   4120            F9   3.6\n"
              "C0\tC1\tC2\tC5\t\n\n"
              "\n" +
                  std::string(35, '*') + " Motor " + std::string(35, '*') +
                  "\n\n"
                  "20\t0\tSPEED\t1500\t\n"
                  "30\t0\tTABLE\t0\t\n"
                  "30\t1\tTABLE\t0\t\n"
                  "30\t2\tTABLE\t0\t\n");
}

TEST_F(PrintFilesTest, TextFileWithHeaderParametersCommentAndPercentSign) {
    DefineHeaderParameters(base);
    Define(base, {.number = 40, .name = "LOAD", .value = 50, .kpGroup = 2, .unit = "%d %s"});
    settings.PProp = {};
    settings.PProp[0] = settings.PProp[3] = 1;
    settings.Group = {};
    settings.Group[2] = 1;
    settings.IncludeComment = 1;
    settings.Comment = "after repair";
    ParaPrintJob job = Job();
    ASSERT_TRUE(job.WriteTextFile("..\\userdata\\out.txt"));
    EXPECT_EQ(ReadTreeFile("userdata/out.txt"),
              "F0 01.01 2026 15:43\n"
              "F1   ..\\userdata\\set.00D\n"
              "F3   4120      F4   123456      F9   3.6-2\n"
              "F10   CSADD=4660   CSXOR=85\n"
              "F6   after repair\n"
              "C0\tC3\t\n\n"
              "40\t%d %s\t\n");
}

TEST_F(PrintFilesTest, TextFileWithoutColumnsHasEmptyCaptionAndRowLines) {
    settings.PProp = {};
    settings.Group = {};
    settings.Group[1] = 1;
    ParaPrintJob job = Job();
    ASSERT_TRUE(job.WriteTextFile("..\\userdata\\out.txt"));
    const std::string text = ReadTreeFile("userdata/out.txt");
    EXPECT_EQ(text.substr(text.find("F9   3.6\n") + 9), "\n\n\n\n");
}

TEST_F(PrintFilesTest, GroupHeadingGetsStarsOnlyBelowTheLineWidth) {
    settings.ClusterByGroup = 1;
    settings.PProp = {};
    settings.Group = {};
    settings.Group[1] = 1;
    const std::pair<size_t, std::string> cases[] = {{74, "*"}, {75, ""}};
    for (const auto& [nameLength, stars] : cases) {
        // Headings show the group's menu text of the description file.
        WriteTreeFile("userdata/menu.PIT",
                      "[parameterdescription]\r\n[ParaMenu]\r\nMotor=" + std::string(nameLength, 'M') + "\r\n");
        base.SetDescriptionFile(std::make_unique<ParaDescriptionFile>("..\\userdata\\menu.PIT"));
        ParaPrintJob job = Job();
        ASSERT_TRUE(job.WriteTextFile("..\\userdata\\out.txt"));
        const std::string text = ReadTreeFile("userdata/out.txt");
        const std::string heading = "\n" + stars + " " + std::string(nameLength, 'M') + " " + stars + "\n\n";
        EXPECT_NE(text.find("\n\n" + heading), std::string::npos) << nameLength;
    }
}

TEST_F(PrintFilesTest, SpreadsheetFileLayout) {
    DefineHeaderParameters(base);
    Define(base, {.number = 50, .name = "LIST", .type = kTypeString, .kpGroup = 2});
    base.SetTextObject(50, std::make_unique<dstring>("1,2,3,4"));
    base.GetEntry(50)->access = 0x42;
    settings.PProp = {};
    settings.PProp[0] = settings.PProp[1] = settings.PProp[5] = settings.PProp[11] = settings.PProp[12] = 1;
    settings.Group = {};
    settings.Group[2] = 1;
    settings.ClusterByGroup = 1;
    settings.IncludeComment = 1;
    settings.Comment = "c";
    ParaPrintJob job = Job();
    ASSERT_TRUE(job.WriteSpreadsheetFile("..\\userdata\\out.txt"));
    EXPECT_EQ(ReadTreeFile("userdata/out.txt"),
              "\t\t\t\t\t\n"
              "F0 01.01 2026 15:43\n"
              "F1  ..\\userdata\\set.00D\n"
              "F3  4120\n"
              "F4  123456\n"
              "F9  3.6-2\n"
              "F10  CSADD=4660  CSXOR=85\n"
              "\n"
              "F6  c\n\n"
              "C0\tC1\tC5\tC11\tC12\t\n\n"
              "50\t0\t1.2.3,4\t2\t4\t\n");
}

TEST_F(PrintFilesTest, SpreadsheetSerialLineIsEmptyWithoutSerialNumber) {
    settings.PProp = {};
    settings.Group = {};
    ParaPrintJob job = Job();
    ASSERT_TRUE(job.WriteSpreadsheetFile("..\\userdata\\out.txt"));
    EXPECT_EQ(ReadTreeFile("userdata/out.txt"),
              "\n"
              "F0 01.01 2026 15:43\n"
              "F1  ..\\userdata\\set.00D\n"
              "F3  4120\n\nF9  3.6\n"
              "\n"
              "\n\n");
}

TEST_F(PrintFilesTest, AFileThatCannotBeCreatedIsReported) {
    ParaPrintJob job = Job();
    EXPECT_FALSE(job.WriteTextFile("..\\missing\\out.txt"));
    EXPECT_FALSE(job.WriteSpreadsheetFile("..\\missing\\out.txt"));
}

TEST_F(PrintFilesTest, SpreadsheetProgramStartsWithItsRegisteredCommand) {
    EXPECT_FALSE(IsSpreadsheetProgramRegistered());
    platform::TheRegistry().SetValue(
        "HKEY_CLASSES_ROOT\\Excel.CSV\\shell\\Open\\command", "", "\"C:\\Office\\EXCEL.EXE\" /e /e /e \"%1\"");
    EXPECT_TRUE(IsSpreadsheetProgramRegistered());
    EXPECT_TRUE(OpenInSpreadsheetProgram("..\\userdata\\out.txt"));
    const auto starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 1u);
    const std::string program = "C:\\Office\\EXCEL.EXE   /e \"%1\"";
    EXPECT_EQ(starts[0],
              (platform::ProgramStart{program, {"\"" + program + "\"", "\"..\\userdata\\out.txt\""}, false}));

    platform::SetProgramStartHandler([](const platform::ProgramStart&) {
        errno = ENOENT;
        return -1;
    });
    gwtest::AnswerBox(8);
    EXPECT_FALSE(OpenInSpreadsheetProgram("..\\userdata\\out.txt"));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text, "No such file or directory");
}

TEST_F(PrintFilesTest, TextViewerStartsTheTxtClassCommand) {
    OpenInTextViewer("..\\userdata\\out.txt");
    platform::TheRegistry().SetValue("HKEY_CLASSES_ROOT\\.txt", "", "txtfile");
    OpenInTextViewer("..\\userdata\\out.txt");
    EXPECT_TRUE(platform::RecordedProgramStarts().empty());
    platform::TheRegistry().SetValue("HKEY_CLASSES_ROOT\\txtfile\\shell\\open\\command", "", "notepad.exe %1 %1 %1");
    OpenInTextViewer("..\\userdata\\out.txt");
    const auto starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0],
              (platform::ProgramStart{"notepad.exe   %1", {"notepad.exe   %1", "..\\userdata\\out.txt"}, false}));
}

}  // namespace
}  // namespace paratoolstest
