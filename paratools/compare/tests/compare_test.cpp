// The compare report and the compare window: the golden report of two file
// sets, the filters, default-value mode, the options and their profile
// section, and how the report is shown.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "paratools/compare/compare_window.h"
#include "paratools/compare/para_compare_base.h"
#include "paratools/print/tests/paratools_fixture.h"
#include "platform/system/program_start.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace paratoolstest {
namespace {

constexpr int32_t kFloat1_0000001 = 0x3F800001;
constexpr int32_t kFloat1_0000002 = 0x3F800002;
constexpr int32_t kFloat1_00001 = 0x3F800054;
constexpr int32_t kFloat1_00002 = 0x3F8000A8;

class CompareTest : public ParaToolsTest {
protected:
    void SetUp() override {
        ParaToolsTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(CompareCallbacks()), 0);
        for (const char* language : {"044", "049"})
            WriteTreeFile(std::string("LANGUAGE/") + language + "/tarn_std.PIT",
                          "[parameterdescription]\r\nP021=Speed limit\r\nP022=Only in two\r\n");
    }
    // Writes a file set of the fixture's identity and `more` parameters.
    void WriteSet(const std::string& name, const std::function<void(ParaBase&)>& more) {
        ParaBase base;
        DefineIdentity(base);
        more(base);
        base.InitFile(("..\\userdata\\" + name).c_str());
        ASSERT_EQ(base.WriteFileBase(), 0) << base.MessageBuffer;
    }
    void WriteStandardSets() {
        WriteSet("set1.00D", [](ParaBase& b) {
            Define(b, {.number = 20, .name = "F1", .type = kTypeFloat32, .value = kFloat1_0000001, .maximum = -1});
            Define(b, {.number = 21, .name = "F2", .type = kTypeFloat32, .value = kFloat1_00001, .maximum = -1});
            Define(b, {.number = 23, .name = "ARR", .type = kTypeUsign8, .maximum = 255, .flags = kFlagArray}, 8);
            Define(b, {.number = 24, .name = "NAMEA", .value = 5});
            Define(b, {.number = 25, .name = "SC", .value = 1});
            Define(b, {.number = 26, .name = "W5", .value = 1, .access = 0x51});
        });
        WriteSet("set2.00D", [](ParaBase& b) {
            Define(b, {.number = 20, .name = "F1", .type = kTypeFloat32, .value = kFloat1_0000002, .maximum = -1});
            Define(b, {.number = 21, .name = "F2", .type = kTypeFloat32, .value = kFloat1_00002, .maximum = -1});
            Define(b, {.number = 22, .name = "ONLY2", .value = 1});
            Define(b, {.number = 23, .name = "ARR", .type = kTypeUsign8, .maximum = 255, .flags = kFlagArray}, 10);
            Define(b, {.number = 24, .name = "NAMEB", .value = 6});
            Define(b, {.number = 25, .name = "SC", .value = 2, .scGroup = 0});
            Define(b, {.number = 26, .name = "W5", .value = 2, .access = 0x51});
        });
    }
    GwCore* OpenCompareWindow() {
        GwCore* window = GwRcMgr::load(mainWindow, kCompareWindow);
        EXPECT_NE(window, nullptr);
        TheWindowHandler().Add(window, 0);
        window->show();
        return window;
    }
    std::string Report() { return ReadTreeFile("TMP/compare.txt"); }
};

