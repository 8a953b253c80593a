// The timer guard, the queries of the active device, and a failed device
// access reported through the application object's hooks.
#include <gtest/gtest.h>

#include <cstring>

#include "app/main/tests/main_fixture.h"
#include "app/services/device_error.h"
#include "app/services/program_flags.h"
#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/para_write_lock.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::ActivationTable;
using maintest::FloatBits;
using maintest::kAddress;
using maintest::MainTest;

class QueriesTest : public MainTest {
protected:
    // A shown frame with a running timer.
    GwCore* Poller(const char* name = "Poller") {
        GwCore* frame = new GwApplFrame(name);
        frame->show();
        frame->start_timer(1000);
        return frame;
    }
};

TEST_F(QueriesTest, GuardRefusesWhileAnyBusyFlagIsSet) {
    BusTransferFlag = false;
    GwCore* widget = Poller();
    struct Case {
        const char* what;
        bool* flag;
    } cases[] = {
        {"serial wait", &SerialWaitFlag},
        {"error box", &ErrorBoxFlag},
        {"modal", &ModalFlag},
        {"message box", &MessageBoxOpenFlag},
        {"bus transfer", &BusTransferFlag},
    };
    EXPECT_TRUE(main_->CheckTimerIntegrity(widget, false));
    for (const Case& c : cases) {
        *c.flag = true;
        EXPECT_FALSE(main_->CheckTimerIntegrity(widget, false)) << c.what;
        EXPECT_TRUE(widget->is_timer_running()) << c.what;
        *c.flag = false;
    }
    EXPECT_TRUE(main_->CheckTimerIntegrity(widget, false));

    // Minimised main window or frame, or no online device for a device-bound
    // timer: refused, nothing stopped.
    mainWindow_->minimize();
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, false));
    mainWindow_->restore();
    widget->minimize();
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, false));
    widget->restore();
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, true));
    EXPECT_TRUE(widget->is_timer_running());
    EXPECT_EQ(ProgramLog().find("Emergency"), std::string::npos);
}

TEST_F(QueriesTest, PendingUncouplingStopsADeviceBoundTimer) {
    Activate();
    BusTransferFlag = false;
    GwCore* widget = Poller();
    EXPECT_TRUE(main_->CheckTimerIntegrity(widget, true));
    UncouplingPending = true;
    // A timer that needs no device goes on as usual.
    EXPECT_TRUE(main_->CheckTimerIntegrity(widget, false));
    EXPECT_TRUE(widget->is_timer_running());
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, true));
    EXPECT_FALSE(widget->is_timer_running());
    EXPECT_FALSE(UncouplingPending);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
}

TEST_F(QueriesTest, EmergencyStopNamesTheWidget) {
    GwCore* titled = Poller("Named");
    titled->set_text("Title");
    GwCore* named = Poller("Named");
    GwCore* frame = Poller("Frame");
    frame->set_text("Frame text");
    GwCore* inFrame = new GwCore(GwGENERIC_CLASS, "", frame);
    GwCore* bareFrame = Poller("");
    GwCore* inBareFrame = new GwCore(GwGENERIC_CLASS, "", bareFrame);
    GwCore* namedFrame = Poller("FrameName");
    GwCore* inNamedFrame = new GwCore(GwGENERIC_CLASS, "", namedFrame);
    struct Case {
        GwCore* widget;
        GwCore* hide;
        const char* logged;
    } cases[] = {
        {titled, titled, "Main->CheckTimerIntegrity: Emergency timer stop in object \"Title\"\n"},
        {named, named, "Main->CheckTimerIntegrity: Emergency timer stop in object \"Named\"\n"},
        {inFrame, frame, "Main->CheckTimerIntegrity: Emergency timer stop in child of frame \"Frame text\"\n"},
        {inNamedFrame, namedFrame, "Main->CheckTimerIntegrity: Emergency timer stop in child of frame \"FrameName\"\n"},
        {inBareFrame, bareFrame, "Main->CheckTimerIntegrity: Emergency timer stop in unknown object\n"},
    };
    for (const Case& c : cases) {
        c.widget->start_timer(1000);
        c.hide->hide();
        EXPECT_FALSE(main_->CheckTimerIntegrity(c.widget, false)) << c.logged;
        EXPECT_FALSE(c.widget->is_timer_running()) << c.logged;
        EXPECT_NE(NewLogText().find(c.logged), std::string::npos) << c.logged;
    }

    // A visible widget under a hidden main window.
    GwCore* visible = Poller("Visible");
    visible->set_text("Title");
    mainWindow_->hide();
    EXPECT_FALSE(main_->CheckTimerIntegrity(visible, false));
    EXPECT_FALSE(visible->is_timer_running());
    EXPECT_NE(
        NewLogText().find(
            "Main->CheckTimerIntegrity: Emergency timer stop in object \"Title\"because of invisible MainWindow\n"),
        std::string::npos);
}

