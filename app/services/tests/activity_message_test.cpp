// Activity and progress windows.
#include "app/services/activity_message.h"

#include <string>

#include "app/services/program_flags.h"
#include "app/services/tests/services_fixture.h"
#include "app/services/window_handler.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

class ActivityMessageTest : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        OpenFiles("[Activ-Messages]\nAM_00003=Reading the data set\nAM_00005=Resetting\n");
        UseShippedDefinitions();
        main = MakeMainWindow();
    }
    static std::string MessageText(GwCore* window) { return window->child("Message")->text(); }
    static GwMedia* Icon(GwCore* window) { return dynamic_cast<GwMedia*>(window->child("WaitIcon")); }
    GwCore* main = nullptr;
};

TEST_F(ActivityMessageTest, NumberedTextGetsDotsAndReadyTextStaysAsGiven) {
    {
        ActivMessage activity(3);
        ASSERT_NE(activity.Window(), nullptr);
        EXPECT_EQ(activity.Window()->definition_name(), "AnimatedStateMessage");
        EXPECT_EQ(MessageText(activity.Window()), "Reading the data set ...");
        activity.ShowText("step two");
        EXPECT_EQ(MessageText(activity.Window()), "step two");
        activity.ShowMessage(42);
        EXPECT_EQ(MessageText(activity.Window()), "AM_00042 ...");
        activity.SetMessageString(dstring("as object"));
        EXPECT_EQ(MessageText(activity.Window()), "as object");
    }
    ActivMessage ready("Copying", nullptr);
    ASSERT_NE(ready.Window(), nullptr);
    EXPECT_EQ(MessageText(ready.Window()), "Copying");
    EXPECT_NE(ProgramLog().find("\tActive Message from MainWindow:\tReading the data set ...\n"), std::string::npos);
}

TEST_F(ActivityMessageTest, WindowLivesAsLongAsItsObject) {
    const uint32_t start = platform::GetTickCount();
    GwCore* window = nullptr;
    {
        ActivMessage activity(3, main);
        window = activity.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->is_visible());
        EXPECT_EQ(window->modality(), 2);
        EXPECT_TRUE(ActivityWindowOpen);
        EXPECT_FALSE(main->is_enabled());
        EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_WAIT);
        EXPECT_EQ(TheWindowHandler().IndexOf(window), 0);
        EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(window));
        GwMedia* icon = Icon(window);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->clip(), "IdentMot.avi");
        EXPECT_TRUE(icon->is_playing());
        EXPECT_EQ(icon->timer_interval(), kAnimationReplayMs);
    }
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    EXPECT_FALSE(ActivityWindowOpen);
    EXPECT_TRUE(main->is_enabled());
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
    EXPECT_EQ(TheWindowHandler().Count(), 0);
    EXPECT_GE(platform::GetTickCount() - start, kActivityCloseWaitMs);
}

TEST_F(ActivityMessageTest, NestedObjectsShareOneWindow) {
    ActivMessage outer(3);
    ASSERT_NE(outer.Window(), nullptr);
    {
        ActivMessage inner(5);
        EXPECT_EQ(inner.Window(), nullptr);
        inner.ShowText("ignored");
    }
    EXPECT_TRUE(ActivityWindowOpen);
    EXPECT_TRUE(GwRcMgr::is_valid_child(outer.Window()));
    EXPECT_EQ(MessageText(outer.Window()), "Reading the data set ...");
    // The owner stays disabled until the operation that disabled it ends.
    EXPECT_FALSE(main->is_enabled());
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_WAIT);
}

TEST_F(ActivityMessageTest, AnimationOffLoadsTheQuietDefinitions) {
    AnimationOff = true;
    ActivMessage activity(3);
    ASSERT_NE(activity.Window(), nullptr);
    EXPECT_EQ(activity.Window()->definition_name(), "NonAnimatedStateMessage");
    ProgressMessage progress(3, 10.0);  // windowless beside the open one
    EXPECT_EQ(progress.Window(), nullptr);
    EXPECT_TRUE(gwtest::Effects("media").empty());
}

TEST_F(ActivityMessageTest, AnimationOffProgressDefinition) {
    AnimationOff = true;
    ProgressMessage progress(3, 10.0);
    ASSERT_NE(progress.Window(), nullptr);
    EXPECT_EQ(progress.Window()->definition_name(), "NonAnimatedProgressMessage");
}

