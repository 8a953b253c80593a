#include "scope/plot/plot_data.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "app/services/wait.h"
#include "parameters/values/text_helpers.h"
#include "toolkit/base/gw_path.h"

namespace {

// The recorder may still be writing the scratch file when a window asks for
// it.
constexpr uint32_t kScratchRetryMs = 2000;
constexpr double kRangeMargin = 0.05;
// Rounds half up while keeping a value that is a hair below a half from
// turning over.
constexpr double kHalfUp = 0.4999999999;
constexpr double kLargestValue = 1e300;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    while (!lines.empty() && lines.back().find_first_not_of(" \t\r") == std::string_view::npos) lines.pop_back();
    return lines;
}

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(" \t\r\n", pos);
        if (pos == std::string_view::npos) return fields;
        size_t end = line.find_first_of(" \t\r\n", pos);
        if (end == std::string_view::npos) end = line.size();
        fields.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
}

bool IsNumberField(const std::string& field) { return !IsNotNumberText(field.c_str()); }

std::string WithoutExtension(const std::string& path) {
    std::string copy = path;
    CutFileExtension(copy.data());
    copy.resize(std::strlen(copy.c_str()));
    return copy;
}

// Decimals needed to show the first digit of `magnitude`, at least 1.
int FirstDigitDecimals(double magnitude) {
    const int decimals = -static_cast<int>(std::floor(std::log10(magnitude)));
    return decimals > 0 ? decimals : 1;
}

// Rounds |value| to a whole or half unit of its first digit, away from the
// range when `down` (minimum) or beyond it (step); the sign is kept.
double RoundToHalfUnits(double value, bool down, int* decimals) {
    const double magnitude = std::fabs(value);
    *decimals = FirstDigitDecimals(magnitude);
    const double scale = std::pow(10.0, *decimals);
    const double k = std::floor(magnitude * scale + kHalfUp);
    double rounded = k / scale;
    // A positive minimum goes down, a negative one (and a step) grows.
    const bool shrink = down && value > 0;
    if (shrink ? k > magnitude * scale : k < magnitude * scale) {
        rounded = (shrink ? k - 0.5 : k + 0.5) / scale;
        ++*decimals;
    }
    return value < 0 ? -rounded : rounded;
}

std::string LabelFormat(int decimals) {
    if (decimals < 3) return "%.2f";
    if (decimals >= 8) return "%.8f";
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    return format;
}

AxisRange SingleValueRange(AxisRange range) {
    if (range.Min != range.Max) return range;
    const double v = range.Min;
    if (v > 0) return {v * 0.1, v * 1.1};
    if (v < 0) return {v * 1.1, v * 0.1};
    return {-0.5, 0.5};
}

AxisRange WithMargins(AxisRange range) {
    const double margin = (range.Max - range.Min) * kRangeMargin;
    return {range.Min - margin, range.Max + margin};
}

}  // namespace

NiceAxis NiceAxisRange(double maximum, double minimum, int divisions) {
    NiceAxis nice;
    int minDecimals = 0;
    double newMin = 0;
    if (minimum != 0) newMin = RoundToHalfUnits(minimum, true, &minDecimals);
    const double step = (maximum - newMin) / divisions;
    int stepDecimals = 0;
    nice.Step = step != 0 ? RoundToHalfUnits(step, false, &stepDecimals) : 0;
    nice.Range = {newMin, newMin + divisions * nice.Step};
    nice.Format = LabelFormat(std::max(minDecimals, stepDecimals));
    return nice;
}

TickOrigin PlotTickOrigin(const AxisRange& range, int divisions, bool fixedRanges, double autoStep) {
    TickOrigin origin;
    origin.Step = fixedRanges ? (range.Max - range.Min) / divisions : autoStep;
    if (range.Min >= 0 || range.Max < 0 || origin.Step <= 0) {
        origin.First = range.Min;
    } else {
        origin.First = -std::floor(std::fabs(range.Min) / origin.Step) * origin.Step;
    }
    return origin;
}

AxisMode AxisModeAfterGrid(AxisMode mode, bool defaultGrid) {
    if (defaultGrid) return mode == 2 ? 1 : mode == 3 ? 2 : 0;
    return mode >= 2 ? 3 : 1;
}

AxisMode AxisModeAfterZoom(AxisMode mode, bool zoomed) {
    if (zoomed) return mode == 1 || mode == 3 ? 3 : 2;
    return mode == 2 ? 0 : mode == 3 ? 1 : mode;
}

AxisMode AxisModeAfterZoomReset(AxisMode mode) { return mode == 2 ? 1 : mode == 3 ? 2 : 0; }

