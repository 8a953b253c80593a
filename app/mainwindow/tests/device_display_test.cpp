// What the main window shows of the bus and the active device: title, device
// menus, tools with their level gates and the state frames of each family.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/main/main_display.h"
#include "app/main/user_levels.h"
#include "app/mainwindow/main_window_display.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/docking/gw_docking.h"

namespace {

using maintest::ActivationTable;
using mainwindowtest::MainWindowTest;

const char* const kStateFrames[] = {
    "MD_StateMachine", "DeviceState",         "Ruvex_PosMod_State", "Ruvex_Reference", "Ruvex_200_Reference",
    "Ruvex_IO_State",  "Ruvex_State",         "Marlo_Reference",    "Marlo_Set",       "Marlo_IO_State",
    "Marlo_State",     "Marlo_200_Reference", "Pesco_DriveSet",     "Pesco_State",     "Wenzo_State",
    "Pesco_Reference", "Pesco_IO_State",      "Wenzo_IO_State",     "Talin_IO_State",  "Zov_State",
    "Zov_Reference",   "Zov_Current",         "AutoMessage"};
const char* const kDeviceMenus[] = {
    "MN_ActiveDevice", "M_LoadFromOther", "M_Store2Other", "M_ChooseDevice", "M_KillDevice"};

class DeviceDisplayTest : public MainWindowTest {
protected:
    std::set<std::string> ShownStateFrames() {
        std::set<std::string> shown;
        for (const char* name : kStateFrames) {
            GwCore* frame = frame_->child(name);
            if (dynamic_cast<GwDockingFrame*>(frame) != nullptr && frame->is_shown()) shown.insert(name);
        }
        return shown;
    }
    bool Enabled(const char* name) { return Child(name)->is_enabled(); }
};

TEST_F(DeviceDisplayTest, TitleMenusAndStateFramesFollowTheActiveDevice) {
    WriteTreeFile("bin/Type3.xdl", "");
    WriteTreeFile("bin/Type5.xdl", "");
    WriteTreeFile("bin/Type9.xdl", "");
    struct Case {
        int address;
        uint16_t type;
        uint32_t versionSteps;  // twentieths
        std::set<std::string> frames;
        std::string info;
    };
    const Case cases[] = {
        {3, 3120, 41, {"Marlo_200_Reference", "Marlo_IO_State", "Marlo_State"}, "2"},
        {4, 3120, 42, {"Marlo_Reference", "Marlo_Set", "Marlo_IO_State", "Marlo_State"}, "2"},
        {5, 4120, 26, {"DeviceState", "Ruvex_IO_State", "Ruvex_State", "Ruvex_PosMod_State", "Ruvex_Reference"}, "2"},
        {6, 5012, 26, {"Wenzo_State", "Pesco_Reference", "Pesco_IO_State", "Pesco_DriveSet"}, "2"},
        {7, 9001, 26, {"Zov_State", "Zov_Reference", "Zov_Current"}, ""},
    };
    for (const Case& c : cases) AddDrive(c.address, ActivationTable(c.type, c.versionSteps));
    OpenSerialBus();

    UpdateActiveDeviceDisplay();
    EXPECT_EQ(frame_->title(), "Torvan");
    for (const char* menu : kDeviceMenus) EXPECT_FALSE(Enabled(menu)) << menu;
    EXPECT_TRUE(ShownStateFrames().empty());

    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        NewLogText();
        ActivateAt(c.address);
        const std::string title = std::string("Torvan - Axis one - [") + c.info + "]";
        EXPECT_EQ(frame_->title(), title);
        EXPECT_NE(NewLogText().find("NewActivDevice: " + title), std::string::npos);
        for (const char* menu : kDeviceMenus) EXPECT_TRUE(Enabled(menu)) << menu;
        EXPECT_EQ(ShownStateFrames(), c.frames);
        EXPECT_TRUE(Enabled("TD_Scope"));
        // The family's own rule, before the level-dependent pass.
        SetUserLevel(4);
        ResetDeviceTools();
        EnableDeviceTools();
        EXPECT_EQ(Enabled("TD_Ctrl"), c.type != 9001);
    }
    // Families 5 to 7 open the automatic messages without forcing them.
    ActivateAt(6);
    ASSERT_NE(dynamic_cast<GwDockingFrame*>(frame_->child("AutoMessage")), nullptr);
    EXPECT_FALSE(frame_->child("AutoMessage")->is_shown());

    main_->UncoupleAllDevices();
    EXPECT_EQ(frame_->title(), "Torvan");
    for (const char* menu : kDeviceMenus) EXPECT_FALSE(Enabled(menu)) << menu;
    EXPECT_TRUE(ShownStateFrames().empty());
}

TEST_F(DeviceDisplayTest, ToolsFollowTheirLevelGatesTheBusAndHandMode) {
    AddDrive(maintest::kAddress);
    OpenSerialBus();
    ActivateAt(maintest::kAddress);
    Child("CompareDeviceWithFile")->set_user_data(GwUD("5"));
    SetHandModeEnabled(false);

    SetUserLevel(4);
    UpdateLevelDependentTools();
    EXPECT_FALSE(Enabled("CompareDeviceWithFile"));
    EXPECT_FALSE(Enabled("TF_Part"));
    EXPECT_TRUE(Enabled("TK_ClAll"));
    EXPECT_TRUE(Enabled("Debug"));
    EXPECT_TRUE(Enabled("MD_Reset"));
    EXPECT_FALSE(Enabled("TD_Ctrl"));

    SetUserLevel(5);
    SetHandModeEnabled(true);
    UpdateLevelDependentTools();
    EXPECT_TRUE(Enabled("CompareDeviceWithFile"));
    EXPECT_TRUE(Enabled("TF_Part"));
    EXPECT_TRUE(Enabled("TD_Ctrl"));

    SetUserLevel(3);
    UpdateLevelDependentTools();
    EXPECT_FALSE(Enabled("MD_Reset"));
    EXPECT_TRUE(Enabled("TD_Scope"));
    EXPECT_FALSE(Enabled("TB_Fi2Dv"));
    EXPECT_TRUE(Enabled("TB_Dv2Fi"));
    SetUserLevel(1);
    UpdateLevelDependentTools();
    EXPECT_FALSE(Enabled("TD_Scope"));

    main_->UncoupleAllDevices();
    SetUserLevel(5);
    UpdateLevelDependentTools();
    for (const char* tool : {"Debug", "TF_Part", "TD_Edit", "CompareDeviceWithFile", "TD_LdMot"}) {
        EXPECT_FALSE(Enabled(tool)) << tool;
    }
    SetHandModeEnabled(false);
}

TEST_F(DeviceDisplayTest, BusStateAndBusToolsFollowTheActiveBus) {
    const char* const busTools[] = {"TK_SeDev", "TK_ScNet", "TK_Bdiag", "TK_SwLst"};
    AddDrive(maintest::kAddress);
    OpenSerialBus();
    EXPECT_EQ(Child("BusState")->text(), "RS232 : 9600 Baud");
    for (const char* tool : busTools) EXPECT_TRUE(Enabled(tool)) << tool;

    main_->CloseTarnBus();
    EXPECT_EQ(Child("BusState")->text(), "");
    for (const char* tool : busTools) EXPECT_FALSE(Enabled(tool)) << tool;
}

TEST_F(DeviceDisplayTest, UserLevelTextGoesIntoTheToolbar) {
    ShowUserLevel();
    EXPECT_EQ(Child("TB_UserLevel")->text(), GetUserLevelText(GetUserLevel()));
    EXPECT_FALSE(Child("TB_UserLevel")->text().empty());
}

}  // namespace
