#include "scope/plot/plot_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/services/app_files.h"
#include "scope/plot/plot_state.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kPrinterSection[] = "Printer";
constexpr int kScreenMarginUnits = 10;
// A margin beyond any paper, kept from turning into a device overflow.
constexpr double kLargestMarginMm = 1000;
constexpr int kTickUnits = 4;
constexpr double kPrintPenMm = 0.375;
constexpr double kLegendBand = 0.49;
constexpr int kLegendGap = 10;
constexpr int kScreenSampleLength = 30;
constexpr int kPrintSampleLength = 100;
constexpr int kScreenSampleWidth = 2;
constexpr int kPrintRightSampleWidth = 5;
// Labels that long would run into the window's edge.
constexpr size_t kRightLabelChars = 8;
// More decimals than this are kept as the format gives them.
constexpr int kMaxTrimmedDecimals = 6;
constexpr char kFixedRangeFormat[] = "%.6f";
constexpr char kTextColour[] = "#000000";
constexpr char kZeroLineColour[] = "DarkSlateGrey";

constexpr const char* kScreenColourKeys[kPlotMaxChannels] = {"Graph1", "Graph2", "Graph3", "Graph4"};
constexpr const char* kDefaultColours[kPlotMaxChannels] = {"#ff0000", "#0000ff", "#008000", "#ff00ff"};
constexpr const char* kPrintColours[kPlotMaxChannels] = {"#000000", "#404040", "#808080", "#c0c0c0"};

struct DefaultMargin {
    const char* key;
    int value;
};
constexpr DefaultMargin kDefaultMargins[] = {
    {"Measure", 10},
    {"PLeftSpace", 2},
    {"PRightSpace", 2},
    {"PTopSpace", 2},
    {"PButtomSpace", 17},
    {"LLeftSpace", 2},
    {"LRightSpace", 2},
    {"LTopSpace", 2},
    {"LButtomSpace", 2},
};

std::string Format(const std::string& format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format.c_str(), value);
    return text;
}

std::string DecimalsFormat(int decimals) { return "%." + std::to_string(decimals) + "f"; }

// Texts of `values` in `format`, with no more decimals than any of them
// needs (unless that is many).
std::vector<std::string> Labels(const std::vector<double>& values, const std::string& format) {
    std::vector<std::string> texts;
    for (double v : values) texts.push_back(Format(format, v));
    const int decimals = PlotView::LabelDecimals(texts);
    if (decimals < kMaxTrimmedDecimals) {
        for (size_t i = 0; i < values.size(); ++i) texts[i] = Format(DecimalsFormat(decimals), values[i]);
    }
    return texts;
}

// Cuts a label after its eighth character, rounding half up by the ninth.
std::string CutRightLabel(std::string text) {
    if (text.size() <= kRightLabelChars) return text;
    const bool up = text[kRightLabelChars] >= '5' && text[kRightLabelChars] <= '9';
    text.resize(kRightLabelChars);
    if (!up) return text;
    size_t i = text.size();
    while (i-- > 0) {
        if (text[i] == '.' || text[i] == '-') continue;
        if (text[i] < '9') {
            ++text[i];
            return text;
        }
        text[i] = '0';
    }
    // A carry into a new digit keeps the length by giving up a decimal.
    const size_t first = text[0] == '-' ? 1 : 0;
    text.insert(first, 1, '1');
    if (text.find('.') != std::string::npos && text.back() != '.') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::vector<double> Steps(AxisRange range, int divisions) {
    std::vector<double> values;
    for (int j = 0; j <= divisions; ++j) values.push_back(range.Min + j * (range.Max - range.Min) / divisions);
    return values;
}

}  // namespace

PlotView::PlotView() {
    for (int i = 0; i < kPlotMaxChannels; ++i) Pens[i] = {kDefaultColours[i], GwLINE_SOLID, 1};
    ReadPrintMargins();
}

void PlotView::ReadPrintMargins() {
    GwProfile* profile = MainProfile();
    if (profile == nullptr) return;
    if (!profile->select_section(kPrinterSection)) {
        profile->select_section(kPrinterSection, true);
        for (const DefaultMargin& m : kDefaultMargins) profile->write_int(m.key, m.value);
    }
    UnitFactor = profile->read_int("Measure", 0) == 1 ? 1 : 10;
    auto mm = [&](const char* key) {
        const double value = profile->read_double(key, 0) * UnitFactor;
        return std::isfinite(value) ? std::clamp(value, 0.0, kLargestMarginMm) : 0.0;
    };
    PortraitMm = {mm("PLeftSpace"), mm("PRightSpace"), mm("PTopSpace"), mm("PButtomSpace")};
    LandscapeMm = {mm("LLeftSpace"), mm("LRightSpace"), mm("LTopSpace"), mm("LButtomSpace")};
    profile->save();
}

