#include "scope/plot/plot_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/clock.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

void WritePair(const std::string& name, const std::string& dat, const std::string& sdc) {
    if (!dat.empty()) testsupport::WriteFile(testsupport::RuntimePath("TMP/" + name + ".dat"), dat);
    if (!sdc.empty()) testsupport::WriteFile(testsupport::RuntimePath("TMP/" + name + ".sdc"), sdc);
}

constexpr char kTriggerLines[] =
    "Triggerchannel:  0\nTriggervariable: Speed\nTriggervalue:    0.000000 1/min\nTriggermode:     Automatik\n";

std::string Sdc(const std::string& channels) { return channels + kTriggerLines; }

struct LoadCase {
    const char* what;
    const char* dat;
    const char* sdc;
    bool loaded;
    bool missing;
};

TEST(PlotDataLoad, AcceptsOrRefusesFixtureFiles) {
    const std::vector<LoadCase> cases = {
        {"two channels LF", "0 1 2\n1 3 4\n", "0 Speed [1/min]\n2 Current [A]\n", true, false},
        {"two channels CR LF", "0 1 2\r\n1 3 4\r\n", "0 Speed [1/min]\r\n2 Current [A]\r\n", true, false},
        {"six fields", "0 1 2 3 4 5\n", "0 a [u]\n0 b [u]\n0 c [u]\n0 d [u]\n0 e [u]\n", false, false},
        {"word in the first line", "0 x 2\n", "0 a [u]\n0 b [u]\n", false, false},
        {"word first in a later line", "0 1 2\nx 1 2\n", "0 a [u]\n0 b [u]\n", false, false},
        {"token after the unit", "0 1\n", "0 a [u] extra\n", false, false},
        {"missing sdc", "0 1\n", "", false, true},
        {"missing dat", "", "0 a [u]\n", false, true},
        // A row of another width would shift later values into other
        // channels.
        {"one field too many", "0 1 2\n1 3 4 5\n", "0 a [u]\n0 b [u]\n", false, false},
        {"one field too few", "0 1 2\n1 3\n", "0 a [u]\n0 b [u]\n", false, false},
        {"fewer channel lines than columns", "0 1 2\n", "0 a [u]\nTriggerchannel:  0\n", false, false},
        {"value beyond the drawable", "0 1e301\n", "0 a [u]\n", false, false},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        WritePair("case", c.dat, std::string(c.sdc).empty() ? "" : Sdc(c.sdc));
        PlotData plot;
        EXPECT_EQ(plot.Load("..\\TMP\\case.txt"), c.loaded);
        EXPECT_EQ(plot.Loaded, c.loaded);
        EXPECT_EQ(plot.Missing, c.missing);
        std::filesystem::remove(testsupport::RuntimePath("TMP/case.dat"));
        std::filesystem::remove(testsupport::RuntimePath("TMP/case.sdc"));
    }
}

TEST(PlotDataLoad, AxisCodesSplitLeftAndRightChannels) {
    WritePair("axes", "0 1 10\n0.5 2 20\n1 3 30\n", Sdc("0 Speed [1/min]\n2 Current [A]\n"));
    PlotData plot;
    ASSERT_TRUE(plot.Load("..\\TMP\\axes.dat"));
    EXPECT_EQ(plot.Rows, 3);
    EXPECT_EQ(plot.Columns, 3);
    EXPECT_EQ(plot.LeftCount, 1);
    EXPECT_EQ(plot.RightCount, 1);
    EXPECT_EQ(plot.Channels[1].Name, "Current");
    EXPECT_DOUBLE_EQ(plot.Value(2, 2), 30.0);
    EXPECT_EQ(plot.Path, "..\\TMP\\axes");
}

TEST(PlotDataLoad, ScratchFileWrittenLateLoadsAfterOneWait) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/Scope.SDC"), Sdc("0 Speed [1/min]\n"));
    // The recorder finishes the file while the reader waits.
    gwtest::At(1999, [] { testsupport::WriteFile(testsupport::RuntimePath("TMP/Scope.DAT"), "0 1\n1 2\n"); });
    const uint32_t start = platform::TheClock().Tick();
    PlotData plot;
    EXPECT_TRUE(plot.Load(""));
    EXPECT_EQ(plot.Rows, 2);
    EXPECT_EQ(platform::TheClock().Tick() - start, 2000u);
}

TEST(PlotDataLoad, ScratchFileMissingForGoodIsMissingAfterOneWait) {
    const uint32_t start = platform::TheClock().Tick();
    PlotData plot;
    EXPECT_FALSE(plot.Load(""));
    EXPECT_TRUE(plot.Missing);
    EXPECT_EQ(platform::TheClock().Tick() - start, 2000u);
}

struct RangeCase {
    const char* what;
    const char* dat;
    const char* sdc;
    AxisRange dataLeft;
    AxisRange baseLeft;
};

