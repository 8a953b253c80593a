// Start-up and the option book with the CANopen bus on the virtual CAN
// adapter; the bus's worker runs on its own thread.
#include <gtest/gtest.h>

#include <string>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "app/shell/option_book.h"
#include "app/shell/startup_sequence.h"
#include "bus/can/can_open_tarn.h"
#include "sim/can_bus.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

constexpr char kCanStart[] =
    "[Options]\nLanguage=44\nBussystem=CANOpen\n[AutoStart]\nInitBus=yes\n"
    "[CANOpen]\nBaudRateId=3\nHwId=0\nIoPort=378\nIRQ=7\n";

class ShellCanTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        for (const GwFuncDesc* table : CallbackTables()) ASSERT_NE(GwRcMgr::use_func_desc(table), 0);
        ASSERT_TRUE(GwRcMgr::use_text("dialogframe NetList { }\n", "netlist.cgw"));
        sim::RegisterVirtualCanAdapter();
        gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    }

    void Start(const std::string& profile) {
        UseMainProfile(profile);
        mainWindow_->start_timer(2500);
        ASSERT_EQ(CB_StartMacro(mainWindow_, nullptr, GwUD()), 0);
    }

    GwCore* OpenBook() {
        EXPECT_EQ(CB_ShowOptionBook(mainWindow_, nullptr, GwUD()), 1);
        return TheWindowHandler().FindByName("Options");
    }
};

// The profile's hexadecimal I/O port reaches the adapter as 0x378.
TEST_F(ShellCanTest, StartUpOpensTheConfiguredAdapter) {
    Start(kCanStart);
    ASSERT_NE(main_->GetCanBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetCanBus());
    ASSERT_FALSE(sim::TheVirtualCanBus().Inits().empty());
    const sim::AdapterInit init = sim::TheVirtualCanBus().Inits().back();
    EXPECT_FALSE(init.usb);
    EXPECT_EQ(init.io_port, 0x378u);
    EXPECT_EQ(init.interrupt, 7);
}

// The book shows the open adapter's settings; accepting them keeps the bus,
// another adapter reopens it and keeps the stored port settings.
TEST_F(ShellCanTest, TheBookShowsTheOpenAdapterAndReopensOnlyForAChange) {
    Start(kCanStart);
    const CCanOpenTarn* bus = main_->GetCanBus();
    ASSERT_NE(bus, nullptr);
    GwCore* book = OpenBook();
    ASSERT_NE(book, nullptr);
    EXPECT_TRUE(book->child<GwToggle>("IsCanBusActiv")->is_checked());
    EXPECT_EQ(book->child<GwCombo>("GwCanBaudRateId")->first_selected(), 3);
    EXPECT_EQ(book->child<GwCombo>("gwcCanHwId")->first_selected(), 0);
    EXPECT_EQ(book->child<GwCombo>("gwcCanIoPort")->selection_text(), "378");
    EXPECT_EQ(book->child<GwCombo>("gwcCanIrq")->selection_text(), "7");
    EXPECT_TRUE(book->child("gwcPeakDongle")->is_shown());
    const size_t inits = sim::TheVirtualCanBus().Inits().size();
    ASSERT_TRUE(gwtest::Click(book->child("OK")));
    EXPECT_EQ(main_->GetCanBus(), bus);
    EXPECT_EQ(sim::TheVirtualCanBus().Inits().size(), inits);

    book = OpenBook();
    ASSERT_TRUE(gwtest::Select(book->child("gwcCanHwId"), 1));
    ASSERT_TRUE(gwtest::Select(book->child("gwcCanIoPort"), 1));
    ASSERT_TRUE(gwtest::Click(book->child("OK")));
    ASSERT_NE(main_->GetCanBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetCanBus());
    ASSERT_EQ(sim::TheVirtualCanBus().Inits().size(), inits + 1);
    EXPECT_TRUE(sim::TheVirtualCanBus().Inits().back().usb);
    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section("CANOpen"));
    EXPECT_STREQ(profile->read("HwId"), "1");
    EXPECT_STREQ(profile->read("IoPort"), "378");
    EXPECT_STREQ(profile->read("IRQ"), "7");
    EXPECT_FALSE(book->is_shown());
}

}  // namespace
