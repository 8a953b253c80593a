// Exposes of a drawing widget: when the toolkit fires them, that each starts
// on an empty picture, and that a lock and unlock bracket is a picture too.
#include <gtest/gtest.h>

#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"
#include "toolkit/tests3/spine_fixture.h"

namespace spine_test {
namespace {

class Exposing : public SpineTest {};

// Counts the pictures the observers are told of.
class PictureCounter : public GwObserver {
public:
    void DrawingChanged(GwCore*) override { ++pictures; }
    int pictures = 0;
};

TEST_F(Exposing, FirstShowResizeAndInvalidateEachDrawAFreshPicture) {
    GwCore* main = GwRcMgr::load(nullptr, "Main", 1);
    auto* plot = main->child<GwDrawing>("Plot");
    ASSERT_NE(plot, nullptr);
    int calls = 0;
    plot->bind(GwCB_EXPOSE, [&](GwCore* w, GwEvent* ev) {
        EXPECT_EQ(ev->type, GwCB_EXPOSE);
        GwDeviceContext* dc = static_cast<GwDrawing*>(w)->device_context();
        EXPECT_TRUE(dc->operations().empty()) << "expose " << calls + 1 << " did not start empty";
        ++calls;
        dc->set_pen("red", 0, 1);
        dc->draw_line(0, 0, calls, calls);
        return 1;
    });
    PictureCounter counter;
    GwAttachObserver(&counter);

    struct Step {
        const char* what;
        std::function<void()> act;
        int exposes;
    };
    // clang-format off
    const Step steps[] = {
        {"hidden: no expose", [&] { plot->invalidate(); }, 0},
        {"first show", [&] { main->show(); }, 1},
        {"shown again: no expose", [&] { main->show(); }, 1},
        {"resize", [&] { plot->set_dimension({300, 120}); }, 2},
        {"invalidate", [&] { plot->invalidate(); }, 3},
        {"a renderer's expose", [&] { plot->expose(); }, 4},
    };
    // clang-format on
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(calls, s.exposes);
        EXPECT_EQ(counter.pictures, s.exposes);
    }
    // Only the last picture is left.
    EXPECT_EQ(gwtest::Drawing(plot), (std::vector<std::string>{"line 0,0 4,4 pen=red/1/0"}));
    EXPECT_EQ(plot->device_context()->size(), (GwDimension{300, 120}));
    GwDetachObserver(&counter);
}

TEST_F(Exposing, ALockedBracketIsOnePicture) {
    GwCore* main = GwRcMgr::load(nullptr, "Main", 1);
    auto* plot = main->child<GwDrawing>("Plot");
    main->show();
    PictureCounter counter;
    GwAttachObserver(&counter);
    GwDeviceContext* dc = plot->device_context();
    dc->draw_line(1, 1, 2, 2);
    dc->lock();
    dc->draw_line(3, 3, 4, 4);
    dc->lock();
    dc->draw_line(5, 5, 6, 6);
    dc->unlock();
    EXPECT_EQ(counter.pictures, 0);  // the inner unlock ends no picture
    dc->unlock();
    EXPECT_EQ(counter.pictures, 1);
    EXPECT_EQ(gwtest::Drawing(plot),
              (std::vector<std::string>{"line 3,3 4,4 pen=black/1/0", "line 5,5 6,6 pen=black/1/0"}));
    GwDetachObserver(&counter);
}

}  // namespace
}  // namespace spine_test