TEST_F(ActivityMessageTest, ProgressSteps) {
    ProgressMessage progress(5, 100.0);
    ASSERT_NE(progress.Window(), nullptr);
    EXPECT_EQ(progress.Window()->definition_name(), "ProgressMessage");
    auto* indicator = dynamic_cast<GwSlider*>(progress.Window()->child("Indicator"));
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator->start(), 0.0);
    EXPECT_EQ(indicator->end(), 100.0);
    BasicSlider& slider = progress;
    EXPECT_EQ(slider.GetStep(), 1);
    slider.StepIt();
    EXPECT_EQ(slider.GetValue(), 1);
    slider.SetStep(5);
    slider.StepIt();
    EXPECT_EQ(slider.GetValue(), 6);
    slider.StepBy(3);
    EXPECT_EQ(slider.GetValue(), 9);
    slider.SetValue(20u);
    EXPECT_EQ(indicator->value(), 20.0);
    progress.SetValue(42.7);
    EXPECT_EQ(slider.GetValue(), 42);
    slider.SetMinimum(10);
    slider.SetMaximum(30);
    EXPECT_EQ(slider.GetMinimum(), 10);
    EXPECT_EQ(slider.GetMaximum(), 30);
}

TEST_F(ActivityMessageTest, WindowlessProgressOpensItsWindowOnTheNextValue) {
    auto outer = std::make_unique<ActivMessage>(3);
    ProgressMessage progress("Copying", 50.0);
    EXPECT_EQ(progress.Window(), nullptr);
    BasicSlider& slider = progress;
    slider.StepIt();
    EXPECT_EQ(slider.GetValue(), 0);
    EXPECT_EQ(slider.GetMaximum(), 0);
    EXPECT_EQ(slider.GetStep(), 0);
    progress.SetValue(5.0);
    EXPECT_EQ(progress.Window(), nullptr);
    outer.reset();
    progress.SetValue(7.0);
    ASSERT_NE(progress.Window(), nullptr);
    EXPECT_EQ(MessageText(progress.Window()), "Copying");
    EXPECT_EQ(slider.GetValue(), 7);
    EXPECT_EQ(slider.GetMaximum(), 50);
}

TEST_F(ActivityMessageTest, LateWindowRestoresTheCursorItFound) {
    {
        auto outer = std::make_unique<ActivMessage>(3);
        ProgressMessage progress(5, 10.0);
        outer.reset();
        progress.SetValue(1.0);
        ASSERT_NE(progress.Window(), nullptr);
    }
    EXPECT_EQ(GwCore::global_cursor(), GwCURSOR_ARROW);
}

TEST_F(ActivityMessageTest, FailedLoadDoesNotBlockLaterWindows) {
    GwRcMgr::reset();
    {
        ActivMessage missing(3);
        EXPECT_EQ(missing.Window(), nullptr);
        EXPECT_FALSE(ActivityWindowOpen);
    }
    UseShippedDefinitions();
    ActivMessage later(3);
    EXPECT_NE(later.Window(), nullptr);
}

TEST_F(ActivityMessageTest, AnimationReplaysOnlyWhileItCanBeSeen) {
    ActivMessage activity(3);
    ASSERT_NE(activity.Window(), nullptr);
    GwMedia* icon = Icon(activity.Window());
    ASSERT_NE(icon, nullptr);
    icon->stop();
    EXPECT_EQ(CB_Info_StartVideo(icon, nullptr, GwUD()), 1);
    EXPECT_TRUE(icon->is_playing());
    EXPECT_TRUE(icon->is_timer_running());
    EXPECT_EQ(icon->timer_interval(), kAnimationReplayMs);

    main->minimize();
    EXPECT_EQ(CB_Info_StartVideo(icon, nullptr, GwUD()), 0);
    EXPECT_FALSE(icon->is_timer_running());
}

TEST_F(ActivityMessageTest, ClosingStopsTheAnimation) {
    GwMedia* icon = nullptr;
    {
        ActivMessage activity(3);
        icon = Icon(activity.Window());
        ASSERT_NE(icon, nullptr);
    }
    std::vector<std::string> seen;
    for (const GwEffect& effect : gwtest::Effects("media")) seen.push_back(effect.value);
    const std::vector<std::string> expected = {"stop", "clip IdentMot.avi", "rewind", "play", "stop", "clip NONE.avi"};
    EXPECT_EQ(seen, expected);
}

}  // namespace
