#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scope/plot/plot_state.h"
#include "scope/plot/plot_window.h"
#include "scope/plot/tests/plot_fixture.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/draw/gw_drawing.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plottest {
namespace {

class ZoomTest : public PlotTest {
protected:
    // The scratch pair shown: x 0..10, left 1..3 (auto 0.8..3.3 by 0.25),
    // and a right channel when asked.
    void ShowPlot(bool right) {
        WriteScratch(right ? "0 1 5\n10 3 6\n" : "0 1\n10 3\n", Sdc(right ? "0 a [u]\n2 b [u]\n" : "0 a [u]\n"));
        ASSERT_EQ(ShowInternalPlot(nullptr, nullptr, GwUD()), 1);
        ASSERT_EQ(GetPlotData()->Mode, kAxisAutoScaled);
    }
    // Runs the zoom dialog with `actions`.
    static void RunZoom(std::function<void(GwCore*)> actions) {
        gwtest::ScriptModal({"Zoom", std::move(actions), std::nullopt});
        CBScopeZoom(gwtest::Get("PlotTool/PWZoom"), nullptr, GwUD());
    }
    static void Set(GwCore* w, const char* field, const char* text) {
        EXPECT_TRUE(gwtest::Replace(w->child(field), text));
    }
};

TEST_F(ZoomTest, DialogShowsTheViewRangesWithItsCaptions) {
    ShowPlot(false);
    const PlotData& plot = *GetPlotData();
    RunZoom([&](GwCore* w) {
        EXPECT_EQ(w->modality(), 1);
        EXPECT_EQ(w->parent(), main_);
        auto* container = w->child<GwContainer>("ZoomMainContainer");
        ASSERT_NE(container, nullptr);
        EXPECT_EQ(container->rect().width, 400);
        EXPECT_EQ(container->rect().height, 384);
        EXPECT_FALSE(container->border());
        EXPECT_FALSE(container->shadow());
        EXPECT_EQ(w->child("PWZoomXAxisCaption")->text(), "x axis");
        EXPECT_EQ(w->child("PWZoomLyAxisCaption")->text(), "left y axis");
        EXPECT_EQ(w->child("PWZoomRyAxisCaption")->text(), "right y axis");
        EXPECT_EQ(w->child("PWZxMinLabel")->text(), "Minimum");
        EXPECT_EQ(w->child("PWZxMaxLabel")->text(), "Maximum");
        EXPECT_EQ(w->child("PWZoomCancel")->text(), "Cancel");
        EXPECT_EQ(w->child("PWZoomReset")->text(), "Reset");
        EXPECT_NE(w->child("PWZoomXAxis")->child("Auto&scale"), nullptr);
        char text[64];
        std::snprintf(text, sizeof text, "%lf", plot.ViewLeft.Min);
        EXPECT_EQ(w->child("PWZlyMin")->text(), text);
        EXPECT_EQ(w->child("PWZxMax")->text(), "10.000000");
        EXPECT_EQ(w->child("PWZryMin")->text(), "") << "no right channel";
        EXPECT_EQ(w->child("PWZryMax")->text(), "");
        gwtest::Click(w->child("PWZoomCancel"));
    });
    EXPECT_EQ(main_->child("Zoom"), nullptr) << "destroyed after its run";
}

TEST_F(ZoomTest, OkTakesTheAxesAndRedrawsWithFixedRanges) {
    ShowPlot(true);
    const int exposes = Drawing()->expose_count();
    RunZoom([](GwCore* w) {
        Set(w, "PWZxMin", "2");
        Set(w, "PWZxMax", "4");
        Set(w, "PWZryMin", "5.2");
        gwtest::Click(w->child("&Ok"));
    });
    const PlotData& plot = *GetPlotData();
    EXPECT_EQ(plot.ViewX, (AxisRange{2, 4}));
    EXPECT_DOUBLE_EQ(plot.ViewRight.Min, 5.2);
    EXPECT_EQ(plot.Mode, 2);
    EXPECT_GT(Drawing()->expose_count(), exposes);
    bool fixedLabel = false;
    for (const std::string& op : DrawingOps()) fixedLabel |= op.find("\"2.2\"") != std::string::npos;
    EXPECT_TRUE(fixedLabel) << "the x axis now runs from 2 to 4";
}

TEST_F(ZoomTest, MinimumNotBelowMaximumKeepsTheDialogOpenAndThatAxis) {
    ShowPlot(false);
    const AxisRange left = GetPlotData()->ViewLeft;
    bool stillOpen = false;
    RunZoom([&](GwCore* w) {
        Set(w, "PWZxMin", "1");
        Set(w, "PWZxMax", "5");
        Set(w, "PWZlyMin", "3");
        Set(w, "PWZlyMax", "2");
        gwtest::Click(w->child("&Ok"));
        stillOpen = gwtest::IsVisible(w);
        gwtest::Click(w->child("PWZoomCancel"));
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(GetPlotData()->ViewX, (AxisRange{1, 5})) << "taken before the stop";
    EXPECT_EQ(GetPlotData()->ViewLeft, left);
}

TEST_F(ZoomTest, NarrowRangeIsWidenedToFivePercentOfTheAutoScaleSpan) {
    ShowPlot(false);
    RunZoom([](GwCore* w) {
        Set(w, "PWZxMin", "3");
        Set(w, "PWZxMax", "3.1");
        gwtest::Click(w->child("&Ok"));
    });
    const PlotData& plot = *GetPlotData();
    EXPECT_DOUBLE_EQ(plot.ViewX.Min, 3);
    EXPECT_DOUBLE_EQ(plot.ViewX.Max, 3 + 0.05 * (plot.AutoX.Max - plot.AutoX.Min));
}

TEST_F(ZoomTest, EqualRangesStepBackFromZoomed) {
    ShowPlot(false);
    GetPlotData()->Mode = 2;
    GetPlotData()->HomeX = GetPlotData()->ViewX;
    GetPlotData()->HomeLeft = GetPlotData()->ViewLeft;
    RunZoom([](GwCore* w) { gwtest::Click(w->child("&Ok")); });
    // Auto-scale again (0), done by the redraw at once.
    EXPECT_EQ(GetPlotData()->Mode, kAxisAutoScaled);
    EXPECT_EQ(GetPlotData()->ViewX, GetPlotData()->AutoX);
}

TEST_F(ZoomTest, AutoScaleOfOneAxisThenCancelKeepsTheAutoScaleRange) {
    ShowPlot(false);
    RunZoom([](GwCore* w) {
        Set(w, "PWZxMin", "2");
        Set(w, "PWZxMax", "4");
        gwtest::Click(w->child("&Ok"));
    });
    ASSERT_EQ(GetPlotData()->ViewX, (AxisRange{2, 4}));
    std::string shownMin;
    RunZoom([&](GwCore* w) {
        gwtest::Click(w->child("PWZoomXAxis")->child("Auto&scale"));
        shownMin = w->child("PWZxMin")->text();
        gwtest::Click(w->child("PWZoomCancel"));
    });
    EXPECT_EQ(shownMin, "0.000000");
    EXPECT_EQ(GetPlotData()->ViewX, GetPlotData()->AutoX);
}

TEST_F(ZoomTest, ResetReturnsEveryRangeAndTheGridAndDrawsNothing) {
    ShowPlot(true);
    PlotData& plot = *GetPlotData();
    plot.ViewX = {2, 3};
    plot.ViewLeft = {1, 2};
    plot.ViewRight = {5, 5.5};
    plot.Mode = 3;
    GetPlotView()->XDivisions = 4;
    const int exposes = Drawing()->expose_count();
    RunZoom([](GwCore* w) {
        gwtest::Click(w->child("PWZoomReset"));
        gwtest::Click(w->child("PWZoomCancel"));
    });
    EXPECT_EQ(plot.ViewX, plot.AutoX);
    EXPECT_EQ(plot.ViewLeft, plot.AutoLeft);
    EXPECT_EQ(plot.ViewRight, plot.AutoRight);
    EXPECT_EQ(GetPlotView()->XDivisions, 10);
    EXPECT_EQ(plot.Mode, 2);
    EXPECT_EQ(Drawing()->expose_count(), exposes);
}

}  // namespace
}  // namespace plottest
