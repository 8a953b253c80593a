// The network list: its bus fields, its rows with the live state column,
// the refresh interval, activation by double click, aliases and Escape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/mainwindow/net_list.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "bus/serial/tarn_bus.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::ActivationTable;
using maintest::kAddress;
using mainwindowtest::MainWindowTest;

class NetListTest : public MainWindowTest {
protected:
    GwCore* OpenList() {
        window_ = GwRcMgr::load(frame_, kNetListWindow, 1);
        EXPECT_NE(window_, nullptr);
        window_->show();
        return window_;
    }
    GwCore* Field(const char* name) { return window_->child(name); }
    GwMultiList* List() { return dynamic_cast<GwMultiList*>(window_->child("DeviceList")); }
    std::string Picture() { return dynamic_cast<GwPicture*>(window_->child("AD_Icon"))->bitmap(); }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int i = 0; i < List()->row_count(); ++i) rows.push_back(List()->row_text(i));
        return rows;
    }

    GwCore* window_ = nullptr;
};

TEST_F(NetListTest, MissingChildShowsErrorSevenAndFillsNothing) {
    ASSERT_TRUE(GwRcMgr::use_text(R"(dialogframe NetList {
    on show = NetList_show
    label BusState { }
    label BusStateName { }
    label BusStateBaud { }
    label BusStateDeviceCount { }
    edit AD_Alias { }
    picture AD_Icon { }
    label AD_Device { }
    list DeviceList { column = "Address", 60, 3 }
}
)",
                                  "netlist.cgw"));
    AddDrive(kAddress);
    OpenSerialBus();
    gwtest::AnswerBox(GwRESULT_OK);
    OpenList();
    ASSERT_EQ(BoxTexts(), (std::vector<std::string>{"error: A window or one of its elements could not be loaded!"}));
    EXPECT_EQ(Field("BusStateName")->text(), "");
    EXPECT_EQ(List()->row_count(), 0);
    EXPECT_EQ(netlist::Window(), nullptr);
}

TEST_F(NetListTest, ShowsTheBusAndOneRowPerDeviceWithItsState) {
    AddDrive(kAddress);
    AddDrive(9, ActivationTable(4120));
    drives_.at(9)->Table().Find(130)->text = "";
    OpenSerialBus();
    // A record at address 0 (the bus's own) gets a row but no state.
    main_->GetActiveBus()->AddDevice(0, 4120, 1.3f);
    RebuildDeviceList();
    OpenList();
    EXPECT_EQ(netlist::Window(), window_);
    EXPECT_EQ(Field("BusStateName")->text(), "RS232");
    EXPECT_EQ(Field("BusStateBaud")->text(), "9600 Baud");
    EXPECT_EQ(Field("BusStateDeviceCount")->text(), std::to_string(main_->GetActiveBus()->GetDeviceCount()));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"0|Ruvex4120||", "3|Ruvex4120|Axis one|", "9|Ruvex4120||"}));
    EXPECT_EQ(List()->timer_interval(), kNetListFirstRefreshMs);
    EXPECT_EQ(Picture(), "NIX.PCX");

    BusTransferFlag = false;
    CB_UpdateDeviceState(List(), nullptr, GwUD());
    EXPECT_EQ(Field("BusStateDeviceCount")->text(), "3");
    EXPECT_EQ(List()->cell(0, 3), "");
    EXPECT_EQ(List()->cell(1, 3), main_->GetDeviceStateText(kAddress));
    EXPECT_FALSE(List()->cell(1, 3).empty());
    EXPECT_EQ(List()->cell(2, 3), main_->GetDeviceStateText(9));

    // The drive at 3 left the bus: the refresh stops at its row.
    List()->set_cell(1, 3, "old");
    List()->set_cell(2, 3, "old");
    main_->GetActiveBus()->RemoveDevice(kAddress);
    CB_UpdateDeviceState(List(), nullptr, GwUD());
    EXPECT_EQ(List()->cell(1, 3), "old");
    EXPECT_EQ(List()->cell(2, 3), "old");
    EXPECT_TRUE(List()->is_timer_running());
}

