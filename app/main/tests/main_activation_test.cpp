// Making a device active: the base from the device, the cache or the cache
// cache file, the signature, the refusals, and the signature check.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "bus/serial/tarn_bus.h"
#include "families/ruvex_setup_context.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::ActivationTable;
using maintest::FloatBits;
using maintest::kAddress;
using maintest::MainTest;

class ActivationTest : public MainTest {
protected:
    sim::DriveTable& Drive(int address = kAddress) { return drives_.at(address)->Table(); }
    bool HeardAny(const std::string& prefix) {
        const std::vector<std::string> requests = Requests();
        return std::any_of(
            requests.begin(), requests.end(), [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    }
    // The requests after the last description or value-text read: what
    // follows the whole-table read.
    std::vector<std::string> AfterTableRead() {
        const std::vector<std::string> requests = Requests();
        auto last = std::find_if(requests.rbegin(), requests.rend(), [](const std::string& r) {
            return r.rfind("R30", 0) == 0 || r.rfind("R61", 0) == 0;
        });
        return {last.base(), requests.end()};
    }
};

TEST_F(ActivationTest, FirstActivationBuildsTheBaseFromTheDeviceAndCachesIt) {
    AddDrive(kAddress).Table().Find(88)->value = 1;
    OpenSerialBus();
    ClearCaptures();
    ASSERT_TRUE(BusTransferFlag);
    EXPECT_TRUE(main_->SetActiveDevice(kAddress));
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_NE(ProgramLog().find("Reading the parameter base from the device ..."), std::string::npos);
    for (const char* extension : {"D", "X", "T"}) {
        EXPECT_TRUE(std::filesystem::exists(CachePath(extension))) << extension;
    }
    EXPECT_EQ(std::filesystem::file_size(CachePath("D")), 64000u);

    EXPECT_TRUE(HeardAny("R30"));  // the descriptions
    // The signature, the setup context's firmware line, the run mode, and
    // the power-on flag cleared.
    const std::vector<std::string> after = {"R20165", "R20092", "R20091", "R20127", "R20092", "R20151", "W20088"};
    EXPECT_EQ(AfterTableRead(), after);
    EXPECT_EQ(Drive().Find(88)->value, 0u);

    EXPECT_NE(dynamic_cast<RuvexSetupContext*>(main_->GetSetupContext()), nullptr);
    EXPECT_EQ(main_->GetStoredRunMode(), 2);
    EXPECT_EQ(main_->GetUdsacValue(), 77);
    EXPECT_FLOAT_EQ(main_->GetFirmwareVersion(), 1.3f);
    EXPECT_EQ(main_->GetFirmwareRevision(), 4120);
    EXPECT_STREQ(main_->GetSerialNumber().Text(), "SN-0042");
    EXPECT_EQ(CanArraySubindexOffset, 0);
    EXPECT_FALSE(BusTransferFlag);
    EXPECT_EQ(main_->GetActivationCount(), 1);
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_EQ(main_->ActiveParaBase(), main_->GetCachedParaBase(kAddress));
    EXPECT_TRUE(main_->HasOnlineDevice());
    for (const char* call : {"RefreshActiveDeviceViews", "UpdateMainTitle", "ReopenAutostartWindows"}) {
        EXPECT_EQ(display_.Count(call), 1u) << call;
    }
}

TEST_F(ActivationTest, SignatureParametersAreReadOnlyUnderTheirNames) {
    struct Case {
        const char* udsacName;
        const char* serialName;
        const char* powerOnName;
        bool readsUdsac;
        bool readsSerial;
        bool clearsPowerOn;
        uint32_t type;
        uint8_t offset;  // CanArraySubindexOffset afterwards
    } cases[] = {
        {"UDSAC", "XS_NR", "PWRON", true, true, true, 4120, 0},
        {"UDSA", "SNR", "PWRO", false, false, false, 5120, 1},
    };
    for (const Case& c : cases) {
        sim::DriveTable table = ActivationTable(c.type);
        table.Find(165)->name = c.udsacName;
        table.Find(127)->name = c.serialName;
        table.Find(88)->name = c.powerOnName;
        AddDrive(kAddress, table);
        WriteTreeFile("bin/Type5.xdl", "");
        OpenSerialBus();
        ClearCaptures();
        CanArraySubindexOffset = c.offset == 0 ? 1 : 0;
        ASSERT_TRUE(main_->SetActiveDevice(kAddress)) << c.udsacName;
        const std::vector<std::string> after = AfterTableRead();
        EXPECT_EQ(std::count(after.begin(), after.end(), "R20165"), c.readsUdsac ? 1 : 0) << c.udsacName;
        EXPECT_EQ(std::count(after.begin(), after.end(), "R20127"), c.readsSerial ? 1 : 0) << c.serialName;
        EXPECT_EQ(std::count(after.begin(), after.end(), "W20088"), c.clearsPowerOn ? 1 : 0) << c.powerOnName;
        EXPECT_EQ(CanArraySubindexOffset, c.offset) << c.type;
        main_->CloseTarnBus();
        std::filesystem::remove(testsupport::RuntimePath("FIRMDATA/5120_001.30D"));
        std::filesystem::remove(testsupport::RuntimePath("FIRMDATA/5120_001.30X"));
        std::filesystem::remove(testsupport::RuntimePath("FIRMDATA/5120_001.30T"));
    }
}

TEST_F(ActivationTest, CachedBaseIsTakenAgainWithoutFilesOrDescriptions) {
    Activate();
    AddDrive(7);
    main_->GetActiveBus()->AddDevice(7, 4120, 1.3f);
    GwCore* window = ListedOnlineWindow("DeviceView");
    NewLogText();
    EXPECT_TRUE(main_->SetActiveDevice(kAddress));
    const std::string log = NewLogText();
    EXPECT_EQ(log.find("ParaBase->ReadFileBase"), std::string::npos);
    EXPECT_EQ(log.find("ParaBase->ReadBusBase"), std::string::npos);
    for (const std::string& r : Requests()) {
        EXPECT_TRUE(r.rfind("R20", 0) == 0 || r == "W20088") << r;
    }
    for (const char* r : {"R20165", "R20092", "R20091", "R20127"}) EXPECT_TRUE(HeardAny(r)) << r;
    EXPECT_EQ(TheWindowHandler().IndexOf(window), 0);
    EXPECT_EQ(main_->GetActivationCount(), 2);

    // Another address closes the online windows, to be reopened.
    EXPECT_TRUE(main_->SetActiveDevice(7));
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    GwProfile* profile = MainProfile();
    ASSERT_TRUE(profile->select_section("Pos_DeviceView"));
    EXPECT_EQ(profile->read_int("autostart"), 1);
}

TEST_F(ActivationTest, CacheFileCompatibleIncompatibleOrWithoutDescription) {
    struct Case {
        const char* what;
        uint16_t level;
        std::optional<int> question;  // the answer to question 28, when asked
        bool changeChecksum;
        bool rebuilt;
        bool logsIgnored;
    } cases[] = {
        {"compatible", 4, std::nullopt, false, false, false},
        {"incompatible below level 6", 5, std::nullopt, true, true, false},
        {"incompatible kept at level 6", 6, GwRESULT_NO, true, false, true},
        {"incompatible rebuilt at level 6", 6, GwRESULT_YES, true, true, false},
    };
    AddDrive(kAddress);
    for (const Case& c : cases) {
        Drive().Find(115)->value = 0x1234;
        Activate();  // writes the cache as the drive is now
        main_->UncoupleDevice(kAddress);
        main_->GetActiveBus()->AddDevice(kAddress, 4120, 1.3f);
        if (c.changeChecksum) Drive().Find(115)->value = 0x4321;
        SetUserLevel(c.level);
        if (c.question) gwtest::AnswerBox(*c.question);
        ClearCaptures();
        NewLogText();
        const size_t boxesBefore = gwtest::Boxes().size();
        const auto written = std::filesystem::last_write_time(CachePath("D"));
        std::filesystem::last_write_time(CachePath("D"), written - std::chrono::hours(1));
        EXPECT_TRUE(main_->SetActiveDevice(kAddress)) << c.what;
        EXPECT_EQ(HeardAny("R30"), c.rebuilt) << c.what;
        EXPECT_EQ(std::filesystem::last_write_time(CachePath("D")) > written - std::chrono::hours(1), c.rebuilt)
            << c.what;
        EXPECT_EQ(NewLogText().find("SetActiveDevice: Incompatible base cache (differences in CSXOR, CSADD) ignored "
                                    "in userlevel 6") != std::string::npos,
                  c.logsIgnored)
            << c.what;
        EXPECT_EQ(gwtest::Boxes().size() - boxesBefore, c.question ? 1u : 0u) << c.what;
        if (c.question) {
            EXPECT_EQ(gwtest::Boxes().back().kind, "question");
        }
        EXPECT_EQ(gwtest::UnusedAnswers(), 0) << c.what;
        main_->CloseTarnBus();
        OpenSerialBus();
    }
}

TEST_F(ActivationTest, CacheWithoutItsDescriptionShowsError14) {
    Activate();
    main_->UncoupleDevice(kAddress);
    main_->GetActiveBus()->AddDevice(kAddress, 4120, 1.3f);
    RemoveTreeFile("LANGUAGE/044/tarn_std.PIT");
    gwtest::SetDefaultBoxAnswer(GwRESULT_CANCEL);
    main_->SetActiveDevice(kAddress);
    ASSERT_FALSE(gwtest::Boxes().empty());
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text,
              "The parameter description of the stored parameter base is missing. \nRead the parameter base from "
              "the device again!");
    EXPECT_FALSE(HeardAny("R30"));
}

TEST_F(ActivationTest, RefusalsLeaveTheGuardClosed) {
    AddDrive(kAddress);
    OpenSerialBus();
    GwCore* widget = new GwApplFrame("Poller");
    widget->show();
    widget->start_timer(1000);

    // No type description.
    RemoveTreeFile("bin/Type4.xdl");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(main_->SetActiveDevice(kAddress));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"warning: There is no type description for this device type!"});
    EXPECT_TRUE(BusTransferFlag);
    EXPECT_FALSE(main_->CheckTimerIntegrity(widget, false));
    EXPECT_TRUE(widget->is_timer_running());
    // Nor is there one for an address without a record or outside the bus.
    WriteTreeFile("bin/Type4.xdl", "");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_FALSE(main_->SetActiveDevice(12));
    EXPECT_FALSE(main_->SetActiveDevice(31));
    EXPECT_FALSE(main_->SetActiveDevice(-1));
    EXPECT_EQ(gwtest::Boxes().size(), 4u);
    EXPECT_EQ(gwtest::Boxes().back().text, "There is no type description for this device type!");

    // The device read fails and the user gives up.
    RemoveTreeFile("LANGUAGE/044/tarn_std.PIT");
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_FALSE(main_->SetActiveDevice(kAddress));
    EXPECT_EQ(gwtest::Boxes().back().kind, "warning");
    EXPECT_EQ(gwtest::Boxes().back().caption, "Device access error");
    EXPECT_EQ(main_->GetCachedParaBase(kAddress), nullptr);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_TRUE(BusTransferFlag);
    widget->destroy();
}

