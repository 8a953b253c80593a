// The signature watch on "MainContainer": its interval, a changed drive
// found again, and the refusal at user level 6.
#include <gtest/gtest.h>

#include <string>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/signature_watch.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "bus/serial/tarn_bus.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::FloatBits;
using maintest::kAddress;
using mainwindowtest::MainWindowTest;

class SignatureWatchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        AddDrive(kAddress);
        OpenSerialBus();
        ActivateAt(kAddress);
        BusTransferFlag = false;
        container_ = Child("MainContainer");
    }
    // The drive reports another firmware version from now on.
    void ChangeVersion() {
        for (int number : {90, 92}) drives_.at(kAddress)->Table().Find(number)->value = FloatBits(1.35f);
    }
    GwCore* container_ = nullptr;
};

TEST_F(SignatureWatchTest, IntervalFollowsTheBaudRate) {
    struct Case {
        int32_t baud;
        uint32_t interval;
    };
    for (const Case& c : {Case{9600, 3000}, Case{19200, 1500}, Case{38400, 1500}}) {
        SCOPED_TRACE(c.baud);
        if (c.baud != 9600) {
            drives_.at(kAddress)->SetBaud(c.baud);
            ASSERT_TRUE(main_->OpenTarnBus(c.baud, 1, true));
            main_->GetSerialBus()->AddDevice(kAddress, maintest::kTypeNumber, 1.3f);
            RebuildDeviceList();
            ActivateAt(kAddress);
            BusTransferFlag = false;
        }
        container_->start_timer(kSignatureWatchStartMs);
        gwtest::Advance(kSignatureWatchStartMs);
        EXPECT_EQ(container_->timer_interval(), c.interval);
        EXPECT_TRUE(container_->is_timer_running());
        EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    }
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(SignatureWatchTest, ChangedDriveIsFoundAgainAndActivated) {
    for (bool scan : {false, true}) {
        SCOPED_TRACE(scan);
        gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
        if (scan) {
            main_->ScanNet();
            RebuildDeviceList();
            ActivateAt(kAddress);
            BusTransferFlag = false;
        }
        ChangeVersion();
        NewLogText();
        const size_t boxes = gwtest::Boxes().size();
        const int activations = main_->GetActivationCount();
        container_->start_timer(kSignatureWatchStartMs);
        gwtest::Advance(kSignatureWatchStartMs);
        const std::string log = NewLogText();
        EXPECT_NE(log.find("CB_CheckDeviceSignature: Signature change detected"), std::string::npos);
        ASSERT_EQ(gwtest::Boxes().size(), boxes + 1);
        EXPECT_EQ(gwtest::Boxes()[boxes].kind, "info");
        EXPECT_EQ(gwtest::Boxes()[boxes].text,
                  "The device behind the active address has changed. The devices are searched again!");
        EXPECT_EQ(main_->LastSearchWasScan(), scan);
        EXPECT_EQ(main_->GetActiveAddress(), kAddress);
        EXPECT_EQ(main_->GetActivationCount(), activations + 1);
        EXPECT_FLOAT_EQ(main_->GetFirmwareVersion(), 1.35f);
        // Version back for the next round.
        for (int number : {90, 92}) drives_.at(kAddress)->Table().Find(number)->value = FloatBits(1.3f);
        RemoveTreeFile("FIRMDATA/4120_001.35D");
        RemoveTreeFile("FIRMDATA/4120_001.35X");
        RemoveTreeFile("FIRMDATA/4120_001.35T");
    }
}

TEST_F(SignatureWatchTest, RefusedWarningAtLevelSixKeepsTheDeviceCoupled) {
    SetUserLevel(6);
    ChangeVersion();
    NewLogText();
    const int activations = main_->GetActivationCount();
    gwtest::AnswerBox(GwRESULT_NO);
    container_->start_timer(kSignatureWatchStartMs);
    gwtest::Advance(kSignatureWatchStartMs);
    const std::string log = NewLogText();
    EXPECT_NE(log.find("CB_CheckDeviceSignature: Signature change detected"), std::string::npos);
    EXPECT_NE(log.find("CB_CheckDeviceSignature: Signature change ignored in user level 6"), std::string::npos);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_EQ(main_->GetActivationCount(), activations);
    EXPECT_TRUE(container_->is_timer_running());
}

TEST_F(SignatureWatchTest, NoOnlineDeviceLeavesTheTimerAlone) {
    main_->UncoupleAllDevices();
    container_->start_timer(kSignatureWatchStartMs);
    ClearCaptures();
    gwtest::Advance(kSignatureWatchStartMs);
    EXPECT_EQ(container_->timer_interval(), kSignatureWatchStartMs);
    EXPECT_TRUE(Requests(kAddress).empty());
}

}  // namespace