TEST_F(NetListTest, RefreshIntervalFollowsTheBaudRate) {
    struct Case {
        int32_t baud;
        uint32_t interval;
    };
    const Case cases[] = {{9600, 3000}, {19200, 1500}, {38400, 1000}};
    AddDrive(kAddress);
    OpenSerialBus();
    OpenList();
    BusTransferFlag = false;
    CB_UpdateDeviceState(List(), nullptr, GwUD());
    EXPECT_EQ(List()->timer_interval(), 1500u);  // no device online
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        drives_.at(kAddress)->SetBaud(c.baud);
        ASSERT_TRUE(main_->OpenTarnBus(c.baud, 1, true));
        main_->GetSerialBus()->AddDevice(kAddress, 4120, 1.3f);
        RebuildDeviceList();
        ActivateAt(kAddress);
        BusTransferFlag = false;
        CB_UpdateDeviceState(List(), nullptr, GwUD());
        EXPECT_EQ(List()->timer_interval(), c.interval);
        EXPECT_EQ(Field("BusStateBaud")->text(), std::to_string(c.baud) + " Baud");
    }
}

TEST_F(NetListTest, DoubleClickActivatesTheRowsDeviceAndShowsItsPicture) {
    WriteTreeFile("bin/Type5.xdl", "");
    AddDrive(kAddress);
    AddDrive(6, ActivationTable(5012, 26));
    OpenSerialBus();
    main_->GetActiveBus()->GetDevice(kAddress)->typeText = dstring("Ruvex.4120");
    GwRcMgr::add_bitmap("Ruvex_4120", 120, 80);
    OpenList();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ASSERT_TRUE(gwtest::DoubleClick(List(), 0));
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_EQ(Field("AD_Address")->text(), "3");
    EXPECT_EQ(Field("AD_Device")->text(), "Ruvex.4120");
    EXPECT_EQ(Field("AD_Alias")->text(), "Axis one");
    EXPECT_EQ(Picture(), "Ruvex_4120");

    ASSERT_TRUE(gwtest::DoubleClick(List(), 1));
    EXPECT_EQ(main_->GetActiveAddress(), 6);
    EXPECT_EQ(Field("AD_Address")->text(), "6");
    EXPECT_EQ(Picture(), "DefaultDevice");

    main_->UncoupleAllDevices();
    EXPECT_EQ(Field("AD_Address")->text(), "");
    EXPECT_EQ(Field("AD_Device")->text(), "");
    EXPECT_EQ(Picture(), "NIX.PCX");
}

TEST_F(NetListTest, TypedAliasNamesTheRowTheRecordAndANameParameter) {
    for (const char* name : {"NAME", "LABEL"}) {
        SCOPED_TRACE(name);
        const bool isName = std::string(name) == "NAME";
        const int address = isName ? kAddress : 5;
        // Another version, so the drive's base is not the first one's cache.
        sim::DriveTable table = ActivationTable(4120, isName ? maintest::kVersionSteps : 27);
        table.Find(130)->name = name;
        AddDrive(address, table);
        if (main_->GetActiveBus() == nullptr) {
            OpenSerialBus();
        } else {
            main_->GetActiveBus()->AddDevice(address, 4120, 1.35f);
            RebuildDeviceList();
        }
        ActivateAt(address);
        if (window_ == nullptr) OpenList();
        FillDeviceList();
        RefreshActiveDeviceViews();
        const std::string before = drives_.at(address)->Table().Find(130)->text;

        // Typing alone names nothing; Return confirms the entry.
        ASSERT_TRUE(gwtest::Replace(Field("AD_Alias"), "Lift"));
        EXPECT_STRNE(main_->GetActiveBus()->GetDevice(address)->alias.Text(), "Lift");
        ASSERT_TRUE(gwtest::PressKey(Field("AD_Alias"), GwKEY_RETURN));
        const int row = List()->row_count() == 1 ? 0 : 1;
        EXPECT_EQ(List()->cell(row, 2), "Lift");
        EXPECT_STREQ(main_->GetActiveBus()->GetDevice(address)->alias.Text(), "Lift");
        EXPECT_EQ(drives_.at(address)->Table().Find(130)->text, std::string(name) == "NAME" ? "Lift" : before);
        EXPECT_EQ(Child("M_ChooseDevice")->child(address == kAddress ? "03" : "05")->text(), "Lift");
    }
    for (const char* extension : {"D", "X", "T"}) RemoveTreeFile(std::string("FIRMDATA/4120_001.35") + extension);
}

