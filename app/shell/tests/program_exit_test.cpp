#include "app/shell/program_exit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main/tests/main_fixture.h"
#include "app/services/window_handler.h"
#include "app/shell/callback_tables.h"
#include "bus/serial/tarn_bus.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

constexpr char kProfileStart[] = "[Options]\nLanguage=44\n";

class ExitTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        for (const GwFuncDesc* table : CallbackTables()) ASSERT_NE(GwRcMgr::use_func_desc(table), 0);
        auto* area = new GwContainer("WorkArea", mainWindow_);
        area->set_rect({0, 0, 640, 400});
        mainWindow_->set_rect({30, 40, 800, 600});
    }

    // The profile's lines, without their carriage returns.
    static std::string Profile() {
        std::string text = testsupport::ReadFile(testsupport::RuntimePath("bin/Torvan.ini"));
        std::erase(text, '\r');
        return text;
    }

    // Opens the serial bus with records at 0 and 30 (aliases "Left" and
    // none) and a listed window.
    void PrepareRun(const std::string& options) {
        UseMainProfile(std::string(kProfileStart) + options);
        ASSERT_TRUE(main_->OpenTarnBus(19200, 1, true));
        main_->GetSerialBus()->AddDevice(0, 4120, 1.3f);
        main_->GetSerialBus()->AddDevice(30, 4120, 1.3f);
        main_->GetSerialBus()->GetDevice(0)->alias.AssignText("Left");
        tool_ = ListedOnlineWindow("DeviceTool");
    }

    GwCore* tool_ = nullptr;
};

TEST_F(ExitTest, CancellingChangesNothing) {
    PrepareRun("SaveBusConf=yes\n");
    mainWindow_->minimize();
    const std::string before = Profile();
    int stateSeen = -1;
    std::string text, button;
    gwtest::ScriptModal("ExitTorvel", [&](GwCore* window) {
        stateSeen = mainWindow_->frame_state();
        text = gwtest::Text(window->child("Text"));
        button = gwtest::Text(window->child("Button"));
        window->close();
    });
    EXPECT_EQ(CB_CanExitTorvel(mainWindow_, nullptr, GwUD()), 0);
    EXPECT_NE(stateSeen, GwSTATE_MINIMIZED);
    EXPECT_EQ(text, "Do you really want to close the program?");
    EXPECT_EQ(button, "Close");
    EXPECT_NE(GetMain(), nullptr);
    EXPECT_TRUE(mainWindow_->is_visible());
    EXPECT_TRUE(tool_->is_visible());
    EXPECT_EQ(Profile(), before);
    EXPECT_FALSE(GwRcMgr::exists("ExitTorvel") && gwtest::Find("ExitTorvel") != nullptr);
}

// Each row: the two options and what the profile then holds.
TEST_F(ExitTest, ConfirmingSavesPlacementBusAndAliasesThenEndsMain) {
    struct Case {
        const char* options;
        bool baud;
        bool aliases;
    } cases[] = {
        {"SaveBusConf=yes\nSaveAliasName=yes\n", true, true},
        {"SaveBusConf=Yes\nSaveAliasName=Yes\n", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        PrepareRun(c.options);
        mainWindow_->start_timer(500);
        gwtest::ScriptModal("ExitTorvel", [](GwCore* window) { gwtest::Click(window->child("Button")); });
        EXPECT_EQ(CB_CanExitTorvel(mainWindow_, nullptr, GwUD()), 1);
        EXPECT_EQ(GetMain(), nullptr);
        EXPECT_FALSE(mainWindow_->is_visible());
        EXPECT_FALSE(mainWindow_->is_timer_running());
        EXPECT_FALSE(GwRcMgr::is_valid_child(tool_));
        EXPECT_EQ(TheWindowHandler().Count(), 0);
        const std::string profile = Profile();
        EXPECT_NE(profile.find("[Pos_MainWindow]\nPos=30,40\nDim=640,400\n"), std::string::npos) << profile;
        EXPECT_EQ(profile.find("[TarnBus]\nBaudrate=19200\n") != std::string::npos, c.baud) << profile;
        EXPECT_EQ(profile.find("[AliasNames]\nDevice00=Left\nDevice30=\n") != std::string::npos, c.aliases) << profile;
        EXPECT_EQ(profile.find("Device01"), std::string::npos);
        // The listed window is marked to open again with the next device.
        EXPECT_NE(profile.find("[Pos_DeviceTool]\n"), std::string::npos) << profile;
        EXPECT_NE(profile.find("autostart=1\n", profile.find("[Pos_DeviceTool]")), std::string::npos) << profile;
        mainWindow_->show();
    }
}

TEST_F(ExitTest, AFailedSaveIsLoggedWithTheFileAndTheReason) {
    PrepareRun("SaveBusConf=yes\n");
    const std::filesystem::path file = testsupport::RuntimePath("bin/Torvan.ini");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    NewLogText();
    gwtest::ScriptModal("ExitTorvel", [](GwCore* window) { gwtest::Click(window->child("Button")); });
    EXPECT_EQ(CB_CanExitTorvel(mainWindow_, nullptr, GwUD()), 1);
    EXPECT_NE(NewLogText().find("\tExit: cannot save \"Torvan.ini\". Cause: "), std::string::npos);
    std::filesystem::remove(file);
    testsupport::WriteFile(file, "[Options]\nLanguage=44\n");
}

TEST_F(ExitTest, WithoutAMainProfileNothingIsWrittenAndMainStillEnds) {
    UseMainProfile(kProfileStart);
    RemoveTreeFile("bin/Torvan.ini");
    ASSERT_TRUE(CreateMainObject());
    ASSERT_TRUE(GetMain()->OpenTarnBus(19200, 1, true));
    gwtest::ScriptModal("ExitTorvel", [](GwCore* window) { gwtest::Click(window->child("Button")); });
    EXPECT_EQ(CB_CanExitTorvel(mainWindow_, nullptr, GwUD()), 1);
    EXPECT_EQ(GetMain(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("bin/Torvan.ini")));
    EXPECT_FALSE(mainWindow_->is_visible());
}

}  // namespace
