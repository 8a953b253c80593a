#include "app/shell/option_book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "bus/serial/tarn_bus.h"
#include "platform/files/registry_store.h"
#include "platform/tests/scoped_env.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::kAddress;

constexpr char kLanguage[] = "[Options]\nLanguage=44\n";

class OptionBookTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        for (const GwFuncDesc* table : CallbackTables()) ASSERT_NE(GwRcMgr::use_func_desc(table), 0);
    }

    // The book as the menu opens it.
    GwCore* OpenBook() {
        EXPECT_EQ(CB_ShowOptionBook(mainWindow_, nullptr, GwUD()), 1);
        GwCore* book = TheWindowHandler().FindByName("Options");
        EXPECT_NE(book, nullptr);
        return book;
    }
    template <typename T = GwCore>
    T* Widget(GwCore* book, const char* name) {
        T* widget = book->child<T>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    bool Checked(GwCore* book, const char* name) { return Widget<GwToggle>(book, name)->is_checked(); }
    std::string Text(GwCore* book, const char* name) { return Widget(book, name)->text(); }
    void PressOk(GwCore* book) { ASSERT_TRUE(gwtest::Click(Widget(book, "OK"))); }

    // The profile file's lines, without carriage returns.
    static std::string ProfileFile() {
        std::string text = testsupport::ReadFile(testsupport::RuntimePath("bin/Torvan.ini"));
        std::erase(text, '\r');
        return text;
    }
    static std::string Key(const char* section, const char* key) {
        GwProfile* profile = MainProfile();
        if (!profile->select_section(section) || !profile->key_exists(key)) return "<missing>";
        return profile->read(key);
    }

    // A drive whose serial rate code 81 "SBAUD" goes from 0 to `maximum`.
    sim::VirtualDrive& AddRateDrive(int32_t maximum) {
        sim::DriveTable table = maintest::ActivationTable();
        table.PutFullRange(4, "CMD", "USIGN16", 0);
        sim::DriveParameter* code = table.PutFullRange(81, "SBAUD", "USIGN8", 0);
        code->minimum = 0;
        code->maximum = maximum;
        return AddDrive(kAddress, std::move(table));
    }

    platform_test::ScopedEnv portMap_{"TORVAN_COMMAP", "COM1=/dev/null,COM3=/dev/null"};
};