int PlotView::LabelDecimals(const std::vector<std::string>& labels) {
    int most = 0;
    for (const std::string& label : labels) {
        const size_t point = label.find('.');
        if (point == std::string::npos) continue;
        const size_t last = label.find_last_not_of('0');
        if (last != std::string::npos && last > point) most = std::max(most, static_cast<int>(last - point));
    }
    return most;
}

bool PlotView::MeasureRangeLabels(GwDeviceContext* dc, int* width, int* height) const {
    const PlotData* plot = GetPlotData();
    if (plot == nullptr) return false;
    std::vector<std::string> texts = {Format(FormatX_, plot->ViewX.Min),
                                      Format(FormatX_, plot->ViewX.Max),
                                      Format(FormatLeft_, plot->ViewLeft.Max),
                                      Format(FormatLeft_, plot->ViewLeft.Min)};
    if (plot->HasRightChannels()) {
        texts.push_back(Format(FormatRight_, plot->ViewRight.Min));
        texts.push_back(Format(FormatRight_, plot->ViewRight.Max));
    }
    GwDimension widest{0, 0};
    for (const std::string& text : texts) {
        GwDimension extent;
        if (!dc->text_extent(text, &extent)) return false;
        widest.width = std::max(widest.width, extent.width);
        widest.height = std::max(widest.height, extent.height);
    }
    if (widest.width == 0 || widest.height == 0) return false;
    *width = widest.width;
    *height = widest.height;
    return true;
}

void PlotView::Layout(GwDeviceContext* dc) {
    PlotData* plot = GetPlotData();
    if (plot == nullptr || dc == nullptr) return;
    if (plot->Mode == kAxisAutoPending) {
        plot->ApplyNiceScale(XDivisions, YDivisions);
        plot->Mode = kAxisAutoScaled;
    }
    UnitsPerMm_ = dc->resolution() / kGwMillimetresPerInch;
    PrintPenWidth_ = static_cast<int>(dc->resolution() * kPrintPenMm / kGwMillimetresPerInch);
    ActiveMm = Portrait == 1 ? PortraitMm : LandscapeMm;
    dc->set_foreground("black");
    if (Printing) {
        auto units = [&](double mm) { return static_cast<int>(std::trunc(mm) * UnitsPerMm_); };
        MarginLeft_ = units(ActiveMm.Left);
        MarginRight_ = units(ActiveMm.Right);
        MarginTop_ = units(ActiveMm.Top);
        MarginBottom_ = units(ActiveMm.Bottom);
        for (int i = 0; i < kPlotMaxChannels; ++i) Pens[i] = {kPrintColours[i], GwLINE_SOLID, PrintPenWidth_};
        dc->set_font("PrintFont");
    } else {
        MarginLeft_ = MarginRight_ = MarginTop_ = MarginBottom_ = kScreenMarginUnits;
        for (int i = 0; i < kPlotMaxChannels; ++i) {
            if (const char* colour = GwRcMgr::value(kScreenColourKeys[i])) Pens[i].Colour = colour;
            Pens[i].Style = GwLINE_SOLID;
            Pens[i].Width = 1;
        }
        dc->set_font("AxisFont");
    }
    RightNameWidth_ = 0;
    for (int i = plot->LeftCount; i < plot->LeftCount + plot->RightCount; ++i) {
        GwDimension extent;
        if (dc->text_extent(plot->Channels[i].Name, &extent)) RightNameWidth_ = std::max(RightNameWidth_, extent.width);
    }
    // The label formats decide the widths measured below.
    if (plot->Mode == kAxisAutoScaled) {
        FormatX_ = plot->FormatX, FormatLeft_ = plot->FormatLeft, FormatRight_ = plot->FormatRight;
    } else {
        FormatX_ = FormatLeft_ = FormatRight_ = kFixedRangeFormat;
    }
    Metrics& metrics = Printing ? Paper : Screen;
    MeasureRangeLabels(dc, &metrics.LabelWidth, &metrics.LineHeight);
    const int w = metrics.LabelWidth;
    const int h = metrics.LineHeight;
    MarginBottom_ += h;
    MarginTop_ += plot->LeftCount == 1 && plot->RightCount == 1 ? h : 2 * h;
    MarginLeft_ += w;
    MarginRight_ += plot->HasRightChannels() ? w : w / 2;
    DrawAxes(dc);
    BuildCurves();
}