TEST_F(ActivationTest, FailedSignatureReadKeepsTheBase) {
    Activate();
    main_->UncoupleDevice(kAddress);
    main_->GetActiveBus()->AddDevice(kAddress, 4120, 1.3f);
    drives_.at(kAddress)->AddFault(sim::DriveFault::Nak(0x0020).For("20092").Times(10));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_FALSE(main_->SetActiveDevice(kAddress));
    ASSERT_FALSE(gwtest::Boxes().empty());
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Device access error");
    EXPECT_NE(main_->GetCachedParaBase(kAddress), nullptr);
    EXPECT_TRUE(BusTransferFlag);
}

TEST_F(ActivationTest, SignatureCheckAgainstTheDrive) {
    UseMainProfile("[Options]\nLanguage=44\nDeviceSignatureFalseValue=7\n");
    Activate();
    NewLogText();
    sim::DriveTable& drive = Drive();
    struct Step {
        const char* what;
        std::function<void()> arrange;
        uint8_t expected;
        const char* logged;  // null: nothing logged
    };
    // clang-format off
    const Step steps[] = {
        {"unchanged", [] {}, 1, nullptr},
        {"revision", [&] { drive.Find(92)->value = FloatBits(1.35f); }, 7,
         "CheckDeviceSignature: Different revision detected"},
        {"power-on", [&] {
             drive.Find(92)->value = FloatBits(1.3f);
             drive.Find(88)->value = 1;
             BusTransferFlag = false;
         },
         7, "DeviceSignatureCheck: PWRON message from Device\n"},
        {"power-on during a transfer", [&] {
             drive.Find(88)->value = 1;
             BusTransferFlag = true;
         },
         1, "DeviceSignatureCheck: PWRON message from Device ignored"},
        {"run mode", [&] {
             BusTransferFlag = false;
             drive.Find(151)->value = 5;
         },
         7, "DeviceSignatureCheck: Runmode change detected\n"},
    };
    // clang-format on
    for (const Step& s : steps) {
        s.arrange();
        EXPECT_EQ(main_->DeviceSignatureCheck(), s.expected) << s.what;
        const std::string log = NewLogText();
        if (s.logged != nullptr) {
            EXPECT_NE(log.find(s.logged), std::string::npos) << s.what << "\n" << log;
        } else {
            EXPECT_EQ(log, "") << s.what;
        }
    }
    EXPECT_EQ(drive.Find(88)->value, 0u);
}