// What the book shows of the profile when no bus is open.
TEST_F(OptionBookTest, ShowsTheProfileAndItsDefaults) {
    struct Case {
        const char* name;
        std::string profile;
        const char* port;
        const char* baud;
        int canBaudId;
        bool parallelAdapter;
        bool animation;
        bool showDeviceError;
        bool userState;
    } cases[] = {
        {"no sections", kLanguage, "COM1", "9600", 5, true, true, true, false},
        {"serial and CAN sections",
         std::string(kLanguage) + "Animation=0\nShowDeviceError=2\nUserState=1\n[TarnBus]\nBaudrate=57600\n"
                                  "COM-Port=3\n[CANOpen]\nBaudRateId=3\nHwId=1\n",
         "COM3",
         "57600",
         3,
         false,
         false,
         true,
         true},
        {"empty sections", std::string(kLanguage) + "[TarnBus]\n[CANOpen]\n", "COM0", "0", 0, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseMainProfile(c.profile);
        AnimationOff = c.animation;
        ShowDeviceErrorFlag = !c.showDeviceError;
        UserStateFlag = !c.userState;
        GwCore* book = OpenBook();
        auto* ports = Widget<GwCombo>(book, "TarnBusPortName");
        ASSERT_EQ(ports->count(), 2);
        EXPECT_EQ(ports->item_text(0), "COM1");
        EXPECT_EQ(ports->item_text(1), "COM3");
        EXPECT_EQ(Text(book, "TarnBusPortName"), c.port);
        EXPECT_EQ(Text(book, "TarnBusBaudRate"), c.baud);
        EXPECT_TRUE(Checked(book, "IsNoBus"));
        EXPECT_EQ(Widget<GwCombo>(book, "GwCanBaudRateId")->first_selected(), c.canBaudId);
        EXPECT_EQ(Widget(book, "gwcPeakDongle")->is_shown(), c.parallelAdapter);
        EXPECT_EQ(Checked(book, "Animation"), c.animation);
        EXPECT_EQ(Checked(book, "ShowDeviceError"), c.showDeviceError);
        EXPECT_EQ(Checked(book, "UserState"), c.userState);
        EXPECT_EQ(AnimationOff, !c.animation);
        EXPECT_EQ(ShowDeviceErrorFlag, c.showDeviceError);
        EXPECT_EQ(UserStateFlag, c.userState);
        book->hide();
    }
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(OptionBookTest, ShowsTheOpenSerialBusAndItsDevicesSettings) {
    UseMainProfile(std::string(kLanguage) + "[TarnBus]\nBaudrate=4800\nCOM-Port=3\n");
    ASSERT_TRUE(main_->OpenTarnBus(19200, 1, true));
    GwCore* book = OpenBook();
    EXPECT_TRUE(Checked(book, "IsTarnBusActiv"));
    EXPECT_FALSE(Checked(book, "IsNoBus"));
    EXPECT_EQ(Text(book, "TarnBusPortName"), "COM1");
    EXPECT_EQ(Text(book, "TarnBusBaudRate"), "19200");
}

// The drive cannot talk at 57600: it is told code 4 and the bus comes up
// again at 19200, where the drive is found again.
TEST_F(OptionBookTest, ARateAboveTheDrivesMaximumIsLimitedAndTheBusReopensAtTheLimitedRate) {
    sim::VirtualDrive& drive = AddRateDrive(4);
    UseMainProfile(std::string(kLanguage) + "SaveBusConf=yes\n[TarnBus]\nBaudrate=9600\nCOM-Port=1\n");
    Activate();
    GwCore* book = OpenBook();
    ASSERT_TRUE(Checked(book, "IsTarnBusActiv"));
    ASSERT_TRUE(gwtest::SelectText(Widget(book, "TarnBusBaudRate"), "57600"));
    PressOk(book);

    const std::vector<std::string> requests = Requests();
    const auto code = std::find(requests.begin(), requests.end(), "W20081");
    const auto command = std::find(requests.begin(), requests.end(), "W20004");
    ASSERT_NE(code, requests.end());
    ASSERT_NE(command, requests.end());
    EXPECT_LT(code, command);
    EXPECT_EQ(drive.Table().Find(81)->value, 4u);
    EXPECT_EQ(drive.Baud(), 19200);

    EXPECT_EQ(Text(book, "TarnBusBaudRate"), "19200");
    ASSERT_NE(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetSerialBus()->GetBaudRate(), 19200u);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_FALSE(book->is_shown());
    EXPECT_EQ(Key("TarnBus", "Baudrate"), "19200");
}

// A drive that refuses the new code keeps its rate: error message 5, no
// command, the bus as it was, the book open with only the bus choice kept.
TEST_F(OptionBookTest, ARefusedRateCodeLeavesTheBusAndTheBookAsTheyWere) {
    sim::VirtualDrive& drive = AddRateDrive(7);
    UseMainProfile(std::string(kLanguage) + "Bussystem=NoBus\n[TarnBus]\nBaudrate=9600\nCOM-Port=1\n");
    Activate();
    drive.AddFault(sim::DriveFault::Silence().For("20081").Times(sim::kForever));
    const TarnBus* bus = main_->GetSerialBus();
    const std::string fileBefore = ProfileFile();
    GwCore* book = OpenBook();
    ASSERT_TRUE(gwtest::SelectText(Widget(book, "TarnBusBaudRate"), "57600"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO, "question");
    PressOk(book);

    const std::vector<std::string> requests = Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), "W20081"), requests.end());
    EXPECT_EQ(std::find(requests.begin(), requests.end(), "W20004"), requests.end());
    ASSERT_FALSE(gwtest::Boxes().empty());
    EXPECT_EQ(gwtest::Boxes()[0].kind, "error");
    EXPECT_EQ(gwtest::Boxes()[0].text, "RS232 transmission error in parameter 81-SBAUD: \nNo acknowlege of device!");
    EXPECT_EQ(main_->GetSerialBus(), bus);
    EXPECT_EQ(bus->GetBaudRate(), 9600u);
    EXPECT_EQ(drive.Baud(), 9600);
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_TRUE(book->is_shown());
    EXPECT_EQ(Key("Options", "Bussystem"), "TarnBus");
    EXPECT_EQ(Key("TarnBus", "Baudrate"), "9600");
    EXPECT_EQ(ProfileFile(), fileBefore);
}

