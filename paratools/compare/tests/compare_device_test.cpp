// The compare window and a text print with a device online through the
// application object, on the virtual drive.
#include <gtest/gtest.h>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/window_handler.h"
#include "parameters/values/dstring.h"
#include "paratools/compare/compare_window.h"
#include "paratools/compare/para_compare_base.h"
#include "paratools/print/print_wizard.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

const GwFuncDesc kCallbacks[] = {
    {"CB_ShowCompare", CB_ShowCompare},
    {"CB_CompareOk", CB_CompareOk},
    {"CB_HideCompare", CB_HideCompare},
    {"CB0_CreatePrintPara0", CB0_CreatePrintPara0},
    {"CB0_ShowPrintPara0", CB0_ShowPrintPara0},
    {"CB0_SetAscii", CB0_SetAscii},
    {"CB0_StartPrint", CB0_StartPrint},
    {nullptr, nullptr},
};

class DeviceCompareTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(kCallbacks), 0);
        AddDrive(maintest::kAddress);
        Activate();
    }
};

TEST_F(DeviceCompareTest, TheDeviceSideReadsTheDeviceAndComparesWithItsDefaults) {
    ASSERT_TRUE(main_->HasOnlineDevice());
    GwCore* window = GwRcMgr::load(mainWindow_, kCompareWindow);
    ASSERT_NE(window, nullptr);
    window->show();
    EXPECT_TRUE(dynamic_cast<GwToggle*>(gwtest::Get("ParaCompare/Toggle1_Device"))->is_checked());
    EXPECT_FALSE(gwtest::IsVisible("ParaCompare/ContFile1"));
    gwtest::Click("ParaCompare/Toggle2_DeviceDefault");
    ClearCaptures();
    gwtest::Click("ParaCompare/OK");
    EXPECT_FALSE(Requests().empty()) << "the data set is read from the device";
    const std::string report = testsupport::ReadFile(testsupport::RuntimePath("TMP/compare.txt"));
    const std::string type = GetDeviceTypeName(maintest::kTypeNumber);
    EXPECT_NE(report.find("\nSet 1:\t\tDevice " + type + ", firmware 1.3\nSet 2:\t\tDefault values of " + type +
                          ", firmware 1.3\n\nDifferences:\n-------------\n"),
              std::string::npos)
        << report;
    EXPECT_NE(TheWindowHandler().FindByName(kCompareResultWindow), nullptr);
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_F(DeviceCompareTest, ATextPrintOfTheDeviceNamesItByItsLabel) {
    GwCore* page = GwRcMgr::load(mainWindow_, "PrintPara0");
    page->set_user_data(GwUD(static_cast<void*>(main_->ActiveParaBase())));
    page->show();
    gwtest::Click("PrintPara0/Ascii");
    gwtest::AnswerFile("..\\userdata\\device.txt");
    gwtest::Click("PrintPara0/Print");
    const std::string text = testsupport::ReadFile(testsupport::RuntimePath("userdata/device.txt"));
    EXPECT_NE(text.find("\nDevice:   " + std::string(main_->GetActiveDeviceLabel()) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Serial number:   SN-0042"), std::string::npos) << text;
}

TEST_F(DeviceCompareTest, TheDeviceSideNeverWritesIntoAFileSetComparedBefore) {
    ParaBase fileSet;
    fileSet.InitFile("..\\userdata\\one.00D");
    ASSERT_EQ(fileSet.CopyBase(*main_->ActiveParaBase()), 0) << fileSet.MessageBuffer;
    ASSERT_NE(fileSet.GetTextObject(127), nullptr);
    *fileSet.GetTextObject(127) = dstring("FILE-7");
    ASSERT_EQ(fileSet.WriteFileBase(), 0) << fileSet.MessageBuffer;
    const std::string strings = testsupport::ReadFile(testsupport::RuntimePath("userdata/one.00X"));
    ASSERT_NE(strings.find("FILE-7"), std::string::npos);

    GwCore* window = GwRcMgr::load(mainWindow_, kCompareWindow);
    window->show();
    gwtest::Click("ParaCompare/Toggle1_File");
    gwtest::Replace("ParaCompare/File1", "..\\userdata\\one.00D");
    gwtest::Replace("ParaCompare/File2", "..\\userdata\\one.00D");
    gwtest::Click("ParaCompare/OK");
    gwtest::Click("ParaCompare/Toggle1_Device");
    gwtest::Click("ParaCompare/OK");
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("userdata/one.00X")), strings);
}

}  // namespace