TEST_F(ActivationTest, AwaitedRunModeChange) {
    Activate();
    sim::DriveTable& drive = Drive();
    main_->IgnoreNextRunModeChange();
    EXPECT_NE(NewLogText().find("IgnoreNextRunModeChange adjusted"), std::string::npos);
    for (int report = 1; report <= 20; ++report) {
        drive.Find(88)->value = 1;
        EXPECT_EQ(main_->DeviceSignatureCheck(), 1) << report;
        const bool timedOut =
            NewLogText().find("DeviceSignatureCheck: Timeout for awaited runmode change") != std::string::npos;
        EXPECT_EQ(timedOut, report == 20) << report;
    }
    EXPECT_FALSE(main_->IsIgnoringRunModeChange());

    main_->IgnoreNextRunModeChange();
    drive.Find(88)->value = 1;
    drive.Find(151)->value = 9;
    display_.calls.clear();
    EXPECT_EQ(main_->DeviceSignatureCheck(), 1);
    EXPECT_NE(NewLogText().find("DeviceSignatureCheck: Runmode change detected and ignored"), std::string::npos);
    EXPECT_EQ(main_->GetStoredRunMode(), 9);
    EXPECT_EQ(display_.Count("UpdateMainTitle"), 1u);
    EXPECT_FALSE(main_->IsIgnoringRunModeChange());
}

TEST_F(ActivationTest, PendingUncouplingEndsTheCheck) {
    Activate();
    UncouplingPending = true;
    ClearCaptures();
    EXPECT_EQ(main_->DeviceSignatureCheck(), 1);
    EXPECT_FALSE(UncouplingPending);
    EXPECT_EQ(main_->ActiveParaBase(), nullptr);
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
