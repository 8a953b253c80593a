#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scope/plot/plot_state.h"
#include "scope/plot/plot_view.h"
#include "scope/plot/plot_window.h"
#include "scope/plot/tests/plot_fixture.h"
#include "toolkit/draw/gw_drawing.h"

namespace plottest {
namespace {

class PlotViewTest : public PlotTest {
protected:
    // A view drawing the pair on a 720 x 480 screen context.
    void Show(const std::string& dat, const std::string& sdc) {
        WriteScratch(dat, sdc);
        auto plot = std::make_unique<PlotData>();
        ASSERT_TRUE(plot->Load(""));
        PlotState().Plot = std::move(plot);
        PlotState().View = std::make_unique<PlotView>();
    }
    void Draw() {
        dc_.clear();
        GetPlotView()->Layout(&dc_);
        GetPlotView()->DrawCurves(&dc_);
    }
    std::vector<GwDrawOp> Ops(GwDrawKind kind) const {
        std::vector<GwDrawOp> ops;
        for (const GwDrawOp& op : dc_.operations()) {
            if (op.kind == kind) ops.push_back(op);
        }
        return ops;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const GwDrawOp& op : Ops(GwDrawKind::kText)) texts.push_back(op.text);
        return texts;
    }
    bool HasText(const std::string& text) const {
        const std::vector<std::string> texts = Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    GwDeviceContext dc_{kGwScreenDpi, GwDimension{720, 480}};
};

TEST_F(PlotViewTest, StaircaseOfEachChannelInsideTheClip) {
    std::string dat;
    for (int i = 0; i < 1000; ++i)
        dat += std::to_string(i) + " " + std::to_string(i % 7) + " " + std::to_string(i % 3) + "\n";
    Show(dat, Sdc("0 Speed [1/min]\n2 Current [A]\n"));
    Draw();
    const std::vector<GwDrawOp>& ops = dc_.operations();
    std::vector<size_t> polylines;
    for (size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].kind == GwDrawKind::kPolyline) polylines.push_back(i);
    }
    ASSERT_EQ(polylines.size(), 2u);
    for (size_t at : polylines) {
        EXPECT_EQ(ops[at].points.size(), 1999u);
        ASSERT_TRUE(ops[at].clip.has_value()) << "drawn inside the margins";
        EXPECT_EQ(ops[at].pen.width, 1);
        EXPECT_EQ(ops[at].pen.style, GwLINE_SOLID);
    }
    EXPECT_EQ(ops[polylines[0]].pen.colour, "#ff0000");
    EXPECT_EQ(ops[polylines[1]].pen.colour, "#0000ff");
    ASSERT_GT(polylines[0], 0u);
    EXPECT_EQ(ops[polylines[0] - 1].kind, GwDrawKind::kClip);
    EXPECT_EQ(*ops[polylines[0]].clip, ops[polylines[0] - 1].rect);
    EXPECT_EQ(ops.back().kind, GwDrawKind::kLiftClip) << "the clip is lifted afterwards";

    const PlotView& view = *GetPlotView();
    const PlotData& plot = *GetPlotData();
    EXPECT_DOUBLE_EQ(view.MapK, (plot.ViewLeft.Max - plot.ViewLeft.Min) / (plot.ViewRight.Max - plot.ViewRight.Min));
    EXPECT_DOUBLE_EQ(view.MapD, view.MapK * plot.ViewRight.Max - plot.ViewLeft.Max);
    // Sample 5 of the right channel holds 2 until sample 6.
    EXPECT_DOUBLE_EQ(view.Curves[1][2 * 5].y, 2 * view.MapK - view.MapD);
    EXPECT_DOUBLE_EQ(view.Curves[1][2 * 5 + 1].y, 2 * view.MapK - view.MapD);
    EXPECT_DOUBLE_EQ(view.Curves[1][2 * 5 + 1].x, 6);
}

TEST_F(PlotViewTest, ZeroLineOnlyWhenTheLeftRangeCrossesZero) {
    struct Case {
        const char* dat;
        bool zeroLine;
    };
    for (const Case& c : {Case{"0 -1\n1 3\n", true}, Case{"0 1\n1 3\n", false}}) {
        SCOPED_TRACE(c.dat);
        Show(c.dat, Sdc("0 a [u]\n"));
        Draw();
        int zeroLines = 0;
        for (const GwDrawOp& op : Ops(GwDrawKind::kLine)) {
            if (op.pen.colour != "DarkSlateGrey") continue;
            ++zeroLines;
            EXPECT_EQ(op.points[0].y, dc_.to_device(0, 0).y);
            EXPECT_EQ(op.points[0].y, op.points[1].y);
        }
        EXPECT_EQ(zeroLines, c.zeroLine ? 1 : 0);
    }
}

