// The application object itself: what it fills in for the services, the
// progress of its parameter bases, and its construction and end.
#include <gtest/gtest.h>

#include <cstring>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "bus/serial/tarn_bus.h"
#include "platform/files/registry_store.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::MainTest;

class MainObjectTest : public MainTest {};

TEST_F(MainObjectTest, SpecialBoxesReachTheRealBusAndBases) {
    EXPECT_EQ(GetServicesHooks(), main_);
    OpenSerialBus();
    const std::string busError = main_->GetSerialBus()->GetErrorText();
    std::strcpy(main_->OwnParaBase().MessageBuffer, "Own base failed");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ShowErrorMessage(1);
    ShowErrorMessage(10);
    ASSERT_EQ(gwtest::Boxes().size(), 2u);
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Communication error on bus RS232");
    EXPECT_EQ(gwtest::Boxes()[0].text, busError + "!");
    EXPECT_EQ(gwtest::Boxes()[1].text, "Own base failed!");

    DestroyMainObject();
    EXPECT_EQ(GetServicesHooks(), nullptr);
    ShowErrorMessage(1);
    EXPECT_EQ(gwtest::Boxes().back().text, "No bus is open. Open a bus in the options first!");
}

TEST_F(MainObjectTest, ProgressMovesTheIndicatorGivenToMain) {
    auto* indicator = new GwSlider("ParaProgressIndicator", mainWindow_, GwPROGRESS_CLASS);
    main_->SetProgressIndicator(indicator);
    parameterbase& base = main_->OwnParaBase();
    struct Case {
        int index;
        double expected;
    } cases[] = {{992, 992}, {997, 992}, {996, 0}, {4, 4}, {1000, 0}, {5, 0}};
    for (const Case& c : cases) {
        base.ReportProgress(c.index);
        EXPECT_EQ(indicator->value(), c.expected) << c.index;
        EXPECT_EQ(indicator->start(), 0) << c.index;
        EXPECT_EQ(indicator->end(), 999) << c.index;
    }

    base.CancelRequested = 1;
    EXPECT_TRUE(base.ContinueProgress(-1.0f));
    EXPECT_EQ(base.CancelRequested, 1);
    EXPECT_FALSE(base.ContinueProgress(50.0f));
    EXPECT_EQ(base.CancelRequested, 0);
    EXPECT_TRUE(base.ContinueProgress(50.0f));
}

TEST_F(MainObjectTest, ConstructionReadsTheWindowsPathAndStartsEmpty) {
    EXPECT_STREQ(main_->GetWindowsPath().Text(), "");
    ASSERT_EQ(platform::TheRegistry().SetValue(
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "PathName", "C:\\Windows"),
              platform::RegistryStatus::kOk);
    ASSERT_TRUE(CreateMainObject());
    main_ = GetMain();
    EXPECT_STREQ(main_->GetWindowsPath().Text(), "C:\\Windows");
    EXPECT_EQ(main_->GetActiveAddress(), -1);
    for (int32_t address : main_->FoundDevices()) EXPECT_EQ(address, -1);
    for (int a = 0; a < kBusDeviceSlots; ++a) EXPECT_EQ(main_->GetCachedParaBase(a), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_EQ(main_->WorkingParaBase(), &main_->OwnParaBase());
    EXPECT_EQ(GetLanguageDir(), "..\\LANGUAGE\\044");
    // The shipped profile names the user data directory.
    EXPECT_EQ(GetUserDataDir(), "..\\userdata");
}

}  // namespace