void PlotView::MapData(GwDeviceContext* dc) const {
    const PlotData* plot = GetPlotData();
    const GwDimension size = dc->size();
    const GwRect area{
        MarginLeft_, MarginTop_, size.width - MarginLeft_ - MarginRight_, size.height - MarginTop_ - MarginBottom_};
    dc->set_mapping(plot->ViewX.Min, plot->ViewX.Max, plot->ViewLeft.Min, plot->ViewLeft.Max, area);
}

void PlotView::DrawAxes(GwDeviceContext* dc) {
    PlotData* plot = GetPlotData();
    if (plot == nullptr || dc == nullptr) return;
    if (plot->Mode == kAxisAutoScaled) {
        plot->ApplyNiceScale(XDivisions, YDivisions);
        FormatX_ = plot->FormatX, FormatLeft_ = plot->FormatLeft, FormatRight_ = plot->FormatRight;
    } else {
        FormatX_ = FormatLeft_ = FormatRight_ = kFixedRangeFormat;
    }
    const AxisRange x = plot->ViewX;
    const AxisRange left = plot->ViewLeft;
    MapData(dc);
    dc->set_pen("black", GwLINE_SOLID, 1);
    dc->draw_frame(x.Min, left.Min, x.Max, left.Max);
    const double tx = dc->device_to_x(kTickUnits);
    const double ty = dc->device_to_y(kTickUnits);
    LeftTicks_ = PlotTickOrigin(left, YDivisions, plot->Mode > 0, plot->StepLeft);
    std::vector<double> leftTicks;
    for (int j = 0; j < YDivisions && LeftTicks_.Step > 0; ++j) {
        const double at = LeftTicks_.First + j * LeftTicks_.Step;
        if (at <= left.Max) leftTicks.push_back(at);
    }
    if (plot->LeftCount > 0) {
        for (double at : leftTicks) dc->draw_line(x.Min, at, x.Min + tx, at);
    }
    if (plot->HasRightChannels()) {
        for (int j = 0; j < YDivisions; ++j) {
            const double at = left.Min + j * (left.Max - left.Min) / YDivisions;
            dc->draw_line(x.Max - tx, at, x.Max, at);
        }
    }
    for (int j = 1; j < XDivisions; ++j) {
        const double at = x.Min + j * (x.Max - x.Min) / XDivisions;
        dc->draw_line(at, left.Min - ty, at, left.Min);
    }
    dc->set_pen("black", GwLINE_BROKEN, 1);
    for (double at : leftTicks) {
        if (at > left.Min && at < left.Max) dc->draw_line(x.Min, at, x.Max, at);
    }
    for (int j = 1; j < XDivisions; ++j) {
        const double at = x.Min + j * (x.Max - x.Min) / XDivisions;
        dc->draw_line(at, left.Min, at, left.Max);
    }
    dc->set_pen(kZeroLineColour, GwLINE_SOLID, 1);
    if (x.Min < 0 && x.Max > 0) dc->draw_line(0, left.Min, 0, left.Max);
    if (left.Min < 0 && left.Max > 0) dc->draw_line(x.Min, 0, x.Max, 0);
    DrawLabels(dc, *plot, tx);
    DrawLegend(dc, *plot);
    if (plot->HasRightChannels() && plot->ViewRight.Max != plot->ViewRight.Min) {
        MapK = (left.Max - left.Min) / (plot->ViewRight.Max - plot->ViewRight.Min);
        MapD = MapK * plot->ViewRight.Max - left.Max;
    } else {
        MapK = 1, MapD = 0;
    }
}

void PlotView::DrawLabels(GwDeviceContext* dc, const PlotData& plot, double tx) const {
    const AxisRange x = plot.ViewX;
    const AxisRange left = plot.ViewLeft;
    const Metrics& metrics = Printing ? Paper : Screen;
    dc->set_text_colour(kTextColour);
    std::vector<double> leftValues;
    for (int j = 0; j <= YDivisions && LeftTicks_.Step > 0; ++j) {
        const double at = LeftTicks_.First + j * LeftTicks_.Step;
        if (at <= left.Max) leftValues.push_back(at);
    }
    const std::vector<std::string> leftTexts = Labels(leftValues, FormatLeft_);
    // A text is anchored at its top; its middle goes to the tick.
    const double halfLine = dc->device_to_y(metrics.LineHeight / 2.0);
    for (size_t j = 0; j < leftValues.size(); ++j) {
        dc->draw_text(x.Min - tx, leftValues[j] + halfLine, leftTexts[j], GwALIGN_RIGHT);
    }
    if (plot.HasRightChannels()) {
        const std::vector<double> rightValues = Steps(plot.ViewRight, YDivisions);
        const std::vector<std::string> rightTexts = Labels(rightValues, FormatRight_);
        for (int j = 0; j <= YDivisions; ++j) {
            const double at = left.Min + j * (left.Max - left.Min) / YDivisions;
            dc->draw_text(x.Max + 1.2 * tx, at + halfLine, CutRightLabel(rightTexts[j]), GwALIGN_LEFT);
        }
    }
    const std::vector<double> xValues = Steps(x, XDivisions);
    const std::vector<std::string> xTexts = Labels(xValues, FormatX_);
    const double xLabelOffset = dc->device_to_y(metrics.LineHeight / 2.0 + kTickUnits);
    for (int j = 0; j <= XDivisions; ++j) {
        dc->draw_text(xValues[j], left.Min - xLabelOffset, xTexts[j], GwALIGN_CENTER);
    }
}