TEST_F(QueriesTest, ActiveDeviceQueries) {
    EXPECT_FALSE(main_->HasOnlineDevice());
    EXPECT_EQ(main_->GetActiveDeviceTypeClass(), 0);
    EXPECT_EQ(main_->GetActiveDeviceFamily(), 0);
    EXPECT_STREQ(main_->GetVersionTag().Text(), "0_00");
    Activate();
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_STREQ(main_->GetVersionTag().Text(), "1_30");
    EXPECT_EQ(main_->GetActiveDeviceTypeClass(), 4000);
    EXPECT_EQ(main_->GetActiveDeviceFamily(), 4);
    EXPECT_STREQ(main_->GetDeviceLabel(kAddress), "Axis one");
    EXPECT_STREQ(main_->GetActiveDeviceLabel(), "Axis one");
    EXPECT_STREQ(main_->GetActiveDeviceTypeText(), "Ruvex4120");
    ClearCaptures();
    EXPECT_EQ(main_->ReadActiveDeviceInfoText(), "2");
    EXPECT_EQ(Requests(), std::vector<std::string>{"R20151"});
    main_->GetActiveBus()->AddDevice(kAddress, 9001, 1.3f);
    EXPECT_EQ(main_->ReadActiveDeviceInfoText(), "");
    EXPECT_EQ(main_->ReadRunMode(), 0);
    EXPECT_EQ(Requests(), std::vector<std::string>{"R20151"});
    main_->GetActiveBus()->AddDevice(kAddress, 4120, 1.3f);
    RebuildDeviceList();
    main_->GetActiveBus()->GetDevice(kAddress)->alias.Clear();
    EXPECT_STREQ(main_->GetDeviceLabel(kAddress), "3-Ruvex4120");
    EXPECT_STREQ(main_->GetActiveDeviceAlias(), "");
}

TEST_F(QueriesTest, RunningStatesPerFamily) {
    Activate();
    DataBus* bus = main_->GetActiveBus();
    sim::DriveTable& drive = drives_.at(kAddress)->Table();
    struct Case {
        uint16_t type;
        uint16_t state;
        bool running;
    } cases[] = {
        {3012, 3, true},
        {3012, 8, true},
        {3012, 12, true},
        {3012, 5, false},
        {4120, 3, true},
        {4120, 11, true},
        {4120, 8, false},
        {9001, 13, true},
        {9001, 7, true},
        {9001, 3, false},
        {5001, 4, true},
        {1001, 7, true},
        {2001, 3, false},
        {5001, 8, false},
        {1, 4, false},
    };
    for (const Case& c : cases) {
        bus->AddDevice(kAddress, c.type, 1.3f);
        const int family = main_->GetActiveDeviceFamily();
        const bool highBits = family == 3 || family == 4 || family == 8;
        drive.Find(403)->value = highBits ? static_cast<uint32_t>(c.state) << 12 : c.state;
        EXPECT_EQ(main_->IsActiveDeviceRunning(), c.running) << c.type << " " << c.state;
    }
}

