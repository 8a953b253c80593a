#include "app/shell/startup_sequence.h"

#include <gtest/gtest.h>

#include <string>

#include "app/main/tests/main_fixture.h"
#include "app/mainwindow/main_window.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "app/shell/program_main.h"
#include "bus/serial/tarn_bus.h"
#include "parameters/values/dstring.h"
#include "platform/system/program_start.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::kAddress;

constexpr char kOptions[] = "[Options]\nLanguage=44\n";
constexpr char kSerialBus[] = "[TarnBus]\nBaudrate=9600\nCOM-Port=1\n";

class StartupTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        ASSERT_TRUE(GwRcMgr::use_text("dialogframe NetList { }\n", "netlist.cgw"));
        AddDrive(kAddress);
        gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    }
    void TearDown() override {
        StartFileText().AssignText("");
        MainTest::TearDown();
    }

    // Runs the sequence as the main frame's start timer does.
    int Start(const std::string& profile, const char* startFile = "") {
        UseMainProfile(profile);
        StartFileText().AssignText(startFile);
        ClearCaptures();
        mainWindow_->start_timer(2500);
        return CB_StartMacro(mainWindow_, nullptr, GwUD());
    }

    bool NetListShown() {
        for (GwCore* w = TheWindowHandler().First(); w != nullptr; w = TheWindowHandler().Next()) {
            if (w->name() == "NetList") return w->is_visible();
        }
        return false;
    }
};

// Each row: the profile, whether the serial bus ends up open, whether the
// drive was asked anything (a search), whether the device became active.
TEST_F(StartupTest, BusAndSearchFollowTheProfile) {
    struct Case {
        const char* name;
        std::string profile;
        const char* startFile;
        bool busOpen;
        bool searched;
        bool online;
    } cases[] = {
        {"shipped",
         std::string(kOptions) + "Bussystem=TarnBus\n[AutoStart]\nInitBus=yes\nDeviceScanner=SearchDevice\n" +
             kSerialBus,
         "",
         true,
         true,
         true},
        {"InitBus=Yes",
         std::string(kOptions) + "Bussystem=TarnBus\n[AutoStart]\nInitBus=Yes\nDeviceScanner=SearchDevice\n" +
             kSerialBus,
         "",
         false,
         false,
         false},
        {"no TarnBus section",
         std::string(kOptions) + "Bussystem=TarnBus\n[AutoStart]\nInitBus=yes\nDeviceScanner=SearchDevice\n",
         "",
         false,
         false,
         false},
        {"start file",
         std::string(kOptions) + "Bussystem=TarnBus\n[AutoStart]\nInitBus=yes\nDeviceScanner=SearchDevice\n" +
             kSerialBus,
         "missing.00D",
         true,
         false,
         false},
        {"no scanner",
         std::string(kOptions) + "Bussystem=TarnBus\n[AutoStart]\nInitBus=yes\n" + kSerialBus,
         "",
         true,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Start(c.profile, c.startFile), 0);
        EXPECT_EQ(main_->GetSerialBus() != nullptr, c.busOpen);
        EXPECT_EQ(!Requests().empty(), c.searched);
        EXPECT_EQ(main_->HasOnlineDevice(), c.online);
        EXPECT_EQ(NetListShown(), c.online);
        EXPECT_EQ(display_.Count("RefreshActiveDeviceViews") > 0, true);
        EXPECT_GT(display_.Count("RefreshBusDisplay"), 0u);
        main_->CloseTarnBus();
        StartupDoneFlag = false;
        TheWindowHandler().Reset();
        display_.calls.clear();
    }
}

// An unknown bus name opens nothing, but the scanner runs on the bus that is
// active then.
TEST_F(StartupTest, UnknownBusSystemSearchesOnTheActiveBus) {
    UseMainProfile(std::string(kOptions) +
                   "Bussystem=Other\n[Other]\nX=1\n[AutoStart]\nInitBus=yes\n"
                   "DeviceScanner=SearchDevice\n");
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    ClearCaptures();
    mainWindow_->start_timer(2500);
    CB_StartMacro(mainWindow_, nullptr, GwUD());
    EXPECT_FALSE(Requests().empty());
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_TRUE(NetListShown());
}

