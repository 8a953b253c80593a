// The window list and the stored window placements.
#include "app/services/window_handler.h"

#include <string>

#include "app/services/app_files.h"
#include "app/services/tests/services_fixture.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

int g_closeCalls = 0;
void CountClose() { ++g_closeCalls; }
int g_activateCalls = 0;
void CountActivate() { ++g_activateCalls; }

class WindowHandlerTest : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        g_closeCalls = 0;
        g_activateCalls = 0;
        OpenFiles("",
                  "[Options]\nLanguage=7\n"
                  "[Pos_AOP_Marlo]\nPos=30,40\nDim=300,200\nautostart=0\n"
                  "[pos_aop_lower]\nautostart=5\n");
        main = MakeMainWindow();
    }
    // A window of the main window with a first control, shown.
    GwCore* Window(const std::string& name, const GwRect& rect = {1, 2, 100, 50}) {
        GwCore* frame = new GwDialogFrame(name, main);
        frame->set_rect(rect);
        (new GwContainer("Body", frame))->set_dimension({80, 40});
        frame->show();
        return frame;
    }
    std::string Value(const char* section, const char* key) {
        GwProfile* profile = MainProfile();
        return profile->select_section(section) ? profile->read(key) : "<no section>";
    }
    WindowHandler& list = TheWindowHandler();
    GwCore* main = nullptr;
};

TEST_F(WindowHandlerTest, AddingTwiceIsRefusedButLoggedBothTimes) {
    GwCore* window = Window("Editor");
    window->set_title("Parameter editor");
    EXPECT_EQ(list.Add(window, 1), 1);
    EXPECT_EQ(list.Add(window, 0), 0);
    EXPECT_EQ(list.Count(), 1);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("\tWindowHandler->Add online window \"Parameter editor\"\n"), std::string::npos);
    EXPECT_NE(log.find("\tWindowHandler->Add offline window \"Parameter editor\"\n"), std::string::npos);
    EXPECT_EQ(list.Add(nullptr, 0), 0);
}

TEST_F(WindowHandlerTest, FiftyFirstWindowIsRefused) {
    for (int i = 0; i < WindowHandler::kMaxEntries; ++i) ASSERT_EQ(list.Add(Window("W" + std::to_string(i)), 0), 1);
    EXPECT_EQ(list.Add(Window("W50"), 0), 0);
    EXPECT_EQ(list.Count(), WindowHandler::kMaxEntries);
}

TEST_F(WindowHandlerTest, StoredPlacementIsRestoredOnAdd) {
    GwCore* window = Window("AOP_Marlo");
    window->minimize();
    ASSERT_EQ(list.Add(window, 1), 1);
    EXPECT_EQ(window->frame_state(), GwSTATE_NORMAL);
    EXPECT_EQ(window->position(), (GwPosition{30, 40}));
    EXPECT_EQ(window->first_control()->dimension(), (GwDimension{300, 200}));

    GwCore* fixed = Window("AOP_Marlo");
    fixed->set_decoration(0);
    ASSERT_EQ(list.Add(fixed, 1), 1);
    EXPECT_EQ(fixed->position(), (GwPosition{1, 2}));
}

TEST_F(WindowHandlerTest, ProgramCloseMarksForReopeningAndUserCloseDoesNot) {
    GwCore* device = Window("AOP_Marlo");
    GwCore* offline = Window("Offline");
    ASSERT_EQ(list.Add(device, 1, CountClose), 1);
    ASSERT_EQ(list.Add(offline, 0), 1);
    device->move(5, 6);
    EXPECT_EQ(list.CloseAll(), 1);
    EXPECT_EQ(g_closeCalls, 1);
    EXPECT_EQ(Value("Pos_AOP_Marlo", "autostart"), "1");
    EXPECT_EQ(Value("Pos_AOP_Marlo", "Pos"), "5,6");
    EXPECT_FALSE(device->is_shown());  // close mode 1 hides

    device->show();
    ASSERT_EQ(list.Add(device, 1), 1);
    EXPECT_EQ(device->position(), (GwPosition{5, 6}));
    device->move(7, 8);
    device->first_control()->set_dimension({80, 40});
    EXPECT_EQ(list.DeleteWindow(device), 1);
    EXPECT_EQ(Value("Pos_AOP_Marlo", "autostart"), "0");
    EXPECT_EQ(Value("Pos_AOP_Marlo", "Pos"), "7,8");
    EXPECT_EQ(Value("Pos_AOP_Marlo", "Dim"), "80,40");

    // A window without a section gets "Pos" and "Dim" but no "autostart".
    EXPECT_EQ(list.DeleteWindow(offline), 1);
    EXPECT_EQ(Value("Pos_Offline", "Pos"), "1,2");
    EXPECT_EQ(Value("Pos_Offline", "autostart"), "");
}

