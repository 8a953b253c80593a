// The bus display with the CANopen bus on the virtual CAN adapter; the bus's
// worker runs on its own thread.
#include <gtest/gtest.h>

#include <string>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window_display.h"
#include "app/mainwindow/net_list.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "bus/can/can_open_tarn.h"
#include "sim/can_bus.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

using mainwindowtest::MainWindowTest;

constexpr int32_t kBaudRateId = 3;

TEST_F(MainWindowTest, CanBusShowsItsNameAndSettingsText) {
    sim::RegisterVirtualCanAdapter();
    GwCore* list = GwRcMgr::load(frame_, kNetListWindow, 1);
    list->show();
    ASSERT_TRUE(main_->OpenCanBus(kBaudRateId, kHardwareUsb, 0, 0, true));
    const std::string settings(main_->GetCanBus()->GetSettingsText().View());
    ASSERT_FALSE(settings.empty());
    EXPECT_EQ(Child("BusState")->text(), "CANOpen : " + settings);
    for (const char* tool : {"TK_SeDev", "TK_ScNet", "TK_Bdiag", "TK_SwLst"}) EXPECT_TRUE(Child(tool)->is_enabled());
    EXPECT_EQ(list->child("BusStateName")->text(), "CANOpen");
    EXPECT_EQ(list->child("BusStateBaud")->text(), settings);
    // The debug tool is for the serial bus only.
    Child("Debug")->enable();
    EnableDeviceTools();
    EXPECT_FALSE(Child("Debug")->is_enabled());

    main_->CloseCanBus();
    EXPECT_EQ(Child("BusState")->text(), "");
    EXPECT_FALSE(Child("TK_ScNet")->is_enabled());
    EXPECT_EQ(list->child("BusStateName")->text(), "");
}

}  // namespace