TEST(PlotDataRanges, SingleValuesAndMissingAxes) {
    const std::vector<RangeCase> cases = {
        {"all 3.0", "0 3.0\n1 3.0\n", "0 a [u]\n", {0.3, 3.3}, {0.15, 3.45}},
        {"all -2", "0 -2\n1 -2\n", "0 a [u]\n", {-2.2, -0.2}, {-2.3, -0.1}},
        {"all 0", "0 0\n1 0\n", "0 a [u]\n", {-0.5, 0.5}, {-0.55, 0.55}},
        {"no left channel", "0 5\n1 6\n", "2 a [u]\n", {-1, 1}, {-1.1, 1.1}},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        WritePair("range", c.dat, Sdc(c.sdc));
        PlotData plot;
        ASSERT_TRUE(plot.Load("..\\TMP\\range.dat"));
        EXPECT_NEAR(plot.DataLeft.Min, c.dataLeft.Min, 1e-12);
        EXPECT_NEAR(plot.DataLeft.Max, c.dataLeft.Max, 1e-12);
        EXPECT_NEAR(plot.BaseLeft.Min, c.baseLeft.Min, 1e-12);
        EXPECT_NEAR(plot.BaseLeft.Max, c.baseLeft.Max, 1e-12);
        EXPECT_EQ(plot.ViewLeft, plot.BaseLeft);
    }
}

TEST(PlotDataRanges, AutoScaleOfConstantChannelAndUnscaledRightAxis) {
    WritePair("nice", "0 3.0\n1 3.0\n", Sdc("0 a [u]\n"));
    PlotData plot;
    ASSERT_TRUE(plot.Load("..\\TMP\\nice.dat"));
    plot.ApplyNiceScale(10, 10);
    EXPECT_NEAR(plot.ViewLeft.Min, 0.1, 1e-12);
    EXPECT_NEAR(plot.ViewLeft.Max, 3.6, 1e-12);
    EXPECT_NEAR(plot.StepLeft, 0.35, 1e-12);
    EXPECT_EQ(plot.FormatLeft, "%.2f");
    EXPECT_EQ(plot.ViewRight, AxisRange{});
    EXPECT_EQ(plot.AutoRight, AxisRange{});
}

TEST(NiceAxisRangeTest, RoundsMinimumStepAndFormat) {
    struct Case {
        double max, min;
        double newMin;
    };
    for (const Case& c : std::vector<Case>{{1, 0.123, 0.1}, {1, 0.17, 0.15}, {1, -0.17, -0.2}, {1, -0.123, -0.15}}) {
        EXPECT_NEAR(NiceAxisRange(c.max, c.min, 10).Range.Min, c.newMin, 1e-12) << c.min;
    }
    const NiceAxis small = NiceAxisRange(0.0112, 0.0012, 10);
    EXPECT_NEAR(small.Range.Min, 0.001, 1e-15);
    EXPECT_NEAR(small.Range.Max, 0.016, 1e-15);
    EXPECT_NEAR(small.Step, 0.0015, 1e-15);
    EXPECT_EQ(small.Format, "%.4f");
    EXPECT_EQ(NiceAxisRange(1e-8, 1.5e-9, 10).Format, "%.8f");
    const NiceAxis zero = NiceAxisRange(1, 0, 10);
    EXPECT_EQ(zero.Range.Min, 0);
    EXPECT_NEAR(zero.Step, 0.1, 1e-15);
}

TEST(PlotTickOriginTest, FixedRangeAcrossZeroHasATickOnZero) {
    const TickOrigin origin = PlotTickOrigin({-1, 3}, 8, true, 0);
    EXPECT_DOUBLE_EQ(origin.Step, 0.5);
    EXPECT_DOUBLE_EQ(origin.First, -1);
    EXPECT_DOUBLE_EQ(origin.First + 2 * origin.Step, 0);
    const TickOrigin shifted = PlotTickOrigin({-0.7, 3}, 10, false, 0.5);
    EXPECT_DOUBLE_EQ(shifted.First, -0.5);
    EXPECT_DOUBLE_EQ(PlotTickOrigin({0.2, 3}, 10, false, 0.5).First, 0.2);
}

TEST(AxisModeTest, TransitionsOfEveryEvent) {
    struct Row {
        const char* event;
        AxisMode (*next)(AxisMode);
        AxisMode expected[5];  // from -1, 0, 1, 2, 3
    };
    const std::vector<Row> rows = {
        {"grid 10 x 10", [](AxisMode m) { return AxisModeAfterGrid(m, true); }, {0, 0, 0, 1, 2}},
        {"other grid", [](AxisMode m) { return AxisModeAfterGrid(m, false); }, {1, 1, 1, 3, 3}},
        {"zoom differs", [](AxisMode m) { return AxisModeAfterZoom(m, true); }, {2, 2, 3, 2, 3}},
        {"zoom equal", [](AxisMode m) { return AxisModeAfterZoom(m, false); }, {-1, 0, 1, 0, 1}},
        {"zoom reset", AxisModeAfterZoomReset, {0, 0, 0, 1, 2}},
    };
    for (const Row& row : rows) {
        for (AxisMode from = -1; from <= 3; ++from) {
            EXPECT_EQ(row.next(from), row.expected[from + 1]) << row.event << " from " << from;
        }
    }
}

}  // namespace
