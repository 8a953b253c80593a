// Docking containers, regions and frames as the main window's work area
// uses them, and a frame's layout through a profile and back.
#include <gtest/gtest.h>

#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_docking.h"
#include "toolkit/kindstest/kinds_fixture.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace kinds_test {
namespace {

class Docking : public KindsTest {
protected:
    void SetUp() override {
        KindsTest::SetUp();
        area_ = dynamic_cast<GwDockingContainer*>(main_->child("WorkArea"));
        ASSERT_NE(area_, nullptr);
    }

    // A frame made from the fixture's pane template, as the main window
    // makes its panes.
    GwDockingFrame* FrameFromTemplate() {
        GwCore* templates = GwRcMgr::load(nullptr, "DockingTemplates", 1);
        GwCore* pane = templates->child(0)->child(0);
        GwCore* content = pane->child(0);
        auto* frame = new GwDockingFrame(area_->region(GwDOCK_LEFT), content->name(), content->rect());
        frame->copy(content);
        frame->set_user_data(pane->user_data());
        frame->set_text(pane->title());
        return frame;
    }

    GwDockingContainer* area_ = nullptr;
};

TEST_F(Docking, RegionsByNumber) {
    for (int n : {GwDOCK_TOP, GwDOCK_BOTTOM, GwDOCK_LEFT, GwDOCK_RIGHT}) {
        GwDockingRegion* region = area_->region(n);
        ASSERT_NE(region, nullptr) << n;
        EXPECT_EQ(region->number(), n);
        EXPECT_TRUE(region->is_class(GwDOCKINGREGION_CLASS));
        EXPECT_FALSE(area_->is_class(GwDOCKINGREGION_CLASS));
    }
    for (int n : {0, 3, 4, 32, -8}) EXPECT_EQ(area_->region(n), nullptr) << n;
    // A container made in code has its regions too.
    auto* made = new GwDockingContainer("Made", main_, GwRect{0, 0, 100, 100});
    EXPECT_NE(made->region(16), nullptr);
    EXPECT_EQ(made->rect(), (GwRect{0, 0, 100, 100}));
}

TEST_F(Docking, FrameTakesACopyOfItsContent) {
    GwDockingFrame* frame = FrameFromTemplate();
    EXPECT_EQ(frame->name(), "NetList");
    EXPECT_EQ(frame->text(), "Network");
    EXPECT_EQ(frame->user_data().string(), "splitter");
    EXPECT_EQ(frame->placement(), GwDOCK_LEFT);
    EXPECT_EQ(frame->rect(), (GwRect{0, 0, 200, 300}));
    EXPECT_FALSE(frame->is_visible()) << "new frames wait hidden";
    GwCore* copied = frame->child("Count");
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "3 devices");
    EXPECT_EQ(main_->child("NetList"), frame) << "found through the main window";
    EXPECT_EQ(frame->frame(), frame) << "a window of its own";
}

TEST_F(Docking, ShowAndHideCallbacksOnEveryChange) {
    GwDockingFrame* frame = FrameFromTemplate();
    frame->set_callback(GwCB_SHOW, [](GwCore* w, GwEvent*, GwUD) {
        Notes().push_back("show " + w->name());
        return 1;
    });
    frame->set_callback(GwCB_HIDE, [](GwCore* w, GwEvent*, GwUD) {
        Notes().push_back("hide " + w->name());
        return 1;
    });
    EXPECT_TRUE(gwtest::ShowDockingFrame(frame));
    EXPECT_TRUE(frame->is_visible());
    EXPECT_TRUE(gwtest::HideDockingFrame(frame)) << "the user closes it";
    EXPECT_FALSE(frame->is_visible());
    EXPECT_TRUE(GwRcMgr::is_valid_child(frame)) << "closing hides";
    main_->hide();
    frame->show();
    EXPECT_TRUE(frame->is_visible()) << "independent of the main window";
    EXPECT_EQ(Notes(), (std::vector<std::string>{"show NetList", "hide NetList", "show NetList"}));
}