TEST_F(CompareTest, GoldenReportOfTwoFileSets) {
    WriteStandardSets();
    GwCore* window = OpenCompareWindow();
    EXPECT_TRUE(gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D"));
    EXPECT_TRUE(gwtest::Replace("ParaCompare/File2", "..\\userdata\\set2.00D"));
    EXPECT_TRUE(gwtest::Click("ParaCompare/OK"));
    EXPECT_EQ(Report(),
              "Parameter compare report of 01.01 2026 15:43\n\n"
              "Set 1:\t\tFile ..\\userdata\\set1.00D (VD-4120, firmware 3.6)\n"
              "Set 2:\t\tFile ..\\userdata\\set2.00D (VD-4120, firmware 3.6)\n\n"
              "Differences:\n-------------\n"
              " 21-F2         \tSpeed limit                                                  \t1 = 1.00001             "
              " \t2 = 1.00002\n"
              " 22-ONLY2      \tOnly in two                                                  \tonly in set 2!\n"
              " 23-ARR        \t                                                             \tdifferent number of "
              "elements!\n"
              " 24-NAMEA      \t                                                             \tdifferent name in set "
              "2: NAMEB!\n"
              " 24-NAMEA      \t                                                             \t1 = 5                   "
              " \t2 = 6\n");
    // The report opens in the listed report window.
    GwCore* result = TheWindowHandler().FindByName(kCompareResultWindow);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(result));
    EXPECT_EQ(gwtest::Text("CompareResult/Report"), Report());
    EXPECT_TRUE(gwtest::Boxes().empty());
    (void)window;
}