bool PlotData::Load(const std::string& path) {
    Loaded = false;
    Missing = false;
    const bool scratch = path.empty();
    const std::string base = scratch ? GwMakepath("", "..\\TMP", "scope", "").str() : WithoutExtension(path);
    const std::string datPath = scratch ? GwMakepath("", "..\\TMP", "scope", "dat").str() : base + ".dat";
    const std::string sdcPath = scratch ? GwMakepath("", "..\\TMP", "scope", "sdc").str() : base + ".sdc";
    Path = base;

    GwString dat;
    if (!ReadTextFile(dat, datPath.c_str())) {
        if (scratch) WaitMilliseconds(kScratchRetryMs);
        if (!scratch || !ReadTextFile(dat, datPath.c_str())) {
            Missing = true;
            return false;
        }
    }
    if (!ReadValues(dat.str())) return false;
    GwString sdc;
    if (!ReadTextFile(sdc, sdcPath.c_str())) {
        Missing = true;
        return false;
    }
    if (!ReadChannels(sdc.str())) return false;
    ComputeRanges();
    Loaded = true;
    return true;
}

bool PlotData::ReadValues(const std::string& text) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.empty()) return false;
    const std::vector<std::string> first = Fields(lines[0]);
    if (first.empty() || first.size() > static_cast<size_t>(kPlotMaxColumns)) return false;
    for (const std::string& field : first) {
        if (!IsNumberField(field)) return false;
    }
    Columns = static_cast<int>(first.size());
    Rows = static_cast<int>(lines.size());
    Values.clear();
    Values.reserve(static_cast<size_t>(Rows) * Columns);
    for (std::string_view line : lines) {
        const std::vector<std::string> fields = Fields(line);
        // A row of another width would shift every later value into the
        // wrong channel.
        if (fields.size() != first.size() || !IsNumberField(fields[0])) return false;
        for (const std::string& field : fields) {
            const double value = std::atof(field.c_str());
            // Beyond this the ranges and their margins would overflow.
            if (!std::isfinite(value) || std::fabs(value) > kLargestValue) return false;
            Values.push_back(value);
        }
    }
    return true;
}

bool PlotData::ReadChannels(const std::string& text) {
    Channels.clear();
    LeftCount = RightCount = 0;
    const int wanted = Columns - 1;
    for (std::string_view line : Lines(text)) {
        if (static_cast<int>(Channels.size()) == wanted) break;
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty() || fields[0].size() != 1 || fields[0][0] < '0' || fields[0][0] > '3') break;
        if (fields.size() > 3) return false;
        PlotChannel channel;
        channel.Axis = fields[0][0] - '0';
        if (fields.size() > 1) channel.Name = fields[1];
        if (fields.size() > 2) channel.Unit = fields[2];
        ++(channel.Axis < 2 ? LeftCount : RightCount);
        Channels.push_back(channel);
    }
    // A channel without its line would be drawn with no axis or name.
    return static_cast<int>(Channels.size()) == wanted;
}

AxisRange PlotData::ColumnRange(int first, int count) const {
    AxisRange range{DBL_MAX, -DBL_MAX};
    for (int column = first; column < first + count; ++column) {
        for (int row = 0; row < Rows; ++row) {
            range.Min = std::min(range.Min, Value(row, column));
            range.Max = std::max(range.Max, Value(row, column));
        }
    }
    return range;
}

void PlotData::ComputeRanges() {
    BaseX = ColumnRange(0, 1);
    DataLeft = LeftCount > 0 ? SingleValueRange(ColumnRange(1, LeftCount)) : AxisRange{-1, 1};
    BaseLeft = WithMargins(DataLeft);
    if (RightCount > 0) {
        DataRight = SingleValueRange(ColumnRange(1 + LeftCount, RightCount));
        BaseRight = WithMargins(DataRight);
    }
    ViewX = BaseX;
    ViewLeft = BaseLeft;
    ViewRight = BaseRight;
}

void PlotData::ApplyNiceScale(int xDivisions, int yDivisions) {
    const NiceAxis x = NiceAxisRange(BaseX.Max, BaseX.Min, xDivisions);
    AutoX = ViewX = x.Range;
    StepX = x.Step;
    FormatX = x.Format;
    const NiceAxis left = NiceAxisRange(BaseLeft.Max, BaseLeft.Min, yDivisions);
    AutoLeft = ViewLeft = left.Range;
    StepLeft = left.Step;
    FormatLeft = left.Format;
    if (RightCount > 0) {
        const NiceAxis right = NiceAxisRange(BaseRight.Max, BaseRight.Min, yDivisions);
        AutoRight = ViewRight = right.Range;
        StepRight = right.Step;
        FormatRight = right.Format;
    }
}