TEST_F(Docking, LayoutSurvivesAProfileRoundTrip) {
    GwDockingFrame* frame = FrameFromTemplate();
    frame->show();
    frame->set_placement(GwDOCK_RIGHT);
    frame->set_attached_rect({600, 40, 200, 520});
    frame->set_standalone_rect({120, 80, 320, 240});
    frame->set_alignment(2);
    frame->set_attached(false);
    EXPECT_EQ(frame->parent(), area_->region(GwDOCK_RIGHT)) << "placement docks it in that region";
    EXPECT_EQ(frame->rect(), (GwRect{120, 80, 320, 240})) << "floating: the standalone rectangle";

    {
        GwProfile profile("..\\TMP\\Layout.ini");
        ASSERT_TRUE(profile.select_section(frame->name().c_str(), true));
        GwRect a = frame->attached_rect(), s = frame->standalone_rect();
        profile.write_int("visible", frame->is_visible() ? 1 : 0);
        profile.write_rectangle("attached_rect", a.x, a.y, a.width, a.height);
        profile.write_rectangle("standalone_rect", s.x, s.y, s.width, s.height);
        profile.write_int("alignment", frame->alignment());
        profile.write_int("attached", frame->is_attached() ? 1 : 0);
        profile.write_int("placement", frame->placement());
        ASSERT_TRUE(profile.save());
    }
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/Layout.ini")),
              "[NetList]\r\nvisible=1\r\nattached_rect=600,40,200,520\r\nstandalone_rect=120,80,320,240\r\n"
              "alignment=2\r\nattached=0\r\nplacement=16\r\n");

    // The next run: a fresh frame in region 8 takes the stored layout.
    frame->destroy();
    GwDockingFrame* again = FrameFromTemplate();
    GwProfile profile("..\\TMP\\Layout.ini");
    ASSERT_TRUE(profile.select_section("NetList"));
    int x = 0, y = 0, w = 0, h = 0;
    again->set_placement(profile.read_int("placement"));
    ASSERT_TRUE(profile.read_rectangle("attached_rect", x, y, w, h));
    again->set_attached_rect({x, y, w, h});
    ASSERT_TRUE(profile.read_rectangle("standalone_rect", x, y, w, h));
    again->set_standalone_rect({x, y, w, h});
    again->set_alignment(profile.read_int("alignment"));
    again->set_attached(profile.read_int("attached") != 0);
    EXPECT_EQ(again->placement(), GwDOCK_RIGHT);
    EXPECT_EQ(again->parent(), area_->region(GwDOCK_RIGHT));
    EXPECT_EQ(again->attached_rect(), (GwRect{600, 40, 200, 520}));
    EXPECT_EQ(again->standalone_rect(), (GwRect{120, 80, 320, 240}));
    EXPECT_EQ(again->alignment(), 2);
    EXPECT_FALSE(again->is_attached());
    EXPECT_EQ(again->rect(), (GwRect{120, 80, 320, 240}));
    again->set_attached(true);
    EXPECT_EQ(again->rect(), (GwRect{600, 40, 200, 520}));
}

TEST_F(Docking, PlacementOtherThanARegionIsKeptAsGiven) {
    GwDockingFrame* frame = FrameFromTemplate();
    frame->set_placement(5);
    EXPECT_EQ(frame->placement(), 5);
    EXPECT_EQ(frame->parent(), area_->region(GwDOCK_LEFT));
    // A frame outside any container keeps its placement value only.
    auto* loose = new GwDockingFrame(main_, "Loose", GwRect{1, 2, 3, 4});
    loose->set_placement(GwDOCK_TOP);
    EXPECT_EQ(loose->placement(), GwDOCK_TOP);
    EXPECT_EQ(loose->parent(), main_);
}

TEST_F(Docking, FramesFromDefinitions) {
    auto* pane = dynamic_cast<GwDockingFrame*>(main_->child("Pane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->has_splitter());
    EXPECT_EQ(pane->text(), "Pane");
    EXPECT_EQ(pane->child("Inside")->text(), "inside");
}

}  // namespace
}  // namespace kinds_test
