// User levels: the access codes of the device, the computed level, the
// identification dialog and the level texts.
#include <gtest/gtest.h>

#include "app/main/tests/main_fixture.h"
#include "app/main/user_levels.h"
#include "app/services/user_level.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::ActivationTable;
using maintest::kAddress;
using maintest::MainTest;

class UserLevelTest : public MainTest {
protected:
    struct Code {
        int number;
        const char* name;
        uint32_t value;
    };
    // Activates a drive with these code parameters.
    void ActivateWith(const std::vector<Code>& codes) {
        sim::DriveTable table = ActivationTable();
        for (const Code& c : codes) table.PutFullRange(c.number, c.name, "USIGN32", c.value);
        AddDrive(kAddress, table);
        Activate();
    }
    GwCore* OpenDialog() {
        GwCore* dialog = GwRcMgr::load(mainWindow_, "IdentUser", 1);
        EXPECT_NE(dialog, nullptr);
        dialog->show();
        return dialog;
    }
    static size_t Beeps() { return gwtest::Effects("beep").size(); }
};

TEST_F(UserLevelTest, LevelFromTheDevicesCodes) {
    struct Case {
        const char* what;
        std::vector<Code> codes;
        const char* profile;  // null: the shipped one
        uint16_t level;
        bool handMode;
    } cases[] = {
        {"no code parameters", {}, nullptr, 4, true},
        {"codes for 4 to 6", {{364, "PSW4", 11}, {365, " PSW5", 22}, {366, "PSW6 ", 33}}, nullptr, 3, true},
        {"level 6 free", {{366, "PSW6", 0}}, nullptr, 6, true},
        {"misnamed codes count not", {{362, "PSWX", 1}, {363, "PSW2", 1}}, nullptr, 4, true},
        {"every level coded",
         {{362, "PSW2", 1}, {363, "PSW3", 2}, {364, "PSW4", 3}, {367, "PSWCT", 9}},
         nullptr,
         1,
         false},
        {"administrator",
         {{362, "PSW2", 1}, {363, "PSW3", 2}, {364, "PSW4", 3}},
         "[Options]\nLanguage=44\n[AutoStart]\nAdmPsw=6\n",
         6,
         true},
    };
    for (const Case& c : cases) {
        if (c.profile != nullptr) UseMainProfile(c.profile);
        ActivateWith(c.codes);
        EXPECT_EQ(GetUserLevel(), c.level) << c.what;
        EXPECT_EQ(IsHandModeEnabled(), c.handMode) << c.what;
        EXPECT_EQ(display_.userLevelText, GetUserLevelText(c.level)) << c.what;
        main_->CloseTarnBus();
        RemoveCache();
    }
    EXPECT_EQ(GetAccessCode(2), 1u);
    EXPECT_EQ(GetAccessCode(5), 915u);
    EXPECT_EQ(GetAccessCode(6), 372u);
}

TEST_F(UserLevelTest, OfflineFileSetsTheLevelOnlyWithoutAnOnlineDevice) {
    ParaBase file;
    for (int n = 362; n <= 366; ++n) {
        const std::string name = "PSW" + std::to_string(n - 360);
        parabasetest::Define(
            file, {.number = n, .name = name.c_str(), .type = kTypeUsign32, .maximum = INT32_MAX, .value = 5});
    }
    Activate();
    RefreshUserLevelOffline(&file);
    EXPECT_EQ(GetUserLevel(), 4);
    main_->UncoupleAllDevices();
    RefreshUserLevelOffline(&file);
    EXPECT_EQ(GetUserLevel(), 1);
    EXPECT_EQ(GetAccessCode(6), 5u);
}

TEST_F(UserLevelTest, MasterCodeOpensLevelSix) {
    SetUserLevel(4);
    GwCore* dialog = OpenDialog();
    EXPECT_EQ(gwtest::Text("IdentUser/E4"), "Expert");
    ASSERT_TRUE(gwtest::Click("IdentUser/E6"));
    EXPECT_TRUE(gwtest::IsVisible("IdentUser/Password"));
    EXPECT_TRUE(gwtest::IsVisible("IdentUser/PassLabel"));
    ASSERT_TRUE(gwtest::Replace("IdentUser/Password", "48302"));
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_EQ(GetUserLevel(), 6);
    EXPECT_FALSE(GwRcMgr::is_valid_child(dialog));
    EXPECT_EQ(display_.userLevelText, "Administrator");
    EXPECT_EQ(Beeps(), 0u);
}