TEST_F(StartupTest, OptionsSetTheProgramFlags) {
    struct Case {
        std::string options;
        double factor;
        bool animationOff;
        bool showDeviceError;
        bool userState;
    } cases[] = {
        {"RelParaUpdateFrequence=50\nAnimation=0\nShowDeviceError=0\nUserState=1\n", 0.5, true, false, true},
        {"Animation=2\nShowDeviceError=2\nUserState=2\n", 1.0, false, true, true},
        {"", 1.0, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        PollRateFactor = 1.0;
        AnimationOff = !c.animationOff;
        ShowDeviceErrorFlag = !c.showDeviceError;
        Start(std::string(kOptions) + c.options);
        EXPECT_DOUBLE_EQ(PollRateFactor, c.factor);
        EXPECT_EQ(AnimationOff, c.animationOff);
        EXPECT_EQ(ShowDeviceErrorFlag, c.showDeviceError);
        EXPECT_EQ(UserStateFlag, c.userState);
        StartupDoneFlag = false;
    }
}

TEST_F(StartupTest, RunsOnceStopsTheStartTimerAndTakesTheTitle) {
    mainWindow_->set_title("Before start-up");
    EXPECT_EQ(Start(std::string(kOptions) + "RelParaUpdateFrequence=50\n"), 0);
    EXPECT_FALSE(mainWindow_->is_timer_running());
    EXPECT_TRUE(StartupDoneFlag);
    EXPECT_EQ(mainWindow_->title(), "Torvan");
    EXPECT_EQ(GetBaseTitle(), "Torvan");
    EXPECT_DOUBLE_EQ(PollRateFactor, 0.5);
    // A second run repeats nothing of the steps before the file.
    PollRateFactor = 1.0;
    EXPECT_EQ(RunStartupSequence(mainWindow_, nullptr, GwUD()), 1);
    EXPECT_DOUBLE_EQ(PollRateFactor, 1.0);
}

// The command-line file by its extension, compared upper-cased.
TEST_F(StartupTest, ThePositioningProgramWaitsInTheEditorWithTheFrameWaiting) {
    for (int result : {0, -1}) {
        std::vector<bool> waiting;
        platform::SetProgramStartHandler([&](const platform::ProgramStart&) {
            waiting.push_back(mainWindow_->is_waiting());
            return result;
        });
        Start(std::string(kOptions) + "[Externals]\nPosProgEditor=\n", "prog.prg");
        ASSERT_FALSE(platform::RecordedProgramStarts().empty());
        EXPECT_EQ(platform::RecordedProgramStarts().back(),
                  (platform::ProgramStart{"notepad.exe", {"notepad.exe", "\"prog.prg\""}, true}));
        EXPECT_EQ(waiting, std::vector<bool>{true});
        EXPECT_FALSE(mainWindow_->is_waiting()) << result;
        StartupDoneFlag = false;
    }
}

TEST_F(StartupTest, AnyOtherFileOpensAsAParameterFile) {
    Start(kOptions, "x.00D");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"warning: Cannot open file \"x.00D\"!"});
    EXPECT_TRUE(platform::RecordedProgramStarts().empty());
}

// Without a main profile: error message 11, no bus, the display without a
// device.
TEST_F(StartupTest, WithoutTheMainProfileNoBusOpensAndMessage11IsShown) {
    UseMainProfile(kOptions);
    RemoveTreeFile("bin/Torvan.ini");
    ASSERT_TRUE(CreateMainObject());
    main_ = GetMain();
    ClearCaptures();
    display_.calls.clear();
    mainWindow_->start_timer(2500);
    EXPECT_EQ(CB_StartMacro(mainWindow_, nullptr, GwUD()), 0);
    // Without the profile no language is chosen, so the text is its key.
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: MN_00011!"});
    EXPECT_EQ(main_->GetActiveBus(), nullptr);
    EXPECT_TRUE(Requests().empty());
    EXPECT_GT(display_.Count("RefreshActiveDeviceViews"), 0u);
    EXPECT_FALSE(NetListShown());
}

}  // namespace
