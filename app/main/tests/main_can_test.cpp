// The CANopen bus of the application object on the virtual CAN adapter, and
// the end of the application object with both buses open. The bus's worker
// runs on its own thread.
#include <gtest/gtest.h>

#include "app/main/tests/main_fixture.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "sim/can_bus.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::kAddress;
using maintest::MainTest;

constexpr int32_t kBaudRateId = 3;

class MainCanTest : public MainTest {};

TEST_F(MainCanTest, WithoutAnAdapterDriverTheBusFailsToOpen) {
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(main_->OpenCanBus(kBaudRateId, kHardwareUsb, 0, 0, true));
    EXPECT_EQ(main_->GetCanBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_FALSE(ModalFlag);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
}

TEST_F(MainCanTest, PortAndInterruptOnlyForTheParallelPortAdapter) {
    sim::RegisterVirtualCanAdapter();
    ASSERT_TRUE(main_->OpenCanBus(kBaudRateId, kHardwareParallel, 0x378, 7, true));
    ASSERT_NE(main_->GetCanBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetCanBus());
    EXPECT_EQ(main_->GetCanBus()->GetIoPort(), 0x378u);
    ASSERT_FALSE(sim::TheVirtualCanBus().Inits().empty());
    sim::AdapterInit init = sim::TheVirtualCanBus().Inits().back();
    EXPECT_FALSE(init.usb);
    EXPECT_EQ(init.io_port, 0x378u);
    EXPECT_EQ(init.interrupt, 7);
    EXPECT_FALSE(ModalFlag);

    ASSERT_TRUE(main_->OpenCanBus(kBaudRateId, kHardwareUsb, 0x378, 7, false));
    EXPECT_EQ(main_->GetActiveBus(), main_->GetCanBus());  // the old one was active
    EXPECT_EQ(main_->GetCanBus()->GetIoPort(), 0u);
    init = sim::TheVirtualCanBus().Inits().back();
    EXPECT_TRUE(init.usb);
    EXPECT_EQ(init.io_port, 0u);
    EXPECT_EQ(init.interrupt, 0);
    EXPECT_EQ(CCanOpenTarn::RunningWorkers(), 1);

    main_->CloseCanBus();
    EXPECT_EQ(main_->GetCanBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_EQ(CCanOpenTarn::RunningWorkers(), 0);
    EXPECT_FALSE(ModalFlag);
}

TEST_F(MainCanTest, EndWithBothBusesOpenAndBasesCached) {
    sim::RegisterVirtualCanAdapter();
    ASSERT_TRUE(main_->OpenCanBus(kBaudRateId, kHardwareUsb, 0, 0, false));
    Activate();
    ASSERT_NE(main_->GetCachedParaBase(kAddress), nullptr);
    ASSERT_EQ(CCanOpenTarn::RunningWorkers(), 1);
    EXPECT_EQ(GetServicesHooks(), main_);
    DestroyMainObject();
    EXPECT_EQ(GetMain(), nullptr);
    EXPECT_EQ(CCanOpenTarn::RunningWorkers(), 0);
    EXPECT_EQ(GetServicesHooks(), nullptr);
}

}  // namespace
