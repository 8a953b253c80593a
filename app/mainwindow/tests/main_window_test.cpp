// The main window's creation, its layout of the work area and state line,
// and the timers armed when it is shown.
#include <gtest/gtest.h>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using mainwindowtest::MainWindowTest;

TEST_F(MainWindowTest, CreateKeepsTheChildrenAndHandsTheFrameToTheServices) {
    const MainWindowWidgets& w = MainWidgets();
    EXPECT_EQ(w.frame, frame_);
    const std::pair<GwCore*, const char*> kept[] = {{w.stateText, "State1"},
                                                    {w.activeDeviceMenu, "MN_ActiveDevice"},
                                                    {w.windowMenu, "M_Window"},
                                                    {w.closeAll, "M_CloseAll"},
                                                    {w.loadFromOther, "M_LoadFromOther"},
                                                    {w.storeToOther, "M_Store2Other"},
                                                    {w.chooseDevice, "M_ChooseDevice"},
                                                    {w.killDevice, "M_KillDevice"},
                                                    {w.progress, "ParaProgressIndicator"},
                                                    {w.busState, "BusState"}};
    for (const auto& [widget, name] : kept) {
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->name(), name);
        EXPECT_TRUE(widget->is_descendant_of(frame_)) << name;
    }
    EXPECT_EQ(main_->GetProgressIndicator(), w.progress);
    EXPECT_EQ(frame_->frame_state(), GwSTATE_MAXIMIZED);
    // Maximised to the virtual screen, and laid out from it.
    EXPECT_EQ(frame_->rect(), (GwRect{0, 0, 1280, 1024}));
    const int lineHeight = frame_->child("StateLine")->height();
    EXPECT_EQ(frame_->child("WorkArea")->rect(), (GwRect{0, 0, 1280, 1024 - lineHeight}));
    EXPECT_EQ(frame_->child("StateLine")->rect(), (GwRect{0, 1024 - lineHeight, 1280, lineHeight}));
    EXPECT_EQ(GetMainWindow(), frame_);
    EXPECT_TRUE(MessageBoxesEnabled);

    gwtest::AnswerBox(GwRESULT_OK);
    ShowErrorMessage(7);
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].parent, frame_->identifier());
}

TEST_F(MainWindowTest, AWindowWithoutBusStateEndsItselfAndLeavesBoxesOff) {
    ASSERT_TRUE(GwRcMgr::use_text(R"(applframe BrokenMain {
    on create = MainWindow_create
    label State1 { }
    menu MN_ActiveDevice { }
    menu M_Window { menuitem M_CloseAll { } }
    menu M_LoadFromOther { }
    menu M_Store2Other { }
    menu M_ChooseDevice { }
    menu M_KillDevice { }
    progress ParaProgressIndicator { }
}
)",
                                  "broken.cgw"));
    GwCore* broken = GwRcMgr::load(nullptr, "BrokenMain", 1);
    ASSERT_NE(broken, nullptr);
    broken->show();
    EXPECT_FALSE(GwRcMgr::is_valid_child(broken));
    EXPECT_EQ(GetMainWindow(), nullptr);
    EXPECT_FALSE(MessageBoxesEnabled);
    EXPECT_TRUE(ShowErrorMessage(7));
    EXPECT_TRUE(ShowQuestionMessage(20));
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(MainWindowTest, StateLineLaysOutItsFieldsFromTheRightEdge) {
    GwCore* line = Child("StateLine");
    Child("BusState")->set_width(100);
    Child("ParaProgressIndicator")->set_width(120);
    Child("Logo")->set_width(60);
    const int y = Child("State1")->position().y;
    line->set_width(400);
    EXPECT_EQ(Child("State1")->rect(), (GwRect{5, y, 95, Child("State1")->height()}));
    EXPECT_EQ(Child("BusState")->position().x, 105);
    EXPECT_EQ(Child("ParaProgressIndicator")->position().x, 210);
    EXPECT_EQ(Child("Logo")->position().x, 335);
    EXPECT_EQ(Child("Logo")->position().x + 60, 400 - 5);
    EXPECT_TRUE(line->is_shown());

    // Too narrow: the state text gets no width rather than a negative one.
    line->set_width(200);
    EXPECT_EQ(Child("State1")->width(), 0);
}

TEST_F(MainWindowTest, ResizeGivesTheStateLineTheBottomAndTheWorkAreaTheRest) {
    frame_->set_rect({0, 0, 900, 700});
    const int lineHeight = Child("StateLine")->height();
    EXPECT_EQ(Child("WorkArea")->rect(), (GwRect{0, 0, 900, 700 - lineHeight}));
    EXPECT_EQ(Child("StateLine")->rect(), (GwRect{0, 700 - lineHeight, 900, lineHeight}));
}

TEST_F(MainWindowTest, ShowArmsTheStartTimerOnceAndTheWatchEveryTime) {
    GwCore* container = Child("MainContainer");
    EXPECT_TRUE(IsStartTimerArmed());
    EXPECT_TRUE(frame_->is_timer_running());
    EXPECT_EQ(frame_->timer_interval(), kStartTimerMs);
    EXPECT_EQ(container->timer_interval(), kSignatureWatchStartMs);
    EXPECT_EQ(GetBaseTitle(), "Torvan");

    frame_->stop_timer();
    container->stop_timer();
    frame_->set_title("Torvan - project");
    frame_->hide();
    frame_->show();
    EXPECT_TRUE(container->is_timer_running());
    EXPECT_EQ(container->timer_interval(), kSignatureWatchStartMs);
    EXPECT_FALSE(frame_->is_timer_running());
    EXPECT_EQ(GetBaseTitle(), "Torvan - project");
}

TEST_F(MainWindowTest, RestoringAMinimisedWindowRestartsOnlyTheWatch) {
    GwCore* container = Child("MainContainer");
    frame_->minimize();
    frame_->stop_timer();
    container->stop_timer();
    frame_->restore();
    EXPECT_TRUE(container->is_timer_running());
    EXPECT_EQ(container->timer_interval(), kSignatureWatchStartMs);
    EXPECT_FALSE(frame_->is_timer_running());
}

}  // namespace
