// The drawing of the loaded plot on the plot window's drawing widget and on
// a printer page: frame, ticks, broken-line grid, zero lines, legend, axis
// labels and one staircase curve per channel, the right axis mapped onto the
// left scale. A printing flag switches margins, pens and fonts.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "scope/plot/plot_data.h"
#include "toolkit/draw/gw_device_context.h"

class GwCore;

// Margins in millimetres: left, right, top, bottom.
struct PrintMargins {
    double Left = 0, Right = 0, Top = 0, Bottom = 0;
    bool operator==(const PrintMargins&) const = default;
};

struct PlotPen {
    std::string Colour;
    int Style = GwLINE_SOLID;
    int Width = 1;
};

class PlotView {
public:
    // Divisions 10 x 10; the print margins from [Printer] of the main
    // profile, which gets the default section when it has none.
    PlotView();

    // Scales the plot when due, sets margins, pens and fonts, measures the
    // labels, draws the axes and builds the curves.
    void Layout(GwDeviceContext* dc);
    void DrawAxes(GwDeviceContext* dc);
    void BuildCurves();
    void DrawCurves(GwDeviceContext* dc);
    void FreeCurves() { Curves = {}; }
    // One picture of the layout (axes and grid), flushed.
    void Redraw(GwDeviceContext* dc);
    // Prints the plot after the orientation and print dialogs; the screen
    // picture of `drawing` is redrawn afterwards.
    void Print(GwCore* drawing);

    // The most decimals among the texts once trailing zeros are cut.
    static int LabelDecimals(const std::vector<std::string>& labels);
    // Width and line height of the widest range label; false when a text
    // could not be measured or measured empty.
    bool MeasureRangeLabels(GwDeviceContext* dc, int* width, int* height) const;

    int XDivisions = 10;
    int YDivisions = 10;
    int Portrait = 1;
    int Landscape = 0;
    double UnitFactor = 10;
    PrintMargins PortraitMm, LandscapeMm, ActiveMm;
    bool Printing = false;
    // Kept apart for screen and paper; each replaced only when measured.
    struct Metrics {
        int LabelWidth = 0;
        int LineHeight = 0;
    } Screen, Paper;
    std::array<PlotPen, kPlotMaxChannels> Pens;
    std::array<std::vector<GwPointF>, kPlotMaxChannels> Curves;
    // Right value v is drawn at v * MapK - MapD.
    double MapK = 1, MapD = 0;

private:
    void ReadPrintMargins();
    void MapData(GwDeviceContext* dc) const;
    void DrawLegend(GwDeviceContext* dc, const PlotData& plot) const;
    void DrawLabels(GwDeviceContext* dc, const PlotData& plot, double tx) const;

    // Device units of the current layout.
    int MarginLeft_ = 10, MarginRight_ = 10, MarginTop_ = 10, MarginBottom_ = 10;
    double UnitsPerMm_ = 0;
    int PrintPenWidth_ = 1;
    int RightNameWidth_ = 0;
    std::string FormatX_ = "%.2f", FormatLeft_ = "%.2f", FormatRight_ = "%.2f";
    TickOrigin LeftTicks_;
};