TEST_F(OptionBookTest, UnchangedSerialSettingsKeepTheOpenBus) {
    AddDrive(kAddress);
    Activate();
    const TarnBus* bus = main_->GetSerialBus();
    GwCore* book = OpenBook();
    ClearCaptures();
    PressOk(book);
    EXPECT_EQ(main_->GetSerialBus(), bus);
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_FALSE(book->is_shown());
}

TEST_F(OptionBookTest, ABusThatCannotOpenKeepsTheBookOpenAndOnlyTheBusChoice) {
    UseMainProfile(std::string(kLanguage) + "Bussystem=NoBus\nAnimation=1\n[TarnBus]\nBaudrate=9600\nCOM-Port=1\n");
    const std::string fileBefore = ProfileFile();
    GwCore* book = OpenBook();
    ASSERT_TRUE(gwtest::Click(Widget(book, "IsTarnBusActiv")));
    ASSERT_TRUE(gwtest::SelectText(Widget(book, "TarnBusPortName"), "COM3"));
    ASSERT_TRUE(gwtest::Click(Widget(book, "Animation")));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    PressOk(book);
    EXPECT_EQ(main_->GetSerialBus(), nullptr);
    EXPECT_TRUE(book->is_shown());
    EXPECT_EQ(Key("Options", "Bussystem"), "TarnBus");
    EXPECT_EQ(Key("Options", "Animation"), "1");
    EXPECT_EQ(Key("TarnBus", "COM-Port"), "1");
    EXPECT_FALSE(AnimationOff);
    EXPECT_EQ(ProfileFile(), fileBefore);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
}

// Every widget's value lands under its key; the port without "COM".
TEST_F(OptionBookTest, AcceptingSavesEveryOptionToTheProfile) {
    UseMainProfile(std::string(kLanguage) + "[CANOpen]\nHwId=0\n");
    GwCore* book = OpenBook();
    ASSERT_TRUE(gwtest::SelectText(Widget(book, "TarnBusPortName"), "COM3"));
    ASSERT_TRUE(gwtest::SelectText(Widget(book, "TarnBusBaudRate"), "19200"));
    ASSERT_TRUE(gwtest::Select(Widget(book, "GwCanBaudRateId"), 4));
    ASSERT_TRUE(gwtest::Select(Widget(book, "gwcCanIoPort"), 1));
    ASSERT_TRUE(gwtest::Select(Widget(book, "gwcCanIrq"), 1));
    ASSERT_TRUE(gwtest::Click(Widget(book, "InitBus")));
    ASSERT_TRUE(gwtest::Click(Widget(book, "ScanNet")));
    ASSERT_TRUE(gwtest::Click(Widget(book, "SaveBus")));
    ASSERT_TRUE(gwtest::MoveSlider(Widget(book, "ParaSlider"), 50));
    ASSERT_TRUE(gwtest::Click(Widget(book, "Animation")));
    ASSERT_TRUE(gwtest::Click(Widget(book, "UserState")));
    ASSERT_TRUE(gwtest::Replace(Widget(book, "UserDir"), "..\\data"));
    PressOk(book);
    EXPECT_EQ(ProfileFile(),
              "[Options]\nLanguage=44\nRelParaUpdateFrequence=50\nAnimation=0\nShowDeviceError=1\nUserState=1\n"
              "Bussystem=NoBus\nSaveBusConf=yes\nSaveAliasName=no\n\n"
              "[CANOpen]\nHwId=0\nBaudRateId=4\nIoPort=278\nIRQ=5\n\n"
              "[AutoStart]\nInitBus=yes\nDeviceScanner=ScanNet\n\n"
              "[TarnBus]\nBaudrate=19200\nCOM-Port=3\n\n"
              "[Directories]\nUserdataDir=..\\data\n");
    EXPECT_DOUBLE_EQ(PollRateFactor, 0.5);
    EXPECT_TRUE(AnimationOff);
    EXPECT_TRUE(UserStateFlag);
    EXPECT_FALSE(book->is_shown());
}