TEST_F(CompareTest, DefaultValueModeComparesWithTheDevicesDefaults) {
    WriteSet("set1.00D", [](ParaBase& b) {
        Define(b, {.number = 30, .name = "TEXT", .type = kTypeString});
        b.SetTextObject(30, std::make_unique<dstring>("axis"));
        Define(b, {.number = 31, .name = "VAL", .value = 7, .defaultValue = 3});
        Define(b, {.number = 32, .name = "ARR", .type = kTypeUsign8, .maximum = 255, .flags = kFlagArray}, 2);
    });
    WriteSet("device.00D", [](ParaBase& b) {
        Define(b, {.number = 30, .name = "TEXT", .type = kTypeString});
        Define(b, {.number = 31, .name = "VAL", .value = 7, .defaultValue = 3});
        Define(
            b,
            {.number = 32, .name = "ARR", .type = kTypeUsign8, .defaultValue = 4, .maximum = 255, .flags = kFlagArray},
            2);
    });
    ParaBase device;
    device.InitFile("..\\userdata\\device.00D");
    ASSERT_EQ(device.ReadFileBase(), 0);
    hooks.activeBase = &device;
    hooks.online = true;
    OpenCompareWindow();
    EXPECT_TRUE(gwtest::IsEnabled("ParaCompare/Toggle2_DeviceDefault"));
    EXPECT_TRUE(gwtest::Click("ParaCompare/Toggle1_File"));
    EXPECT_TRUE(gwtest::Click("ParaCompare/Toggle2_DeviceDefault"));
    EXPECT_TRUE(gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D"));
    EXPECT_TRUE(gwtest::Click("ParaCompare/OK"));
    const std::string report = Report();
    EXPECT_NE(report.find("Set 2:\t\tDefault values of VD-4120, firmware 3.6\n\nDifferences:\n-------------\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find(" 30-TEXT       \t" + std::string(60, ' ') + " \t1 = \"axis              \" \t2 = \"\"\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find(" 31-VAL        \t" + std::string(60, ' ') + " \t1 = 7                    \t2 = 3\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find(" 32-ARR  [  1] \t" + std::string(60, ' ') + " \t1 = 0                    \t2 = 4\n"),
              std::string::npos)
        << report;
}

TEST_F(CompareTest, OtherLanguagesDateTheReportWithTheStandardDateText) {
    UseLanguage(44);
    WriteStandardSets();
    OpenCompareWindow();
    gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D");
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\set1.00D");
    gwtest::Click("ParaCompare/OK");
    EXPECT_EQ(Report().substr(0, 60), "Parameter compare report of Thu Jan  1 15:43:00 2026\n\n\nSet 1");
}

TEST_F(CompareTest, WindowFollowsTheOnlineDevice) {
    GwCore::set_global_cursor(1);
    OpenCompareWindow();
    EXPECT_EQ(GwCore::global_cursor(), 0);  // the wait cursor of the opening ends with the showing
    EXPECT_TRUE(gwtest::IsVisible("ParaCompare/ContFile1"));
    EXPECT_EQ(gwtest::Text("ParaCompare/File1"), "");
    auto checked = [](const char* path) { return dynamic_cast<GwToggle*>(gwtest::Get(path))->is_checked(); };
    EXPECT_TRUE(checked("ParaCompare/Toggle1_File"));
    EXPECT_FALSE(gwtest::IsEnabled("ParaCompare/Toggle1_Device"));
    EXPECT_FALSE(gwtest::IsEnabled("ParaCompare/Toggle2_DeviceDefault"));
    EXPECT_TRUE(checked("ParaCompare/Toggle2_File"));
    gwtest::Get("ParaCompare")->destroy();

    ParaBase device;
    hooks.activeBase = &device;
    hooks.online = true;
    OpenCompareWindow();
    EXPECT_TRUE(checked("ParaCompare/Toggle1_Device"));
    EXPECT_FALSE(checked("ParaCompare/Toggle1_File"));
    EXPECT_FALSE(gwtest::IsVisible("ParaCompare/ContFile1"));
    EXPECT_TRUE(gwtest::IsEnabled("ParaCompare/Toggle2_DeviceDefault"));
    EXPECT_FALSE(checked("ParaCompare/Toggle2_DeviceDefault"));
    EXPECT_TRUE(gwtest::IsVisible("ParaCompare/ContFile2"));
}

TEST_F(CompareTest, OptionsDefaultsLevelsAndTheirProfileSection) {
    OpenCompareWindow();
    EXPECT_TRUE(gwtest::Click("ParaCompare/Options"));
    auto checked = [](const char* path) { return dynamic_cast<GwToggle*>(gwtest::Get(path))->is_checked(); };
    EXPECT_FALSE(checked("CompareOptions/ActualValues"));
    EXPECT_TRUE(checked("CompareOptions/FixValues"));
    EXPECT_FALSE(gwtest::IsEnabled("CompareOptions/FixValues"));
    EXPECT_FALSE(checked("CompareOptions/NonFixValues"));
    EXPECT_TRUE(checked("CompareOptions/OnlyDataSetPara"));
    EXPECT_TRUE(checked("CompareOptions/Level4"));
    EXPECT_EQ(gwtest::Text("CompareOptions/Editor"), "notepad.exe");
    EXPECT_EQ(gwtest::Text("CompareOptions/OutFile"), "..\\tmp\\compare.txt");
    EXPECT_FALSE(checked("CompareOptions/ExternEditor"));
    EXPECT_TRUE(checked("CompareOptions/TextWindow"));
    EXPECT_FALSE(gwtest::IsVisible("CompareOptions/ContEditor"));

    // Radio exclusivity aside, the last of the level toggles that is on wins.
    dynamic_cast<GwToggle*>(gwtest::Get("CompareOptions/Level4"))->set_checked(true);
    dynamic_cast<GwToggle*>(gwtest::Get("CompareOptions/Level6"))->set_checked(true);
    dynamic_cast<GwToggle*>(gwtest::Get("CompareOptions/Level5"))->set_checked(true);
    dynamic_cast<GwToggle*>(gwtest::Get("CompareOptions/Level6"))->set_checked(true);
    gwtest::Toggle("CompareOptions/ActualValues");
    EXPECT_TRUE(gwtest::Click("CompareOptions/OK"));
    EXPECT_EQ(TheCompareBase().Options.Level, 6);
    EXPECT_EQ(TheCompareBase().Options.ActualValues, 1);

    gwtest::Get("ParaCompare")->hide();
    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section(kCompareSettingsSection));
    EXPECT_EQ(profile->key_count(), 9);
    EXPECT_EQ(profile->read_int("Level"), 6);
    EXPECT_EQ(profile->read_int("ActualValues"), 1);
    EXPECT_STREQ(profile->read("OutFile"), "..\\tmp\\compare.txt");

    // Opening again reads the stored options, not the ones still in memory.
    ASSERT_TRUE(profile->write_int("Level", 3));
    OpenCompareWindow();
    EXPECT_EQ(TheCompareBase().Options.Level, 3);
    EXPECT_EQ(TheCompareBase().Options.ActualValues, 1);
}

TEST_F(CompareTest, NothingHappensWithoutTheSecondFile) {
    OpenCompareWindow();
    gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D");
    gwtest::Click("ParaCompare/OK");
    EXPECT_EQ(Report(), "");
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(CompareTest, TheDeviceSideNeedsAnOnlineDevice) {
    ParaBase device;
    DefineIdentity(device);
    hooks.activeBase = &device;
    OpenCompareWindow();
    dynamic_cast<GwToggle*>(gwtest::Get("ParaCompare/Toggle1_Device"))->set_checked(true);
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\set2.00D");
    gwtest::AnswerBox(8);
    gwtest::Click("ParaCompare/OK");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "No device is online!");
    EXPECT_EQ(Report(), "Parameter compare report of 01.01 2026 15:43\n\n");
    EXPECT_EQ(TheWindowHandler().FindByName(kCompareResultWindow), nullptr);
}

TEST_F(CompareTest, ExternalEditorStartsWithoutWaiting) {
    WriteStandardSets();
    TheCompareBase().Options.ExternEditor = 1;
    GwProfile* profile = MainProfile();
    SaveCompareOptions(TheCompareBase().Options, profile, kCompareSettingsSection);
    OpenCompareWindow();
    gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D");
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\set2.00D");
    gwtest::Click("ParaCompare/OK");
    const auto starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0],
              (platform::ProgramStart{"notepad.exe", {"\"notepad.exe\"", "\"..\\tmp\\compare.txt\""}, false}));
    EXPECT_EQ(TheWindowHandler().FindByName(kCompareResultWindow), nullptr);

    platform::SetProgramStartHandler([](const platform::ProgramStart&) {
        errno = EACCES;
        return -1;
    });
    gwtest::AnswerBox(8);
    gwtest::Click("ParaCompare/OK");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text, "Permission denied");
}

