// The device-window frame: opening a window for the caller's device (with
// its redirection), refreshing a window or one control, the poll timers on
// the virtual clock, and the small window functions.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// What the fixture windows' callbacks saw.
struct CallCounts {
    int Show = 0;
    int Hide = 0;
    int User = 0;
};
CallCounts& Counts() {
    static CallCounts counts;
    return counts;
}

int CountShow(GwCore*, GwEvent*, GwUD) { return ++Counts().Show, 1; }
int CountHide(GwCore*, GwEvent*, GwUD) { return ++Counts().Hide, 1; }
int CountUser(GwCore*, GwEvent* event, GwUD) {
    if (event != nullptr && event->user1 == 0 && event->user2 == 0) ++Counts().User;
    return 1;
}

const GwFuncDesc kCountingCallbacks[] = {
    {"CountShow", CountShow},
    {"CountHide", CountHide},
    {"CountUser", CountUser},
    {nullptr, nullptr},
};

class FrameTest : public DeviceWindowTest {
public:
    void SetUp() override {
        DeviceWindowTest::SetUp();
        Counts() = CallCounts{};
        GwRcMgr::use_func_desc(kCountingCallbacks);
    }
    // Live widgets of that name below the main window.
    int Count(const std::string& name) {
        int n = 0;
        std::function<void(GwCore*)> walk = [&](GwCore* w) {
            for (GwCore* child : w->children()) {
                if (child->is_alive() && child->name() == name) ++n;
                walk(child);
            }
        };
        walk(mainWindow_);
        return n;
    }
    static void Define(const std::string& text) { ASSERT_TRUE(GwRcMgr::use_text(text, "frame.cgw")); }
};

TEST_F(FrameTest, OpensTheVariantForTheCallersDevice) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        TestContext* context = MakeContext(online);
        Define("dialogframe 4_DlgX { label Real_PN_28 { } }\n");
        GwCore* caller = OpenWindow("button Open { }", context);
        EXPECT_EQ(CB_CallDeviceWindow(W("Open"), nullptr, GwUD("4_DlgX")), 1);
        GwCore* window = TheWindowHandler().FindByName("4_DlgX");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->parent(), caller);
        EXPECT_EQ(window->user_data().pointer(), context);
        EXPECT_EQ(window->modality(), 1);
        EXPECT_EQ(window->close_mode(), 2);
        EXPECT_TRUE(window->is_visible());
        EXPECT_EQ(TheWindowHandler().IsOnlineWindow(window), online);

        W("Open")->set_focus();
        EXPECT_EQ(CB_CallDeviceWindow(W("Open"), nullptr, GwUD("4_DlgX")), 1);
        EXPECT_EQ(Count("4_DlgX"), 1);
        EXPECT_TRUE(window->has_focus());
        TheWindowHandler().Close(window);
        caller->destroy();
    }
}