TEST_F(NetListTest, EscapeHidesTheListAndItsBusFieldsKeepUp) {
    AddDrive(kAddress);
    OpenSerialBus();
    OpenList();
    // Hidden by the list itself, so no close follows.
    gwtest::PressKey(window_, GwKEY_ESCAPE);
    EXPECT_FALSE(window_->is_shown());
    EXPECT_TRUE(GwRcMgr::is_valid_child(window_));

    drives_.at(kAddress)->SetBaud(19200);
    ASSERT_TRUE(main_->OpenTarnBus(19200, 1, true));
    EXPECT_EQ(Field("BusStateBaud")->text(), "19200 Baud");
    main_->CloseTarnBus();
    EXPECT_EQ(Field("BusStateName")->text(), "");

    // Other keys leave it alone.
    window_->show();
    gwtest::PressKey(List(), 'a');
    EXPECT_TRUE(window_->is_shown());
    gwtest::PressKey(List(), GwKEY_ESCAPE);
    EXPECT_FALSE(window_->is_shown());
}

TEST_F(NetListTest, TextViewerLoadsTheFileNamedByItsUserData) {
    const std::string text = "first line\n" + std::string(700, 'y') + "\nlast line\n";
    WriteTreeFile("TMP/viewer.txt", text);
    GwCore* viewer = GwRcMgr::load(frame_, "TextViewer", 1);
    ASSERT_NE(viewer, nullptr);
    viewer->set_user_data(GwUD("..\\TMP\\viewer.txt"));
    viewer->show();
    EXPECT_EQ(viewer->child("Text")->text(), text);

    GwCore* missing = GwRcMgr::load(frame_, "TextViewer", 1);
    missing->set_user_data(GwUD("..\\TMP\\none.txt"));
    missing->show();
    EXPECT_EQ(missing->child("Text")->text(), "");
}

TEST_F(NetListTest, SerialMonitorOpensOnceAndOnlyOnTheSerialBus) {
    // The window, not the "Extras" menu's entry of the same name.
    auto window = [&]() -> GwCore* {
        for (GwCore* child : frame_->children()) {
            if (child->name() == "SioMonitor" && child->is_frame()) return child;
        }
        return nullptr;
    };
    CB_SioMonitor(nullptr, nullptr, GwUD());
    EXPECT_EQ(window(), nullptr);
    AddDrive(kAddress);
    OpenSerialBus();
    CB_SioMonitor(nullptr, nullptr, GwUD());
    GwCore* monitor = window();
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->is_shown());
    EXPECT_GE(TheWindowHandler().IndexOf(monitor), 0);
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(monitor));
    CB_SioMonitor(nullptr, nullptr, GwUD());
    int monitors = 0;
    for (GwCore* child : frame_->children()) monitors += child->name() == "SioMonitor" && child->is_frame() ? 1 : 0;
    EXPECT_EQ(monitors, 1);
}

TEST_F(NetListTest, ClosingTheListTakesItOffTheWindowList) {
    AddDrive(kAddress);
    OpenSerialBus();
    OpenList();
    ASSERT_EQ(TheWindowHandler().Add(window_, 0), 1);
    ASSERT_TRUE(gwtest::Close(window_));
    EXPECT_LT(TheWindowHandler().IndexOf(window_), 0);
    EXPECT_FALSE(window_->is_shown());
}

}  // namespace
