// The docking work area: the container that replaces "WorkArea", the frames
// made from the template windows with their "View" toggles, and the layout
// kept in the main profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mainwindow/tests/main_window_fixture.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace {

using mainwindowtest::MainWindowTest;

class DockingTest : public MainWindowTest {
protected:
    GwDockingFrame* Frame(const std::string& name) { return dynamic_cast<GwDockingFrame*>(frame_->child(name)); }
    GwToggleItem* Toggle(const std::string& frameName) {
        return dynamic_cast<GwToggleItem*>(Child("View")->child("Ti" + frameName));
    }
    GwProfile& Profile() { return *MainProfile(); }
    std::vector<std::string> SectionNames() {
        std::vector<std::string> names;
        for (int i = 1; i < Profile().section_count(); ++i) names.push_back(Profile().section_name(i));
        return names;
    }
};

TEST_F(DockingTest, ContainerReplacesTheWorkAreaWithTheEmptyContainerInIt) {
    GwDockingContainer* container = docking_->Container();
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->name(), "WorkArea");
    EXPECT_EQ(frame_->child("WorkArea"), container);
    EXPECT_FALSE(container->border());
    auto* normal = dynamic_cast<GwContainer*>(container->child("NormalerContainer"));
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->parent(), container);
    EXPECT_EQ(normal->rect(), (GwRect{10, 10, 20, 20}));
    EXPECT_EQ(normal->background(), "#808080");
    EXPECT_FALSE(normal->border());
}

TEST_F(DockingTest, FirstStartShowsEveryPaneOnlyWithoutUserState) {
    for (bool userState : {false, true}) {
        SCOPED_TRACE(userState);
        UserStateFlag = userState;
        docking_->CreateDockingFrames();
        for (const char* name : {"NetListPane", "MessagePane"}) {
            GwDockingFrame* frame = Frame(name);
            ASSERT_NE(frame, nullptr) << name;
            EXPECT_EQ(frame->is_shown(), !userState) << name;
            ASSERT_NE(Toggle(name), nullptr) << name;
            EXPECT_EQ(Toggle(name)->value(), userState ? 0 : 1) << name;
            EXPECT_TRUE(Toggle(name)->is_shown()) << name;
            frame->destroy();
            Toggle(name)->destroy();
        }
        EXPECT_EQ(Frame("NetListPane"), nullptr);
    }
    UserStateFlag = false;
}

TEST_F(DockingTest, FramesTakeCaptionSplitterAndContentFromTheirTemplate) {
    docking_->CreateDockingFrames();
    GwDockingFrame* net = Frame("NetListPane");
    GwDockingFrame* messages = Frame("MessagePane");
    ASSERT_NE(net, nullptr);
    ASSERT_NE(messages, nullptr);
    EXPECT_TRUE(net->has_splitter());
    EXPECT_FALSE(messages->has_splitter());
    EXPECT_EQ(net->text(), "Network");
    EXPECT_EQ(Toggle("NetListPane")->text(), "Network");
    EXPECT_EQ(net->parent(), docking_->Container()->region(GwDOCK_LEFT));
    EXPECT_EQ(net->rect().width, 240);

    GwCore* view = Child("View");
    ASSERT_GT(view->child_count(), 0);
    GwCore* last = view->child(view->child_count() - 1);
    EXPECT_TRUE(last->name().empty());
    int separators = 0;
    for (GwCore* item : view->children()) separators += item->name().empty() ? 1 : 0;
    EXPECT_EQ(separators, 1);
}

TEST_F(DockingTest, TogglesFollowTheirFramesBothWays) {
    docking_->CreateDockingFrames();
    GwDockingFrame* net = Frame("NetListPane");
    ASSERT_TRUE(gwtest::Close(net));
    EXPECT_FALSE(net->is_shown());
    EXPECT_EQ(Toggle("NetListPane")->value(), 0);

    ASSERT_TRUE(gwtest::ChooseMenuItem(Toggle("NetListPane")));
    EXPECT_TRUE(net->is_shown());
    EXPECT_EQ(Toggle("NetListPane")->value(), 1);
    ASSERT_TRUE(gwtest::ChooseMenuItem(Toggle("NetListPane")));
    EXPECT_FALSE(net->is_shown());
}

TEST_F(DockingTest, PaneWithoutCaptionGetsAnUnlabelledHiddenToggle) {
    ASSERT_TRUE(GwRcMgr::use_text(R"(widget DockingTemplates {
    container Panes {
        container Bare { container BarePane { rect = 0, 0, 50, 50 } }
    }
}
)",
                                  "panes.cgw"));
    DockingManager manager(frame_);
    manager.CreateDockingFrames();
    ASSERT_NE(Frame("BarePane"), nullptr);
    GwToggleItem* toggle = Toggle("BarePane");
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->is_shown());
    EXPECT_TRUE(toggle->text().empty());
}

