// One loaded plot: a ".dat" sample file and its ".sdc" channel description
// read into memory, with the axis ranges that the plot view draws and the
// rounded auto-scale ranges, steps and label formats of its axes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Fixed by the channel count of the recorder: time plus four channels.
inline constexpr int kPlotMaxColumns = 5;
inline constexpr int kPlotMaxChannels = kPlotMaxColumns - 1;

struct AxisRange {
    double Min = 0;
    double Max = 0;
    bool operator==(const AxisRange&) const = default;
};

// An axis range rounded for labels: the range, the step per division and
// the printf format of its labels.
struct NiceAxis {
    AxisRange Range;
    double Step = 0;
    std::string Format;
};

// Rounds a range for `divisions` divisions: the minimum down to one or one
// and a half units of its first digit, the step up likewise, the maximum
// `divisions` steps above the minimum.
NiceAxis NiceAxisRange(double maximum, double minimum, int divisions);

// The first tick and the step of an axis: with fixed ranges the range split
// into `divisions`, else the auto-scale step; the first tick lies on 0 when
// the range holds 0.
struct TickOrigin {
    double First = 0;
    double Step = 0;
};
TickOrigin PlotTickOrigin(const AxisRange& range, int divisions, bool fixedRanges, double autoStep);

// The axis state of a plot: 0 auto-scale pending, -1 auto-scaled; 1 a user
// grid, 2 a zoom, 3 both (fixed ranges).
using AxisMode = int16_t;
inline constexpr AxisMode kAxisAutoPending = 0;
inline constexpr AxisMode kAxisAutoScaled = -1;
// A grid accepted in the grid dialog (or its default): 10 x 10 or another.
AxisMode AxisModeAfterGrid(AxisMode mode, bool defaultGrid);
// The zoom dialog's OK: whether any range now differs from its home range.
AxisMode AxisModeAfterZoom(AxisMode mode, bool zoomed);
AxisMode AxisModeAfterZoomReset(AxisMode mode);

struct PlotChannel {
    int Axis = 0;  // 0 and 1 left, 2 and 3 right
    std::string Name;
    std::string Unit;
};

class PlotData {
public:
    // Reads the pair `path` names (its extension replaced by "dat" and
    // "sdc"); an empty path reads the scratch pair in "..\TMP", waiting once
    // for the ".dat" file when the recorder has not written it yet. True
    // when loaded; otherwise Missing tells a file that could not be opened
    // from a malformed one.
    bool Load(const std::string& path);
    // Data, base and view ranges from the samples.
    void ComputeRanges();
    // Auto-scale ranges, steps and label formats of the base ranges; the
    // view ranges become the auto-scale ranges.
    void ApplyNiceScale(int xDivisions, int yDivisions);

    double Value(int row, int column) const { return Values[static_cast<size_t>(row) * Columns + column]; }
    bool HasRightChannels() const { return RightCount > 0; }

    std::string Path;  // without extension
    bool Loaded = false;
    bool Missing = false;

    int Rows = 0;
    int Columns = 0;
    std::vector<double> Values;  // row-major
    int LeftCount = 0;
    int RightCount = 0;
    std::vector<PlotChannel> Channels;  // one per channel column

    // Before the 5 % margins (x has none).
    AxisRange DataLeft, DataRight;
    // After them.
    AxisRange BaseX, BaseLeft, BaseRight;
    AxisRange ViewX, ViewLeft, ViewRight;
    AxisRange AutoX, AutoLeft, AutoRight;
    AxisRange HomeX, HomeLeft, HomeRight;
    double StepX = 0, StepLeft = 0, StepRight = 0;
    std::string FormatX = "%.2f", FormatLeft = "%.2f", FormatRight = "%.2f";
    AxisMode Mode = kAxisAutoPending;

private:
    bool ReadValues(const std::string& text);
    bool ReadChannels(const std::string& text);
    AxisRange ColumnRange(int first, int count) const;
};