TEST_F(FrameTest, RedirectionOpensTheNamedWindowAndLeavesNothingBehind) {
    Define("dialogframe 4_DlgR { label Deversion_Dialog { aux_text = \"4_Other\" } }\ndialogframe 4_Other { }\n");
    GwCore* caller = OpenWindow("button Open { }", MakeContext(true));
    EXPECT_EQ(CB_CallDeviceWindow(W("Open"), nullptr, GwUD("4_DlgR")), 1);
    GwCore* other = TheWindowHandler().FindByName("4_Other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->parent(), caller);
    EXPECT_EQ(Count("4_DlgR"), 0);

    EXPECT_EQ(CB_CallDeviceWindow(W("Open"), nullptr, GwUD("4_DlgR")), 1);
    EXPECT_EQ(Count("4_Other"), 1);
    EXPECT_EQ(Count("4_DlgR"), 0);
    EXPECT_EQ(TheWindowHandler().Count(), 1);
}

TEST_F(FrameTest, NothingOpensWithoutContextNameOrVariant) {
    Define("dialogframe 4_DlgX { }\n");
    struct Case {
        const char* what;
        bool context;
        GwUD userData;
    } cases[] = {
        {"no context", false, GwUD("4_DlgX")},
        {"no user data", true, GwUD()},
        {"no variant", true, GwUD("4_None")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWindow("button Open { }", c.context ? MakeContext(true) : nullptr);
        EXPECT_EQ(CB_CallDeviceWindow(W("Open"), nullptr, c.userData), 1);
        EXPECT_EQ(TheWindowHandler().Count(), 0);
        EXPECT_EQ(Count("4_DlgX"), 0);
        window_->destroy();
    }
}

TEST_F(FrameTest, RefreshShowsTheWindowsBoundWidgets) {
    OpenWindow(
        "label 7_PN_35 { }\n"
        "container Box { label Real_PN_28 { } }\n"
        "label 4_PN_28 { on show = CountShow }\n"
        "spreadsheet ParaSpreadSheet1 { on user = CountUser }\n"
        "label Foo { }\n"
        "button BT_TakeIt { }\n"
        "dialogframe Inner { label Inside_PN_35 { } }",
        MakeContext(true));
    const int shows = Counts().Show;
    Drive().ClearCapture();
    EXPECT_EQ(CB_DvFctShowStandard(W("Foo"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("7_PN_35")->text(), "Speed mode");
    EXPECT_EQ(W("Real_PN_28")->text(), "12.339996");
    EXPECT_EQ(W("4_PN_28")->text(), "");
    EXPECT_EQ(Counts().Show, shows + 1);
    EXPECT_EQ(W("Inside_PN_35")->text(), "");
    EXPECT_FALSE(W("BT_TakeIt")->is_enabled());
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20035", "R 20028"}));
    for (const char* name : {"Foo", "Box", "7_PN_35"}) {
        GwCallback help = W(name)->lookup_callback(GwCB_HELP);
        ASSERT_NE(help, nullptr) << name;
        EXPECT_EQ(help(W(name), nullptr, GwUD()), 0);
    }
    EXPECT_EQ(Counts().User, 0);
    GwProcessPendingEvents();
    EXPECT_EQ(Counts().User, 1);
}

TEST_F(FrameTest, RefreshStopsAtTheFirstFailedShow) {
    OpenWindow("label Foo { }\nradiogroup Wide_PN_27 { }\nlabel Mode_PN_35 { }", MakeContext(false));
    EXPECT_EQ(CB_DvFctShowStandard(W("Foo"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("Mode_PN_35")->text(), "");
}

TEST_F(FrameTest, ObjectRefreshShowsOnlyTheWidgetsBelowIt) {
    OpenWindow("label Foo { }\ncontainer Box { label In_PN_35 { } }\nlabel Out_PN_35 { }", MakeContext(false));
    EXPECT_EQ(CB_DvFctShowObject(W("Box"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("In_PN_35")->text(), "Speed mode");
    EXPECT_EQ(W("Out_PN_35")->text(), "");
}

TEST_F(FrameTest, InitTimerStartsOnlineAndStopsOffline) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        GwCore* window = OpenWindow("label Mode_PN_35 { }", MakeContext(online));
        window->start_timer(3000);
        EXPECT_EQ(CB_DvFctInitTimerStandard(window, nullptr, GwUD()), 1);
        EXPECT_EQ(window->is_timer_running(), online);
        if (online) {
            EXPECT_EQ(window->timer_interval(), 500u);
        }
        EXPECT_EQ(W("Mode_PN_35")->text(), "Speed mode");
        window->destroy();
    }
}

class PollTest : public FrameTest {
public:
    PollTest() { baud_ = 19200; }
};

TEST_F(PollTest, TickRefreshesAndRestartsWithTheBusInterval) {
    GwCore* window = OpenWindow("on timer = CB_DvFctTimerStandard\nlabel Mode_PN_35 { }", MakeContext(true));
    ASSERT_EQ(CB_DvFctInitTimerStandard(window, nullptr, GwUD()), 1);
    Drive().Table().Find(kModeText)->value = 2;
    Drive().ClearCapture();
    gwtest::Advance(500);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20035"}));
    EXPECT_EQ(W("Mode_PN_35")->text(), "Torque");
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 2000u);

    // A read that fails for good, and the user uncouples: the walk stops,
    // the timer still starts again.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20035").Times(sim::kForever));
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_YES);
    window->start_timer(700);
    gwtest::Advance(700);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 2000u);
}

TEST_F(PollTest, RefusedTickReadsNothingAndLeavesTheTimer) {
    GwCore* window = OpenWindow("on timer = CB_DvFctTimerStandard\nlabel Mode_PN_35 { }", MakeContext(true));
    ASSERT_EQ(CB_DvFctInitTimerStandard(window, nullptr, GwUD()), 1);
    ModalFlag = true;
    Drive().ClearCapture();
    gwtest::Advance(500);
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 500u);
    ModalFlag = false;
}

TEST_F(FrameTest, ObjectTickRefreshesItsControl) {
    OpenWindow("container Box { on timer = CB_DvFctTimerObject\n label In_PN_35 { } }\nlabel Out_PN_35 { }",
               MakeContext(true));
    ASSERT_EQ(CB_DvFctInitTimerObject(W("Box"), nullptr, GwUD()), 1);
    W("In_PN_35")->set_text("");
    gwtest::Advance(500);
    EXPECT_EQ(W("In_PN_35")->text(), "Speed mode");
    EXPECT_EQ(W("Out_PN_35")->text(), "");
    // 9600 baud: the weight itself.
    EXPECT_EQ(W("Box")->timer_interval(), 4000u);
}

TEST_F(FrameTest, StopAllTimerStopsTheCallersSubtree) {
    OpenWindow("container Box { label A { }\n container Deep { label B { } } }\nlabel C { }", MakeContext(false));
    for (const char* name : {"Box", "A", "Deep", "B", "C"}) W(name)->start_timer(1000);
    EXPECT_EQ(CB_StopAllTimer(W("Box"), nullptr, GwUD()), 1);
    for (const char* name : {"Box", "A", "Deep", "B"}) EXPECT_FALSE(W(name)->is_timer_running()) << name;
    EXPECT_TRUE(W("C")->is_timer_running());
}

TEST_F(FrameTest, SwitchSizeAlternatesFullAndReducedLayout) {
    TestContext* context = MakeContext(false);
    context->Rects[kContFuncRect] = {0, 100, 200, 50};
    context->Rects[kFirstControlRect] = {0, 0, 300, 400};
    context->Rects[kContValRect] = {0, 200, 200, 80};
    context->Rects[kContSaveRect] = {0, 300, 200, 40};
    OpenWindow(
        "container Main { rect = 0, 0, 300, 400 }\ncontainer ContFunc { rect = 0, 100, 200, 50 }\n"
        "container ContVal { rect = 0, 200, 200, 80 }\ncontainer ContSave { rect = 0, 300, 200, 40 }",
        context);
    auto rects = [&] {
        return std::vector<GwRect>{
            W("ContFunc")->rect(), W("Main")->rect(), W("ContVal")->rect(), W("ContSave")->rect()};
    };
    const std::vector<GwRect> full = {{0, 100, 200, 50}, {0, 0, 300, 400}, {0, 200, 200, 80}, {0, 300, 200, 40}};
    const std::vector<GwRect> reduced = {{0, 100, 200, 0}, {0, 0, 300, 300}, {0, 100, 200, 80}, {0, 200, 200, 40}};
    // A window whose show recorded no layout (it never folds) keeps its
    // places.
    EXPECT_EQ(CB_SwitchSize(W("ContVal"), nullptr, GwUD()), 1);
    EXPECT_EQ(rects(), full);
    EXPECT_FALSE(context->Expanded);

    context->LayoutRecorded = true;
    EXPECT_EQ(CB_SwitchSize(W("ContVal"), nullptr, GwUD()), 1);
    EXPECT_EQ(rects(), full);
    EXPECT_TRUE(context->Expanded);
    CB_SwitchSize(W("ContVal"), nullptr, GwUD());
    EXPECT_EQ(rects(), reduced);
    EXPECT_FALSE(context->Expanded);
    CB_SwitchSize(W("ContVal"), nullptr, GwUD());
    EXPECT_EQ(rects(), full);
}

TEST_F(FrameTest, FocusGoesToTheDefaultButton) {
    OpenWindow("default_button = BT_Ok\nlabel Foo { }\nbutton BT_Ok { }", MakeContext(false));
    W("Foo")->set_focus();
    EXPECT_EQ(CB_SetFocusToDefault(W("Foo"), nullptr, GwUD()), 1);
    EXPECT_TRUE(W("BT_Ok")->has_focus());
}

TEST_F(FrameTest, CloseWithParentUpdateRedrawsTheParent) {
    Define("dialogframe 4_DlgX { dialogframe Helper { } }\n");
    GwCore* caller = OpenWindow("on show = CountShow\non hide = CountHide\nbutton Open { }", MakeContext(true));
    CB_CallDeviceWindow(W("Open"), nullptr, GwUD("4_DlgX"));
    GwCore* window = TheWindowHandler().FindByName("4_DlgX");
    ASSERT_NE(window, nullptr);
    GwCore* helper = window->child("Helper");
    const CallCounts before = Counts();
    EXPECT_EQ(CB_CloseDeviceWindow_Update_Parent(window, nullptr, GwUD()), 1);
    EXPECT_EQ(Counts().Hide, before.Hide + 1);
    EXPECT_EQ(Counts().Show, before.Show + 1);
    EXPECT_TRUE(caller->is_visible());
    EXPECT_FALSE(GwRcMgr::is_valid_child(window));
    EXPECT_FALSE(GwRcMgr::is_valid_child(helper));
    EXPECT_EQ(TheWindowHandler().Count(), 0);
}

}  // namespace
}  // namespace devicewintest
