// Opening and closing the serial bus, uncoupling devices, device search and
// network scan, and the device state texts.
#include <gtest/gtest.h>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "bus/serial/tarn_bus.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::ActivationTable;
using maintest::MainTest;

class MainBusTest : public MainTest {
protected:
    static int Autostart(const char* name) {
        GwProfile* profile = MainProfile();
        if (!profile->select_section((std::string("Pos_") + name).c_str())) return -1;
        return profile->read_int("autostart", -1);
    }
    // A drive whose parameter 130 is no alias.
    static sim::DriveTable TableWithoutAlias() {
        sim::DriveTable table = ActivationTable();
        table.Find(130)->name = "TEXT";
        return table;
    }
};

TEST_F(MainBusTest, SerialBusOnTheInMemoryPort) {
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    ASSERT_NE(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
    EXPECT_STREQ(main_->GetActiveBus()->GetName().Text(), "RS232");
    EXPECT_STREQ(main_->GetActiveBus()->GetSettingsText().Text(), "9600 Baud");
    EXPECT_FALSE(ModalFlag);
    EXPECT_EQ(display_.Count("RefreshBusDisplay"), 1u);

    // Reopened with make-active false it stays active: the old one was.
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, false));
    EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
    EXPECT_FALSE(ModalFlag);

    main_->CloseTarnBus();
    EXPECT_EQ(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_FALSE(ModalFlag);
    main_->CloseTarnBus();
    EXPECT_FALSE(ModalFlag);
}

