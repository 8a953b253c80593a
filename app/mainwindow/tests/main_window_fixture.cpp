#include "app/mainwindow/tests/main_window_fixture.h"

#include "app/mainwindow/device_menus.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/net_list.h"
#include "app/mainwindow/signature_watch.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace mainwindowtest {

namespace {

const GwFuncDesc kMainWindowCallbacks[] = {
    {"MainWindow_create", MainWindow_create},
    {"MainWindow_resize", MainWindow_resize},
    {"StateLine_resize", StateLine_resize},
    {"MainWindow_show", MainWindow_show},
    {"CB_CheckDeviceSignature", CB_CheckDeviceSignature},
    {"CB_SearchDevice", CB_SearchDevice},
    {"CB_ScanNetwork", CB_ScanNetwork},
    {"CB_SetActiveDevice", CB_SetActiveDevice},
    {"CB_KillAllDevices", CB_KillAllDevices},
    {"CB_SioMonitor", CB_SioMonitor},
    {"NetList_show", NetList_show},
    {"CB_UpdateDeviceState", CB_UpdateDeviceState},
    {"DeviceList_Default", DeviceList_Default},
    {"CB_SetAliasName", CB_SetAliasName},
    {"CB_CloseNetList", CB_CloseNetList},
    {"CB_Netlist_Key", CB_Netlist_Key},
    {"CB_CreateTextViewer", CB_CreateTextViewer},
    {nullptr, nullptr},
};

}  // namespace

void RegisterMainWindowCallbacks() { ASSERT_NE(GwRcMgr::use_func_desc(kMainWindowCallbacks), 0); }

void MainWindowTest::SetUp() {
    MainTest::SetUp();
    RegisterMainWindowCallbacks();
    frame_ = GwRcMgr::load(nullptr, "MainWindow", 1);
    ASSERT_NE(frame_, nullptr);
    docking_ = SetDockingManager(std::make_unique<DockingManager>(frame_));
    frame_->show();
    ASSERT_EQ(GetMainWindow(), frame_);
}

void MainWindowTest::TearDown() {
    DestroyDeviceStateMessages();
    SetDockingManager(nullptr);
    MainTest::TearDown();
}

GwCore* MainWindowTest::Child(const std::string& name) {
    GwCore* child = frame_->child(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void MainWindowTest::ActivateAt(int address) {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ASSERT_TRUE(main_->SetActiveDevice(address)) << (gwtest::Boxes().empty() ? "" : gwtest::Boxes().back().text);
    ClearCaptures();
}

}  // namespace mainwindowtest