TEST_F(OptionBookTest, AnotherAdapterHidesTheParallelPortSettingsAndSavesNone) {
    UseMainProfile(std::string(kLanguage) + "[CANOpen]\nBaudRateId=2\nHwId=1\n");
    GwCore* book = OpenBook();
    EXPECT_FALSE(Widget(book, "gwcPeakDongle")->is_shown());
    PressOk(book);
    EXPECT_EQ(Key("CANOpen", "HwId"), "1");
    EXPECT_EQ(Key("CANOpen", "BaudRateId"), "2");
    EXPECT_EQ(Key("CANOpen", "IoPort"), "<missing>");
    EXPECT_EQ(Key("CANOpen", "IRQ"), "<missing>");
}

TEST_F(OptionBookTest, AMissingWidgetGivesErrorMessage7) {
    ASSERT_TRUE(
        GwRcMgr::use_text("dialogframe Options { on show = CB_ShowOption\n check IsNoBus { } }\n", "options.cgw"));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    OpenBook();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: A window or one of its elements could not be loaded!"});
}

TEST_F(OptionBookTest, AnUnreadablePortMapIsShownAndTheListKept) {
    platform_test::ScopedEnv noMap("TORVAN_COMMAP", nullptr);
    testsupport::WriteFile(platform::TheRegistry().path(), "not a store\n");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    GwCore* book = OpenBook();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "system");
    EXPECT_EQ(gwtest::Boxes()[0].caption, "Error");
    EXPECT_EQ(gwtest::Boxes()[0].text, platform::TheRegistry().LastError());
    EXPECT_EQ(Widget<GwCombo>(book, "TarnBusPortName")->count(), 0);
    EXPECT_EQ(Text(book, "TarnBusPortName"), "COM1");
}

TEST_F(OptionBookTest, TheUserDirectoryComesFromTheFolderSelector) {
    UseMainProfile(std::string(kLanguage) + "[Directories]\nUserdataDir=..\\userdata\n");
    GwCore* book = OpenBook();
    GwCore* button = Widget(book, "SearchUserDir");
    gwtest::CancelFile();
    EXPECT_EQ(CB_SearchUserDir(button, nullptr, GwUD()), 0);
    EXPECT_EQ(Text(book, "UserDir"), "..\\userdata");
    gwtest::AnswerFile("..\\projects\\");
    EXPECT_EQ(CB_SearchUserDir(button, nullptr, GwUD()), 1);
    EXPECT_EQ(Text(book, "UserDir"), "..\\projects\\");
    ASSERT_EQ(GwRecorder::FileRequests().size(), 2u);
    EXPECT_TRUE(GwRecorder::FileRequests()[0].folder_mode);
    EXPECT_EQ(GwRecorder::FileRequests()[0].id, "id");
    EXPECT_EQ(GwRecorder::FileRequests()[0].directory, "..\\userdata");
}

}  // namespace