TEST_F(CompareTest, AReportFileThatCannotBeOpenedIsReported) {
    TheCompareBase().Options.OutFile = "..\\nowhere\\compare.txt";
    SaveCompareOptions(TheCompareBase().Options, MainProfile(), kCompareSettingsSection);
    OpenCompareWindow();
    gwtest::Replace("ParaCompare/File1", "..\\userdata\\set1.00D");
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\set2.00D");
    gwtest::AnswerBox(8);
    gwtest::Click("ParaCompare/OK");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "\"..\\nowhere\\compare.txt\" Cause: No such file or directory");
}

TEST_F(CompareTest, ADeviceThatCannotBeReadEndsTheReportWithItsError) {
    WriteStandardSets();
    ParaBase device;
    device.InitFile("..\\userdata\\set1.00D");
    ASSERT_EQ(device.ReadFileBase(), 0);
    hooks.activeBase = &device;
    hooks.online = true;
    OpenCompareWindow();
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\set2.00D");
    gwtest::AnswerBox(8);
    gwtest::Click("ParaCompare/OK");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, std::string(device.MessageBuffer) + "!");
    EXPECT_EQ(Report(), "Parameter compare report of 01.01 2026 15:43\n\n");
}

TEST_F(CompareTest, FileChoosersFillTheNamedField) {
    OpenCompareWindow();
    gwtest::AnswerFile("..\\userdata\\first.00D");
    EXPECT_TRUE(gwtest::Click("ParaCompare/SearchFile1"));
    EXPECT_EQ(gwtest::Text("ParaCompare/File1"), "..\\userdata\\first.00D");
    gwtest::CancelFile();
    EXPECT_TRUE(gwtest::Click("ParaCompare/SearchFile2"));
    EXPECT_EQ(gwtest::Text("ParaCompare/File2"), "");
}

}  // namespace
}  // namespace paratoolstest