TEST_F(MainBusTest, PortThatCannotBeOpenedLeavesNoSerialBus) {
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(main_->OpenTarnBus(9600, 2, true));
    EXPECT_EQ(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_FALSE(ModalFlag);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
    // No bus is active any more, so message 1 says so.
    EXPECT_EQ(gwtest::Boxes()[0].text, "No bus is open. Open a bus in the options first!");
}

TEST_F(MainBusTest, OpeningABusUncouplesEveryCachedDevice) {
    AddDrive(maintest::kAddress, TableWithoutAlias());
    Activate();
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    EXPECT_NE(ProgramLog().find("Uncoupling Device 3-Ruvex4120"), std::string::npos) << ProgramLog();
    EXPECT_EQ(main_->GetCachedParaBase(maintest::kAddress), nullptr);
    EXPECT_EQ(main_->GetActiveAddress(), -1);
}

TEST_F(MainBusTest, ClosingTheActiveBusClosesTheOnlineWindowsForReopening) {
    OpenSerialBus();
    ListedOnlineWindow("Tool");
    main_->CloseTarnBus();
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    EXPECT_EQ(Autostart("Tool"), 1);
    EXPECT_EQ(display_.Count("RefreshBusDisplay"), 2u);
}

TEST_F(MainBusTest, UncouplingTheActiveDeviceAndAnAddressWithoutBase) {
    AddDrive(maintest::kAddress, TableWithoutAlias());
    AddDrive(7, TableWithoutAlias());
    Activate();
    display_.calls.clear();
    main_->UncoupleDevice(maintest::kAddress);
    EXPECT_NE(ProgramLog().find("Uncoupling Device 3-Ruvex4120"), std::string::npos);
    EXPECT_EQ(main_->GetActiveAddress(), -1);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_EQ(main_->GetActiveBus()->GetDevice(maintest::kAddress), nullptr);
    const std::vector<std::string> calls = {"ClearActiveDeviceFields",
                                            "FillDeviceMenus",
                                            "FillDeviceList",
                                            "RefreshActiveDeviceViews",
                                            "UpdateMainTitle",
                                            "SaveDockingLayout"};
    EXPECT_EQ(display_.calls, calls);

    ASSERT_EQ(main_->GetCachedParaBase(7), nullptr);
    main_->UncoupleDevice(7);
    EXPECT_EQ(main_->GetActiveBus()->GetDevice(7), nullptr);
    EXPECT_EQ(main_->FoundDevices()[0], -1);
    EXPECT_EQ(ProgramLog().find("Uncoupling Device 7"), std::string::npos);
}

TEST_F(MainBusTest, SearchAndScanWithoutBusOrDevice) {
    BusTransferFlag = false;
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    main_->SearchDevice();
    main_->ScanNet();
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    main_->SearchDevice();
    const std::string searchError = main_->GetSerialBus()->GetErrorText();
    EXPECT_FALSE(main_->LastSearchWasScan());
    main_->ScanNet();
    const std::string scanError = main_->GetSerialBus()->GetErrorText();
    EXPECT_TRUE(main_->LastSearchWasScan());
    const std::vector<std::string> expected = {
        "info: No bus is open. Open a bus in the options first!",
        "info: No bus is open. Open a bus in the options first!",
        "info: " + searchError + "!",
        "error: " + scanError + "!",
    };
    EXPECT_EQ(BoxTexts(), expected);
    EXPECT_EQ(gwtest::Boxes()[2].caption, "Communication error on bus RS232");
    EXPECT_FALSE(BusTransferFlag);
}

TEST_F(MainBusTest, ScanFillsTheFoundDevicesWithTypeTextsAndAliases) {
    AddDrive(17, ActivationTable(5012, 40));
    AddDrive(maintest::kAddress);
    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section("AliasNames", true));
    profile->write("Device17", "Lift");
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    main_->ScanNet();
    EXPECT_TRUE(gwtest::Boxes().empty());
    const std::array<int32_t, kBusDeviceSlots>& found = main_->FoundDevices();
    EXPECT_EQ(found[0], 3);
    EXPECT_EQ(found[1], 17);
    EXPECT_EQ(found[2], -1);
    const BusDeviceRecord* three = main_->GetActiveBus()->GetDevice(3);
    const BusDeviceRecord* seventeen = main_->GetActiveBus()->GetDevice(17);
    ASSERT_NE(three, nullptr);
    ASSERT_NE(seventeen, nullptr);
    EXPECT_STREQ(three->typeText.Text(), "Ruvex4120");
    EXPECT_STREQ(seventeen->typeText.Text(), "Pesco5012");
    EXPECT_STREQ(three->alias.Text(), "Axis one");
    EXPECT_STREQ(seventeen->alias.Text(), "Lift");
    EXPECT_STREQ(main_->GetDeviceLabel(3), "Axis one");
    EXPECT_EQ(display_.Count("FillDeviceMenus"), 1u);
}

TEST_F(MainBusTest, DeviceStateTexts) {
    struct Drive {
        int address;
        uint32_t type;
        uint32_t state;  // parameter 403
    } drives[] = {{3, 4120, 0x3000}, {4, 3012, 0x3000}, {5, 5001, 4}, {6, 1001, 8}, {7, 2001, 1}, {8, 9001, 0x5000}};
    for (const Drive& d : drives) {
        sim::DriveTable table = ActivationTable(d.type, 20);
        table.Find(403)->value = d.state;
        AddDrive(d.address, table);
    }
    OpenSerialBus();
    main_->GetActiveBus()->AddDevice(9, 4001, 1.0f);   // no drive answers there
    main_->GetActiveBus()->AddDevice(10, 6001, 1.0f);  // a type of no known kind
    struct Case {
        int address;
        const char* expected;
    } cases[] = {
        {3, "Running"},
        {4, "Running"},
        {5, "Running"},
        {6, "Error"},
        {7, "Not ready"},
        {8, "Stopped"},
        {9, "Bus error"},
        {10, "Unknown device"},
        {11, "Not active"},
    };
    for (const Case& c : cases) EXPECT_EQ(main_->GetDeviceStateText(c.address), c.expected) << c.address;
    main_->CloseTarnBus();
    EXPECT_EQ(main_->GetDeviceStateText(3), "Not active");
}

}  // namespace
