// The device menus with one item per found drive, choosing and uncoupling
// through them, the questions before online work ends, and the data-set
// copies between two drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/mainwindow/device_menus.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/program_flags.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace {

using maintest::ActivationTable;
using maintest::kAddress;
using mainwindowtest::MainWindowTest;

constexpr int kOther = 17;
const char* const kMenus[] = {"M_LoadFromOther", "M_Store2Other", "M_ChooseDevice", "M_KillDevice"};

// A drive with a small data set (parameters 120 and 123 in SC groups) and
// the download handshake.
sim::DriveTable DataSetTable(uint32_t speed) {
    sim::DriveTable table = ActivationTable();
    table.PutFullRange(15, "DLEND", "USIGN8", 0)->maximum = 1;
    sim::DriveParameter* handshake = table.PutFullRange(80, "DLHS", "INT16", 0);
    handshake->minimum = static_cast<uint32_t>(-32768);
    handshake->maximum = 0x7FFF;
    table.PutFullRange(120, "MODE", "USIGN8", 1)->sc_group = 1;
    sim::DriveParameter* p = table.PutFullRange(123, "SPEED", "INT32", speed);
    p->sc_group = 2;
    table.handshake.enabled = true;
    return table;
}

class DeviceMenusTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        AddDrive(kAddress, DataSetTable(1500));
        AddDrive(kOther, DataSetTable(3000));
        drives_.at(kOther)->Table().Find(130)->text = "Axis two";
        OpenSerialBus();
    }
    GwCore* Item(const char* menu, const char* item) { return Child(menu)->child(item); }
    sim::DriveTable& Drive(int address) { return drives_.at(address)->Table(); }
    std::vector<std::string> ActivityTexts() {
        std::vector<std::string> texts;
        for (const GwEffect& e : gwtest::Effects("text")) {
            if (e.value.find(" ...") != std::string::npos) texts.push_back(e.value);
        }
        return texts;
    }
};