TEST_F(WindowHandlerTest, MinimisedWindowKeepsItsStoredPosition) {
    GwCore* window = Window("AOP_Marlo");
    ASSERT_EQ(list.Add(window, 1), 1);
    window->move(500, 600);
    window->minimize();
    EXPECT_EQ(list.DeleteWindow(window), 1);
    EXPECT_EQ(Value("Pos_AOP_Marlo", "Pos"), "30,40");
    EXPECT_EQ(Value("Pos_AOP_Marlo", "autostart"), "0");
}

TEST_F(WindowHandlerTest, AutostartOnlyInTheSectionOfTheExactName) {
    GwCore* window = Window("AOP_lower");
    ASSERT_EQ(list.Add(window, 1), 1);
    list.CloseAll();
    EXPECT_EQ(Value("pos_aop_lower", "autostart"), "5");
}

TEST_F(WindowHandlerTest, DeviceWindowsAreClosedByTheirNames) {
    const char* names[] = {"AOP_Marlo", "Marlo_AOC_2", "AOW", "PosModEditor", "DeviceControl", "Scope", "AOP_off"};
    for (const char* name : names) ASSERT_EQ(list.Add(Window(name), std::string(name) != "AOP_off"), 1);
    EXPECT_EQ(list.CloseDeviceWindows(), 2);
    EXPECT_NE(list.FindByName("Scope"), nullptr);
    EXPECT_NE(list.FindByName("AOP_off"), nullptr);
    EXPECT_EQ(Value("Pos_AOP_Marlo", "autostart"), "1");
}

TEST_F(WindowHandlerTest, UserLevelChangeKeepsWindowsWithTheKeepFlag) {
    GwCore* kept = Window("Kept");
    GwCore* other = Window("Other");
    other->set_close_mode(GwCLOSE_DESTROY);
    ASSERT_EQ(list.Add(kept, 0, nullptr, nullptr, 1), 1);
    ASSERT_EQ(list.Add(other, 0), 1);
    list.CloseAllForUserLevel();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.First(), kept);
    EXPECT_TRUE(kept->is_visible());
    EXPECT_FALSE(GwRcMgr::is_valid_child(other));
}

TEST_F(WindowHandlerTest, FindAndActivate) {
    GwCore* hidden = Window("Same");
    GwCore* shown = Window("Same");
    ASSERT_EQ(list.Add(hidden, 0, nullptr, CountActivate), 1);
    ASSERT_EQ(list.Add(shown, 0), 1);
    hidden->hide();
    EXPECT_EQ(list.FindByName("Same"), shown);
    EXPECT_EQ(list.FindByName("same"), nullptr);
    EXPECT_EQ(list.Activate(shown), 1);
    EXPECT_TRUE(shown->has_focus());
    EXPECT_EQ(list.ActivateEntry(5), 0);
    EXPECT_EQ(g_activateCalls, 0);
}

TEST_F(WindowHandlerTest, SweepRemovesEveryInvalidWindowAtOnce) {
    GwCore* a = Window("A");
    GwCore* b = Window("B");
    GwCore* c = Window("C");
    for (GwCore* w : {a, b, c}) ASSERT_EQ(list.Add(w, 1), 1);
    a->destroy();
    b->destroy();
    list.UpdateList();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.First(), c);
    EXPECT_EQ(list.Next(), nullptr);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("\tWindowHandler->UpdateList: Automatic delete of invalid window \"A\" out of window list\n"),
              std::string::npos);
    EXPECT_NE(log.find("invalid window \"B\""), std::string::npos);
    EXPECT_EQ(Value("Pos_A", "Pos"), "<no section>");  // nothing read from a destroyed window
}

TEST_F(WindowHandlerTest, ExitClosesEverythingAndMarksExactlyThoseForReopening) {
    MainProfile()->create_section("Pos_Gone");
    MainProfile()->write("autostart", "1");
    GwCore* window = Window("AOP_Marlo");
    GwCore* offline = Window("Offline");
    offline->set_close_mode(GwCLOSE_DESTROY);
    ASSERT_EQ(list.Add(window, 1), 1);
    ASSERT_EQ(list.Add(offline, 0), 1);
    list.CloseAllOnExit();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(Value("Pos_Gone", "autostart"), "0");
    EXPECT_EQ(Value("Pos_AOP_Marlo", "autostart"), "1");
    EXPECT_EQ(Value("Pos_Offline", "autostart"), "1");
    EXPECT_FALSE(GwRcMgr::is_valid_child(offline));
}

TEST_F(WindowHandlerTest, SavedPlacementWithoutSection) {
    EXPECT_EQ(GetSavedWindowPlacement(nullptr), nullptr);
    EXPECT_EQ(GetSavedWindowPlacement(Window("Unknown")), nullptr);
    const WindowDimension* dim = GetSavedWindowDimension(Window("AOP_Marlo"));
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->width, 300);
    EXPECT_EQ(SaveWindowPlacement(nullptr), 0);
}

}  // namespace