void PlotView::DrawLegend(GwDeviceContext* dc, const PlotData& plot) const {
    const GwDimension size = dc->size();
    const int h = (Printing ? Paper : Screen).LineHeight;
    const double band = (size.width - MarginLeft_ - MarginRight_) * kLegendBand;
    const int length = Printing ? kPrintSampleLength : kScreenSampleLength;
    const int right = size.width - MarginRight_;
    dc->reset_mapping();
    dc->set_text_colour(kTextColour);
    auto lineTop = [&](int j) { return (j - 1) * h + kScreenMarginUnits / 2; };
    dc->set_clip(MarginLeft_, 0, MarginLeft_ + band, size.height);
    for (int j = 1; j <= plot.LeftCount; ++j) {
        const PlotPen& pen = Pens[j - 1];
        const int y = lineTop(j);
        dc->set_pen(pen.Colour, pen.Style, Printing ? PrintPenWidth_ : kScreenSampleWidth);
        dc->draw_line(MarginLeft_, y + h / 2, MarginLeft_ + length, y + h / 2);
        dc->draw_text(MarginLeft_ + length + kLegendGap, y, plot.Channels[j - 1].Name);
    }
    dc->lift_clip();
    dc->set_clip(right - band, 0, right, size.height);
    const bool names = length + kLegendGap <= band;
    const double nameWidth = std::min<double>(RightNameWidth_, band - length - kLegendGap);
    for (int j = 1; j <= plot.RightCount; ++j) {
        const int channel = plot.LeftCount + j - 1;
        const PlotPen& pen = Pens[channel];
        const int y = lineTop(j);
        dc->set_pen(pen.Colour, pen.Style, Printing ? kPrintRightSampleWidth : kScreenSampleWidth);
        dc->draw_line(right - length, y + h / 2, right, y + h / 2);
        if (names) dc->draw_text(right - length - kLegendGap - nameWidth, y, plot.Channels[channel].Name);
    }
    dc->lift_clip();
    MapData(dc);
}

void PlotView::BuildCurves() {
    FreeCurves();
    const PlotData* plot = GetPlotData();
    if (plot == nullptr || plot->Rows == 0) return;
    for (int c = 0; c < plot->Columns - 1 && c < kPlotMaxChannels; ++c) {
        const bool right = c >= plot->LeftCount;
        auto y = [&](int row) {
            const double v = plot->Value(row, c + 1);
            return right ? v * MapK - MapD : v;
        };
        std::vector<GwPointF>& points = Curves[c];
        points.reserve(static_cast<size_t>(plot->Rows) * 2 - 1);
        points.push_back({plot->Value(0, 0), y(0)});
        for (int row = 1; row < plot->Rows; ++row) {
            points.push_back({plot->Value(row, 0), y(row - 1)});
            points.push_back({plot->Value(row, 0), y(row)});
        }
    }
}

void PlotView::DrawCurves(GwDeviceContext* dc) {
    const PlotData* plot = GetPlotData();
    if (plot == nullptr || dc == nullptr) return;
    MapData(dc);
    dc->set_clip(plot->ViewX.Min, plot->ViewLeft.Min, plot->ViewX.Max, plot->ViewLeft.Max);
    for (int c = 0; c < kPlotMaxChannels; ++c) {
        if (Curves[c].empty()) continue;
        dc->set_pen(Pens[c].Colour, Pens[c].Style, Pens[c].Width);
        dc->draw_polyline(Curves[c]);
    }
    dc->lift_clip();
}

void PlotView::Redraw(GwDeviceContext* dc) {
    if (dc == nullptr) return;
    dc->lock();
    Layout(dc);
    dc->flush();
    dc->unlock();
}