TEST_F(PlotViewTest, GridLinesAreBroken) {
    Show("0 1\n1 3\n", Sdc("0 a [u]\n"));
    Draw();
    int broken = 0;
    for (const GwDrawOp& op : Ops(GwDrawKind::kLine)) broken += op.pen.style == GwLINE_BROKEN ? 1 : 0;
    // Nine vertical lines and the left ticks strictly inside the range.
    EXPECT_GE(broken, 9 + 8);
}

TEST_F(PlotViewTest, TopMarginHoldsOneLegendLineForOneLeftAndOneRightChannel) {
    struct Case {
        const char* sdc;
        int lines;
    };
    for (const Case& c :
         {Case{"0 a [u]\n2 b [u]\n", 1}, Case{"0 a [u]\n0 b [u]\n", 2}, Case{"0 a [u]\n2 b [u]\n2 c [u]\n", 2}}) {
        SCOPED_TRACE(c.sdc);
        const int channels = static_cast<int>(std::count(c.sdc, c.sdc + std::string(c.sdc).size(), '\n'));
        Show(Dat(3, std::vector<double>(static_cast<size_t>(channels), 1.0)), Sdc(c.sdc));
        Draw();
        const std::vector<GwDrawOp> frames = Ops(GwDrawKind::kFrame);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].rect.y, 10 + c.lines * GetPlotView()->Screen.LineHeight);
    }
}

TEST_F(PlotViewTest, RightLabelsAreCutAtEightCharactersAndOthersNever) {
    Show("0 1 5\n1 2 6\n", Sdc("0 a [u]\n2 b [u]\n"));
    PlotView& view = *GetPlotView();
    PlotData& plot = *GetPlotData();
    view.YDivisions = 1;
    view.XDivisions = 1;
    plot.Mode = 1;
    plot.ViewRight = {1.2345678, 1.9999996};
    plot.ViewLeft = {12345.678, 23456.789};
    plot.ViewX = {-1000.5, 2000.25};
    Draw();
    EXPECT_TRUE(HasText("1.234568"));
    EXPECT_TRUE(HasText("2.000000"));
    EXPECT_TRUE(HasText("12345.678"));
    EXPECT_TRUE(HasText("-1000.50"));
    EXPECT_TRUE(HasText("2000.25"));
}

TEST_F(PlotViewTest, RightLabelsRoundHalfUpWhenCut) {
    Show("0 1 5\n1 2 6\n", Sdc("0 a [u]\n2 b [u]\n"));
    PlotData& plot = *GetPlotData();
    GetPlotView()->YDivisions = 1;
    plot.Mode = 1;
    plot.ViewRight = {123.45678, 999.99996};
    Draw();
    EXPECT_TRUE(HasText("123.4568"));
    EXPECT_TRUE(HasText("1000.000"));
}

TEST_F(PlotViewTest, AutoScaledLabelsShowTheDecimalsTheyNeed) {
    Show("0 3\n10 3\n", Sdc("0 a [u]\n"));
    Draw();
    // x 0..10 in steps of 1; left 0.1..3.6 in steps of 0.35.
    EXPECT_TRUE(HasText("0"));
    EXPECT_TRUE(HasText("10"));
    EXPECT_TRUE(HasText("0.10"));
    EXPECT_TRUE(HasText("0.45"));
}

TEST(PlotViewLabels, LabelDecimals) {
    struct Case {
        std::vector<std::string> labels;
        int decimals;
    };
    const std::vector<Case> cases = {
        {{"1.00", "2.50"}, 1},
        {{"0.100", "0.125"}, 3},
        {{"10", "20"}, 0},
        {{"1.000000", "1.234568"}, 6},
        {{}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(PlotView::LabelDecimals(c.labels), c.decimals);
}

TEST_F(PlotViewTest, FixedRangeHasATickOnZero) {
    Show("0 1\n1 2\n", Sdc("0 a [u]\n"));
    PlotData& plot = *GetPlotData();
    GetPlotView()->YDivisions = 8;
    plot.Mode = 1;
    plot.ViewLeft = {-1, 3};
    Draw();
    const int zeroY = dc_.to_device(0, 0).y;
    int ticksOnZero = 0;
    for (const GwDrawOp& op : Ops(GwDrawKind::kLine)) {
        if (op.pen.style == GwLINE_SOLID && op.pen.colour == "black" && op.points[0].y == zeroY &&
            op.points[1].y == zeroY && op.points[1].x - op.points[0].x == 4) {
            ++ticksOnZero;
        }
    }
    EXPECT_EQ(ticksOnZero, 1);
    EXPECT_TRUE(HasText("-1.0"));
    EXPECT_TRUE(HasText("0.0"));
    EXPECT_TRUE(HasText("-0.5"));
}

}  // namespace
}  // namespace plottest