TEST_F(QueriesTest, Version200Devices) {
    using parabasetest::Define;
    struct Case {
        int32_t type;
        float version;
        bool expected;
    } cases[] = {
        {3012, 209.95f, true},
        {4120, 200.0f, true},
        {3012, 210.0f, false},
        {4120, 199.9f, false},
        {5120, 205.0f, false},
    };
    for (const Case& c : cases) {
        ParaBase base;
        base.TableLoaded = 1;
        Define(base, {.number = 91, .name = "TYPE", .type = kTypeUsign16, .maximum = 65535, .value = c.type});
        Define(
            base,
            {.number = 92, .name = "VERS", .type = kTypeFloat32, .value = static_cast<int32_t>(FloatBits(c.version))});
        EXPECT_EQ(IsVersion200Device(&base), c.expected) << c.type << " " << c.version;
    }
    EXPECT_FALSE(IsVersion200Device(nullptr));

    sim::DriveTable table = ActivationTable();
    table.Find(92)->value = FloatBits(205.0f);
    AddDrive(kAddress, table);
    Activate();
    EXPECT_TRUE(main_->ReadActiveDeviceVersionIs200());
    drives_.at(kAddress)->Table().Find(92)->value = FloatBits(210.0f);
    EXPECT_FALSE(main_->ReadActiveDeviceVersionIs200());
    const std::vector<std::string> reads = {"R20092", "R20091", "R20092", "R20091"};
    EXPECT_EQ(Requests(), reads);
}

TEST_F(QueriesTest, ServiceFlagPerFamily) {
    sim::DriveTable table = ActivationTable();
    table.PutFullRange(5, "SVSLD", "USIGN8", 0);
    table.PutFullRange(132, "SVST", "USIGN8", 0);
    table.PutFullRange(150, "SAVE", "USIGN8", 0);
    AddDrive(kAddress, table);
    Activate();
    sim::DriveTable& drive = drives_.at(kAddress)->Table();
    ParameterEntry* five = main_->ActiveParaBase()->GetEntry(5);
    struct Case {
        uint16_t type;
        const char* fiveName;
        uint32_t p5, p132, p150;
        bool expected;
    } cases[] = {
        {4120, "SVSLD", 1, 0, 0, true},
        {4120, "SVSLD", 0, 0, 1, false},
        {4120, "SVSLD", 0, 1, 0, true},
        {4120, "SVSLX", 1, 0, 0, false},
        {9001, "SVSLD", 1, 1, 0, false},
        {9001, "SVSLD", 0, 0, 1, true},
        {3012, "SVSLD", 1, 0, 1, false},
        {3012, "SVSLD", 0, 1, 0, true},
        {1001, "SVSLD", 0, 1, 0, true},
        {1, "SVSLD", 1, 1, 1, false},
    };
    for (const Case& c : cases) {
        main_->GetActiveBus()->AddDevice(kAddress, c.type, 1.3f);
        std::memcpy(five->name, c.fiveName, 5);
        drive.Find(5)->value = c.p5;
        drive.Find(132)->value = c.p132;
        drive.Find(150)->value = c.p150;
        EXPECT_EQ(main_->ReadActiveDeviceServiceFlag(), c.expected) << c.type << " " << c.fiveName << c.p5 << c.p132;
    }
    EXPECT_TRUE(gwtest::Boxes().empty());

    // A failed read counts as 0 after error message 5.
    main_->GetActiveBus()->AddDevice(kAddress, 3012, 1.3f);
    drive.Find(132)->value = 1;
    drives_.at(kAddress)->AddFault(sim::DriveFault::Nak(0x0020).For("20132").Times(10));
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(main_->ReadActiveDeviceServiceFlag());
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Device access error");
}

TEST_F(QueriesTest, UncouplingChosenAfterADeviceError) {
    Activate();
    BusTransferFlag = false;
    GwCore* widget = Poller();
    // Without the write lock the uncoupling waits for a device-bound timer.
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_FALSE(ShowDeviceError(5, main_->ActiveParaBase()));
    EXPECT_TRUE(DevicesUncoupled);
    EXPECT_TRUE(UncouplingPending);
    EXPECT_NE(main_->ActiveParaBase(), nullptr);
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, true));
    EXPECT_FALSE(widget->is_timer_running());
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_FALSE(UncouplingPending);

    // With the lock held, warning 142 "Yes" uncouples at once.
    DevicesUncoupled = false;
    main_->GetActiveBus()->AddDevice(kAddress, maintest::kTypeNumber, 1.3f);
    Activate();
    ASSERT_TRUE(TheParaWriteLock().Acquire(17));
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_TRUE(ReportDeviceAccessError(6, nullptr, nullptr));
    EXPECT_FALSE(ReportDeviceAccessError(0, nullptr, nullptr));
    EXPECT_TRUE(DevicesUncoupled);
    EXPECT_FALSE(UncouplingPending);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_EQ(gwtest::Boxes().back().text, "A window holds the parameter lock. Uncouple all devices now!");
    TheParaWriteLock().Release(17);
}

}  // namespace