TEST_F(UserLevelTest, WrongCodeBeepsAndShowsTheLevelInForce) {
    SetUserLevel(4);
    GwCore* dialog = OpenDialog();
    ASSERT_TRUE(gwtest::Click("IdentUser/E5"));
    ASSERT_TRUE(gwtest::Replace("IdentUser/Password", "914"));
    display_.calls.clear();
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_EQ(Beeps(), 1u);
    EXPECT_TRUE(GwRcMgr::is_valid_child(dialog));
    EXPECT_EQ(GetUserLevel(), 1);
    EXPECT_EQ(display_.userLevelText, "Operator");
    EXPECT_EQ(display_.Count("UpdateLevelDependentTools"), 1u);

    ASSERT_TRUE(gwtest::Replace("IdentUser/Password", "915"));
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_EQ(GetUserLevel(), 5);
    EXPECT_FALSE(GwRcMgr::is_valid_child(dialog));
}

TEST_F(UserLevelTest, LevelAtOrBelowTheCurrentNeedsNoCode) {
    SetUserLevel(5);
    OpenDialog();
    ASSERT_TRUE(gwtest::Click("IdentUser/E3"));
    EXPECT_FALSE(gwtest::IsVisible("IdentUser/Password"));
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_EQ(GetUserLevel(), 3);
    EXPECT_EQ(display_.userLevelText, "Commissioning");
}

TEST_F(UserLevelTest, ControlCodeGuardsHandMode) {
    ActivateWith({{367, "PSWCT", 4711}});
    EXPECT_FALSE(IsHandModeEnabled());
    GwCore* dialog = OpenDialog();
    ASSERT_TRUE(gwtest::Click("IdentUser/E2"));
    ASSERT_TRUE(gwtest::Toggle("IdentUser/EnableHandMode"));
    EXPECT_TRUE(gwtest::IsVisible("IdentUser/CtlPswCont"));
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));  // no control code entered
    EXPECT_EQ(Beeps(), 1u);
    EXPECT_TRUE(GwRcMgr::is_valid_child(dialog));
    ASSERT_TRUE(gwtest::Replace("IdentUser/CtrlPassword", "4711"));
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_TRUE(IsHandModeEnabled());
    EXPECT_EQ(GetUserLevel(), 2);
    EXPECT_FALSE(GwRcMgr::is_valid_child(dialog));
}

TEST_F(UserLevelTest, LevelDigitsWithoutACodeNeedNone) {
    SetUserLevel(1);
    GwCore* dialog = OpenDialog();
    for (const char* name : {"E0", "E9", "Ex"}) {
        auto* button = new GwToggle(name, dialog, GwRADIO_CLASS);
        button->set_value(1);
        Ident_SetEbene(button, nullptr, GwUD());
        EXPECT_FALSE(gwtest::IsVisible("IdentUser/Password")) << name;
    }
    // Level 9 is no level: OK with the code field hidden keeps level 1.
    ASSERT_TRUE(gwtest::Click("IdentUser/OK"));
    EXPECT_EQ(GetUserLevel(), 1);
}

// Without the definitions the level texts fall back to the number.
TEST(UserLevelTextTest, WithoutTheDefinitionsTheLevelIsNumbered) { EXPECT_EQ(GetUserLevelText(3), "Level 3"); }

TEST_F(UserLevelTest, LevelTextsFromTheirWindow) {
    EXPECT_EQ(GetUserLevelText(3), "Commissioning");
    EXPECT_EQ(GetUserLevelText(6), "Administrator");
    GwCore* label = new GwCore(GwLABEL_CLASS, "Lvl2", mainWindow_);
    CB_GetUserLevelTextById(label, nullptr, GwUD());
    EXPECT_EQ(label->text(), "Service");
}

}  // namespace