TEST_F(DockingTest, HiddenFrameSavesOnlyVisibleAndKeepsItsRectangles) {
    Profile().select_section("MessagePane", true);
    Profile().write_int("visible", 1);
    Profile().write_rectangle("attached_rect", 1, 2, 300, 400);
    Profile().write_rectangle("standalone_rect", 50, 60, 200, 100);
    Profile().write_int("alignment", 3);
    Profile().write_int("attached", 0);
    Profile().write_int("placement", GwDOCK_RIGHT);

    UserStateFlag = true;
    docking_->CreateDockingFrames();
    UserStateFlag = false;
    GwDockingFrame* messages = Frame("MessagePane");
    ASSERT_NE(messages, nullptr);
    EXPECT_TRUE(messages->is_shown());
    EXPECT_FALSE(Frame("NetListPane")->is_shown());
    EXPECT_EQ(messages->parent(), docking_->Container()->region(GwDOCK_RIGHT));
    EXPECT_EQ(messages->attached_rect(), (GwRect{1, 2, 300, 400}));
    EXPECT_EQ(messages->standalone_rect(), (GwRect{50, 60, 200, 100}));
    EXPECT_EQ(messages->alignment(), 3);
    EXPECT_FALSE(messages->is_attached());

    ASSERT_TRUE(gwtest::HideDockingFrame(messages));
    docking_->SaveLayout();
    ASSERT_TRUE(Profile().select_section("MessagePane"));
    EXPECT_EQ(Profile().read_int("visible", -1), 0);
    EXPECT_STREQ(Profile().read("attached_rect"), "1,2,300,400");
    EXPECT_STREQ(Profile().read("standalone_rect"), "50,60,200,100");
    ASSERT_TRUE(Profile().select_section("NetListPane"));
    EXPECT_EQ(Profile().read_int("visible", -1), 0);
    EXPECT_FALSE(Profile().key_exists("attached_rect"));
}

TEST_F(DockingTest, VisibleFramesSaveTheirWholeLayoutRegionByRegion) {
    const GwDockingContainer* container = docking_->Container();
    struct Placed {
        const char* name;
        int region;
    };
    // Made in this order, saved by region: 8, 16, 1, 2.
    const Placed placed[] = {
        {"Bottom", GwDOCK_BOTTOM}, {"Top", GwDOCK_TOP}, {"Right", GwDOCK_RIGHT}, {"Left", GwDOCK_LEFT}};
    for (const Placed& p : placed) {
        auto* frame = new GwDockingFrame(container->region(GwDOCK_LEFT), p.name, GwRect{0, 0, 80, 90});
        frame->set_placement(p.region);
        frame->set_attached_rect({p.region, 0, 80, 90});
        frame->show();
    }
    const int before = Profile().section_count();
    docking_->SaveLayout();
    std::vector<std::string> added;
    for (int i = before; i < Profile().section_count(); ++i) added.push_back(Profile().section_name(i));
    EXPECT_EQ(added, (std::vector<std::string>{"Left", "Right", "Top", "Bottom"}));
    ASSERT_TRUE(Profile().select_section("Top"));
    EXPECT_EQ(Profile().read_int("visible"), 1);
    EXPECT_STREQ(Profile().read("attached_rect"), "1,0,80,90");
    EXPECT_EQ(Profile().read_int("attached"), 1);
    EXPECT_EQ(Profile().read_int("placement"), GwDOCK_TOP);
    EXPECT_TRUE(Profile().key_exists("standalone_rect"));
    EXPECT_TRUE(Profile().key_exists("alignment"));
}

TEST_F(DockingTest, StateFramesOpenByNameAndCloseWithTheirToggle) {
    UserStateFlag = true;
    EXPECT_TRUE(docking_->OpenDockingFrame("Marlo_Set", false));
    UserStateFlag = false;
    ASSERT_NE(Frame("Marlo_Set"), nullptr);
    EXPECT_FALSE(Frame("Marlo_Set")->is_shown());
    EXPECT_EQ(Toggle("Marlo_Set")->value(), 0);
    EXPECT_EQ(Toggle("Marlo_Set")->text(), "Marlo Set");

    EXPECT_TRUE(docking_->OpenDockingFrame("Zov_State", true));
    EXPECT_TRUE(Frame("Zov_State")->is_shown());
    EXPECT_EQ(Toggle("Zov_State")->value(), 1);
    EXPECT_FALSE(docking_->OpenDockingFrame("NoSuchPane", true));

    docking_->CloseDockingFrame("Zov_State");
    EXPECT_EQ(Frame("Zov_State"), nullptr);
    EXPECT_EQ(Child("View")->child("TiZov_State"), nullptr);
    docking_->CloseDockingFrame("Zov_State");
}

}  // namespace