TEST_F(DeviceMenusTest, EachMenuHoldsOneLabelledItemPerDrive) {
    for (const char* menu : kMenus) {
        SCOPED_TRACE(menu);
        ASSERT_NE(Item(menu, "03"), nullptr);
        ASSERT_NE(Item(menu, "17"), nullptr);
        EXPECT_EQ(Item(menu, "03")->text(), "Axis one");
        EXPECT_EQ(Item(menu, "17")->text(), "Axis two");
        EXPECT_TRUE(Item(menu, "17")->is_shown());
        // No base is cached before a drive was active.
        const bool copies = std::string(menu) == "M_LoadFromOther" || std::string(menu) == "M_Store2Other";
        EXPECT_EQ(Item(menu, "17")->is_enabled(), !copies);
    }
    auto* list = dynamic_cast<GwCombo*>(Child("TB_DeviceList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item_text(0), "Axis one");
    EXPECT_EQ(list->item_text(1), "Axis two");

    // The items change with the next rebuild.
    ActivateAt(kAddress);
    EXPECT_EQ(list->selected_index(), 0);
    RebuildDeviceList();
    EXPECT_TRUE(Item("M_LoadFromOther", "03")->is_enabled());
    EXPECT_FALSE(Item("M_LoadFromOther", "17")->is_enabled());

    // A rebuild replaces the items instead of adding to them.
    RebuildDeviceList();
    int items = 0;
    for (GwCore* child : Child("M_ChooseDevice")->children()) items += child->is_alive() ? 1 : 0;
    EXPECT_EQ(items, 2);
}

TEST_F(DeviceMenusTest, ChoosingAndTheToolbarListActivateTheirAddress) {
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_ChooseDevice", "17")));
    EXPECT_EQ(main_->GetActiveAddress(), kOther);
    EXPECT_EQ(frame_->title(), "Torvan - Axis two - [2]");

    auto* list = dynamic_cast<GwCombo*>(Child("TB_DeviceList"));
    ASSERT_TRUE(gwtest::Select(list, 0));
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
}

TEST_F(DeviceMenusTest, EndingOnlineWorkAsksOnlyWhileItIsGoingOn) {
    ActivateAt(kAddress);
    GwCore* online = ListedOnlineWindow("OnlineWork", frame_);
    gwtest::AnswerBox(GwRESULT_NO);
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_KillDevice", "03")));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "question");
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);

    // Another drive goes without a question.
    const size_t boxes = gwtest::Boxes().size();
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_KillDevice", "17")));
    EXPECT_EQ(gwtest::Boxes().size(), boxes);
    EXPECT_EQ(main_->GetActiveBus()->GetDevice(kOther), nullptr);

    // Without an online window the active drive goes without a question too.
    online->destroy();
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_KillDevice", "03")));
    EXPECT_EQ(gwtest::Boxes().size(), boxes);
    EXPECT_EQ(main_->GetActiveAddress(), -1);
}

TEST_F(DeviceMenusTest, SearchAsksWithAnActiveDeviceAndScanOnlyWithOnlineWork) {
    ActivateAt(kAddress);
    gwtest::AnswerBox(GwRESULT_NO);
    CB_SearchDevice(nullptr, nullptr, GwUD());
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_NE(gwtest::Boxes()[0].text.find("This ends the online work with the active device. Continue?"),
              std::string::npos);
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_TRUE(Requests(kAddress).empty());

    // Without an online window the scan runs at once and activates the first.
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    CB_ScanNetwork(nullptr, nullptr, GwUD());
    EXPECT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_TRUE(main_->LastSearchWasScan());
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);

    ListedOnlineWindow("OnlineWork", frame_);
    gwtest::AnswerBox(GwRESULT_NO);
    CB_ScanNetwork(nullptr, nullptr, GwUD());
    EXPECT_EQ(gwtest::Boxes().size(), 2u);
    gwtest::AnswerBox(GwRESULT_NO);
    CB_KillAllDevices(nullptr, nullptr, GwUD());
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    gwtest::AnswerBox(GwRESULT_YES);
    CB_KillAllDevices(nullptr, nullptr, GwUD());
    EXPECT_EQ(main_->GetActiveAddress(), -1);
}

TEST_F(DeviceMenusTest, LoadFromOtherCopiesTheOtherDrivesDataSetIntoTheActiveOne) {
    ActivateAt(kOther);
    ActivateAt(kAddress);
    RebuildDeviceList();
    ASSERT_TRUE(Item("M_LoadFromOther", "17")->is_enabled());
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    BusTransferFlag = false;
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_LoadFromOther", "17")));
    EXPECT_EQ(Drive(kAddress).Find(123)->value, 3000u);
    EXPECT_EQ(Drive(kOther).Find(123)->value, 3000u);
    const std::vector<std::string> activity = ActivityTexts();
    ASSERT_GE(activity.size(), 2u);
    EXPECT_EQ(activity[activity.size() - 2], "Reading the data set from the device ...");
    EXPECT_EQ(activity.back(), "Writing the data set to the device ...");
    EXPECT_TRUE(gwtest::Boxes().empty()) << gwtest::Boxes()[0].text;
}

TEST_F(DeviceMenusTest, StoreToOtherWritesNothingWhenTheActiveDriveCannotBeRead) {
    ActivateAt(kOther);
    ActivateAt(kAddress);
    RebuildDeviceList();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    BusTransferFlag = false;
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_Store2Other", "17")));
    EXPECT_EQ(Drive(kOther).Find(123)->value, 1500u);

    Drive(kOther).Find(123)->value = 3000;
    drives_.at(kAddress)->Detach();
    ClearCaptures();
    ASSERT_TRUE(gwtest::ChooseMenuItem(Item("M_Store2Other", "17")));
    ASSERT_FALSE(gwtest::Boxes().empty());
    EXPECT_EQ(gwtest::Boxes().back().kind, "error");
    for (const std::string& request : Requests(kOther)) EXPECT_NE(request[0], 'W') << request;
    EXPECT_EQ(Drive(kOther).Find(123)->value, 3000u);
}

}  // namespace
